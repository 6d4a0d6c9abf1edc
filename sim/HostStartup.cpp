#include "sim/HostStartup.h"

#include "platform/core/RunLoop.h"
#include "platform/core/Runtime.h"
#include "platform/system/BluetoothManager.h"
#include "platform/core/NSMutableArray.h"
#include "platform/core/NSMutableDictionary.h"
#include "platform/host/PSListController.h"
#include "platform/host/PSSpecifier.h"
#include "platform/host/PSUIPrefsListController.h"
#include "platform/host/_UISearchBarSearchFieldBackgroundView.h"
#include "platform/ui/UITraitCollection.h"
#include "platform/ui/UIView.h"

namespace sim {
namespace {

using platform::msgSend;

Value readRadios() {
    Value::Dictionary seen;
    // As the device's status bar and Settings rows do: a fresh service object per read of airplane mode, the
    // shared manager for Bluetooth.
    if (Class radios = objc_getClass("RadiosPreferences")) {
        id service = platform::runtime::createInstance(radios);
        seen["airplaneMode"] = msgSend<bool>(service, sel("airplaneMode"));
    }
    if (objc_getClass("BluetoothManager")) seen["powered"] = msgSend<bool>(BluetoothManager::sharedInstance(), sel("powered"));
    return seen;
}

Value::Array strings(const std::vector<std::string>& list) {
    Value::Array out;
    for (const auto& s : list) out.emplace_back(s);
    return out;
}

Value runSettings(const HostOptions& options) {
    Value::Dictionary seen;
    auto root = cast<PSUIPrefsListController>(platform::runtime::createInstance(objc_getClass("PSUIPrefsListController")));
    if (!root) return seen;
    root->init();
    root->view();  // loads through "loadView" and "viewDidLoad"
    msgSend<void>(root, sel("viewDidAppear:"), false);

    // The installed applications arrive: one entry per application, and the host calls back.
    auto apps = NSMutableArray::array();
    for (const char* name : {"Maps Plus", "Notes Pro"}) {
        auto entry = PSSpecifier::preferenceSpecifierNamedTargetSetGetDetailCellEdit(
            name, root, nullptr, nullptr, nullptr, PSSpecifier::PSLinkCell, nullptr);
        entry->setIdentifier(std::string("com.example.") + name);
        apps->addObject(entry);
    }
    long hostCompletions = 0;
    msgSend<void>(root, sel("_reallyLoadThirdPartySpecifiersForApps:withCompletion:"), apps,
                  ThirdPartySpecifiersCompletion(
                      [&hostCompletions](Ref<NSMutableArray>, Ref<NSMutableDictionary>) { ++hostCompletions; }));
    // The host hands the entries over on a later turn of the main loop.
    platform::RunLoop::main().drain();

    // The account picture arrived: the host puts it on the account row and reloads that row.
    auto list = msgSend<Ref<NSMutableArray>>(root, sel("specifiers"));
    long accountIndex = -1;
    if (list)
        for (std::size_t i = 0; i < list->count(); ++i)
            if (auto s = list->objectAtIndexAs<PSSpecifier>(i); s && s->identifier() == "APPLE_ACCOUNT") {
                s->setPropertyForKey(Property(alloc<NSObject>()), "iconImage");
                accountIndex = static_cast<long>(i);
            }
    if (accountIndex >= 0) msgSend<void>(root, sel("reloadSpecifierAtIndex:animated:"), accountIndex, false);

    // The user switches the appearance while the root page shows.
    msgSend<void>(root, sel("traitCollectionDidChange:"), root->traitCollection());

    Value::Dictionary rootPage;
    rootPage["nativeCalls"] = strings(root->nativeCalls());
    rootPage["edgeToEdgeCells"] = root->edgeToEdgeCells();
    rootPage["regularWidthLayout"] = root->usesRegularWidthLayout().value_or(false);
    rootPage["specifierCount"] = static_cast<long>(list ? list->count() : 0);
    rootPage["completionCalls"] = hostCompletions;
    rootPage["rowReloads"] = static_cast<long>(root->reloadCount());
    seen["rootController"] = std::move(rootPage);

    // A plain list page pushed later, and a trait change asking it again for edge-to-edge cells.
    auto page = cast<PSListController>(platform::runtime::createInstance(objc_getClass("PSListController")));
    if (page) {
        page->init();
        page->view();
        Value::Dictionary p;
        p["edgeToEdgeCellsAfterLoad"] = page->edgeToEdgeCells();
        msgSend<void>(page, sel("setEdgeToEdgeCells:"), true);
        p["edgeToEdgeCellsAfterAskingYes"] = page->edgeToEdgeCells();
        p["isRegularWidth"] = msgSend<bool>(page, sel("_isRegularWidth"));
        seen["listPage"] = std::move(p);
    }

    // The search field's layout sets its background's corner radius.
    if (Class cls = objc_getClass("_UISearchBarSearchFieldBackgroundView")) {
        auto background = cast<_UISearchBarSearchFieldBackgroundView>(platform::runtime::createInstance(cls));
        background->initWithFrame(CGRectMake(0, 0, 343, 36));
        msgSend<void>(background, sel("setCornerRadius:"), options.cornerRadius);
        seen["searchField"] = Value::Dictionary{{"requestedCornerRadius", options.cornerRadius},
                                                {"cornerRadius", background->cornerRadius()}};
    }
    return seen;
}

}  // namespace

Value runHostStartup(ProcessKind kind, const HostOptions& options) {
    Value::Dictionary host;
    if (kind == ProcessKind::Settings) host["settings"] = runSettings(options);
    host["radiosRead"] = readRadios();
    return host;
}

}  // namespace sim
