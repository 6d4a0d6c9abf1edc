#include "platform/core/DeviceRoot.h"
#include "platform/core/NSBundle.h"
#include "platform/core/NSString.h"
#include "platform/core/PropertyList.h"
#include "platform/core/StringsTable.h"
#include "tests/support/TemporaryRoot.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

namespace {

namespace fs = std::filesystem;
using platform::StringsTable;

std::vector<std::uint8_t> bytesOf(std::string_view s) { return {s.begin(), s.end()}; }

std::vector<std::uint8_t> utf16Bytes(std::string_view utf8, bool bigEndian, bool mark) {
    std::vector<std::uint8_t> out;
    auto put = [&](char16_t u) {
        if (bigEndian) out.insert(out.end(), {std::uint8_t(u >> 8), std::uint8_t(u & 0xFF)});
        else out.insert(out.end(), {std::uint8_t(u & 0xFF), std::uint8_t(u >> 8)});
    };
    if (mark) put(0xFEFF);
    for (char16_t u : platform::toUTF16(utf8)) put(u);
    return out;
}

// Exercises comments, escapes, unquoted words, a key-only entry and non-ASCII text.
constexpr std::string_view kTextTable =
    "/* Card titles */\n"
    "\"wifi\" = \"Wi-Fi\";\n"
    "// a line comment\n"
    "\"statusON\"=\"ON\"; \"statusOFF\" /* inline */ = \"OFF\";\n"
    "\"quote\" = \"say \\\"hi\\\"\\n\\tnow \\\\ done\";\n"
    "\"euro\" = \"\\U20AC \xC3\xA9t\xC3\xA9\";\n"
    "\"emoji\" = \"\\UD83D\\UDE00\";\n"
    "unquoted = word.with-dots;\n"
    "\"keyOnly\";\n"
    "\"octal\" = \"\\101\";\n";

const StringsTable kExpected{
    {"wifi", "Wi-Fi"},
    {"statusON", "ON"},
    {"statusOFF", "OFF"},
    {"quote", "say \"hi\"\n\tnow \\ done"},
    {"euro", "\xE2\x82\xAC \xC3\xA9t\xC3\xA9"},
    {"emoji", "\xF0\x9F\x98\x80"},
    {"unquoted", "word.with-dots"},
    {"keyOnly", "keyOnly"},
    {"octal", "A"},
};

TEST(StringsTable, EveryEncodingGivesTheSameTable) {
    Value::Dictionary dict;
    for (const auto& [k, v] : kExpected) dict[k] = Value(v);
    dict["notAString"] = Value(3);
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
    } cases[] = {
        {"UTF-8", bytesOf(kTextTable)},
        {"UTF-8 with mark", [] { auto b = bytesOf(kTextTable); b.insert(b.begin(), {0xEF, 0xBB, 0xBF}); return b; }()},
        {"UTF-16LE with mark", utf16Bytes(kTextTable, false, true)},
        {"UTF-16BE with mark", utf16Bytes(kTextTable, true, true)},
        {"UTF-16LE without mark", utf16Bytes(kTextTable, false, false)},
        {"braced", bytesOf("{" + std::string(kTextTable) + "}")},
        {"XML plist", platform::serializePropertyList(Value(dict), platform::PlistFormat::Xml)},
        {"binary plist", platform::serializePropertyList(Value(dict), platform::PlistFormat::Binary)},
    };
    for (const auto& c : cases) {
        auto table = platform::parseStringsTable(c.bytes);
        ASSERT_TRUE(table) << c.name;
        EXPECT_EQ(*table, kExpected) << c.name;
    }
}

TEST(StringsTable, MalformedTablesGiveNothing) {
    const char* cases[] = {
        "\"a\" = \"b\"",          // no semicolon
        "\"a\" = \"b;",            // unterminated string
        "\"a\" = ;",               // no value
        "\"a\" = \"b\"; /* open",  // comment never closes
        "= \"b\";",                // no key
        "{ \"a\" = \"b\";",        // brace never closes
        "\"a\" = \"\\",            // escape at the end
    };
    for (const char* text : cases) EXPECT_FALSE(platform::parseStringsTable(bytesOf(text))) << text;
    auto array = platform::serializePropertyList(Value(Value::Array{Value("x")}), platform::PlistFormat::Xml);
    EXPECT_FALSE(platform::parseStringsTable(array)) << "a plist that is no dictionary";
    auto empty = platform::parseStringsTable(bytesOf("  // nothing\n"));
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->empty());
}

