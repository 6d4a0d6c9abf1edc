#pragma once

// The row of the maker's package catalogue, 110 points high: a rounded card filled with the current theme's
// gradient, a bordered 60-point icon with the price under it, a bold title over a two-line subtitle, and on the
// right a bordered video button with "Watch Video" beside it.
//
// Published: "initWithStyle:reuseIdentifier:" void (long, std::string).

#include "platform/ui/UITableViewCell.h"

class UIButton;
class UIImageView;
class UILabel;

class VNTTweaksCustomCell : public UITableViewCell {
    VT_OBJECT(VNTTweaksCustomCell, UITableViewCell)
public:
    static constexpr CGFloat kRowHeight = 110;

    void initWithStyleReuseIdentifier(UITableViewCellStyle style, std::string reuseIdentifier) override;

    const Ref<UIView>& cardView() const { return m_cardView; }
    const Ref<UIView>& cardContentView() const { return m_cardContentView; }
    const Ref<UIImageView>& iconImage() const { return m_iconImage; }
    const Ref<UILabel>& titleLabel() const { return m_titleLabel; }
    const Ref<UILabel>& subtitleLabel() const { return m_subtitleLabel; }
    const Ref<UILabel>& priceLabel() const { return m_priceLabel; }
    const Ref<UIButton>& youtubeButton() const { return m_youtubeButton; }
    const Ref<UILabel>& youtubeLabel() const { return m_youtubeLabel; }

    // The gradient fills the card's content as wide as the row is laid out.
    void layoutSubviews() override;

private:
    Ref<UIView> m_cardView;
    Ref<UIView> m_cardContentView;
    Ref<UIImageView> m_iconImage;
    Ref<UILabel> m_titleLabel;
    Ref<UILabel> m_subtitleLabel;
    Ref<UILabel> m_priceLabel;
    Ref<UIButton> m_youtubeButton;
    Ref<UILabel> m_youtubeLabel;
};
