#include "platform/ui/UITableViewCell.h"

#include "platform/core/Runtime.h"

#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIFont.h"
#include "platform/gfx/UIImage.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"

#include <algorithm>
#include <cmath>

VT_REGISTER_CLASS(UITableViewCellAppearance)
VT_REGISTER_CLASS(UITableViewCell, [](Class c) {
    platform::runtime::addMethod<&UITableViewCell::initWithStyleReuseIdentifier>(c, "initWithStyle:reuseIdentifier:");
    platform::runtime::addMethod<&UITableViewCell::prepareForReuse>(c, "prepareForReuse");
    platform::runtime::addMethod<&UITableViewCell::setSelectedAnimated>(c, "setSelected:animated:");
})

namespace {
constexpr CGFloat kImageSize = 29;
}  // namespace

void UITableViewCellAppearance::reset() {
    backgroundColor = nullptr;
    tintColor = nullptr;
    selectedBackgroundView = nullptr;
    selectionStyle.reset();
}

Ref<UITableViewCellAppearance> UITableViewCell::appearance() {
    static Ref<UITableViewCellAppearance> proxy = alloc<UITableViewCellAppearance>();
    return proxy;
}

void UITableViewCell::initWithFrame(CGRect frame) {
    UIView::initWithFrame(frame);
    build();
}

void UITableViewCell::initWithStyleReuseIdentifier(UITableViewCellStyle style, std::string reuseIdentifier) {
    m_style = style;
    m_reuseIdentifier = std::move(reuseIdentifier);
    initWithFrame(CGRectMake(0, 0, 320, 44));
}

void UITableViewCell::build() {
    if (m_built) return;
    m_built = true;
    setBackgroundColor(UIColor::systemBackgroundColor());
    m_contentView = alloc<UIView>();
    m_contentView->initWithFrame(bounds());
    addSubview(m_contentView);
    m_separator = alloc<UIView>();
    m_separator->initWithFrame(CGRectZero);
    m_separator->setBackgroundColor(UIColor::separatorColor());
    m_separator->setUserInteractionEnabled(false);
    addSubview(m_separator);
    auto proxy = appearance();
    if (proxy->backgroundColor) setBackgroundColor(proxy->backgroundColor);
    if (proxy->tintColor) setTintColor(proxy->tintColor);
    if (proxy->selectedBackgroundView) setSelectedBackgroundView(proxy->selectedBackgroundView);
    if (proxy->selectionStyle) m_selectionStyle = *proxy->selectionStyle;
}

Ref<UILabel> UITableViewCell::textLabel() {
    if (!m_textLabel) {
        m_textLabel = alloc<UILabel>();
        m_textLabel->initWithFrame(CGRectZero);
        m_textLabel->setFont(UIFont::systemFontOfSize(17));
        m_textLabel->setTextColor(UIColor::labelColor());
        m_contentView->addSubview(m_textLabel);
        setNeedsLayout();
    }
    return m_textLabel;
}

Ref<UILabel> UITableViewCell::detailTextLabel() {
    if (m_style == UITableViewCellStyleDefault) return nullptr;
    if (!m_detailTextLabel) {
        m_detailTextLabel = alloc<UILabel>();
        m_detailTextLabel->initWithFrame(CGRectZero);
        m_detailTextLabel->setFont(UIFont::systemFontOfSize(m_style == UITableViewCellStyleSubtitle ? 12 : 17));
        m_detailTextLabel->setTextColor(UIColor::secondaryLabelColor());
        if (m_style == UITableViewCellStyleValue1) m_detailTextLabel->setTextAlignment(NSTextAlignmentRight);
        m_contentView->addSubview(m_detailTextLabel);
        setNeedsLayout();
    }
    return m_detailTextLabel;
}

Ref<UIImageView> UITableViewCell::imageView() {
    if (!m_imageView) {
        m_imageView = alloc<UIImageView>();
        m_imageView->initWithFrame(CGRectZero);
        m_imageView->setContentMode(UIViewContentModeScaleAspectFit);
        m_contentView->addSubview(m_imageView);
        setNeedsLayout();
    }
    return m_imageView;
}

void UITableViewCell::setAccessoryView(Ref<UIView> view) {
    if (m_accessoryView == view) return;
    if (m_accessoryView) m_accessoryView->removeFromSuperview();
    m_accessoryView = std::move(view);
    if (m_accessoryView) addSubview(m_accessoryView);
    setNeedsLayout();
}

