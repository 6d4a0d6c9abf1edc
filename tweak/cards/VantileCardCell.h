#pragma once

// The template every dashboard card is built on: a rounded clipping tile holding a coloured base, a 60-point
// icon, a bold title of up to two lines and a one-line subtitle. The card colours itself from the user's colour
// options and the light or dark appearance, and opens its Settings page when its base is tapped.
//
// A card looks up its kind (CardKind.h) by its run-time class name and takes its icon, title and address from
// there. The plain card classes of the table (CardTable.h, CardClasses.cpp) are instances of this class under their
// own names; the status cards (VantileStatusCell.h) and the counting cards (VantileCountingCell.h) change the
// subtitle and the last build steps through the protected virtuals below. This class itself has no kind and
// builds a tile without icon, title or address.
//
// Published (all reached by name by the platform or the tap recogniser):
//   "initWithFrame:"             void initWithFrame(CGRect)
//   "fetchColourOptions"         void fetchColourOptions()
//   "traitCollectionDidChange:"  void traitCollectionDidChange(Ref<UITraitCollection>)
//   "openPreferencesPath"        void openPreferencesPath()

#include "platform/ui/UICollectionViewCell.h"

#include <cstddef>
#include <string>
#include <string_view>

class UIColor;
class UIImageView;
class UILabel;
class UITraitCollection;

namespace vantile::cards {
struct CardKind;
}

class VantileCardCell : public UICollectionViewCell {
    VT_OBJECT(VantileCardCell, UICollectionViewCell)
public:
    // Layout numbers of the tile.
    static constexpr CGFloat kTileCornerRadius = 15;
    static constexpr CGFloat kIconCornerRadius = 10;
    static constexpr CGFloat kIconSize = 60;
    static constexpr CGFloat kIconTop = 15;
    static constexpr CGFloat kTitleGap = 7;
    static constexpr CGFloat kSubtitleGap = 3;
    static constexpr CGFloat kSideInset = 5;
    static constexpr CGFloat kTitleFontSize = 14;
    static constexpr CGFloat kSubtitleFontSize = 8;

    void initWithFrame(CGRect frame) override;

    // Applies the colour options as they are stored now, over the appearance's background.
    virtual void fetchColourOptions();
    // Colours the card again for the new appearance, with fresh random colours; deliberately not passed up.
    void traitCollectionDidChange(Ref<UITraitCollection> previous) override;
    // Asks the Settings URL manager to open the card's page, then fires the light haptic when haptics are on.
    virtual void openPreferencesPath();

    const Ref<UIView>& containerView() const { return m_containerView; }
    const Ref<UIView>& cellBaseView() const { return m_cellBaseView; }
    const Ref<UIImageView>& iconImage() const { return m_iconImage; }
    const Ref<UILabel>& titleLabel() const { return m_titleLabel; }
    const Ref<UILabel>& subtitleLabel() const { return m_subtitleLabel; }

    // The card's kind; null for a card of this class itself.
    vantile::cards::CardKind* kind() const { return m_kind; }

    // The tweak's own reader of stored colour strings: the length alone decides (3, 4, 6 or 8 hexadecimal digits,
    // counted in UTF-16 units); any other length — a leading "#" included — gives fully transparent black.
    static Ref<UIColor> cardColorFromHexString(std::string_view hex);
    // One component of `hex` at (start, length), a single digit read doubled, as a fraction of 255; a text that
    // does not begin with a hexadecimal digit counts as 0.
    static CGFloat cardColorComponentFrom(std::string_view hex, std::size_t start, std::size_t length);

    // The kind-free light dark background: red 0.11, green 0.11, blue 0.12.
    static Ref<UIColor> darkTileColor();

protected:
    // The subtitle's horizontal placement, after its top constraint: 5 in from both sides of the base. The status
    // cards replace this by a fixed-size pill.
    virtual void constrainSubtitle(const Ref<UILabel>& subtitle);
    // Everything after the subtitle: the tap recogniser, then the colour pass. Cards with counts, timers or
    // buttons put their own steps around these two.
    virtual void finishBuilding();
    void addTapRecognizer();
    // Sends "fetchColourOptions" by name, so a replacement of it is what runs.
    void sendFetchColourOptions();
    // When haptics are on: a new light generator, kept for the class in place of the last one, fired once.
    void fireLightHaptic();
    // A colour string of the domain as it is stored now (read on a fresh preferences object), or the fallback when
    // there is none.
    static std::string storedColourString(std::string_view key, std::string_view fallback);

private:
    void applyColourOptions();
    void applyTextColor(const Ref<UIColor>& color);

    vantile::cards::CardKind* m_kind = nullptr;
    Ref<UIView> m_containerView;
    Ref<UIView> m_cellBaseView;
    Ref<UIImageView> m_iconImage;
    Ref<UILabel> m_titleLabel;
    Ref<UILabel> m_subtitleLabel;
};
