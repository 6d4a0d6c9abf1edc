#include "platform/gfx/CGColor.h"

#include <atomic>

struct CGColorSpace {
    CGColorSpaceModel model;
    bool shared;
};

namespace {
std::atomic<std::size_t> g_liveSpaces{0};

CGColorSpaceRef createSpace(CGColorSpaceModel model) {
    ++g_liveSpaces;
    return new CGColorSpace{model, false};
}

// The spaces colours answer with. Process-lifetime, so a colour never owns one.
CGColorSpace g_sharedRGB{kCGColorSpaceModelRGB, true};
CGColorSpace g_sharedGray{kCGColorSpaceModelMonochrome, true};
CGColorSpace g_sharedUnknown{kCGColorSpaceModelUnknown, true};
}  // namespace

CGColorSpaceRef CGColorSpaceCreateDeviceRGB() { return createSpace(kCGColorSpaceModelRGB); }
CGColorSpaceRef CGColorSpaceCreateDeviceGray() { return createSpace(kCGColorSpaceModelMonochrome); }

void CGColorSpaceRelease(CGColorSpaceRef space) {
    if (!space || space->shared) return;
    --g_liveSpaces;
    delete space;
}

CGColorSpaceModel CGColorSpaceGetModel(CGColorSpaceRef space) {
    return space ? space->model : kCGColorSpaceModelUnknown;
}

CGColorRef CGColorCreateSRGB(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha) {
    return std::make_shared<const CGColor>(CGColor{kCGColorSpaceModelRGB, {red, green, blue, alpha}});
}

CGColorRef CGColorCreateGenericGray(CGFloat white, CGFloat alpha) {
    return std::make_shared<const CGColor>(CGColor{kCGColorSpaceModelMonochrome, {white, alpha}});
}

CGColorSpaceRef CGColorGetColorSpace(const CGColorRef& color) {
    if (!color) return nullptr;
    switch (color->model) {
        case kCGColorSpaceModelMonochrome: return &g_sharedGray;
        case kCGColorSpaceModelRGB: return &g_sharedRGB;
        default: return &g_sharedUnknown;
    }
}

const CGFloat* CGColorGetComponents(const CGColorRef& color) { return color ? color->components.data() : nullptr; }

std::size_t CGColorGetNumberOfComponents(const CGColorRef& color) { return color ? color->components.size() : 0; }

CGFloat CGColorGetAlpha(const CGColorRef& color) {
    return color && !color->components.empty() ? color->components.back() : 0;
}

namespace platform::gfx {
std::size_t liveColorSpaceCount() { return g_liveSpaces.load(); }
}  // namespace platform::gfx
