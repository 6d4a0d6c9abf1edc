#pragma once

// Start-up of the Settings root page decoration (constructor 2): its bound variables, the replacements of the root
// list controller, the search field and the list pages (hooks 2 to 12), and the state the replacements remember.

#include "platform/host/Property.h"

#include <optional>

class PSSpecifier;

namespace vantile::rootpage {

struct RootPageState {
    // Bound to the domain by constructor 2; `toggleHaptics` is the switch the root page's buttons consult.
    bool toggleVantile = false;
    bool toggleHaptics = true;
    bool toggleCellsChroma = false;
    // The last "APPLE_ACCOUNT" entry seen in the root list, and its "iconImage" when a row reload last found one.
    Ref<PSSpecifier> account;
    std::optional<Property> accountIcon;
};

RootPageState& state();

// Constructor 2: process filter, preferences, and the hooks when the master switch is on.
void startup();

}  // namespace vantile::rootpage
