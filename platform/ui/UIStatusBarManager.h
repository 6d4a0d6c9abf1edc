#pragma once

// What the scene knows of its status bar.

#include "platform/core/Object.h"
#include "platform/gfx/Geometry.h"

class UIStatusBarManager : public NSObject {
    VT_OBJECT(UIStatusBarManager, NSObject)
public:
    // (0, 0, screen width, status bar height of the device profile): 20 points on a phone with a home button,
    // 44 or 47 on one without.
    CGRect statusBarFrame() const;
};
