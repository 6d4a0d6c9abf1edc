#pragma once

// The pane's row of three big buttons (left, middle, right), each a themed category icon above a caption, that open
// the pane's main pages. The specifier names, per column, the icon ("leftIcon": the theme's "Categories/%@.png"),
// the caption ("leftLabel") and the class of the page to open ("leftClass"); likewise "middle…" and "right…".
//
// The row is built each time the cell is placed in a superview, from the theme and the localized captions as they
// are then; a new placement replaces the row the cell showed before, so a user never sees stacked copies. Captions
// "Profile", "User Guide" and "Changelog" in the left, middle and right column are shown localized from the pane's
// localization bundle ("userPROFILE", "userGUIDE", "changeLOG"; a missing entry shows its key); others as written.
//
// Actions. Every button sends "openController:" with itself as sender; the middle one of a "User Guide" column also
// sends "openUserGuideController:", the right one of a "Changelog" column "openChangelogController:". The buttons
// have no target of their own: the actions go up the responder chain from the button (cell, table, page) to the
// first controller that answers them, which is the page that shows the row. An action nobody answers does nothing.
//
// Placement. The row spans the cell's width less 20 points each side, from 20 points below the cell's top to 40
// above its bottom (20 to 60 within the 100-point cell). The columns, centred on it, are 135 points high, so the
// captions end inside the cell and the icons reach above it.
//
// Published:
//   "initWithSpecifier:"        void (Ref<PSSpecifier>)
//   "preferredHeightForWidth:"  CGFloat (CGFloat)      always 100
//   "gridRow"                   Ref<UIStackView> ()    the row shown now; null before the first placement

#include "platform/host/PSTableCell.h"

#include <array>
#include <string>
#include <string_view>

class GridButton;
class UIStackView;

class VNTZRVCGridCustomCella : public PSTableCell {
    VT_OBJECT(VNTZRVCGridCustomCella, PSTableCell)
public:
    static constexpr CGFloat kHeight = 100;
    static constexpr CGFloat kSideMargin = 20;
    static constexpr CGFloat kTopMargin = 20;
    static constexpr CGFloat kBottomMargin = 40;
    static constexpr CGFloat kButtonSize = 80;
    static constexpr CGFloat kImageInset = 10;
    static constexpr CGFloat kImageCornerRadius = 10;
    static constexpr CGSize kCaptionSize{100, 40};
    static constexpr CGFloat kCaptionFontSize = 12;
    static constexpr CGFloat kColumnSpacing = 20;
    static constexpr CGFloat kButtonCaptionSpacing = 15;

    // The host's initialiser with the default style and the reuse identifier "Cell".
    void initWithSpecifier(Ref<PSSpecifier> specifier);
    CGFloat preferredHeightForWidth(CGFloat width);
    void refreshCellContentsWithSpecifier(Ref<PSSpecifier> specifier) override;
    void didMoveToSuperview() override;

    Ref<UIStackView> gridRow() const { return m_row; }
    // The button of a column (0 left, 1 middle, 2 right) in the row shown now; null before the first placement.
    Ref<GridButton> buttonAt(std::size_t column) const;

private:
    void buildGrid();

    Ref<UIStackView> m_row;
    std::array<Ref<GridButton>, 3> m_buttons;
};

namespace vnt::kit {

// One column of the grid: the specifier keys it reads, its tag, the caption it localizes and the extra action its
// button sends when the caption is that one.
struct GridColumn {
    std::string_view iconKey;
    std::string_view labelKey;
    std::string_view classKey;
    long tag;
    std::string_view specialCaption;
    std::string_view localizationKey;
    std::string_view extraAction;  // empty for none
};

inline constexpr std::array<GridColumn, 3> kGridColumns{{
    {"leftIcon", "leftLabel", "leftClass", 1, "Profile", "userPROFILE", ""},
    {"middleIcon", "middleLabel", "middleClass", 3, "User Guide", "userGUIDE", "openUserGuideController:"},
    {"rightIcon", "rightLabel", "rightClass", 2, "Changelog", "changeLOG", "openChangelogController:"},
}};

// What the grid's cells share while one is placed: the three icon paths, as the last placement with a current
// theme left them (empty before). Read by tests.
const std::array<std::string, 3>& gridIconPaths();

}  // namespace vnt::kit
