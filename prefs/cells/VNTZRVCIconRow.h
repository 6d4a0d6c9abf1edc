#pragma once

// The icon row shared by the kit's button, link, list, profile and switch rows: a 70-point row with a themed icon at
// the left, a title and a smaller subtitle. The five classes differ only in their base class and in which icon
// they pick, and that difference is one table (kIconRules), not five copies of the row.
//
// A row reads its specifier's "header" (title) and "subtitle", writes the number 70 into the specifier's "height",
// and picks its icon from the current theme's folder with its class's rule; with no current theme, or when no rule
// of its class matches, the icon stays empty. It does so when the host creates it and again whenever the host
// shows it for a specifier (the host hands a row that scrolled away or was reloaded to another entry of the same
// kind), so a row never shows another entry's title or icon. The host's own title stays empty: the row draws its
// title itself, beside the icon.
//
// Published by each row class (besides the host's "initWithStyle:reuseIdentifier:specifier:"):
//   "iconImage"      Ref<UIImageView> ()
//   "headerLabel"    Ref<UILabel> ()
//   "subtitleLabel"  Ref<UILabel> ()

#include "platform/core/Runtime.h"
#include "platform/gfx/Geometry.h"
#include "platform/host/PSSpecifier.h"
#include "platform/host/PSTableCell.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace vnt {

enum class Theme;

namespace kit {

inline constexpr CGFloat kIconRowHeight = 70;
inline constexpr CGRect kIconFrame{{13, 15}, {40, 40}};
inline constexpr CGRect kHeaderFrame{{65, 17.5}, {200, 20}};
inline constexpr CGRect kSubtitleFrame{{65, 35}, {200, 20}};
inline constexpr CGFloat kHeaderFontSize = 15;
inline constexpr CGFloat kSubtitleFontSize = 10;

// What a rule compares: the specifier's "header", its "subtitle", or nothing (the rule always holds).
enum class IconMatch { Header, Subtitle, Always };

// One icon choice of one row class: when `match` equals `text`, the icon is `group`/`file` of the current theme.
struct IconRule {
    std::string_view cellClass;
    IconMatch match;
    std::string_view text;
    std::string_view group;
    std::string_view file;
};

inline constexpr std::array<IconRule, 6> kIconRules{{
    {"VNTZRVCBtnCella", IconMatch::Header, "Birthday Date", "Profile", "birthday-date.png"},
    {"VNTZRVCBtnCella", IconMatch::Header, "Example Button", "Icons", "prefs-icon@3x.png"},
    {"VNTZRVCLinkCella", IconMatch::Header, "Example Link", "Icons", "prefs-icon@3x.png"},
    {"VNTZRVCListCella", IconMatch::Header, "Example List", "Icons", "prefs-icon@3x.png"},
    {"VNTZRVCSwitchCella", IconMatch::Always, "", "Icons", "toggle@3x.png"},
    // The profile row shows the stored picture instead when there is one (VNTZRVCProfileCella).
    {"VNTZRVCProfileCella", IconMatch::Subtitle, "Configure profile", "Profile", "profile@3x.png"},
}};

// The first rule of `cellClass` that holds for a row with that header and subtitle; null when none does.
const IconRule* iconRuleFor(std::string_view cellClass, std::string_view header, std::string_view subtitle);

// The theme a component built now shows: the six flags registered on a preferences object of the component's own
// and read at once. Nothing when no flag is YES.
std::optional<Theme> currentThemeForNewComponent();

// A string property of the specifier; empty when the specifier is null or the property absent or no string.
std::string specifierText(const PSSpecifier* specifier, std::string_view key);

struct IconRowViews {
    Ref<UIImageView> iconImage;
    Ref<UILabel> headerLabel;
    Ref<UILabel> subtitleLabel;
};

// Makes the three views with their frames and fonts and adds them to `cell`, unless they exist already; then writes
// the height, sets the texts, and sets the icon of the matching rule from the current theme, the icon view's look
// back to a plain icon's. Answers the rule that matched (null for none).
const IconRule* showIconRow(UIView& cell, PSSpecifier* specifier, std::string_view cellClass, IconRowViews& views);

// The row classes: Base is the host's PSTableCell or PSSwitchTableCell. A class declares itself with VT_OBJECT
// (its super being this template) and registers with VT_REGISTER_CLASS and publishIconRow.
template <class Base>
class IconRowCell : public Base {
public:
    void initWithStyleReuseIdentifierSpecifier(UITableViewCellStyle style, std::string reuseIdentifier,
                                               Ref<PSSpecifier> specifier) override {
        // The host's initialiser shows the specifier through refreshCellContentsWithSpecifier below.
        Base::initWithStyleReuseIdentifierSpecifier(style, std::move(reuseIdentifier), specifier);
        if (!m_views.iconImage) showRow(nullptr);
    }

    void refreshCellContentsWithSpecifier(Ref<PSSpecifier> specifier) override {
        Base::refreshCellContentsWithSpecifier(specifier);
        this->textLabel()->setText("");
        showRow(specifier.get());
    }

    Ref<UIImageView> iconImage() const { return m_views.iconImage; }
    Ref<UILabel> headerLabel() const { return m_views.headerLabel; }
    Ref<UILabel> subtitleLabel() const { return m_views.subtitleLabel; }
    // The rule the icon was picked by; null when none of the class's rules held.
    const IconRule* iconRule() const { return m_rule; }

protected:
    // What a class adds each time after the common row is shown (the birthday subtitle, the profile's picture and
    // name).
    virtual void finishIconRow(PSSpecifier* specifier) {}

    void showRow(PSSpecifier* specifier) {
        m_rule = showIconRow(*this, specifier, this->className(), m_views);
        finishIconRow(specifier);
    }

    IconRowViews m_views;
    const IconRule* m_rule = nullptr;
};

template <class Row>
void publishIconRow(Class cls) {
    using platform::runtime::addMethod;
    addMethod<&Row::iconImage>(cls, "iconImage");
    addMethod<&Row::headerLabel>(cls, "headerLabel");
    addMethod<&Row::subtitleLabel>(cls, "subtitleLabel");
}

}  // namespace kit
}  // namespace vnt
