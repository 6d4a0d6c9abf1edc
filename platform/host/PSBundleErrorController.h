#pragma once

// The page Settings shows in place of a preference bundle that cannot be opened: titled with the entry's label,
// with one short line saying the pane could not be loaded. Nothing on it can be tapped.
//
// openPreferenceBundleEntry is how every list page opens a row that names a preference bundle (the property
// "bundle", as PreferenceLoader's entries do): the bundle "/Library/PreferenceBundles/<bundle>.bundle" is loaded
// (NSBundle::load, once per process), its principal class is made with createInstance and "init", given the row
// through "setSpecifier:" when it answers it, and answered. A bundle that is missing, cannot be loaded, or whose
// principal class is absent or no view controller gives this error page instead, never a crash.

#include "platform/host/PSListController.h"

#include <optional>
#include <string>

class PSBundleErrorController : public PSListController {
    VT_OBJECT(PSBundleErrorController, PSListController)
public:
    // The page for `entry`, saying why in `reason` (kept for tests and logs; the page shows only the short line).
    static Ref<PSBundleErrorController> pageForEntry(const Ref<PSSpecifier>& entry, std::string reason);

    // "<label> could not be loaded.", or "This pane could not be loaded." for an entry without label.
    const std::string& message() const { return m_message; }
    const std::string& reason() const { return m_reason; }

    // One group whose footer is the message.
    Ref<NSMutableArray> specifiers() override;

private:
    std::string m_message;
    std::string m_reason;
};

namespace platform::host {

// The device folder of the preference bundle a row names; nothing for a row without a "bundle" name.
std::optional<std::string> preferenceBundlePathOfEntry(const PSSpecifier& entry);
// The controller a preference bundle row opens (see above); null for a row without a "bundle" name.
Ref<UIViewController> openPreferenceBundleEntry(const Ref<PSSpecifier>& entry);

}  // namespace platform::host
