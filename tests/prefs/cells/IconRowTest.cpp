// The kit's five icon rows: the icon each picks by its rule in each theme, their geometry, and the stored values
// the button and profile rows show.
#include "prefs/cells/VNTZRVCBtnCella.h"
#include "prefs/cells/VNTZRVCProfileCella.h"

#include "platform/gfx/UIFont.h"
#include "platform/gfx/UIImage.h"
#include "platform/ui/CALayer.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "tests/prefs/cells/KitFixture.h"

namespace {

using platform::msgSend;
using vnt::Theme;

class IconRowTest : public kittest::KitFixture {
protected:
    static Ref<UIImageView> icon(const Ref<PSTableCell>& row) { return msgSend<Ref<UIImageView>>(row, sel("iconImage")); }
    static Ref<UILabel> header(const Ref<PSTableCell>& row) { return msgSend<Ref<UILabel>>(row, sel("headerLabel")); }
    static Ref<UILabel> subtitle(const Ref<PSTableCell>& row) {
        return msgSend<Ref<UILabel>>(row, sel("subtitleLabel"));
    }
    // The device path the row's icon was read from; empty for no icon.
    static std::string iconSource(const Ref<PSTableCell>& row) {
        auto image = icon(row)->image();
        return image ? image->source() : std::string();
    }
};

TEST_F(IconRowTest, EachRowPicksItsIconByItsRuleFromTheCurrentTheme) {
    struct Case {
        const char* cellClass;
        const char* header;
        const char* subtitle;
        std::optional<Theme> theme;
        const char* group;  // null: no icon
        const char* file;
    };
    const Case cases[] = {
        {"VNTZRVCSwitchCella", "Haptics", "Tap feedback", std::nullopt, nullptr, nullptr},
        {"VNTZRVCSwitchCella", "Haptics", "Tap feedback", Theme::Peach, "Icons", "toggle@3x.png"},
        {"VNTZRVCSwitchCella", "", "", Theme::Storm, "Icons", "toggle@3x.png"},
        {"VNTZRVCBtnCella", "Birthday Date", "Pick a date", Theme::Ocean, "Profile", "birthday-date.png"},
        {"VNTZRVCBtnCella", "Example Button", "", Theme::Storm, "Icons", "prefs-icon@3x.png"},
        {"VNTZRVCBtnCella", "Example Link", "", Theme::Storm, nullptr, nullptr},
        {"VNTZRVCBtnCella", "Birthday Date", "Pick a date", std::nullopt, nullptr, nullptr},
        {"VNTZRVCLinkCella", "Example Link", "", Theme::Sunset, "Icons", "prefs-icon@3x.png"},
        {"VNTZRVCLinkCella", "Example List", "", Theme::Sunset, nullptr, nullptr},
        {"VNTZRVCListCella", "Example List", "", Theme::Martini, "Icons", "prefs-icon@3x.png"},
        {"VNTZRVCListCella", "example list", "", Theme::Martini, nullptr, nullptr},
        {"VNTZRVCProfileCella", "Profile", "Configure profile", Theme::Default, "Profile", "profile@3x.png"},
        {"VNTZRVCProfileCella", "Configure profile", "Your name", Theme::Default, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.cellClass) + " \"" + c.header + "\" / \"" + c.subtitle + "\"");
        selectTheme(c.theme);
        auto row = makeRow(c.cellClass, specifier({{"header", c.header}, {"subtitle", c.subtitle}}));
        ASSERT_TRUE(row);
        EXPECT_EQ(iconSource(row), c.group ? themedPath(*c.theme, c.group, c.file) : "");
        // Without a theme a rule may hold and still show nothing.
        if (c.theme) {
            EXPECT_EQ(vnt::kit::iconRuleFor(c.cellClass, c.header, c.subtitle) != nullptr, c.group != nullptr);
        }
    }
}

TEST_F(IconRowTest, TheEarliestThemeFlagWinsAndAFreshDomainIsDefault) {
    auto toggleIcon = [&] {
        return iconSource(makeRow("VNTZRVCSwitchCella", specifier({{"header", "Haptics"}}, PSSpecifier::PSSwitchCell)));
    };
    EXPECT_EQ(toggleIcon(), themedPath(Theme::Default, "Icons", "toggle@3x.png")) << "nothing stored";
    selectTheme(std::nullopt);
    store(vantile::key::toggleOceanTheme, true);
    store(vantile::key::toggleStormTheme, true);
    EXPECT_EQ(toggleIcon(), themedPath(Theme::Ocean, "Icons", "toggle@3x.png"));
    // A theme whose file is missing leaves the icon empty.
    std::filesystem::remove(hostPath(themedPath(Theme::Ocean, "Icons", "toggle@3x.png")));
    EXPECT_EQ(toggleIcon(), "");
}

