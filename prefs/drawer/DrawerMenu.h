#pragma once

// What the drawer's menus share: the maker's outside pages, the rows of each menu as tables, and the few steps
// every menu takes alike (its table, opening a page, a light impact).

#include "platform/core/Object.h"
#include "prefs/drawer/VNTTheme.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class HBPreferences;
class NSIndexPath;
class UIImage;
class UIImpactFeedbackGenerator;
class UITableView;
class UIView;
class VNTDrawerCustomCell;

namespace vnt::drawer {

// The maker's pages on outside services.
inline constexpr std::string_view kTwitterAddress = "https://twitter.com/Zorvanic";
inline constexpr std::string_view kDiscordAddress = "https://discord.gg/zorvanic";
inline constexpr std::string_view kRedditAddress = "https://www.reddit.com/user/Zorvanic";
inline constexpr std::string_view kInstagramAddress = "https://www.instagram.com/zorvanic";
inline constexpr std::string_view kYouTubeAddress = "https://www.youtube.com/@Zorvanic";
inline constexpr std::string_view kPayPalAddress = "https://www.paypal.me/Zorvanic";
inline constexpr std::string_view kGitHubAddress = "https://github.com/Zorvanic";
inline constexpr std::string_view kRepositoryAddress = "https://repo.zorvanic.com";
inline constexpr std::string_view kYouTubeHomeAddress = "https://www.youtube.com";

// One row of a menu: its texts, its icon in the current theme's "Drawer" folder, and the menu's operation it runs.
struct MenuRow {
    std::string_view title;
    std::string_view subtitle;
    std::string_view icon;
    std::string_view action;
};

inline constexpr std::array<MenuRow, 3> kSettingRows{{
    {"Respring", "Enact changes", "respring.png", "beginRespringDevice"},
    {"SafeMode", "Boot into safemode", "safemode.png", "beginSafemodeDevice"},
    {"Reset", "Revert to default", "reset.png", "beginReset"},
}};

inline constexpr std::array<MenuRow, 5> kSocialRows{{
    {"Discord", "Chat with us", "discord.png", "launchDiscord"},
    {"Reddit", "Follow me on Reddit", "reddit.png", "launchReddit"},
    {"Instagram", "Follow me on Instagram", "instagram.png", "launchInstagram"},
    {"YouTube", "Subscribe me on YouTube", "youtube.png", "launchYouTube"},
    {"PayPal", "Any donation is greatly appreciated", "paypal.png", "launchPayPal"},
}};

// The row whose long subtitle gets the smaller font.
inline constexpr long kDonationRow = 4;
inline constexpr double kDonationSubtitleFontSize = 11;

// What a menu view keeps of its rows, process-wide (for the latest view of that menu): the texts and, with a current
// theme, the icons, read again at each initWithFrame:, and the table that shows them.
struct MenuContents {
    // Bound by `preferences`, so declared before it and destroyed after it.
    ThemeFlags themeFlags;
    Ref<HBPreferences> preferences;
    std::vector<std::string> titles;
    std::vector<std::string> subtitles;
    // Nothing without a current theme; a themed icon that is missing is a null entry.
    std::optional<std::vector<Ref<UIImage>>> icons;
    Ref<UITableView> table;

    // Binds the theme, reads the texts and icons of `rows` and gives `owner` its menu table.
    void load(std::span<const MenuRow> rows, UIView& owner);
    // The row's cell: a reused or new drawer cell under `reuseIdentifier`, clear, with the row's texts (none for a
    // row past the texts) and icon.
    Ref<VNTDrawerCustomCell> cell(UITableView& tableView, long row, std::string_view reuseIdentifier) const;
};

// The selected look every table cell the process creates afterwards gets, whatever the theme.
void setSelectedBackgroundAppearance();

// A plain table with a zero frame that always fills `owner` (flexible width and height), not editing, without
// separators, clear, with `owner` as data source and delegate; added to `owner`.
Ref<UITableView> makeMenuTable(UIView& owner);

// A new light impact generator stored in `slot`, fired once.
void lightImpact(Ref<UIImpactFeedbackGenerator>& slot);

// Asks the application to open an outside page: empty options, no completion.
void openOutsidePage(std::string_view address);

}  // namespace vnt::drawer
