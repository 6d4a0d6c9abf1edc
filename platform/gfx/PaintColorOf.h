#pragma once

// Colours of the toolkit as the painter takes them.

#include "platform/gfx/CGColor.h"
#include "platform/gfx/PaintColor.h"
#include "platform/gfx/UIColor.h"

namespace platform::gfx {

// A UIColor for the current interface style (dynamic colours resolve); clear for null.
inline PaintColor paintColor(const Ref<UIColor>& color) {
    if (!color) return PaintColor::clear();
    const auto c = color->rgba();
    return {c.red, c.green, c.blue, c.alpha};
}

// A UIColor for a given style (0/1 light, 2 dark); clear for null.
inline PaintColor paintColor(const Ref<UIColor>& color, int style) {
    if (!color) return PaintColor::clear();
    const auto c = color->resolvedColorWithStyle(style);
    return {c.red, c.green, c.blue, c.alpha};
}

// A CoreGraphics colour: monochrome {white, alpha} or RGB {r, g, b, a}; clear for null or an unknown model.
inline PaintColor paintColor(const CGColorRef& color) {
    if (!color) return PaintColor::clear();
    const auto& k = color->components;
    if (color->model == kCGColorSpaceModelMonochrome && k.size() >= 2) return {k[0], k[0], k[0], k[1]};
    if (color->model == kCGColorSpaceModelRGB && k.size() >= 4) return {k[0], k[1], k[2], k[3]};
    return PaintColor::clear();
}

}  // namespace platform::gfx
