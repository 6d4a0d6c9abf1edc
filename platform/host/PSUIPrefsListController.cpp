#include "platform/host/PSUIPrefsListController.h"

#include "platform/core/Runtime.h"
#include "platform/host/NSMutableArray.h"
#include "platform/host/NSMutableDictionary.h"
#include "platform/host/PSSpecifier.h"

VT_REGISTER_CLASS_IN(PSUIPrefsListController, "Preferences", [](Class c) {
    using platform::runtime::addMethod;
    addMethod<&PSUIPrefsListController::specifiers>(c, "specifiers");
    addMethod<&PSUIPrefsListController::reloadSpecifierAtIndexAnimated>(c, "reloadSpecifierAtIndex:animated:");
    addMethod<&PSUIPrefsListController::_reallyLoadThirdPartySpecifiersForAppsWithCompletion>(
        c, "_reallyLoadThirdPartySpecifiersForApps:withCompletion:");
    addMethod<&PSUIPrefsListController::viewDidLoad>(c, "viewDidLoad");
    addMethod<&PSUIPrefsListController::viewDidAppear>(c, "viewDidAppear:");
    addMethod<&PSUIPrefsListController::traitCollectionDidChange>(c, "traitCollectionDidChange:");
    platform::runtime::addIvar(
        c, "_movedThirdPartySpecifiers",
        [](NSObject* o) -> id { return static_cast<PSUIPrefsListController*>(o)->m_moved; },
        [](NSObject* o, id v) { static_cast<PSUIPrefsListController*>(o)->m_moved = cast<NSMutableDictionary>(v); });
})

namespace {

Ref<PSSpecifier> row(std::string name, std::string identifier, long cell = PSSpecifier::PSLinkCell) {
    auto s = PSSpecifier::preferenceSpecifierNamedTargetSetGetDetailCellEdit(std::move(name), nullptr, nullptr,
                                                                             nullptr, nullptr, cell, nullptr);
    s->setIdentifier(std::move(identifier));
    return s;
}

Ref<PSSpecifier> header(std::string identifier = {}) {
    auto h = PSSpecifier::groupSpecifierWithName("");
    if (!identifier.empty()) h->setIdentifier(std::move(identifier));
    return h;
}

}  // namespace

Ref<NSMutableArray> PSUIPrefsListController::specifiers() {
    m_nativeCalls.emplace_back("specifiers");
    if (!m_specifiers || m_specifiers->isEmpty()) {
        auto list = NSMutableArray::array();
        list->addObject(header("APPLE_ACCOUNT_GROUP"));
        list->addObject(row("Apple ID", "APPLE_ACCOUNT"));
        list->addObject(header());
        list->addObject(row("Airplane Mode", "AIRPLANE_MODE", PSSpecifier::PSSwitchCell));
        list->addObject(row("Wi-Fi", "WIFI"));
        list->addObject(row("Bluetooth", "Bluetooth"));
        list->addObject(row("Cellular", "MOBILE_DATA_SETTINGS_ID"));
        list->addObject(header());
        list->addObject(row("General", "General"));
        list->addObject(row("Privacy", "Privacy"));
        for (const auto& entry : *list) cast<PSSpecifier>(entry)->setTarget(self());
        m_specifiers = std::move(list);
    }
    return m_specifiers;
}

void PSUIPrefsListController::reloadSpecifierAtIndexAnimated(long index, bool animated) {
    m_nativeCalls.emplace_back("reloadSpecifierAtIndex:animated:");
    if (m_specifiers && index >= 0 && static_cast<std::size_t>(index) < m_specifiers->count()) ++m_reloads;
}

void PSUIPrefsListController::_reallyLoadThirdPartySpecifiersForAppsWithCompletion(
    Ref<NSMutableArray> apps, ThirdPartySpecifiersCompletion completion) {
    m_nativeCalls.emplace_back("_reallyLoadThirdPartySpecifiersForApps:withCompletion:");
    if (!m_moved) m_moved = NSMutableDictionary::dictionary();
    auto installed = NSMutableArray::array();
    if (apps)
        for (const auto& app : *apps)
            if (cast<PSSpecifier>(app)) installed->addObject(app);
    auto list = platform::msgSend<Ref<NSMutableArray>>(this, sel("specifiers"));
    if (list && !installed->isEmpty()) {
        list->addObject(header());
        list->addObjectsFromArray(*installed);
    }
    if (completion) completion(installed, m_moved);
}

void PSUIPrefsListController::viewDidLoad() {
    m_nativeCalls.emplace_back("viewDidLoad");
    PSListController::viewDidLoad();
}

void PSUIPrefsListController::viewDidAppear(bool animated) {
    m_nativeCalls.emplace_back("viewDidAppear:");
    PSListController::viewDidAppear(animated);
}

void PSUIPrefsListController::traitCollectionDidChange(Ref<UITraitCollection> previous) {
    m_nativeCalls.emplace_back("traitCollectionDidChange:");
    PSListController::traitCollectionDidChange(std::move(previous));
}
