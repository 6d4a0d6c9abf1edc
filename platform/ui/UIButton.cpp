#include "platform/ui/UIButton.h"

#include "platform/core/Runtime.h"

#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIFont.h"
#include "platform/gfx/UIImage.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"

#include <algorithm>

VT_REGISTER_CLASS(UIButton)

namespace {
// The gap between image and title when a button shows both.
constexpr CGFloat kImageTitleGap = 4;

// Insets larger than the rectangle give a negative size, which the device's geometry standardises (the
// rectangle flips over its edge) rather than hides: an image inset by more than its width shows shifted.
CGRect inset(CGRect r, UIEdgeInsets i) {
    CGRect out{{r.origin.x + i.left, r.origin.y + i.top},
               {r.size.width - i.left - i.right, r.size.height - i.top - i.bottom}};
    if (out.size.width < 0) {
        out.origin.x += out.size.width;
        out.size.width = -out.size.width;
    }
    if (out.size.height < 0) {
        out.origin.y += out.size.height;
        out.size.height = -out.size.height;
    }
    return out;
}
}  // namespace

Ref<UIButton> UIButton::buttonWithType(UIButtonType type) {
    auto b = alloc<UIButton>();
    b->m_type = type;
    b->initWithFrame(CGRectZero);
    return b;
}

void UIButton::initWithFrame(CGRect frame) {
    UIControl::initWithFrame(frame);
    m_titleLabel = alloc<UILabel>();
    m_titleLabel->initWithFrame(CGRectZero);
    m_titleLabel->setFont(UIFont::systemFontOfSize(m_type == UIButtonTypeSystem ? 15 : 18));
    m_imageView = alloc<UIImageView>();
    m_imageView->initWithFrame(CGRectZero);
    m_imageView->setContentMode(UIViewContentModeScaleAspectFit);
    addSubview(m_imageView);
    addSubview(m_titleLabel);
    refreshContent();
}

template <class T>
T UIButton::lookup(const std::map<UIControlState, T>& values, UIControlState state) {
    // The exact state first, then the single most telling flag, then normal, as the device falls back.
    if (auto it = values.find(state); it != values.end()) return it->second;
    for (UIControlState flag : {UIControlStateDisabled, UIControlStateHighlighted, UIControlStateSelected})
        if (state & flag)
            if (auto it = values.find(flag); it != values.end()) return it->second;
    if (auto it = values.find(UIControlStateNormal); it != values.end()) return it->second;
    return T{};
}

void UIButton::setTitleForState(std::string title, UIControlState state) {
    m_titles[state] = std::move(title);
    refreshContent();
}

std::optional<std::string> UIButton::titleForState(UIControlState state) const {
    if (m_titles.empty()) return std::nullopt;
    bool any = m_titles.count(state) || m_titles.count(UIControlStateNormal);
    for (UIControlState flag : {UIControlStateDisabled, UIControlStateHighlighted, UIControlStateSelected})
        if ((state & flag) && m_titles.count(flag)) any = true;
    if (!any) return std::nullopt;
    return lookup(m_titles, state);
}

void UIButton::setTitleColorForState(Ref<UIColor> color, UIControlState state) {
    m_titleColors[state] = std::move(color);
    refreshContent();
}

Ref<UIColor> UIButton::titleColorForState(UIControlState state) const {
    if (auto c = lookup(m_titleColors, state)) return c;
    // A system button's title is the tint, the system blue when nobody up the tree set one.
    if (m_type == UIButtonTypeSystem) return tintColor() ? tintColor() : UIColor::systemBlueColor();
    return UIColor::whiteColor();
}

void UIButton::setImageForState(Ref<UIImage> image, UIControlState state) {
    m_images[state] = std::move(image);
    refreshContent();
}

Ref<UIImage> UIButton::imageForState(UIControlState state) const { return lookup(m_images, state); }

void UIButton::setBackgroundImageForState(Ref<UIImage> image, UIControlState state) {
    m_backgroundImages[state] = std::move(image);
    refreshContent();
}

Ref<UIImage> UIButton::backgroundImageForState(UIControlState state) const {
    return lookup(m_backgroundImages, state);
}

std::string UIButton::currentTitle() const { return titleForState(state()).value_or(""); }
Ref<UIColor> UIButton::currentTitleColor() const { return titleColorForState(state()); }
Ref<UIImage> UIButton::currentImage() const { return imageForState(state()); }

void UIButton::setImageEdgeInsets(UIEdgeInsets insets) {
    m_imageInsets = insets;
    setNeedsLayout();
}