TEST(StringsTable, LaterEntriesWin) {
    auto table = platform::parseStringsTable(bytesOf("\"a\" = \"1\"; \"a\" = \"2\";"));
    ASSERT_TRUE(table);
    EXPECT_EQ(table->at("a"), "2");
}

class BundleTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_temporary.emplace("bundle");
        root = m_temporary->path();
        platform::setDeviceRoot(root);
        platform::flushBundleCaches();
        platform::setPreferredLanguages({"en-GB"});
    }
    void TearDown() override {
        platform::setPreferredLanguages({});
        platform::flushBundleCaches();
        m_temporary.reset();
    }
    void write(const std::string& devicePath, const std::vector<std::uint8_t>& bytes) {
        auto p = root / fs::path(devicePath).relative_path();
        fs::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                 static_cast<std::streamsize>(bytes.size()));
    }
    void write(const std::string& devicePath, std::string_view text) { write(devicePath, bytesOf(text)); }
    std::optional<testing_support::TemporaryRoot> m_temporary;
    fs::path root;
    const std::string kPath = "/Library/Application Support/Vantile.bundle/Localizations";
};

TEST_F(BundleTest, LanguageFallbackGoesRegionThenLanguageThenDevelopmentRegion) {
    write(kPath + "/en-GB.lproj/Localizable.strings", "\"colour\" = \"Colour\";");
    write(kPath + "/en.lproj/Localizable.strings", "\"colour\" = \"Color\"; \"wifi\" = \"Wi-Fi\";");
    write(kPath + "/de.lproj/Localizable.strings",
          "\"colour\" = \"Farbe\"; \"wifi\" = \"WLAN\"; \"onlyGerman\" = \"Nur\";");
    write(kPath + "/Info.plist",
          platform::serializePropertyList(Value(Value::Dictionary{{"CFBundleDevelopmentRegion", Value("de")}})));
    auto bundle = NSBundle::bundleWithPath(kPath);
    ASSERT_TRUE(bundle);
    struct Case {
        std::vector<std::string> languages;
        const char* key;
        const char* expected;
    } cases[] = {
        {{"en-GB"}, "colour", "Colour"},    // the region's own table
        {{"en-GB"}, "wifi", "Wi-Fi"},       // missing in en-GB, found in en
        {{"en-GB"}, "onlyGerman", "Nur"},   // found only in the development region
        {{"en_GB"}, "colour", "Colour"},    // underscore spelling of the preference
        {{"en-US"}, "colour", "Color"},     // no en-US folder: the language
        {{"fr", "de"}, "colour", "Farbe"},  // first preference without a folder is passed over
        {{"ja"}, "wifi", "WLAN"},           // nothing matches: development region
    };
    for (const auto& c : cases) {
        platform::setPreferredLanguages(c.languages);
        EXPECT_EQ(bundle->localizedStringForKeyValueTable(c.key, "", std::nullopt), c.expected)
            << c.languages.front() << " " << c.key;
    }
    platform::setPreferredLanguages({"en-GB"});
    EXPECT_EQ(bundle->preferredLocalizations(), (std::vector<std::string>{"en-GB", "en", "de"}));
    EXPECT_EQ(bundle->developmentRegion(), "de");
}

TEST_F(BundleTest, MissingKeyAndMissingBundleAreDifferentAnswers) {
    write(kPath + "/en.lproj/Localizable.strings", "\"wifi\" = \"Wi-Fi\";");
    EXPECT_FALSE(NSBundle::bundleWithPath("/Library/Application Support/Missing.bundle"));
    write("/Library/file.bundle", "not a folder");
    EXPECT_FALSE(NSBundle::bundleWithPath("/Library/file.bundle"));
    auto bundle = NSBundle::bundleWithPath(kPath + "/");
    ASSERT_TRUE(bundle);
    EXPECT_EQ(bundle->bundlePath(), kPath);
    EXPECT_EQ(bundle, NSBundle::bundleWithPath(kPath)) << "one object per folder";
    NSBundle::resetMissingKeyCount();
    EXPECT_EQ(bundle->localizedStringForKeyValueTable("nope", "", std::nullopt), "nope");
    EXPECT_EQ(bundle->localizedStringForKeyValueTable("nope", "Fallback", std::nullopt), "Fallback");
    EXPECT_EQ(bundle->localizedStringForKeyValueTable("wifi", "", "Other"), "wifi") << "another table lacks it";
    EXPECT_EQ(bundle->localizedStringForKeyValueTable("wifi", "x", ""), "Wi-Fi") << "empty table name = default";
    EXPECT_EQ(NSBundle::missingKeyCount(), 3u);
}

