#include "platform/host/PSUIPrefsListController.h"

#include "platform/core/DeviceRoot.h"
#include "platform/core/DictionaryFile.h"
#include "platform/core/NSFileManager.h"
#include "platform/core/NSMutableArray.h"
#include "platform/core/NSMutableDictionary.h"
#include "platform/core/RunLoop.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/UIImage.h"
#include "platform/host/AppleAccount.h"
#include "platform/host/InstalledApplications.h"
#include "platform/host/PSSpecifier.h"
#include "platform/host/PSURLManager.h"
#include "platform/system/DeviceRadios.h"
#include "platform/ui/UINavigationItem.h"
#include "platform/ui/UISearchController.h"

#include <algorithm>
#include <cctype>

VT_REGISTER_CLASS_IN(PSUIPrefsListController, "Preferences", [](Class c) {
    using platform::runtime::addMethod;
    addMethod<&PSUIPrefsListController::specifiers>(c, "specifiers");
    addMethod<&PSUIPrefsListController::reloadSpecifierAtIndexAnimated>(c, "reloadSpecifierAtIndex:animated:");
    addMethod<&PSUIPrefsListController::_reallyLoadThirdPartySpecifiersForAppsWithCompletion>(
        c, "_reallyLoadThirdPartySpecifiersForApps:withCompletion:");
    addMethod<&PSUIPrefsListController::viewDidLoad>(c, "viewDidLoad");
    addMethod<&PSUIPrefsListController::viewDidAppear>(c, "viewDidAppear:");
    addMethod<&PSUIPrefsListController::traitCollectionDidChange>(c, "traitCollectionDidChange:");
    addMethod<&PSUIPrefsListController::airplaneModeValue>(c, "airplaneModeValue:");
    addMethod<&PSUIPrefsListController::setAirplaneModeValueSpecifier>(c, "setAirplaneModeValue:specifier:");
    platform::runtime::addIvar(
        c, "_movedThirdPartySpecifiers",
        [](NSObject* o) -> id { return static_cast<PSUIPrefsListController*>(o)->m_moved; },
        [](NSObject* o, id v) { static_cast<PSUIPrefsListController*>(o)->m_moved = cast<NSMutableDictionary>(v); });
})

using platform::msgSend;

namespace {

// Settings lists names as people read them: "iMovie" among the I's, not after every capital.
bool byName(const Ref<PSSpecifier>& a, const Ref<PSSpecifier>& b) {
    const std::string& x = a->name();
    const std::string& y = b->name();
    return std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end(), [](char l, char r) {
        return std::tolower(static_cast<unsigned char>(l)) < std::tolower(static_cast<unsigned char>(r));
    });
}

constexpr const char* kPreferenceLoaderFolder = "/Library/PreferenceLoader/Preferences";
constexpr const char* kPreferenceBundles = "/Library/PreferenceBundles";

Ref<PSSpecifier> applicationEntry(const platform::host::ApplicationEntry& app, const id& target) {
    auto entry = PSSpecifier::preferenceSpecifierNamedTargetSetGetDetailCellEdit(
        app.name, target, nullptr, nullptr, nullptr, PSSpecifier::PSLinkCell, nullptr);
    entry->setIdentifier(app.bundleIdentifier);
    entry->setPropertyForKey(Property(app.bundleIdentifier), "bundleIdentifier");
    // Each application's page is a host page titled with its name.
    entry->setPropertyForKey(Property("HostPageController"), "detail");
    if (app.iconPath)
        if (auto icon = UIImage::imageWithContentsOfFile(*app.iconPath)) entry->setPropertyForKey(Property(icon), "iconImage");
    return entry;
}

