#pragma once

// A bar of buttons, as a keyboard's accessory or at the foot of a page. Items are laid out left to right: plain and
// done items as buttons sized to their titles (done items bold), fixed spaces at their width, and flexible spaces
// sharing what is left equally. A bar with no flexible space packs its items from the left.

#include "platform/ui/UIView.h"

#include <vector>

class UIBarButtonItem;
class UIButton;

using UIBarStyle = long;
inline constexpr UIBarStyle UIBarStyleDefault = 0;
inline constexpr UIBarStyle UIBarStyleBlack = 1;

class UIToolbar : public UIView {
    VT_OBJECT(UIToolbar, UIView)
public:
    static constexpr CGFloat kHeight = 44;
    static constexpr CGFloat kEdgeMargin = 16;
    static constexpr CGFloat kItemGap = 8;
    static constexpr CGFloat kItemFontSize = 17;

    void initWithFrame(CGRect frame) override;

    const std::vector<Ref<UIBarButtonItem>>& items() const { return m_items; }
    // Builds the item's buttons anew; the old ones go away.
    void setItems(std::vector<Ref<UIBarButtonItem>> items);
    UIBarStyle barStyle() const { return m_barStyle; }
    void setBarStyle(UIBarStyle style);

    // The main screen's width (or the current width when the bar already has one) by kHeight.
    CGSize sizeThatFits(CGSize size) override;

    // The button showing an item; null for spaces and items that are not on the bar.
    Ref<UIButton> buttonForItem(const UIBarButtonItem& item) const;

    void layoutSubviews() override;
    void tintColorDidChange() override;

private:
    void restyle();

    std::vector<Ref<UIBarButtonItem>> m_items;
    // One per item, null for spaces.
    std::vector<Ref<UIButton>> m_buttons;
    Ref<UIView> m_hairline;
    UIBarStyle m_barStyle = UIBarStyleDefault;
};
