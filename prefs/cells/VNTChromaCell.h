#pragma once

// A colour setting's row: the theme's colour icon, a title ("header"), a subtitle ("subtitle") and, as accessory,
// a round preview of the stored colour. A tap presents the colour picker (VNTChromaViewController) over the page
// that shows the row. The row refreshes its preview whenever any picker announces a colour.
//
// The row is a button row whose target is the row itself and whose action is "openColorPicker" (also answered as
// "target", "action", "cellTarget" and "cellAction"), so the page's tap reaches the picker. It writes 70 into its
// specifier's "height".
//
// Published: "openColorPicker", "updatePreview", "iconImage", "headerLabel", "subtitleLabel".

#include "platform/host/PSTableCell.h"

class UIImageView;
class UILabel;

class VNTChromaCell : public PSTableCell {
    VT_OBJECT(VNTChromaCell, PSTableCell)
public:
    static constexpr CGFloat kRowHeight = 70;
    static constexpr CGSize kPreviewSize{50, 29};

    void initWithStyleReuseIdentifierSpecifier(UITableViewCellStyle style, std::string reuseIdentifier,
                                               Ref<PSSpecifier> specifier) override;
    void refreshCellContentsWithSpecifier(Ref<PSSpecifier> specifier) override;
    void didMoveToSuperview() override;

    // The row itself and "openColorPicker".
    id target();
    std::string action() const { return "openColorPicker"; }

    void openColorPicker();
    void updatePreview();

    Ref<UIImageView> iconImage() const { return m_iconImage; }
    Ref<UILabel> headerLabel() const { return m_headerLabel; }
    Ref<UILabel> subtitleLabel() const { return m_subtitleLabel; }
    // The preview made last by any colour row (each row keeps its own as accessory view); null before the first.
    static Ref<UIView> colorPreview();

private:
    void showSpecifier();
    void takeTaps();

    Ref<UIImageView> m_iconImage;
    Ref<UILabel> m_headerLabel;
    Ref<UILabel> m_subtitleLabel;
    bool m_observing = false;
};
