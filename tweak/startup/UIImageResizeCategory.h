#pragma once

// The image-resizing category the root page's bar buttons use (UIImage(ResizeCategory) `imageWithSize:` on the
// device): a new image of the given size with the receiver drawn into (0, 0, width, height), scaled to fill it
// without keeping its aspect ratio.

#include "platform/core/Object.h"
#include "platform/gfx/Geometry.h"

class UIImage;

namespace vantile::rootpage {

// Null for a null image or an empty size. The result is drawn with its own colours; callers that want a tinted
// button image ask for template rendering themselves.
Ref<UIImage> imageWithSize(const Ref<UIImage>& image, CGSize size);

}  // namespace vantile::rootpage