TEST_F(IconRowTest, RowsAreSeventyPointsWithTheirViewsAtFixedPlaces) {
    for (const char* cellClass :
         {"VNTZRVCBtnCella", "VNTZRVCLinkCella", "VNTZRVCListCella", "VNTZRVCProfileCella", "VNTZRVCSwitchCella"}) {
        SCOPED_TRACE(cellClass);
        auto s = specifier({{"header", "Title"}, {"subtitle", "Smaller"}, {"label", "Host title"}});
        auto row = makeRow(cellClass, s);
        ASSERT_TRUE(row);
        auto height = s->propertyForKey("height");
        ASSERT_TRUE(height && height->value());
        EXPECT_EQ(height->value()->numberValue(), 70.0);
        EXPECT_EQ(icon(row)->frame(), CGRectMake(13, 15, 40, 40));
        EXPECT_EQ(header(row)->frame(), CGRectMake(65, 17.5, 200, 20));
        EXPECT_EQ(subtitle(row)->frame(), CGRectMake(65, 35, 200, 20));
        EXPECT_EQ(header(row)->font()->pointSize(), 15);
        EXPECT_EQ(subtitle(row)->font()->pointSize(), 10);
        EXPECT_EQ(subtitle(row)->text(), "Smaller");
        for (const auto& view : {Ref<UIView>(icon(row)), Ref<UIView>(header(row)), Ref<UIView>(subtitle(row))})
            EXPECT_EQ(view->superview(), row) << "added to the cell itself";
        EXPECT_EQ(row->textLabel()->text(), "") << "the row draws its own title";
        if (std::string_view(cellClass) != "VNTZRVCProfileCella") {
            EXPECT_EQ(header(row)->text(), "Title");
        }
    }
    auto switchRow = cast<PSSwitchTableCell>(makeRow("VNTZRVCSwitchCella", specifier({}, PSSpecifier::PSSwitchCell)));
    ASSERT_TRUE(switchRow);
    EXPECT_TRUE(switchRow->control()) << "the switch is the host's";
}

TEST_F(IconRowTest, BirthdayRowShowsTheStoredBirthdayOnceThereIsOne) {
    struct Case {
        const char* header;
        Value stored;
        const char* subtitle;
    };
    const Case cases[] = {
        {"Birthday Date", Value(), "Not set"},
        {"Birthday Date", Value("14Feb"), "14Feb"},
        {"Birthday Date", Value(""), "Not set"},
        {"Birthday Date", Value(1402), "Not set"},
        {"Example Button", Value("14Feb"), "Not set"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.header) + " with " + (c.stored.isString() ? *c.stored.asString() : "no text"));
        store(vantile::key::userBirthdayDate, c.stored);
        auto row = makeRow("VNTZRVCBtnCella", specifier({{"header", c.header}, {"subtitle", "Not set"}}));
        EXPECT_EQ(subtitle(row)->text(), c.subtitle);
        EXPECT_EQ(header(row)->text(), c.header);
    }
}

TEST_F(IconRowTest, ProfileRowShowsTheStoredNameAndPicture) {
    auto profileRow = [&](const char* subtitleText = "Configure profile") {
        return makeRow("VNTZRVCProfileCella", specifier({{"header", "Profile"}, {"subtitle", subtitleText}}));
    };
    auto row = profileRow();
    EXPECT_EQ(header(row)->text(), "Username");
    EXPECT_EQ(iconSource(row), themedPath(Theme::Default, "Profile", "profile@3x.png"));
    EXPECT_EQ(icon(row)->layer()->cornerRadius(), 0) << "the themed icon keeps its own shape";

    store(vantile::key::profileNameString, "Zorvanic");
    store(vantile::key::profilePicture, pngData(0xFF336699));
    for (std::optional<Theme> theme : {std::optional<Theme>(Theme::Sunset), std::optional<Theme>()}) {
        SCOPED_TRACE(theme ? "Sunset" : "no theme");
        selectTheme(theme);
        row = profileRow();
        EXPECT_EQ(header(row)->text(), "Zorvanic");
        ASSERT_TRUE(icon(row)->image());
        EXPECT_EQ(icon(row)->image()->source(), "data");
        EXPECT_EQ(icon(row)->contentMode(), UIViewContentModeScaleAspectFill);
        EXPECT_EQ(icon(row)->layer()->cornerRadius(), 8);
        EXPECT_TRUE(icon(row)->clipsToBounds());
        EXPECT_EQ(icon(row)->layer()->cornerCurve(), kCACornerCurveContinuous);
    }

    // A picture only on the "Configure profile" row; bytes that are no image fall back to the theme's.
    selectTheme(Theme::Sunset);
    EXPECT_EQ(iconSource(profileRow("Other")), "");
    store(vantile::key::profilePicture, Value::Data{1, 2, 3});
    EXPECT_EQ(iconSource(profileRow()), themedPath(Theme::Sunset, "Profile", "profile@3x.png"));
    // A name stored as something other than text leaves the registered default.
    store(vantile::key::profileNameString, 7);
    EXPECT_EQ(header(profileRow())->text(), "Username");
}

}  // namespace
