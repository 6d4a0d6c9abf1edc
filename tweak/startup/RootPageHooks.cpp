#include "tweak/startup/RootPageHooks.h"

#include "common/Keys.h"
#include "platform/core/Runtime.h"
#include "platform/core/NSMutableArray.h"
#include "platform/host/PSSpecifier.h"
#include "platform/ui/UIViewController.h"
#include "tweak/shared/Bindings.h"
#include "tweak/shared/ProcessFilter.h"
#include "tweak/startup/RootPageButtons.h"
#include "tweak/startup/RootPageOverlay.h"

namespace vantile::rootpage {

RootPageState& state() {
    static RootPageState s;
    return s;
}

namespace {

FilePreferences& preferences() {
    static FilePreferences p("RootPage");
    return p;
}

// The previous implementations, one slot per replaced method; each replacement calls its own slot with the
// receiver, the selector and its own arguments.
Ref<NSMutableArray> (*g_specifiers)(NSObject*, SEL) = nullptr;
void (*g_reloadSpecifier)(NSObject*, SEL, long, bool) = nullptr;
void (*g_viewDidAppear)(NSObject*, SEL, bool) = nullptr;
void (*g_viewDidLoad)(NSObject*, SEL) = nullptr;
void (*g_traitCollectionDidChange)(NSObject*, SEL, Ref<UITraitCollection>) = nullptr;
void (*g_setCornerRadius)(NSObject*, SEL, double) = nullptr;
void (*g_setEdgeToEdgeCells)(NSObject*, SEL, bool) = nullptr;
bool (*g_isRegularWidth)(NSObject*, SEL) = nullptr;

Ref<NSMutableArray> specifiers(NSObject* self, SEL cmd) {
    Ref<NSMutableArray> list = g_specifiers(self, cmd);
    if (list)
        for (const id& entry : *list)
            if (auto specifier = cast<PSSpecifier>(entry); specifier && specifier->identifier() == "APPLE_ACCOUNT")
                state().account = specifier;
    return list;
}

void reloadSpecifierAtIndexAnimated(NSObject* self, SEL cmd, long index, bool animated) {
    g_reloadSpecifier(self, cmd, index, animated);
    // The host reloads the account row once its picture arrived; that is when the picture can be taken.
    if (state().account) state().accountIcon = state().account->propertyForKey("iconImage");
}

// The receiver of the root page's replacements is the root list controller; anything else is left as the host
// made it.
UIViewController* rootController(NSObject* self) { return dynamic_cast<UIViewController*>(self); }

void viewDidAppear(NSObject* self, SEL cmd, bool animated) {
    g_viewDidAppear(self, cmd, animated);
    if (auto* root = rootController(self)) {
        setNavigationButtons(*root);
        repinTable(*root);
    }
}

void viewDidLoad(NSObject* self, SEL cmd) {
    g_viewDidLoad(self, cmd);
    if (auto* root = rootController(self)) layDashboardOver(*root);
}

void traitCollectionDidChange(NSObject* self, SEL cmd, Ref<UITraitCollection> previous) {
    g_traitCollectionDidChange(self, cmd, std::move(previous));
    if (auto* root = rootController(self)) recolourOverlay(*root);
}

// The navigation bar's actions, added to the root controller so the buttons can name them.
void deployVantSettingsVCImp(NSObject* self, SEL) {
    if (auto* root = rootController(self)) deployVantSettingsVC(*root);
}
void displaySeachBarImp(NSObject* self, SEL) {
    if (auto* root = rootController(self)) displaySeachBar(*root);
}
void pushToIcloudPageImp(NSObject* self, SEL) {
    if (auto* root = rootController(self)) pushToIcloudPage(*root);
}

void setCornerRadius(NSObject* self, SEL cmd, double) { g_setCornerRadius(self, cmd, 40.0); }

void setEdgeToEdgeCells(NSObject* self, SEL cmd, bool) { g_setEdgeToEdgeCells(self, cmd, false); }

// Always regular, without asking the page: the page then lays itself out as on a wide screen.
bool isRegularWidth(NSObject*, SEL) { return true; }

void installHooks() {
    Class root = objc_getClass("PSUIPrefsListController");
    MSHookMessageEx(root, sel("specifiers"), &specifiers, &g_specifiers);
    MSHookMessageEx(root, sel("reloadSpecifierAtIndex:animated:"), &reloadSpecifierAtIndexAnimated,
                    &g_reloadSpecifier);
    MSHookMessageEx(root, sel("viewDidAppear:"), &viewDidAppear, &g_viewDidAppear);
    MSHookMessageEx(root, sel("viewDidLoad"), &viewDidLoad, &g_viewDidLoad);
    class_addMethod(root, sel("deployVantSettingsVC"), &deployVantSettingsVCImp, "v@:");
    class_addMethod(root, sel("displaySeachBar"), &displaySeachBarImp, "v@:");
    class_addMethod(root, sel("pushToIcloudPage"), &pushToIcloudPageImp, "v@:");
    MSHookMessageEx(root, sel("traitCollectionDidChange:"), &traitCollectionDidChange, &g_traitCollectionDidChange);

    MSHookMessageEx(objc_getClass("_UISearchBarSearchFieldBackgroundView"), sel("setCornerRadius:"),
                    &setCornerRadius, &g_setCornerRadius);

    Class page = objc_getClass("PSListController");
    MSHookMessageEx(page, sel("setEdgeToEdgeCells:"), &setEdgeToEdgeCells, &g_setEdgeToEdgeCells);
    MSHookMessageEx(page, sel("_isRegularWidth"), &isRegularWidth, &g_isRegularWidth);
}

}  // namespace

void startup() {
    const bool qualifies = processQualifies();
    noteProcessFilter(qualifies);
    if (!qualifies) return;
    FilePreferences& prefs = preferences();
    prefs.open();
    RootPageState& s = state();
    prefs.bindBool(&s.toggleVantile, false, key::toggleVantile);
    prefs.bindBool(&s.toggleHaptics, true, key::toggleHaptics);
    prefs.bindBool(&s.toggleCellsChroma, false, key::toggleCellsChroma);
    // A class the process lacks is refused by the run-time; the remaining hooks still go in.
    if (s.toggleVantile) installHooks();
}

}  // namespace vantile::rootpage