// The tweak pane entries, as PreferenceLoader lists them: one plist per pane, its "entry" dictionary describing
// the row; icons and the page class come from the pane's bundle.
std::vector<Ref<PSSpecifier>> preferenceLoaderEntries(const id& target) {
    std::vector<Ref<PSSpecifier>> entries;
    auto names = NSFileManager::defaultManager()->contentsOfDirectoryAtPath(kPreferenceLoaderFolder);
    if (!names) return entries;
    for (const std::string& name : *names) {
        if (name.size() < 6 || name.compare(name.size() - 6, 6, ".plist") != 0) continue;
        auto plist = platform::dictionaryValueOfFile(std::string(kPreferenceLoaderFolder) + "/" + name);
        const Value* entry = plist.find("entry");
        if (!entry || !entry->asDictionary()) continue;
        Value item = *entry;
        std::string bundlePath;
        if (const Value* bundle = item.find("bundle"); bundle && bundle->asString()) {
            bundlePath = std::string(kPreferenceBundles) + "/" + *bundle->asString() + ".bundle";
            if (!item.find("detail")) {
                auto info = platform::dictionaryValueOfFile(bundlePath + "/Info.plist");
                if (const Value* principal = info.find("NSPrincipalClass"); principal && principal->asString())
                    (*item.asDictionary())["detail"] = *principal->asString();
            }
        }
        if (!item.find("cell")) (*item.asDictionary())["cell"] = "PSLinkCell";
        auto made = PSListController::specifiersFromItems(Value::Array{item}, target, bundlePath);
        for (const auto& s : *made)
            if (auto specifier = cast<PSSpecifier>(s)) entries.push_back(specifier);
    }
    std::stable_sort(entries.begin(), entries.end(), byName);
    return entries;
}

}  // namespace

PSUIPrefsListController::~PSUIPrefsListController() {
    if (m_radioObserver) platform::system::DeviceRadios::removeChangeObserver(*m_radioObserver);
}

void PSUIPrefsListController::init() {
    PSListController::init();
    Weak<PSUIPrefsListController> weak = weakSelf<PSUIPrefsListController>();
    m_radioObserver = platform::system::DeviceRadios::addChangeObserver([weak] {
        if (auto page = weak.lock()) page->radiosChanged();
    });
    setTitle("Settings");
    auto search = alloc<UISearchController>();
    search->init();
    navigationItem()->setSearchController(search);
    PSURLManager::sharedManager()->setRootController(self<PSUIPrefsListController>());
}

Ref<NSMutableArray> PSUIPrefsListController::buildRootList() {
    auto list = msgSend<Ref<NSMutableArray>>(this, sel("loadSpecifiersFromPlistName:target:"), std::string("Settings"),
                                             id(self()));
    if (!list || list->isEmpty()) {
        list = NSMutableArray::array();
        list->addObject(PSSpecifier::groupSpecifierWithName(""));
        auto account = PSSpecifier::preferenceSpecifierNamedTargetSetGetDetailCellEdit(
            "", self(), nullptr, nullptr, nullptr, PSSpecifier::PSLinkCell, nullptr);
        account->setIdentifier("APPLE_ACCOUNT");
        list->addObject(account);
    }
    for (const auto& entry : *list)
        if (auto s = cast<PSSpecifier>(entry); s && s->identifier() == "APPLE_ACCOUNT")
            s->setName(platform::host::AppleAccount::name());

    for (std::size_t i = 0; i < list->count(); ++i) {
        auto header = list->objectAtIndexAs<PSSpecifier>(i);
        if (!header || !header->propertyForKey("preferenceLoaderGroup")) continue;
        auto entries = preferenceLoaderEntries(self());
        m_paneEntries = entries;
        if (entries.empty()) {
            list->removeObjectAtIndex(i);
            break;
        }
        for (std::size_t k = 0; k < entries.size(); ++k) list->insertObjectAtIndex(entries[k], i + 1 + k);
        break;
    }
    return list;
}

Ref<NSMutableArray> PSUIPrefsListController::specifiers() {
    m_nativeCalls.emplace_back("specifiers");
    if (!m_specifiers || m_specifiers->isEmpty()) m_specifiers = buildRootList();
    return m_specifiers;
}

