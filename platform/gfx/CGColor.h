#pragma once

// CoreGraphics colours and colour spaces.
//
// A colour keeps the colour-space model it was made in (monochrome colours have two components, white and alpha; RGB
// colours four, red, green, blue and alpha), because code that writes colours out branches on the model.
// `CGColorRef` is a shared, immutable value: whoever holds one keeps it alive, so there is nothing to release.
// Colour spaces follow CoreGraphics' create/release rule: one from a Create call is the caller's and is released with
// CGColorSpaceRelease; one from a Get call belongs to the colour and must not be released.

#include "platform/gfx/Geometry.h"

#include <cstddef>
#include <memory>
#include <vector>

// Colour-space models, as CGColorSpaceModel numbers them.
enum CGColorSpaceModel : int {
    kCGColorSpaceModelUnknown = -1,
    kCGColorSpaceModelMonochrome = 0,
    kCGColorSpaceModelRGB = 1,
};

struct CGColorSpace;
using CGColorSpaceRef = CGColorSpace*;

struct CGColor {
    CGColorSpaceModel model = kCGColorSpaceModelRGB;
    // The components in the model's order, alpha last: {white, alpha} or {red, green, blue, alpha}.
    std::vector<CGFloat> components;
};
using CGColorRef = std::shared_ptr<const CGColor>;

// A new device RGB colour space, owned by the caller (release it with CGColorSpaceRelease).
CGColorSpaceRef CGColorSpaceCreateDeviceRGB();
// A new device grey colour space, owned by the caller.
CGColorSpaceRef CGColorSpaceCreateDeviceGray();
// Releases a colour space from a Create call. Null is ignored; the shared spaces that CGColorGetColorSpace hands out
// are never freed, so releasing one by mistake is harmless.
void CGColorSpaceRelease(CGColorSpaceRef space);
// The model of a colour space; kCGColorSpaceModelUnknown for null.
CGColorSpaceModel CGColorSpaceGetModel(CGColorSpaceRef space);

// An RGB colour; components are kept as given (not clamped), as CoreGraphics does for extended ranges.
CGColorRef CGColorCreateSRGB(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha);
// A monochrome colour.
CGColorRef CGColorCreateGenericGray(CGFloat white, CGFloat alpha);
// The colour space of a colour (shared, not to be released); null for a null colour.
CGColorSpaceRef CGColorGetColorSpace(const CGColorRef& color);
// The components, alpha last; null for a null colour. Valid as long as the colour is held.
const CGFloat* CGColorGetComponents(const CGColorRef& color);
// The number of components including alpha; 0 for a null colour.
std::size_t CGColorGetNumberOfComponents(const CGColorRef& color);
// Alpha, the last component; 0 for a null colour.
CGFloat CGColorGetAlpha(const CGColorRef& color);

namespace platform::gfx {
// Colour spaces created and not yet released, for leak checks in tests.
std::size_t liveColorSpaceCount();
}  // namespace platform::gfx
