// The tweak's shipped localization tables against the keys the card files fetch at load.
#include "common/Keys.h"
#include "platform/core/DeviceRoot.h"
#include "platform/core/NSBundle.h"
#include "tests/support/TemporaryRoot.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

// Every key of the card files' table, with the English text a user of the device expects.
const std::pair<const char*, const char*> kEnglish[] = {
    {"accessibility", "Accessibility"},  {"airplaneMODE", "Airplane Mode"},
    {"statusON", "ON"},                  {"statusOFF", "OFF"},
    {"battery", "Battery"},              {"bluetooth", "Bluetooth"},
    {"cellular", "Cellular"},            {"statusCONNECTED", "Connected"},
    {"statusDISCONNECTED", "Disconnected"}, {"controlcenter", "Control Center"},
    {"dnd", "Do Not Disturb"},           {"developer", "Developer"},
    {"display", "Display & Brightness"}, {"emergency", "Emergency SOS"},
    {"general", "General"},              {"hotspot", "Personal Hotspot"},
    {"notifications", "Notifications"},  {"passcode", "Passcode"},
    {"touchid", "Touch ID & Passcode"},  {"faceid", "Face ID & Passcode"},
    {"privacy", "Privacy"},              {"screentime", "Screen Time"},
    {"siri", "Siri & Search"},           {"sounds", "Sounds & Haptics"},
    {"wallpaper", "Wallpaper"},          {"wifi", "Wi-Fi"},
};

class CardTexts : public testing::Test {
protected:
    void SetUp() override {
        const auto bundle = m_root.path() / "Library/Application Support/Vantile.bundle";
        std::filesystem::create_directories(bundle.parent_path());
        std::filesystem::copy(std::filesystem::path(VANTILE_SOURCE_DIR) / "assets/Vantile.bundle", bundle,
                              std::filesystem::copy_options::recursive);
        platform::setDeviceRoot(m_root.path());
    }
    void TearDown() override { platform::setPreferredLanguages({"en"}); }
    testing_support::TemporaryRoot m_root{"card-texts"};
};

TEST_F(CardTexts, EnglishTableHasEveryCardKey) {
    platform::setPreferredLanguages({"en"});
    auto bundle = NSBundle::bundleWithPath(vantile::kTweakLocalizations);
    ASSERT_TRUE(bundle);
    for (const auto& [key, text] : kEnglish)
        EXPECT_EQ(bundle->localizedStringForKeyValueTable(key, "", std::nullopt), text) << key;
}

TEST_F(CardTexts, GermanTableTranslatesEveryCardKey) {
    platform::setPreferredLanguages({"de"});
    auto bundle = NSBundle::bundleWithPath(vantile::kTweakLocalizations);
    ASSERT_TRUE(bundle);
    std::size_t same = 0;
    for (const auto& [key, english] : kEnglish) {
        const std::string text = bundle->localizedStringForKeyValueTable(key, "", std::nullopt);
        EXPECT_NE(text, key) << key << " is missing from the German table";
        EXPECT_FALSE(text.empty()) << key;
        same += text == english;
    }
    // Only "Bluetooth" is the same word in both languages; any other match is an untranslated copy.
    EXPECT_LE(same, 1u);
}

}  // namespace
