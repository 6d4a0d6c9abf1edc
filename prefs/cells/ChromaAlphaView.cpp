#include "prefs/cells/ChromaAlphaView.h"

#include "platform/core/Runtime.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIImage.h"
#include "platform/ui/CAGradientLayer.h"

VT_REGISTER_CLASS(ChromaAlphaView)

Ref<UIImage> ChromaAlphaView::makeImage(CGSize size) const {
    auto gradient = CAGradientLayer::layer();
    gradient->setFrame(CGRectMake(0, 0, size.width, size.height));
    gradient->setColors({UIColor::whiteColor()->CGColor(), UIColor::blackColor()->CGColor()});
    gradient->setStartPoint(CGPointMake(0, 0.5));
    gradient->setEndPoint(CGPointMake(1, 0.5));
    return gradient->renderedImageOfSize(size);
}

Ref<UIColor> ChromaAlphaView::indicatorColor() const { return UIColor::colorWithWhiteAlpha(1 - alphaValue(), 1); }