void PSUIPrefsListController::reloadSpecifierAtIndexAnimated(long index, bool animated) {
    m_nativeCalls.emplace_back("reloadSpecifierAtIndex:animated:");
    if (m_specifiers && index >= 0 && static_cast<std::size_t>(index) < m_specifiers->count()) ++m_reloads;
    PSListController::reloadSpecifierAtIndexAnimated(index, animated);
}

void PSUIPrefsListController::_reallyLoadThirdPartySpecifiersForAppsWithCompletion(
    Ref<NSMutableArray> apps, ThirdPartySpecifiersCompletion completion) {
    m_nativeCalls.emplace_back("_reallyLoadThirdPartySpecifiersForApps:withCompletion:");
    // The device loads the applications' entries in the background and hands them over on the main loop.
    Weak<PSUIPrefsListController> weak = weakSelf<PSUIPrefsListController>();
    platform::RunLoop::main().scheduleAfter(0, [weak, apps = std::move(apps), completion = std::move(completion)] {
        if (auto page = weak.lock()) page->finishInstalledLoad(apps, completion);
    });
}

void PSUIPrefsListController::finishInstalledLoad(Ref<NSMutableArray> apps, ThirdPartySpecifiersCompletion completion) {
    if (!m_moved) m_moved = NSMutableDictionary::dictionary();
    // The installed entries in display order: by name, as the group shows them.
    std::vector<Ref<PSSpecifier>> sorted;
    if (apps)
        for (const auto& app : *apps)
            if (auto entry = cast<PSSpecifier>(app)) sorted.push_back(entry);
    std::stable_sort(sorted.begin(), sorted.end(), byName);
    auto installed = NSMutableArray::array();
    for (const auto& entry : sorted) installed->addObject(entry);

    // The moved Apple applications keep their entries from one load to the next, so that the add-on's lists
    // (which hold them by identity) stay valid.
    auto moved = NSMutableDictionary::dictionary();
    for (const auto& app : platform::host::InstalledApplications::movedApple()) {
        id kept = m_moved->objectForKey(app.bundleIdentifier);
        moved->setObjectForKey(kept ? kept : id(applicationEntry(app, self())), app.bundleIdentifier);
    }
    m_moved->setDictionary(*moved);

    auto list = msgSend<Ref<NSMutableArray>>(this, sel("specifiers"));
    if (list) {
        for (const auto& previous : m_installedGroup) list->removeObject(previous);
        m_installedGroup.clear();
        std::vector<Ref<PSSpecifier>> rows;
        for (const auto& app : *installed) rows.push_back(cast<PSSpecifier>(app));
        for (const auto& [key, entry] : m_moved->entries()) rows.push_back(cast<PSSpecifier>(entry));
        std::stable_sort(rows.begin(), rows.end(), byName);
        if (!rows.empty()) {
            auto header = PSSpecifier::groupSpecifierWithName("");
            list->addObject(header);
            m_installedGroup.push_back(header);
            for (const auto& row : rows) {
                list->addObject(row);
                m_installedGroup.push_back(row);
            }
        }
    }
    ++m_installedLoads;
    msgSend<void>(this, sel("reloadSpecifiers"));
    if (completion) completion(installed, m_moved);
}

void PSUIPrefsListController::loadInstalledApplications() {
    auto apps = NSMutableArray::array();
    for (const auto& app : platform::host::InstalledApplications::installed()) apps->addObject(applicationEntry(app, self()));
    msgSend<void>(this, sel("_reallyLoadThirdPartySpecifiersForApps:withCompletion:"), apps,
                  ThirdPartySpecifiersCompletion());
}