TEST_F(BundleTest, UnreadableTableActsAsMissingAndOtherTablesStillWork) {
    write(kPath + "/en.lproj/Localizable.strings", "\"broken\" = ");
    write(kPath + "/en.lproj/Cards.strings", utf16Bytes("\"wifi\" = \"Wi-Fi\";", true, true));
    write(kPath + "/Localizable.strings", "\"broken\" = \"from the top folder\";");
    auto bundle = NSBundle::bundleWithPath(kPath);
    ASSERT_TRUE(bundle);
    EXPECT_EQ(bundle->localizedStringForKeyValueTable("broken", "", std::nullopt), "from the top folder");
    EXPECT_EQ(bundle->localizedStringForKeyValueTable("wifi", "", "Cards"), "Wi-Fi");
}

TEST_F(BundleTest, TablesAreCachedUntilFlushed) {
    write(kPath + "/en.lproj/Localizable.strings", "\"wifi\" = \"Wi-Fi\";");
    auto bundle = NSBundle::bundleWithPath(kPath);
    EXPECT_EQ(bundle->localizedStringForKeyValueTable("wifi", "", std::nullopt), "Wi-Fi");
    write(kPath + "/en.lproj/Localizable.strings", "\"other\" = \"x\";");
    EXPECT_EQ(bundle->localizedStringForKeyValueTable("wifi", "", std::nullopt), "Wi-Fi") << "parsed once";
    platform::flushBundleCaches();
    bundle = NSBundle::bundleWithPath(kPath);
    EXPECT_EQ(bundle->localizedStringForKeyValueTable("wifi", "", std::nullopt), "wifi") << "key removed";
    fs::remove_all(root / fs::path(kPath).relative_path());
    EXPECT_FALSE(NSBundle::bundleWithPath(kPath)) << "a removed folder is no bundle, cached or not";
}

TEST_F(BundleTest, ResourcesInfoAndMainBundle) {
    const std::string prefs = "/Library/PreferenceBundles/VantilePrefs.bundle";
    write(prefs + "/Primrary.plist", "x");
    write(prefs + "/en.lproj/Help.plist", "x");
    write(prefs + "/Info.plist", platform::serializePropertyList(
                                     Value(Value::Dictionary{{"CFBundleIdentifier", Value("com.Zorvanic.VantilePrefs")}})));
    auto bundle = NSBundle::bundleWithPath(prefs);
    ASSERT_TRUE(bundle);
    EXPECT_EQ(bundle->resourcePath(), prefs);
    EXPECT_EQ(bundle->pathForResourceOfType("Primrary", "plist"), prefs + "/Primrary.plist");
    EXPECT_EQ(bundle->pathForResourceOfType("Help", "plist"), prefs + "/en.lproj/Help.plist");
    EXPECT_EQ(bundle->pathForResourceOfType("Primrary.plist", ""), prefs + "/Primrary.plist");
    EXPECT_EQ(bundle->pathForResourceOfType("Sections", "plist"), std::nullopt);
    EXPECT_EQ(bundle->bundleIdentifier(), "com.Zorvanic.VantilePrefs");
    EXPECT_EQ(bundle->developmentRegion(), "en");

    platform::setMainBundlePath("");
    auto placeholder = NSBundle::mainBundle();
    ASSERT_TRUE(placeholder);
    EXPECT_EQ(placeholder->localizedStringForKeyValueTable("Selected Cells", "", std::nullopt), "Selected Cells");
    write("/Applications/Preferences.app/en.lproj/Localizable.strings", "\"Selected Cells\" = \"Chosen\";");
    platform::setMainBundlePath("/Applications/Preferences.app");
    EXPECT_EQ(NSBundle::mainBundle()->localizedStringForKeyValueTable("Selected Cells", "", std::nullopt), "Chosen");
    platform::setMainBundlePath("");
}

}  // namespace
