#pragma once

// The row of the drawer's social and settings menus: a clear card inset 5 points in the row, a bordered 50-point
// icon on its left and a bold title over a one-line subtitle, all white, for rows 70 points high.
//
// Published: "initWithStyle:reuseIdentifier:" void (long, std::string).

#include "platform/ui/UITableViewCell.h"

class UIImageView;
class UILabel;

class VNTDrawerCustomCell : public UITableViewCell {
    VT_OBJECT(VNTDrawerCustomCell, UITableViewCell)
public:
    static constexpr CGFloat kRowHeight = 70;
    static constexpr CGFloat kTitleFontSize = 16;
    static constexpr CGFloat kSubtitleFontSize = 13;

    void initWithStyleReuseIdentifier(UITableViewCellStyle style, std::string reuseIdentifier) override;

    const Ref<UIView>& cardView() const { return m_cardView; }
    const Ref<UIImageView>& iconImage() const { return m_iconImage; }
    const Ref<UILabel>& titleLabel() const { return m_titleLabel; }
    const Ref<UILabel>& subtitleLabel() const { return m_subtitleLabel; }

private:
    Ref<UIView> m_cardView;
    Ref<UIImageView> m_iconImage;
    Ref<UILabel> m_titleLabel;
    Ref<UILabel> m_subtitleLabel;
};
