#pragma once

// The renderer does not blur what lies behind a visual-effect view; it lays a translucent tint of the material over
// it, which is what the eye mostly sees of the device's thin materials. One table for every blur style, so the
// effect view and anything else that needs a material colour agree.

#include "platform/gfx/PaintColor.h"

namespace platform::ui {

// UIBlurEffectStyle numbers: 0 extra light, 1 light, 2 dark, 4 regular, 5 prominent, 6–10 the system materials
// (adaptive), 11–15 their light forms, 16–20 their dark forms. Unknown styles tint like the light thin material.
inline PaintColor blurApproximationColor(long style) {
    switch (style) {
        case 0: return {0.97, 0.97, 0.97, 0.85};
        case 1: return {0.98, 0.98, 0.98, 0.72};
        case 2: return {0.11, 0.11, 0.11, 0.72};
        case 16: return {0.11, 0.11, 0.12, 0.70};  // ultra-thin dark
        case 17: return {0.11, 0.11, 0.12, 0.78};
        case 18: return {0.11, 0.11, 0.12, 0.84};
        case 19: return {0.11, 0.11, 0.12, 0.90};
        case 20: return {0.11, 0.11, 0.12, 0.95};
        case 12: return {0.98, 0.98, 0.98, 0.78};
        case 13: return {0.98, 0.98, 0.98, 0.84};
        case 14: return {0.98, 0.98, 0.98, 0.90};
        case 15: return {0.98, 0.98, 0.98, 0.95};
        default: return {0.98, 0.98, 0.98, 0.70};  // 11, ultra-thin light
    }
}

}  // namespace platform::ui
