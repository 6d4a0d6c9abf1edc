#include "platform/ui/UIToolbar.h"

#include "platform/core/Runtime.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIFont.h"
#include "platform/ui/UIBarButtonItem.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIScreen.h"

#include <algorithm>

VT_REGISTER_CLASS(UIToolbar)

void UIToolbar::initWithFrame(CGRect frame) {
    UIView::initWithFrame(frame);
    m_hairline = alloc<UIView>();
    m_hairline->initWithFrame(CGRectMake(0, 0, frame.width(), 0.5));
    m_hairline->setUserInteractionEnabled(false);
    addSubview(m_hairline);
    restyle();
}

void UIToolbar::setBarStyle(UIBarStyle style) {
    if (m_barStyle == style) return;
    m_barStyle = style;
    restyle();
}

void UIToolbar::restyle() {
    const bool black = m_barStyle == UIBarStyleBlack;
    setBackgroundColor(black ? UIColor::colorWithWhiteAlpha(0.11, 0.96) : UIColor::colorWithWhiteAlpha(0.97, 0.96));
    m_hairline->setBackgroundColor(UIColor::colorWithWhiteAlpha(0, black ? 0.6 : 0.3));
    for (const auto& button : m_buttons)
        if (button) button->setTitleColorForState(tintColor(), UIControlStateNormal);
}

void UIToolbar::tintColorDidChange() { restyle(); }

void UIToolbar::setItems(std::vector<Ref<UIBarButtonItem>> items) {
    for (const auto& button : m_buttons)
        if (button) button->removeFromSuperview();
    m_buttons.clear();
    m_items = std::move(items);
    for (const auto& item : m_items) {
        if (!item || item->isSpace()) {
            m_buttons.push_back(nullptr);
            continue;
        }
        auto button = UIButton::buttonWithType(UIButtonTypeSystem);
        button->setTitleForState(item->title(), UIControlStateNormal);
        button->setImageForState(item->image(), UIControlStateNormal);
        button->setTitleColorForState(tintColor(), UIControlStateNormal);
        button->titleLabel()->setFont(item->style() == UIBarButtonItemStyleDone
                                          ? UIFont::boldSystemFontOfSize(kItemFontSize)
                                          : UIFont::systemFontOfSize(kItemFontSize));
        button->setEnabled(item->isEnabled());
        // The item stays the action's sender, as a bar's own buttons hand it on.
        button->addTargetActionForControlEvents(item, sel("_pressFromButton:"), UIControlEventTouchUpInside);
        addSubview(button);
        m_buttons.push_back(button);
    }
    setNeedsLayout();
}

Ref<UIButton> UIToolbar::buttonForItem(const UIBarButtonItem& item) const {
    for (std::size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].get() == &item) return m_buttons[i];
    return nullptr;
}

CGSize UIToolbar::sizeThatFits(CGSize) {
    const CGFloat width = bounds().width() > 0 ? bounds().width() : UIScreen::mainScreen()->bounds().width();
    return CGSizeMake(width, kHeight);
}

void UIToolbar::layoutSubviews() {
    UIView::layoutSubviews();
    const CGRect b = bounds();
    m_hairline->setFrame(CGRectMake(0, 0, b.width(), 0.5));
    // Widths first: buttons at their natural width, fixed spaces at theirs (none given: the gap), flexible ones 0.
    std::vector<CGFloat> widths(m_items.size(), 0);
    CGFloat used = 0;
    long flexible = 0;
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        const auto& item = m_items[i];
        if (m_buttons[i]) widths[i] = m_buttons[i]->intrinsicContentSize().width;
        else if (item && item->systemItem() == UIBarButtonSystemItemFlexibleSpace) ++flexible;
        else widths[i] = kItemGap;
        used += widths[i];
    }
    const CGFloat gaps = m_items.empty() ? 0 : kItemGap * static_cast<CGFloat>(m_items.size() - 1);
    const CGFloat spare = std::max<CGFloat>(0, b.width() - 2 * kEdgeMargin - used - gaps);
    CGFloat x = kEdgeMargin;
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        const auto& item = m_items[i];
        if (item && item->systemItem() == UIBarButtonSystemItemFlexibleSpace && flexible > 0)
            widths[i] = spare / static_cast<CGFloat>(flexible);
        if (m_buttons[i]) m_buttons[i]->setFrame(CGRectMake(x, 0, widths[i], b.height()));
        x += widths[i] + kItemGap;
    }
}
