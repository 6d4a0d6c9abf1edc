#pragma once

// A device for the pane's cell kit: a temporary device root with the Settings framework's classes present, the
// themed images the kit looks for drawn into each theme's folder (a colour per theme), and helpers to store
// preferences and make rows as the host makes them.

#include "prefs/drawer/VNTTheme.h"

#include "common/Keys.h"
#include "platform/core/Runtime.h"
#include "platform/core/Value.h"
#include "platform/host/PSSpecifier.h"
#include "platform/host/PSTableCell.h"
#include "tests/support/TemporaryRoot.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class PSListController;
class UIWindow;

namespace kittest {

class KitFixture : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Stores one key of the pane's domain; a None value removes it.
    static void store(std::string_view key, const Value& value);
    // Stores the six theme flags: `theme` YES and the others NO, or all NO for nothing.
    static void selectTheme(std::optional<vnt::Theme> theme);

    // The device path of a themed file, as the kit asks for it.
    static std::string themedPath(vnt::Theme theme, std::string_view group, std::string_view file);
    // The host path under the device root of a device path.
    std::filesystem::path hostPath(std::string_view devicePath) const;
    // A 4 × 4 PNG of one colour at a device path, folders made as needed.
    void writeImage(std::string_view devicePath, std::uint32_t argb) const;
    // The bytes of such a PNG.
    static Value::Data pngData(std::uint32_t argb);
    // Writes "<bundle>/en.lproj/Localizable.strings" with the given entries.
    void writeStrings(std::string_view bundleDevicePath,
                      std::initializer_list<std::pair<std::string_view, std::string_view>> entries) const;

    // A specifier carrying the given string properties.
    static Ref<PSSpecifier> specifier(std::initializer_list<std::pair<std::string_view, std::string_view>> properties,
                                      long cellType = PSSpecifier::PSButtonCell);
    // A row of the named class made as the host makes custom rows ("initWithStyle:reuseIdentifier:specifier:").
    static Ref<PSTableCell> makeRow(std::string_view className, const Ref<PSSpecifier>& specifier);

    // Shows `page` in a visible window inside a navigation controller, as Settings shows a pane, with `entries` as
    // its list, settled. The window goes at tear-down.
    void showList(const Ref<PSListController>& page, const std::vector<Ref<PSSpecifier>>& entries);
    // An entry of a list made by the kit row class `cellClass`.
    static Ref<PSSpecifier> kitEntry(const char* cellClass, long type,
                                     std::initializer_list<std::pair<std::string_view, std::string_view>> properties);

    // The category icons the fixture draws in every theme folder.
    static constexpr std::string_view kCategoryIcons[] = {"profile", "guide", "changelog"};

    std::optional<testing_support::TemporaryRoot> m_root;
    Ref<UIWindow> m_window;
};

}  // namespace kittest