void PSUIPrefsListController::loadAccountPicture() {
    auto picture = platform::host::AppleAccount::picture();
    auto list = msgSend<Ref<NSMutableArray>>(this, sel("specifiers"));
    if (!picture || !list) return;
    for (std::size_t i = 0; i < list->count(); ++i)
        if (auto entry = list->objectAtIndexAs<PSSpecifier>(i); entry && entry->identifier() == "APPLE_ACCOUNT") {
            entry->setPropertyForKey(Property(picture), "iconImage");
            msgSend<void>(this, sel("reloadSpecifierAtIndex:animated:"), static_cast<long>(i), false);
            return;
        }
}

Value PSUIPrefsListController::airplaneModeValue(Ref<PSSpecifier>) {
    Class radios = objc_getClass("RadiosPreferences");
    if (!radios) return Value(false);
    return Value(msgSend<bool>(platform::runtime::createInstance(radios), sel("airplaneMode")));
}

void PSUIPrefsListController::setAirplaneModeValueSpecifier(Value value, Ref<PSSpecifier> specifier) {
    Class radios = objc_getClass("RadiosPreferences");
    if (!radios) return;
    msgSend<void>(platform::runtime::createInstance(radios), sel("setAirplaneMode:"), value.numberValue().value_or(0) != 0);
    // The row shows what the service reports now, which may differ from what was asked.
    if (auto list = specifiersIvar(); list && specifier)
        if (auto index = list->indexOfObject(specifier))
            msgSend<void>(this, sel("reloadSpecifierAtIndex:animated:"), static_cast<long>(*index), true);
}

void PSUIPrefsListController::viewDidLoad() {
    m_nativeCalls.emplace_back("viewDidLoad");
    PSListController::viewDidLoad();
    Weak<PSUIPrefsListController> weak = weakSelf<PSUIPrefsListController>();
    auto& loop = platform::RunLoop::main();
    loop.scheduleAfter(kInstalledApplicationsDelay, [weak] {
        if (auto page = weak.lock()) page->loadInstalledApplications();
    });
    loop.scheduleAfter(kAccountPictureDelay, [weak] {
        if (auto page = weak.lock()) page->loadAccountPicture();
    });
}

void PSUIPrefsListController::viewWillAppear(bool animated) {
    PSListController::viewWillAppear(animated);
    platform::system::DeviceRadios::readStatesAsHost();
}

void PSUIPrefsListController::radiosChanged() {
    platform::system::DeviceRadios::readStatesAsHost();
    auto list = specifiersIvar();
    if (!list) return;
    for (std::size_t i = 0; i < list->count(); ++i)
        if (auto entry = list->objectAtIndexAs<PSSpecifier>(i); entry && entry->identifier() == "AIRPLANE_MODE")
            msgSend<void>(this, sel("reloadSpecifierAtIndex:animated:"), static_cast<long>(i), true);
}

void PSUIPrefsListController::viewDidAppear(bool animated) {
    m_nativeCalls.emplace_back("viewDidAppear:");
    PSListController::viewDidAppear(animated);
}

void PSUIPrefsListController::traitCollectionDidChange(Ref<UITraitCollection> previous) {
    m_nativeCalls.emplace_back("traitCollectionDidChange:");
    PSListController::traitCollectionDidChange(std::move(previous));
}

Ref<PSSpecifier> PSUIPrefsListController::entryForAddress(const std::string& page) {
    auto list = msgSend<Ref<NSMutableArray>>(this, sel("specifiers"));
    if (!list || page.empty()) return nullptr;
    for (const auto& e : *list)
        if (auto entry = cast<PSSpecifier>(e); entry && !entry->isGroup() && entry->identifier() == page) return entry;
    for (const auto& e : *list)
        if (auto entry = cast<PSSpecifier>(e); entry && !entry->isGroup() && entry->name() == page) return entry;
    // A pane entry that a replacement moved out of the root list (into a sub-page) is still opened by its name.
    for (const auto& entry : m_paneEntries)
        if (entry->identifier() == page) return entry;
    for (const auto& entry : m_paneEntries)
        if (entry->name() == page) return entry;
    return nullptr;
}
