#pragma once

// The navigation bar of the Settings root page while the dashboard covers it: the account picture on the right
// (opens the account page), the gear (opens the card editor) and the magnifier (opens the search field) on the
// left, and the three actions those buttons send to the root controller.

#include "platform/core/Object.h"
#include "platform/gfx/Geometry.h"

#include <string_view>

class UIViewController;

namespace vantile::rootpage {

inline constexpr std::string_view kGearSymbol = "gear";
inline constexpr std::string_view kSearchSymbol = "magnifyingglass.circle.fill";
inline constexpr CGSize kAccountImageSize{35, 35};
inline constexpr CGSize kSymbolImageSize{20, 20};
inline constexpr UIEdgeInsets kAccountInsets{-4, 0, 0, 0};
inline constexpr UIEdgeInsets kGearInsets{-2, -10, 0, 0};
inline constexpr UIEdgeInsets kSearchInsets{-2, 0, 0, 40};

// Replaces the navigation item's right and left items of `root` by new buttons targeting `root`.
void setNavigationButtons(UIViewController& root);

// The light haptic of the three buttons, only while `toggleHaptics` is on.
void buttonHaptic();

// The actions, as the buttons send them to the root controller.
void deployVantSettingsVC(UIViewController& root);
void displaySeachBar(UIViewController& root);
void pushToIcloudPage(UIViewController& root);

}  // namespace vantile::rootpage
