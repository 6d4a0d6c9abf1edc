#pragma once

// A row of a table. Subviews for content go into contentView, which the cell lays out to its bounds less the
// accessory (trailing) and, while editing, the reorder handle.
//
// Appearance: values set on UITableViewCell::appearance() are given to every cell created afterwards (in its init),
// before the cell's own initialiser code that follows the call up runs, as on the device.

#include "platform/ui/UIView.h"

#include <optional>
#include <string>

class UILabel;
class UIImageView;
class UIColor;

using UITableViewCellStyle = long;
inline constexpr UITableViewCellStyle UITableViewCellStyleDefault = 0;
inline constexpr UITableViewCellStyle UITableViewCellStyleValue1 = 1;
inline constexpr UITableViewCellStyle UITableViewCellStyleValue2 = 2;
inline constexpr UITableViewCellStyle UITableViewCellStyleSubtitle = 3;

using UITableViewCellAccessoryType = long;
inline constexpr UITableViewCellAccessoryType UITableViewCellAccessoryNone = 0;
inline constexpr UITableViewCellAccessoryType UITableViewCellAccessoryDisclosureIndicator = 1;
inline constexpr UITableViewCellAccessoryType UITableViewCellAccessoryCheckmark = 3;

using UITableViewCellSelectionStyle = long;
inline constexpr UITableViewCellSelectionStyle UITableViewCellSelectionStyleNone = 0;
inline constexpr UITableViewCellSelectionStyle UITableViewCellSelectionStyleDefault = 3;

using UITableViewCellEditingStyle = long;
inline constexpr UITableViewCellEditingStyle UITableViewCellEditingStyleNone = 0;
inline constexpr UITableViewCellEditingStyle UITableViewCellEditingStyleDelete = 1;
inline constexpr UITableViewCellEditingStyle UITableViewCellEditingStyleInsert = 2;

// The values the appearance proxy holds; each is applied only when set.
class UITableViewCellAppearance : public NSObject {
    VT_OBJECT(UITableViewCellAppearance, NSObject)
public:
    void setBackgroundColor(Ref<UIColor> color) { backgroundColor = std::move(color); }
    void setTintColor(Ref<UIColor> color) { tintColor = std::move(color); }
    void setSelectedBackgroundView(Ref<UIView> view) { selectedBackgroundView = std::move(view); }
    void setSelectionStyle(UITableViewCellSelectionStyle style) { selectionStyle = style; }
    void reset();

    Ref<UIColor> backgroundColor;
    Ref<UIColor> tintColor;
    Ref<UIView> selectedBackgroundView;
    std::optional<UITableViewCellSelectionStyle> selectionStyle;
};

class UITableViewCell : public UIView {
    VT_OBJECT(UITableViewCell, UIView)
public:
    // The leading and trailing margin of a row's texts, shared by the section headers and footers.
    static constexpr CGFloat kSideMargin = 16;
    static constexpr CGFloat kReorderControlWidth = 40;
    static constexpr CGFloat kEditingIndent = 38;
    static constexpr CGFloat kAccessoryWidth = 30;

    static Ref<UITableViewCellAppearance> appearance();

    // Published as "initWithStyle:reuseIdentifier:" (void(long, std::string)); the table creates registered
    // classes through it.
    virtual void initWithStyleReuseIdentifier(UITableViewCellStyle style, std::string reuseIdentifier);
    // A cell made with initWithFrame has the default style and no reuse identifier.
    void initWithFrame(CGRect frame) override;

    const std::string& reuseIdentifier() const { return m_reuseIdentifier; }
    UITableViewCellStyle style() const { return m_style; }

    Ref<UIView> contentView() const { return m_contentView; }
    // Created on first access (then laid out by the cell's style); never null.
    Ref<UILabel> textLabel();
    // Null for the default style, as on the device.
    Ref<UILabel> detailTextLabel();
    Ref<UIImageView> imageView();

    Ref<UIView> accessoryView() const { return m_accessoryView; }
    void setAccessoryView(Ref<UIView> view);
    UITableViewCellAccessoryType accessoryType() const { return m_accessoryType; }
    void setAccessoryType(UITableViewCellAccessoryType type);
    // The view drawn for the accessory type (a chevron for disclosure), or null.
    Ref<UIView> accessoryTypeView() const { return m_typeView; }

    Ref<UIView> backgroundView() const { return m_backgroundView; }
    void setBackgroundView(Ref<UIView> view);
    // Shown behind the content while the cell is selected or highlighted; null gives the system grey.
    Ref<UIView> selectedBackgroundView() const { return m_selectedBackgroundView; }
    void setSelectedBackgroundView(Ref<UIView> view);
    UITableViewCellSelectionStyle selectionStyle() const { return m_selectionStyle; }
    void setSelectionStyle(UITableViewCellSelectionStyle style) { m_selectionStyle = style; }

    bool isSelected() const { return m_selected; }
    void setSelected(bool selected) { setSelectedAnimated(selected, false); }
    virtual void setSelectedAnimated(bool selected, bool animated);
    bool isHighlighted() const { return m_highlighted; }
    virtual void setHighlighted(bool highlighted);

    bool isEditing() const { return m_editing; }
    virtual void setEditing(bool editing);
    bool showsReorderControl() const { return m_showsReorder; }
    void setShowsReorderControl(bool on);
    UITableViewCellEditingStyle editingStyle() const { return m_editingStyle; }
    void setEditingStyle(UITableViewCellEditingStyle style);
    // The reorder handle while it shows, else null.
    Ref<UIView> reorderControl() const { return m_reorderShown ? m_reorder : nullptr; }
    bool separatorHidden() const { return m_separatorHidden; }
    void setSeparatorHidden(bool hidden);
    // The hairline along the cell's bottom edge; laid out in layoutSubviews, so subclasses that move their content
    // move it after calling up.
    Ref<UIView> separatorView() const { return m_separator; }

    // Published as "prepareForReuse"; the table sends it before handing out a reused cell.
    virtual void prepareForReuse();
    // The height the cell needs at `width` for automatic row heights: the content's own fitting height, or
    // `fallback` when the content does not decide one.
    virtual CGFloat fittingHeightForWidth(CGFloat width, CGFloat fallback);

    void layoutSubviews() override;

protected:
    // Where the content view goes in the cell's bounds; the standard labels are laid out inside it afterwards, so
    // a subclass that moves the content in (inset rows) does it here.
    virtual CGRect contentFrame() const;

private:
    void build();
    void refreshSelectionLook();

    std::string m_reuseIdentifier;
    UITableViewCellStyle m_style = UITableViewCellStyleDefault;
    Ref<UIView> m_contentView;
    Ref<UILabel> m_textLabel;
    Ref<UILabel> m_detailTextLabel;
    Ref<UIImageView> m_imageView;
    Ref<UIView> m_accessoryView;
    UITableViewCellAccessoryType m_accessoryType = UITableViewCellAccessoryNone;
    Ref<UIView> m_typeView;
    Ref<UIView> m_backgroundView;
    Ref<UIView> m_selectedBackgroundView;
    Ref<UIView> m_defaultSelectedBackground;
    Ref<UIView> m_reorder;
    Ref<UIView> m_separator;
    UITableViewCellSelectionStyle m_selectionStyle = UITableViewCellSelectionStyleDefault;
    UITableViewCellEditingStyle m_editingStyle = UITableViewCellEditingStyleDelete;
    bool m_selected = false;
    bool m_highlighted = false;
    bool m_editing = false;
    bool m_showsReorder = false;
    bool m_reorderShown = false;
    bool m_separatorHidden = false;
    bool m_built = false;
};
