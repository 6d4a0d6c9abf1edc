#pragma once

// Start-up of the Settings root page decoration (constructor 2): its bound variables, the replacements of the root
// list controller, the search field and the list pages (hooks 2 to 12), and the state the replacements remember.

#include "platform/host/Property.h"

#include <optional>

class PSSpecifier;
class UIImpactFeedbackGenerator;
class UIView;
class UIViewController;
class VantileBaseView;

namespace vantile::rootpage {

struct RootPageState {
    // Bound to the domain by constructor 2; `toggleHaptics` is the switch the root page's buttons consult.
    bool toggleVantile = false;
    bool toggleHaptics = true;
    bool toggleCellsChroma = false;
    // The last "APPLE_ACCOUNT" entry seen in the root list, and its "iconImage" when a row reload last found one.
    Ref<PSSpecifier> account;
    std::optional<Property> accountIcon;
    // The overlay of the last root page that loaded its view: the full-screen view over the root table, and the
    // dashboard inside it. A new root page replaces both.
    Ref<UIView> settingBaseView;
    Ref<VantileBaseView> vantileBaseView;
    // The card editor last presented from the gear; a new one at every press.
    Ref<UIViewController> vantileViewController;
    // The generator of the last haptic; every haptic makes a new one.
    Ref<UIImpactFeedbackGenerator> impactGenerator;
};

RootPageState& state();

// Constructor 2: process filter, preferences, and the hooks when the master switch is on.
void startup();

}  // namespace vantile::rootpage
