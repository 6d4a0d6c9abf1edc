#pragma once

// Start-up of the Settings list regrouping (constructor 1): its bound variables and the replacement of the root
// list controller's loading of installed applications (hook 1), whose completion is where the regrouping runs.

#include "platform/core/Value.h"

#include <cstddef>

namespace vantile::regroup {

struct RegroupSettings {
    bool toggleVantile = false;
    // The titles of the three link rows, as bound strings (the value the domain holds, or the default).
    Value tweaksSectionString;
    Value stockAppsString;
    Value thirdPartyAppsString;
    // Calls of the wrapping completion block so far.
    std::size_t completions = 0;
};

RegroupSettings& settings();

// Constructor 1: process filter, preferences, and hook 1 when the master switch is on.
void startup();

}  // namespace vantile::regroup
