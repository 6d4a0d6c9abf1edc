#pragma once

// A section header row of the pane: the specifier's "header" in a bold 22-point label over the whole row, any
// number of lines, on a clear background. The host makes it with "initWithSpecifier:" and asks its height with
// "preferredHeightForWidth:" (always 40).
//
// Published:
//   "initWithSpecifier:"        void (Ref<PSSpecifier>)
//   "preferredHeightForWidth:"  CGFloat (CGFloat)
//   "headerLabel"               Ref<UILabel> ()

#include "platform/host/PSTableCell.h"

class UILabel;

class VNTZRVCHeaderCella : public PSTableCell {
    VT_OBJECT(VNTZRVCHeaderCella, PSTableCell)
public:
    static constexpr CGFloat kHeight = 40;
    static constexpr CGFloat kFontSize = 22;

    // The host's initialiser with the default style and the reuse identifier "Cell", then the label.
    void initWithSpecifier(Ref<PSSpecifier> specifier);
    CGFloat preferredHeightForWidth(CGFloat width);
    void refreshCellContentsWithSpecifier(Ref<PSSpecifier> specifier) override;

    Ref<UILabel> headerLabel() const { return m_headerLabel; }

private:
    Ref<UILabel> m_headerLabel;
};
