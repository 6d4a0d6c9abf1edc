#pragma once

// A row of a Settings list page, made for one specifier. The page creates it with
// "initWithStyle:reuseIdentifier:specifier:" (void(long, std::string, Ref<PSSpecifier>)), also for the custom cell
// classes a specifier names in its "cellClass" property, and refreshes it with
// "refreshCellContentsWithSpecifier:" (void(Ref<PSSpecifier>)) whenever the row is shown or reloaded.
//
// What a plain row shows: the specifier's name as title, its "iconImage" (a UIImage) as icon, a chevron when it
// opens a page (link cells and any row with a detail class), and for title-value rows the getter's value as detail.
//
// The look of the page decides the row's inset: edge-to-edge rows span the table, inset rows keep a margin on both
// sides with rounded corners at the top of the first and the bottom of the last row of their group.

#include "platform/ui/UITableViewCell.h"

class PSSpecifier;
class UITextField;

class PSTableCell : public UITableViewCell {
    VT_OBJECT(PSTableCell, UITableViewCell)
public:
    static constexpr CGFloat kIconSize = 29;
    static constexpr CGFloat kCornerRadius = 10;

    virtual void initWithStyleReuseIdentifierSpecifier(UITableViewCellStyle style, std::string reuseIdentifier,
                                                       Ref<PSSpecifier> specifier);
    virtual void refreshCellContentsWithSpecifier(Ref<PSSpecifier> specifier);
    // The specifier the cell shows; null for a cell made without one.
    Ref<PSSpecifier> specifier() const { return m_specifier; }
    void setSpecifier(Ref<PSSpecifier> specifier) { m_specifier = std::move(specifier); }

    // The margin on each side (0 for edge-to-edge) and the row's place in its group.
    void setGroupInset(CGFloat margin, bool firstInGroup, bool lastInGroup);
    CGFloat groupMargin() const { return m_margin; }

    void layoutSubviews() override;

protected:
    CGRect contentFrame() const override;

    Ref<PSSpecifier> m_specifier;

private:
    CGFloat m_margin = 0;
    bool m_first = false;
    bool m_last = false;
    bool m_iconShown = false;
};

// A row with a switch as accessory. The switch shows the specifier's value (performGetter) and hands every change
// by the user to performSetterWithValue.
class PSSwitchTableCell : public PSTableCell {
    VT_OBJECT(PSSwitchTableCell, PSTableCell)
public:
    void initWithStyleReuseIdentifierSpecifier(UITableViewCellStyle style, std::string reuseIdentifier,
                                               Ref<PSSpecifier> specifier) override;
    void refreshCellContentsWithSpecifier(Ref<PSSpecifier> specifier) override;
    // The switch; never null once initialised. Published as "control" (id()).
    Ref<UIView> control() const { return m_control; }
    id controlObject() { return m_control; }

    // Target of the switch's value-changed action.
    void switchChanged(id sender);

private:
    Ref<UIView> m_control;
};

// A row with a slider under or beside its title. The slider takes "min", "max" (numbers, 0 and 1 when absent) and
// the specifier's value, and hands every change to performSetterWithValue; "showValue" adds the value as text at
// the right. `control` is the UISlider.
class PSSliderTableCell : public PSTableCell {
    VT_OBJECT(PSSliderTableCell, PSTableCell)
public:
    void initWithStyleReuseIdentifierSpecifier(UITableViewCellStyle style, std::string reuseIdentifier,
                                               Ref<PSSpecifier> specifier) override;
    void refreshCellContentsWithSpecifier(Ref<PSSpecifier> specifier) override;
    // The slider; never null once initialised. Published as "control" (id()).
    Ref<UIView> control() const { return m_control; }
    id controlObject() { return m_control; }
    // Target of the slider's value-changed action.
    void sliderChanged(id sender);
    void layoutSubviews() override;

private:
    Ref<UIView> m_control;
    Ref<UIView> m_valueLabel;
};

// A row with an editable text field after its title. The field shows the specifier's value (a number as its
// decimal text), "placeholder" when empty, the numeric keyboard when "isNumeric" is YES; the text is handed to
// performSetterWithValue when editing ends (return or leaving the field), as a string (a number when numeric and
// the text reads as one). A tap on the row puts the field in editing.
class PSEditTextCell : public PSTableCell {
    VT_OBJECT(PSEditTextCell, PSTableCell)
public:
    void initWithStyleReuseIdentifierSpecifier(UITableViewCellStyle style, std::string reuseIdentifier,
                                               Ref<PSSpecifier> specifier) override;
    void refreshCellContentsWithSpecifier(Ref<PSSpecifier> specifier) override;
    // The field; never null once initialised. Published as "textField" and "control".
    Ref<UIView> textField() const { return m_field; }
    id textFieldObject() { return m_field; }
    // Target of the field's editing-ended action: stores the text.
    void textFieldEnded(id sender);
    // The field's delegate answer to return: ends editing (which stores), as "textFieldShouldReturn:".
    bool textFieldShouldReturn(Ref<UITextField> field);
    void layoutSubviews() override;

private:
    Ref<UIView> m_field;
};

// A row that is a segmented control of the specifier's "validTitles"; choosing a segment hands the matching
// "validValues" entry to performSetterWithValue. The stored value selects its segment (none when it matches none).
class PSSegmentTableCell : public PSTableCell {
    VT_OBJECT(PSSegmentTableCell, PSTableCell)
public:
    void initWithStyleReuseIdentifierSpecifier(UITableViewCellStyle style, std::string reuseIdentifier,
                                               Ref<PSSpecifier> specifier) override;
    void refreshCellContentsWithSpecifier(Ref<PSSpecifier> specifier) override;
    Ref<UIView> control() const { return m_control; }
    id controlObject() { return m_control; }
    void segmentChanged(id sender);
    void layoutSubviews() override;

private:
    Ref<UIView> m_control;
};
