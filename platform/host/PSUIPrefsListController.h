#pragma once

// The root page of the Settings application.
//
// Published to the run-time (the host calls them only through msgSend, so the add-on's replacements take effect):
//   "specifiers"                                            Ref<NSMutableArray> specifiers()
//   "reloadSpecifierAtIndex:animated:"                      void reloadSpecifierAtIndexAnimated(long, bool)
//   "viewDidLoad", "viewDidAppear:", "traitCollectionDidChange:"   as UIViewController
//   "_reallyLoadThirdPartySpecifiersForApps:withCompletion:"
//        void _reallyLoadThirdPartySpecifiersForAppsWithCompletion(Ref<NSMutableArray> apps,
//                                                                  ThirdPartySpecifiersCompletion completion)
// and the instance variable "_movedThirdPartySpecifiers" (an NSMutableDictionary whose values are entries).
//
// Every one of those methods that runs its own implementation records its selector (nativeCalls), so a test can
// tell whether a replacement called through.

#include "platform/host/PSListController.h"
#include "platform/host/ThirdPartySpecifiersCompletion.h"

#include <functional>
#include <string>
#include <vector>

class NSMutableDictionary;
class PSSpecifier;

class PSUIPrefsListController : public PSListController {
    VT_OBJECT(PSUIPrefsListController, PSListController)
public:
    // The host's own root list, built on first use: the account row ("APPLE_ACCOUNT"), then the system pages.
    Ref<NSMutableArray> specifiers() override;
    // Redisplays the row at `index`; an index past the end of the list does nothing.
    virtual void reloadSpecifierAtIndexAnimated(long index, bool animated);
    // Makes one entry per application (each element of `apps` is an application's entry), appends them to the root
    // list under a group header, then calls `completion` with them and `_movedThirdPartySpecifiers`.
    virtual void _reallyLoadThirdPartySpecifiersForAppsWithCompletion(Ref<NSMutableArray> apps,
                                                                      ThirdPartySpecifiersCompletion completion);

    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
    void traitCollectionDidChange(Ref<UITraitCollection> previous) override;

    const Ref<NSMutableDictionary>& movedThirdPartySpecifiers() const { return m_moved; }
    // Selectors whose own implementation ran, in order.
    const std::vector<std::string>& nativeCalls() const { return m_nativeCalls; }
    // How many row reloads reached the list (indices inside it).
    std::size_t reloadCount() const { return m_reloads; }

private:
    Ref<NSMutableDictionary> m_moved;
    std::vector<std::string> m_nativeCalls;
    std::size_t m_reloads = 0;
};
