#pragma once

// A view that shows an image, placed by its content mode (UIViewContentMode numbers: 0 scale to fill, 1 aspect fit,
// 2 aspect fill, 4 centre, 5–12 the edges and corners at the image's own size). A template image (or a symbol
// image in automatic mode) is drawn in the view's tint colour. Its own size is the image's size.

#include "platform/ui/UIView.h"

class UIImage;

class UIImageView : public UIView {
    VT_OBJECT(UIImageView, UIView)
public:
    void initWithFrame(CGRect frame) override;
    // A view sized to the image (frame (0, 0, image size)); an empty frame for no image.
    void initWithImage(Ref<UIImage> image);

    // Null when none.
    const Ref<UIImage>& image() const { return m_image; }
    void setImage(Ref<UIImage> image);

    // The image's size; UIViewNoIntrinsicMetric in both dimensions without an image.
    CGSize intrinsicContentSize() override;
    CGSize sizeThatFits(CGSize size) override;

    // Where the image lands in `bounds` for the current content mode; zero without an image.
    CGRect imageRectForBounds(CGRect bounds) const;

    void drawRect(CGRect rect) override;
    bool drawsContent() const override { return true; }

    std::string description() const override;

private:
    Ref<UIImage> m_image;
};
