#include "tweak/startup/UIImageResizeCategory.h"

#include "platform/gfx/UIImage.h"

namespace vantile::rootpage {

Ref<UIImage> imageWithSize(const Ref<UIImage>& image, CGSize size) {
    if (!image || size.width <= 0 || size.height <= 0) return nullptr;
    // The platform's image context does the drawing; the category only fixes the rectangle, the whole new canvas.
    return image->imageWithSize(size);
}

}  // namespace vantile::rootpage
