#include "tweak/regroup/RegroupHooks.h"

#include "common/Keys.h"
#include "platform/core/Runtime.h"
#include "platform/core/NSMutableArray.h"
#include "platform/core/NSMutableDictionary.h"
#include "platform/host/ThirdPartySpecifiersCompletion.h"
#include "tweak/regroup/RegroupCompletion.h"
#include "tweak/regroup/RegroupLinkRows.h"
#include "tweak/shared/Bindings.h"
#include "tweak/shared/ProcessFilter.h"

namespace vantile::regroup {

RegroupSettings& settings() {
    static RegroupSettings s;
    return s;
}

namespace {

FilePreferences& preferences() {
    static FilePreferences p("SettingsRegrouping");
    return p;
}

void (*g_loadThirdParty)(NSObject*, SEL, Ref<NSMutableArray>, ThirdPartySpecifiersCompletion) = nullptr;

// Calls through with the same applications and a block of its own, which first hands the host's values to the
// caller's block, as the host expects, and then regroups the root list. The block holds the controller weakly: a
// root page that went away before the host finished has no list left to regroup.
void loadThirdPartySpecifiers(NSObject* self, SEL cmd, Ref<NSMutableArray> apps,
                              ThirdPartySpecifiersCompletion completion) {
    Weak<NSObject> controller = self->self();
    g_loadThirdParty(self, cmd, std::move(apps),
                     [completion = std::move(completion), controller](Ref<NSMutableArray> installed,
                                                                      Ref<NSMutableDictionary> moved) {
                         if (completion) completion(installed, moved);
                         ++settings().completions;
                         if (auto root = controller.lock())
                             regrouping().complete(*root, installed, moved,
                                                   linkRowFactory(currentLinkTitles(), root));
                     });
}

}  // namespace

void startup() {
    const bool qualifies = processQualifies();
    noteProcessFilter(qualifies);
    if (!qualifies) return;
    FilePreferences& prefs = preferences();
    prefs.open();
    RegroupSettings& s = settings();
    prefs.bindBool(&s.toggleVantile, false, key::toggleVantile);
    prefs.bindObject(&s.tweaksSectionString, Value(defaults::tweaksSectionString), key::tweaksSectionString);
    prefs.bindObject(&s.stockAppsString, Value(defaults::stockAppsString), key::stockAppsString);
    prefs.bindObject(&s.thirdPartyAppsString, Value(defaults::thirdPartyAppsString), key::thirdPartyAppsString);
    if (s.toggleVantile)
        MSHookMessageEx(objc_getClass("PSUIPrefsListController"),
                        sel("_reallyLoadThirdPartySpecifiersForApps:withCompletion:"), &loadThirdPartySpecifiers,
                        &g_loadThirdParty);
}

}  // namespace vantile::regroup
