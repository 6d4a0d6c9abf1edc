#pragma once

// The scene a window is shown in. The simulated device has one screen and one scene; every window on it belongs to
// that scene, whose status bar manager answers the status bar of the device profile in force.

#include "platform/core/Object.h"
#include "platform/gfx/Geometry.h"

class UIStatusBarManager;
class UIView;

class UIWindowScene : public NSObject {
    VT_OBJECT(UIWindowScene, NSObject)
public:
    // The scene of the window (a view for which isWindow() answers true); null for null or a view that is no
    // window, as a window not yet given a scene answers nil on the device.
    static Ref<UIWindowScene> sceneOfWindow(const Ref<UIView>& window);
    // Never null.
    Ref<UIStatusBarManager> statusBarManager() const;
};