void UIButton::setTitleEdgeInsets(UIEdgeInsets insets) {
    m_titleInsets = insets;
    setNeedsLayout();
}

void UIButton::setContentEdgeInsets(UIEdgeInsets insets) {
    m_contentInsets = insets;
    setNeedsLayout();
}

void UIButton::stateChanged() {
    refreshContent();
    UIControl::stateChanged();
}

void UIButton::tintColorDidChange() {
    UIControl::tintColorDidChange();
    refreshContent();
}

void UIButton::refreshContent() {
    if (!m_titleLabel) return;  // before init
    m_titleLabel->setText(currentTitle());
    auto color = currentTitleColor();
    // A system button dims its title while pressed.
    if (m_type == UIButtonTypeSystem && isHighlighted() && color) color = color->colorWithAlphaComponent(0.3);
    m_titleLabel->setTextColor(color);
    m_titleLabel->setHidden(currentTitle().empty());
    m_imageView->setImage(currentImage());
    m_imageView->setHidden(!currentImage());
    if (auto bg = backgroundImageForState(state())) {
        if (!m_backgroundView) {
            m_backgroundView = alloc<UIImageView>();
            m_backgroundView->initWithFrame(bounds());
            insertSubviewAtIndex(m_backgroundView, 0);
        }
        m_backgroundView->setImage(bg);
    } else if (m_backgroundView) {
        m_backgroundView->removeFromSuperview();
        m_backgroundView = nullptr;
    }
    setNeedsLayout();
}

CGSize UIButton::intrinsicContentSize() {
    CGSize title = currentTitle().empty() ? CGSize{} : m_titleLabel->intrinsicContentSize();
    CGSize image = currentImage() ? currentImage()->size() : CGSize{};
    CGFloat gap = (title.width > 0 && image.width > 0) ? kImageTitleGap : 0;
    return {title.width + image.width + gap + m_contentInsets.left + m_contentInsets.right,
            std::max(title.height, image.height) + m_contentInsets.top + m_contentInsets.bottom};
}

void UIButton::layoutSubviews() {
    UIControl::layoutSubviews();
    CGRect content = inset(bounds(), m_contentInsets);
    if (m_backgroundView) m_backgroundView->setFrame(bounds());
    auto image = currentImage();
    bool hasTitle = !currentTitle().empty();
    bool fill = contentHorizontalAlignment() == UIControlContentHorizontalAlignmentFill &&
                contentVerticalAlignment() == UIControlContentVerticalAlignmentFill;

    CGSize imageSize{};
    if (image) {
        if (fill) {
            imageSize = content.size;
        } else {
            imageSize = image->size();
            // Too large an image is shrunk to fit, keeping its aspect.
            CGFloat sx = content.size.width > 0 ? content.size.width / std::max<CGFloat>(imageSize.width, 1) : 0;
            CGFloat sy = content.size.height > 0 ? content.size.height / std::max<CGFloat>(imageSize.height, 1) : 0;
            CGFloat s = std::min({sx, sy, CGFloat(1)});
            imageSize = {imageSize.width * s, imageSize.height * s};
        }
    }
    CGSize titleSize = hasTitle ? m_titleLabel->intrinsicContentSize() : CGSize{};
    if (image && fill) {
        m_imageView->setFrame(inset(content, m_imageInsets));
    }
    CGFloat gap = (image && hasTitle) ? kImageTitleGap : 0;
    CGFloat groupWidth = std::min(content.size.width, imageSize.width + gap + titleSize.width);
    CGFloat x = content.origin.x;
    switch (contentHorizontalAlignment()) {
        case UIControlContentHorizontalAlignmentLeft:
        case UIControlContentHorizontalAlignmentFill: break;
        case UIControlContentHorizontalAlignmentRight: x = content.maxX() - groupWidth; break;
        default: x = content.origin.x + (content.size.width - groupWidth) / 2; break;
    }
    if (image && !fill) {
        CGRect r{{x, content.midY() - imageSize.height / 2}, imageSize};
        m_imageView->setFrame(inset(r, m_imageInsets));
        x += imageSize.width + gap;
    }
    if (hasTitle) {
        CGFloat w = std::min(titleSize.width, content.maxX() - x);
        if (contentHorizontalAlignment() == UIControlContentHorizontalAlignmentFill && !image) w = content.size.width;
        CGRect r{{x, content.midY() - titleSize.height / 2}, {w, titleSize.height}};
        m_titleLabel->setFrame(inset(r, m_titleInsets));
    }
}
