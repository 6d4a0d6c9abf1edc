#pragma once

// A slider row of the pane: the host's slider row on a white background with the specifier's "header" as a label
// at its top left, and the host's slider 15 points lower than the host places it, so that it sits under the label.
//
// The host lays its slider out anew on every layout pass; the row moves it down after each pass. When a pass
// leaves the slider where the row had moved it, the row keeps it there instead of moving it again, so the offset
// never adds up whatever the host does.

#include "platform/host/PSTableCell.h"

class UILabel;

class VNTZRVCSliderCella : public PSSliderTableCell {
    VT_OBJECT(VNTZRVCSliderCella, PSSliderTableCell)
public:
    static constexpr CGRect kHeaderFrame{{15, 10}, {300, 20}};
    static constexpr CGFloat kSliderOffset = 15;

    void initWithStyleReuseIdentifierSpecifier(UITableViewCellStyle style, std::string reuseIdentifier,
                                               Ref<PSSpecifier> specifier) override;
    // Shows the specifier's "header" again when the host hands the row to another entry.
    void refreshCellContentsWithSpecifier(Ref<PSSpecifier> specifier) override;
    void layoutSubviews() override;

    Ref<UILabel> headerLabel() const { return m_headerLabel; }

private:
    void showHeader(const PSSpecifier* specifier);
    void offsetSlider();

    Ref<UILabel> m_headerLabel;
    // Where the row last moved the slider.
    CGRect m_movedFrame;
    bool m_moved = false;
};
