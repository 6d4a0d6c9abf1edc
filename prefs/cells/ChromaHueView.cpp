#include "prefs/cells/ChromaHueView.h"

#include "prefs/cells/ChromaCodec.h"

#include "platform/core/Runtime.h"
#include "platform/gfx/CGImage.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIImage.h"

VT_REGISTER_CLASS(ChromaHueView)

Ref<UIImage> ChromaHueView::makeImage(CGSize) const {
    // 256 × 1 pixels, stretched over the bar by the image view.
    CGImageRef bar = chroma::createContentImage();
    auto image = UIImage::imageWithCGImage(bar);
    CGImageRelease(bar);
    return image;
}

Ref<UIColor> ChromaHueView::indicatorColor() const {
    return UIColor::colorWithHueSaturationBrightnessAlpha(hue(), 1, 1, 1);
}
