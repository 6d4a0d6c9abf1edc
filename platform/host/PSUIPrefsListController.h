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
//   "airplaneModeValue:" / "setAirplaneModeValue:specifier:"   the airplane switch's getter and setter
// and the instance variable "_movedThirdPartySpecifiers" (an NSMutableDictionary whose values are entries).
//
// The root list is the main bundle's "Settings.plist" (PSListController::loadSpecifiersFromPlistNameTarget), the
// first row titled with the account's name, with the tweak pane entries of
// "/Library/PreferenceLoader/Preferences/*.plist", sorted by name, after the header that carries the property
// "preferenceLoaderGroup" (the header is left out when there is no entry). Without the data file the list holds
// only the account group.
//
// After the view loaded, on the virtual clock: at kInstalledApplicationsDelay the installed applications are
// loaded through "_reallyLoadThirdPartySpecifiersForApps:withCompletion:", whose own work and completion run on a
// later turn; at kAccountPictureDelay the account picture (AppleAccount.h), when there is one, becomes the
// "iconImage" of the "APPLE_ACCOUNT" entry, whose row is then reloaded through "reloadSpecifierAtIndex:animated:".
//
// Every one of those methods that runs its own implementation records its selector (nativeCalls), so a test can
// tell whether a replacement called through.

#include "platform/host/PSListController.h"
#include "platform/host/ThirdPartySpecifiersCompletion.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

class NSMutableDictionary;
class PSSpecifier;

class PSUIPrefsListController : public PSListController {
    VT_OBJECT(PSUIPrefsListController, PSListController)
public:
    static constexpr double kInstalledApplicationsDelay = 0.2;
    static constexpr double kAccountPictureDelay = 0.5;

    ~PSUIPrefsListController() override;
    // Makes the navigation item's search controller, becomes the page the URL manager opens addresses on and
    // starts following the device's radio state.
    void init() override;

    // The host's own root list, built on first use (see above).
    Ref<NSMutableArray> specifiers() override;
    void reloadSpecifierAtIndexAnimated(long index, bool animated) override;
    // On a later run-loop turn: takes the previous installed group (header and entries) out of the list, appends a
    // header and one entry per application of `apps` (PSSpecifier elements; others are skipped) and of the moved
    // Apple applications, all sorted by name, fills `_movedThirdPartySpecifiers` with the moved ones, reloads the
    // table, then calls `completion` with the installed entries (in that order) and that dictionary.
    virtual void _reallyLoadThirdPartySpecifiersForAppsWithCompletion(Ref<NSMutableArray> apps,
                                                                      ThirdPartySpecifiersCompletion completion);
    // Sends the load above for the device's installed applications (InstalledApplications.h), without completion;
    // the page does it itself after loading, the device again whenever an application is installed.
    void loadInstalledApplications();
    // Puts the account picture on the account entry and reloads its row; nothing without picture or entry.
    void loadAccountPicture();

    // Airplane mode through a fresh RadiosPreferences each time, as the device's row does; NO without the service.
    Value airplaneModeValue(Ref<PSSpecifier> specifier);
    void setAirplaneModeValueSpecifier(Value value, Ref<PSSpecifier> specifier);

    void viewDidLoad() override;
    // Reads the radios as the device's root page does when it appears (DeviceRadios::readStatesAsHost).
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void traitCollectionDidChange(Ref<UITraitCollection> previous) override;

    const Ref<NSMutableDictionary>& movedThirdPartySpecifiers() const { return m_moved; }
    // Selectors whose own implementation ran, in order.
    const std::vector<std::string>& nativeCalls() const { return m_nativeCalls; }
    // How many row reloads reached the list (indices inside it).
    std::size_t reloadCount() const { return m_reloads; }
    // How many times the host's loading of installed applications finished (its completion time).
    std::size_t installedLoadCount() const { return m_installedLoads; }

    // The entry of the root list with that identifier, else with that name, else the tweak pane entry with that
    // identifier or name wherever it was moved to; null when none. The URL manager opens "prefs:root=X" on it.
    Ref<PSSpecifier> entryForAddress(const std::string& page);
    // Opens the entry's page as a tap on its row does; answers the page pushed, or null.
    Ref<UIViewController> openEntry(const Ref<PSSpecifier>& entry) { return openRow(entry); }

private:
    Ref<NSMutableArray> buildRootList();
    void finishInstalledLoad(Ref<NSMutableArray> apps, ThirdPartySpecifiersCompletion completion);
    // The radio state changed: read it again and refresh the airplane row.
    void radiosChanged();

    Ref<NSMutableDictionary> m_moved;
    std::vector<Ref<PSSpecifier>> m_paneEntries;  // PreferenceLoader's entries of the last built list
    std::vector<id> m_installedGroup;  // what the last load added to the list
    std::vector<std::string> m_nativeCalls;
    std::size_t m_reloads = 0;
    std::size_t m_installedLoads = 0;
    std::optional<std::size_t> m_radioObserver;
};
