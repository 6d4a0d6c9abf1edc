// The images and localizations the bundle installs: every themed file in every theme folder, drawn on that theme's
// gradient, the files kept in the Default folder only, the unthemed pictures and the grid's captions.
#include "common/Keys.h"
#include "platform/core/NSBundle.h"
#include "platform/core/StringsTable.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/UIImage.h"
#include "prefs/drawer/VNTTheme.h"
#include "tests/prefs/pane/PaneFixture.h"

#include <fstream>
#include <iterator>

namespace {

const std::vector<std::pair<const char*, std::vector<const char*>>> kThemedFiles{
    {"Categories", {"changelog.png", "profile.png", "guide.png", "sections.png", "colours.png", "options.png"}},
    {"Drawer",
     {"discord.png", "instagram.png", "paypal.png", "reddit.png", "reset.png", "respring.png", "safemode.png",
      "twitter.png", "youtube.png"}},
    {"Icons",
     {"banner-icon.png", "colour@3x.png", "picture@3x.png", "prefs-icon.png", "prefs-icon@3x.png", "toggle@3x.png"}},
    {"Profile", {"birthday-date.png", "profile-icon.png", "profile@3x.png"}},
    {"Tweaks", {"tweak.png", "youtube.png"}},
};

bool near(const PixelRGBA& p, const vnt::ThemeColour& c, int tolerance) {
    return std::abs(p.r - c.red * 255) <= tolerance && std::abs(p.g - c.green * 255) <= tolerance &&
           std::abs(p.b - c.blue * 255) <= tolerance && p.a == 255;
}

using PaneAssets = panetest::PaneFixture;

TEST_F(PaneAssets, EveryThemeFolderHoldsEveryFileOnItsOwnGradient) {
    for (const auto& theme : vnt::kThemes) {
        for (const auto& [group, files] : kThemedFiles) {
            for (const char* file : files) {
                SCOPED_TRACE(std::string(theme.name) + "/" + group + "/" + file);
                const auto path = vnt::themedAssetPath(theme.theme, group, file);
                ASSERT_TRUE(path);
                auto image = UIImage::imageWithContentsOfFile(*path);
                ASSERT_TRUE(image) << "missing or unreadable";
                const Bitmap& pixels = image->bitmap();
                ASSERT_GT(pixels.width, 20);
                // Inside the rounded corners but outside the glyph, along the diagonal: the start colour near the
                // top-left, the accent near the bottom-right; and white glyph pixels in the middle.
                const int w = pixels.width, h = pixels.height;
                const int inset = w * 12 / 100;
                EXPECT_TRUE(near(unpackPixel(pixels.at(inset, inset)), theme.gradientStart, 70));
                EXPECT_TRUE(near(unpackPixel(pixels.at(w - 1 - inset, h - 1 - inset)), theme.accent, 70));
                bool white = false;
                for (int y = h / 4; y < 3 * h / 4 && !white; ++y)
                    for (int x = w / 4; x < 3 * w / 4 && !white; ++x) {
                        const auto p = unpackPixel(pixels.at(x, y));
                        white = p.r > 245 && p.g > 245 && p.b > 245 && p.a == 255;
                    }
                EXPECT_TRUE(white) << "a white glyph";
            }
        }
    }
}

TEST_F(PaneAssets, NamesThatCarryAScaleAreThatScaleAndPlainNamesHaveTheirVariants) {
    auto toggle = UIImage::imageWithContentsOfFile(*vnt::themedAssetPath(vnt::Theme::Storm, "Icons", "toggle@3x.png"));
    ASSERT_TRUE(toggle);
    EXPECT_EQ(toggle->scale(), 3);
    for (const char* variant : {"Icons/prefs-icon@2x.png", "Icons/prefs-icon.png"})
        EXPECT_TRUE(std::filesystem::exists(hostPath(std::string(vantile::kPrefsAssets) + "Sunset/" + variant))) << variant;
    EXPECT_FALSE(std::filesystem::exists(hostPath(std::string(vantile::kPrefsAssets) + "Sunset/Icons/toggle@3x@3x.png")));
}

TEST_F(PaneAssets, DefaultOnlyFilesUnthemedPicturesAndCaptionsAreInstalled) {
    for (const char* file : {"Default/Drawer/avatar.png", "Default/Icons/chevron.png", "Default/Icons/close.png",
                             "appearance.png", "Events/birthday.png", "Events/fourth-july.png", "Events/halloween.png",
                             "Events/christmas.png", "Events/nye.png", "Events/nyd.png"})
        EXPECT_TRUE(UIImage::imageWithContentsOfFile(vnt::assetPath(file))) << file;
    for (const char* file : {"Drawer/avatar.png", "Icons/chevron.png", "Icons/close.png"})
        EXPECT_FALSE(std::filesystem::exists(hostPath(std::string(vantile::kPrefsAssets) + "Ocean/" + file)))
            << file << " is kept in the Default folder only";

    for (const char* language : {"en", "de"}) {
        std::ifstream in(hostPath(std::string(vantile::kPrefsLocalizations) + "/" + language + ".lproj/Localizable.strings"),
                         std::ios::binary);
        const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
        const auto table = platform::parseStringsTable(bytes);
        ASSERT_TRUE(table) << language;
        for (const char* key : {"userPROFILE", "userGUIDE", "changeLOG"}) {
            ASSERT_TRUE(table->contains(key)) << language << " " << key;
            EXPECT_NE(table->at(key), key);
        }
    }
}

}  // namespace
