#pragma once

// One row of the card editor: the card's icon in a rounded, white-rimmed square and its title beside it. The row
// keeps the item it shows, so a drop can tell which card moved.
//
// Published: "initWithStyle:reuseIdentifier:" void(long, std::string) (the table's creation selector).

#include "platform/ui/UITableViewCell.h"

class UIImageView;
class UILabel;
class VantileItems;

class VantileTableViewCustomCell : public UITableViewCell {
    VT_OBJECT(VantileTableViewCustomCell, UITableViewCell)
public:
    static constexpr CGRect kIconFrame{{10, 15}, {60, 60}};
    static constexpr CGFloat kIconCornerRadius = 10;
    static constexpr CGFloat kTitleFontSize = 17;
    static constexpr CGFloat kTitleTop = 25;
    static constexpr CGFloat kTitleGap = 10;

    void initWithStyleReuseIdentifier(UITableViewCellStyle style, std::string reuseIdentifier) override;

    const Ref<VantileItems>& vantileItems() const { return m_vantileItems; }
    void setVantileItems(Ref<VantileItems> item) { m_vantileItems = std::move(item); }
    const Ref<UIImageView>& iconImage() const { return m_iconImage; }
    const Ref<UILabel>& titleLabel() const { return m_titleLabel; }

private:
    Ref<VantileItems> m_vantileItems;
    Ref<UIImageView> m_iconImage;
    Ref<UILabel> m_titleLabel;
};
