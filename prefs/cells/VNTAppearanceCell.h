#pragma once

// A row that offers one value among a few as cards side by side on the theme's gradient: each card a preview
// image, a check mark and a caption, from the specifier's "options" (a dictionary of option dictionaries with
// "appearanceOption", "label", "image" and "position"; cards run left to right by position). The chosen value is
// read with the specifier's getter when the row is built and written with its setter when a card is tapped.
//
// Options are strings. A specifier with "isNumeric" YES stores an option that reads as a whole number as that
// integer (and compares a stored integer by its decimal text), so an integer key stays an integer.
// Options that are no dictionary, or have no "appearanceOption", are left out; of options with the same
// position, the first in key order comes first; one without a position counts as position 0.
//
// Published: "selectedOption:" (void(Ref<VNTAppearanceOptionView>)), "gradientView", "setGradientView:".

#include "platform/host/PSTableCell.h"

#include <string>
#include <vector>

class UIStackView;
class VNTAppearanceOptionView;

class VNTAppearanceCell : public PSTableCell {
    VT_OBJECT(VNTAppearanceCell, PSTableCell)
public:
    static constexpr CGFloat kGradientHeight = 220;

    void initWithStyleReuseIdentifierSpecifier(UITableViewCellStyle style, std::string reuseIdentifier,
                                               Ref<PSSpecifier> specifier) override;
    void refreshCellContentsWithSpecifier(Ref<PSSpecifier> specifier) override;
    void selectedOption(Ref<VNTAppearanceOptionView> option);

    Ref<UIView> gradientView() const { return m_gradientView; }
    void setGradientView(Ref<UIView> view) { m_gradientView = std::move(view); }
    Ref<UIStackView> stackView() const { return m_stackView; }
    // The cards in the order shown.
    std::vector<Ref<VNTAppearanceOptionView>> optionViews() const;

private:
    std::string storedOption();

    Ref<UIStackView> m_stackView;
    Ref<UIView> m_gradientView;
};