void UITableViewCell::setAccessoryType(UITableViewCellAccessoryType type) {
    if (m_accessoryType == type) return;
    m_accessoryType = type;
    if (m_typeView) m_typeView->removeFromSuperview();
    m_typeView = nullptr;
    const char* symbol = type == UITableViewCellAccessoryDisclosureIndicator ? "chevron.right"
                         : type == UITableViewCellAccessoryCheckmark          ? "checkmark"
                                                                              : nullptr;
    if (symbol) {
        auto chevron = alloc<UIImageView>();
        chevron->initWithFrame(CGRectZero);
        chevron->setImage(UIImage::systemImageNamed(symbol));
        chevron->setContentMode(UIViewContentModeScaleAspectFit);
        chevron->setTintColor(type == UITableViewCellAccessoryCheckmark ? UIColor::systemBlueColor()
                                                                        : UIColor::tertiaryLabelColor());
        addSubview(chevron);
        m_typeView = chevron;
    }
    setNeedsLayout();
}

void UITableViewCell::setBackgroundView(Ref<UIView> view) {
    if (m_backgroundView) m_backgroundView->removeFromSuperview();
    m_backgroundView = std::move(view);
    if (m_backgroundView) insertSubviewAtIndex(m_backgroundView, 0);
    setNeedsLayout();
}

void UITableViewCell::setSelectedBackgroundView(Ref<UIView> view) {
    if (m_selectedBackgroundView) m_selectedBackgroundView->removeFromSuperview();
    m_selectedBackgroundView = std::move(view);
    refreshSelectionLook();
}

void UITableViewCell::setSelectedAnimated(bool selected, bool animated) {
    if (m_selected == selected) return;
    m_selected = selected;
    refreshSelectionLook();
}

void UITableViewCell::setHighlighted(bool highlighted) {
    if (m_highlighted == highlighted) return;
    m_highlighted = highlighted;
    refreshSelectionLook();
}

void UITableViewCell::refreshSelectionLook() {
    bool show = (m_selected || m_highlighted) && m_selectionStyle != UITableViewCellSelectionStyleNone;
    Ref<UIView> view = m_selectedBackgroundView;
    if (!view) {
        if (!m_defaultSelectedBackground) {
            m_defaultSelectedBackground = alloc<UIView>();
            m_defaultSelectedBackground->initWithFrame(CGRectZero);
            m_defaultSelectedBackground->setBackgroundColor(UIColor::systemGrayColor()->colorWithAlphaComponent(0.3));
        }
        view = m_defaultSelectedBackground;
    }
    if (m_defaultSelectedBackground && view != m_defaultSelectedBackground)
        m_defaultSelectedBackground->removeFromSuperview();
    if (show) {
        if (view->superview().get() != this) {
            // Directly above the background view, below the content.
            long index = m_backgroundView ? 1 : 0;
            insertSubviewAtIndex(view, index);
        }
        view->setFrame(bounds());
    } else if (view->superview().get() == this) {
        view->removeFromSuperview();
    }
}

void UITableViewCell::setEditing(bool editing) {
    if (m_editing == editing) return;
    m_editing = editing;
    setNeedsLayout();
}

void UITableViewCell::setShowsReorderControl(bool on) {
    if (m_showsReorder == on) return;
    m_showsReorder = on;
    setNeedsLayout();
}

void UITableViewCell::setEditingStyle(UITableViewCellEditingStyle style) {
    if (m_editingStyle == style) return;
    m_editingStyle = style;
    setNeedsLayout();
}

void UITableViewCell::setSeparatorHidden(bool hidden) {
    m_separatorHidden = hidden;
    if (m_separator) m_separator->setHidden(hidden);
}

void UITableViewCell::prepareForReuse() {
    setHighlighted(false);
    setSelected(false);
}

CGFloat UITableViewCell::fittingHeightForWidth(CGFloat width, CGFloat fallback) {
    // The standard labels decide by their text at the width they get, with the device's 11-point margins.
    if (m_textLabel && !m_textLabel->text().empty()) {
        CGFloat x = kSideMargin + ((m_imageView && m_imageView->image()) ? kImageSize + kSideMargin : 0);
        CGFloat labelWidth = std::max<CGFloat>(1, width - x - kSideMargin - (m_typeView ? kAccessoryWidth : 0));
        m_textLabel->setPreferredMaxLayoutWidth(labelWidth);
        CGFloat h = m_textLabel->intrinsicContentSize().height;
        if (m_detailTextLabel && m_style == UITableViewCellStyleSubtitle) {
            m_detailTextLabel->setPreferredMaxLayoutWidth(labelWidth);
            h += m_detailTextLabel->intrinsicContentSize().height;
        }
        return std::max<CGFloat>(44, std::ceil(h + 22));
    }
    // Otherwise the content's lowest subview after a layout at the fallback height, with the margin it keeps at
    // the top repeated at the bottom; content pinned to the bottom edge cannot decide and keeps the fallback.
    setFrame(CGRectMake(frame().minX(), frame().minY(), width, fallback));
    layoutIfNeeded();
    CGFloat top = INFINITY, bottom = 0;
    for (const auto& v : m_contentView->subviews()) {
        if (v->isHidden()) continue;
        top = std::min(top, v->frame().minY());
        bottom = std::max(bottom, v->frame().maxY());
    }
    if (bottom <= 0 || std::fabs(bottom - fallback) < 0.5) return fallback;
    return std::ceil(bottom + std::max<CGFloat>(0, top));
}

