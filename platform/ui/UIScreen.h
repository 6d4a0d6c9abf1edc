#pragma once

// The device's screen. The device profile is chosen per process, scenario or test by name; every read of `bounds`
// and `scale` answers the profile in force at that moment, so code that caches nothing sees a change at once.
//
// Profiles (points, scale):  "iphone-8" 375 x 667 @2 (the default at process start), "iphone-8-plus" 414 x 736 @3,
// "iphone-x" 375 x 812 @3, "iphone-xr" 414 x 896 @2, "iphone-12" 390 x 844 @3.

#include "platform/core/Object.h"
#include "platform/gfx/Geometry.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct UIScreenProfile {
    std::string name;
    CGSize size;
    CGFloat scale = 1;
    // Height of the status bar and of the home indicator area, in points (0 where the device has none).
    CGFloat statusBarHeight = 20;
    CGFloat homeIndicatorHeight = 0;
};

class UIScreen : public NSObject {
    VT_OBJECT(UIScreen, NSObject)
public:
    // The one screen; never null.
    static Ref<UIScreen> mainScreen();

    // (0, 0, width, height) of the current profile, in points.
    CGRect bounds() const;
    CGFloat scale() const;
    // Bounds in pixels.
    CGRect nativeBounds() const;
    const UIScreenProfile& profile() const;

    // Selects a profile by name; answers false (and changes nothing) for an unknown name.
    static bool setDeviceProfile(std::string_view name);
    // Any size and scale, for screens the named profiles do not cover.
    static void setCustomProfile(const UIScreenProfile& profile);
    // Back to "iphone-8".
    static void resetDeviceProfile();
    static const std::vector<UIScreenProfile>& knownProfiles();
    static std::optional<UIScreenProfile> profileNamed(std::string_view name);
};