CGRect UITableViewCell::contentFrame() const {
    CGRect r = bounds();
    CGFloat leading = 0, trailing = 0;
    if (m_editing && m_editingStyle != UITableViewCellEditingStyleNone) leading += kEditingIndent;
    if (m_reorderShown) trailing += kReorderControlWidth;
    else if (m_accessoryView) trailing += m_accessoryView->frame().width() + kSideMargin;
    else if (m_typeView) trailing += kAccessoryWidth;
    return {{leading, 0}, {std::max<CGFloat>(0, r.width() - leading - trailing), r.height()}};
}

void UITableViewCell::layoutSubviews() {
    UIView::layoutSubviews();
    bool reorder = m_editing && m_showsReorder;
    if (reorder && !m_reorder) {
        // Three grey bars, the device's drag handle.
        m_reorder = alloc<UIView>();
        m_reorder->initWithFrame(CGRectMake(0, 0, kReorderControlWidth, 44));
        for (int i = 0; i < 3; ++i) {
            auto bar = alloc<UIView>();
            bar->initWithFrame(CGRectMake(11, 16 + 5 * i, 18, 2));
            bar->setBackgroundColor(UIColor::tertiaryLabelColor());
            bar->setUserInteractionEnabled(false);
            m_reorder->addSubview(bar);
        }
    }
    if (reorder != m_reorderShown) {
        m_reorderShown = reorder;
        if (reorder) addSubview(m_reorder);
        else m_reorder->removeFromSuperview();
    }
    CGRect b = bounds();
    if (m_backgroundView) m_backgroundView->setFrame(b);
    if (m_selectedBackgroundView && m_selectedBackgroundView->superview().get() == this)
        m_selectedBackgroundView->setFrame(b);
    if (m_defaultSelectedBackground && m_defaultSelectedBackground->superview().get() == this)
        m_defaultSelectedBackground->setFrame(b);
    CGRect content = contentFrame();
    m_contentView->setFrame(content);
    if (m_reorderShown) {
        m_reorder->setFrame(CGRectMake(b.width() - kReorderControlWidth, 0, kReorderControlWidth, b.height()));
        for (std::size_t i = 0; i < m_reorder->subviews().size(); ++i)
            m_reorder->subviews()[i]->setFrame(
                CGRectMake(11, b.height() / 2 - 6 + 5 * static_cast<CGFloat>(i), 18, 2));
    }
    if (m_accessoryView && !m_reorderShown) {
        CGSize s = m_accessoryView->frame().size;
        m_accessoryView->setFrame(CGRectMake(b.width() - kSideMargin - s.width, (b.height() - s.height) / 2, s.width,
                                             s.height));
    }
    if (m_accessoryView) m_accessoryView->setHidden(m_reorderShown);
    if (m_typeView) {
        m_typeView->setHidden(m_reorderShown || m_accessoryView);
        m_typeView->setFrame(CGRectMake(b.width() - kSideMargin - 9, b.midY() - 7, 9, 14));
    }
    m_separator->setFrame(CGRectMake(kSideMargin, b.height() - 0.5, std::max<CGFloat>(0, b.width() - kSideMargin), 0.5));

    // The standard labels of the cell's style, in the content view.
    CGFloat x = kSideMargin;
    CGRect cb = m_contentView->bounds();
    if (m_imageView && m_imageView->image()) {
        CGSize s = m_imageView->image()->size();
        CGFloat side = std::min<CGFloat>(kImageSize, std::max(s.width, s.height));
        m_imageView->setFrame(CGRectMake(x, (cb.height() - side) / 2, side, side));
        x += side + kSideMargin;
    }
    CGFloat right = cb.width() - kSideMargin;
    if (m_textLabel) {
        CGSize t = m_textLabel->intrinsicContentSize();
        if (m_style == UITableViewCellStyleSubtitle && m_detailTextLabel) {
            CGSize d = m_detailTextLabel->intrinsicContentSize();
            CGFloat top = (cb.height() - t.height - d.height) / 2;
            m_textLabel->setFrame(CGRectMake(x, top, right - x, t.height));
            m_detailTextLabel->setFrame(CGRectMake(x, top + t.height, right - x, d.height));
        } else if (m_style == UITableViewCellStyleValue1 && m_detailTextLabel) {
            CGSize d = m_detailTextLabel->intrinsicContentSize();
            m_detailTextLabel->setFrame(CGRectMake(right - d.width, (cb.height() - d.height) / 2, d.width, d.height));
            m_textLabel->setFrame(CGRectMake(x, (cb.height() - t.height) / 2,
                                             std::max<CGFloat>(0, right - d.width - 8 - x), t.height));
        } else {
            m_textLabel->setFrame(CGRectMake(x, 0, std::max<CGFloat>(0, right - x), cb.height()));
        }
    }
}
