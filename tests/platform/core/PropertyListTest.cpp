#include "platform/core/PropertyList.h"

#include "PreferenceFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

namespace fs = std::filesystem;
using platform::PlistFormat;

namespace {

class PropertyListTest : public testing::Test {
protected:
    void SetUp() override {
        std::random_device rd;
        m_dir = fs::temp_directory_path() / ("vantile-plist-" + std::to_string(rd()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    static std::string slurp(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    static void spit(const fs::path& p, std::string_view bytes) {
        std::ofstream(p, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    static int plistutil(const fs::path& in, const fs::path& out, const char* format) {
        const std::string cmd = "plistutil -i '" + in.string() + "' -o '" + out.string() + "' -f " + format +
                                " >/dev/null 2>&1";
        return std::system(cmd.c_str());
    }

    // Every type the preference keys use, plus the rest of the format.
    static Value sample() {
        Value::Dictionary d;
        d["toggleVantile"] = true;
        d["toggleHaptics"] = false;
        d["vantileFlowDirection"] = 1;
        d["negative"] = -42;
        d["big"] = static_cast<long long>(1) << 40;
        d["ratio"] = 0.625;
        d["profileNameString"] = "Zoë 💜 \"quoted\" <tag> & more";
        d["empty"] = "";
        d["vantileEnabledArray"] = Value::Array{Value("Wi-Fi"), Value("Bluetooth"), Value("Sounds & Haptics")};
        d["profilePicture"] = Value::Data{0x89, 'P', 'N', 'G', 0x00, 0xFF, 0x10};
        // XML dates carry whole seconds; binary ones keep fractions (checked below).
        d["when"] = PlistDate{1700000000};
        d["nested"] = Value::Dictionary{{"inner", Value::Array{Value(1), Value(Value::Array{})}}};
        return Value(std::move(d));
    }

    fs::path m_dir;
};

TEST_F(PropertyListTest, EveryTypeSurvivesBothFormats) {
    const Value original = sample();
    for (PlistFormat format : {PlistFormat::Binary, PlistFormat::Xml}) {
        const auto bytes = platform::serializePropertyList(original, format);
        ASSERT_FALSE(bytes.empty());
        const auto parsed = platform::parsePropertyList(bytes);
        ASSERT_TRUE(parsed.has_value()) << static_cast<int>(format);
        EXPECT_EQ(*parsed, original) << static_cast<int>(format);
        EXPECT_TRUE(parsed->find("toggleVantile")->isBoolean());
        EXPECT_TRUE(parsed->find("vantileFlowDirection")->isInteger());
    }
    const auto bin = platform::serializePropertyList(original);
    EXPECT_EQ(std::string(bin.begin(), bin.begin() + 8), "bplist00");

    for (double when : {-1.25, 1.25, 978307100.5, 1700000000.75}) {
        const Value date(PlistDate{when});
        EXPECT_EQ(platform::parsePropertyList(platform::serializePropertyList(date)), date) << when;
    }
}

TEST_F(PropertyListTest, UnreadableBytesGiveNothing) {
    const auto good = platform::serializePropertyList(sample());
    const auto goodXml = platform::serializePropertyList(sample(), PlistFormat::Xml);
    // A key holding a NUL: libplist would abort on it.
    auto nulKey = platform::serializePropertyList(Value(Value::Dictionary{{"keyX", 1}}));
    auto at = std::search(nulKey.begin(), nulKey.end(), std::begin("keyX"), std::end("keyX") - 1);
    ASSERT_NE(at, nulKey.end());
    at[3] = 0;
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"text", "hello world"},
        {"magic only", "bplist00"},
        {"truncated binary", std::string(good.begin(), good.begin() + static_cast<long>(good.size() / 2))},
        {"binary without trailer", std::string(good.begin(), good.end() - 10)},
        {"truncated xml", std::string(goodXml.begin(), goodXml.begin() + static_cast<long>(goodXml.size() / 2))},
        {"not a plist", "<html><body>nope</body></html>"},
        {"zeros", std::string(64, '\0')},
        {"NUL in key", std::string(nulKey.begin(), nulKey.end())},
    };
    for (const auto& c : cases) {
        const std::vector<std::uint8_t> bytes(c.bytes.begin(), c.bytes.end());
        EXPECT_FALSE(platform::parsePropertyList(bytes).has_value()) << c.name;
    }
}

TEST_F(PropertyListTest, RandomCorruptionNeverCrashes) {
    const auto good = platform::serializePropertyList(sample());
    std::mt19937 rng(7);
    for (int round = 0; round < 3000; ++round) {
        auto bytes = good;
        for (int flips = 0; flips < 4; ++flips)
            bytes[8 + rng() % (bytes.size() - 8)] = static_cast<std::uint8_t>(rng());
        // A damaged file must not take the process down, and whatever it still yields must survive being written
        // back: the domain rewrites what it read.
        if (auto v = platform::parsePropertyList(bytes)) {
            const auto again = platform::parsePropertyList(platform::serializePropertyList(*v));
            ASSERT_TRUE(again.has_value()) << round;
            // Compared as XML text, since a damaged real may be NaN, which equals nothing.
            EXPECT_EQ(platform::serializePropertyList(*again, PlistFormat::Xml),
                      platform::serializePropertyList(*v, PlistFormat::Xml))
                << round;
        }
    }
}

TEST_F(PropertyListTest, PlistutilReadsWhatWeWriteAndWeReadWhatItWrites) {
    const Value original = sample();
    const fs::path ours = m_dir / "ours.plist";
    ASSERT_TRUE(platform::writePropertyListFile(ours, original));

    // Ours → plistutil: it converts our binary to XML, and the XML names every type as the device would.
    const fs::path asXml = m_dir / "converted.xml";
    ASSERT_EQ(plistutil(ours, asXml, "xml"), 0);
    const std::string xml = slurp(asXml);
    for (const char* needle : {"<key>toggleVantile</key>\n\t<true/>", "<false/>", "<integer>1</integer>",
                               "<integer>-42</integer>", "<string>Wi-Fi</string>", "<data>", "<array>", "<date>"})
        EXPECT_NE(xml.find(needle), std::string::npos) << needle;

    // plistutil → ours, both of its formats.
    const fs::path backBin = m_dir / "back.bin";
    ASSERT_EQ(plistutil(asXml, backBin, "bin"), 0);
    for (const fs::path& p : {asXml, backBin}) {
        const auto read = platform::readPropertyListFile(p);
        ASSERT_TRUE(read.has_value()) << p;
        EXPECT_EQ(*read, original) << p;
    }
}

TEST_F(PropertyListTest, HandWrittenXmlIsRead) {
    const fs::path p = m_dir / "hand.plist";
    spit(p, R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
	<key>toggleVantile</key><true/>
	<key>vantileCellsChroma</key><string>FF0000FF</string>
	<key>profilePicture</key><data>AAEC</data>
	<key>count</key><integer>-3</integer>
</dict>
</plist>
)");
    const auto read = platform::readPropertyListFile(p);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->find("toggleVantile")->asBoolean(), true);
    EXPECT_EQ(*read->find("vantileCellsChroma")->asString(), "FF0000FF");
    EXPECT_EQ(*read->find("profilePicture")->asData(), (Value::Data{0, 1, 2}));
    EXPECT_EQ(read->find("count")->asInteger(), -3);
}

TEST_F(PropertyListTest, FailedWriteLeavesOldFileAndNoLitter) {
    const fs::path target = m_dir / "domain.plist";
    ASSERT_TRUE(platform::writePropertyListFile(target, Value(Value::Dictionary{{"a", 1}})));
    const std::string before = slurp(target);

    // A folder in the way of the rename, and a folder that does not exist.
    const fs::path blocked = m_dir / "blocked.plist";
    fs::create_directories(blocked / "child");
    EXPECT_FALSE(platform::writePropertyListFile(blocked, Value(Value::Dictionary{{"b", 2}})));
    EXPECT_FALSE(platform::writePropertyListFile(m_dir / "missing" / "x.plist", Value(Value::Dictionary{})));

    EXPECT_EQ(slurp(target), before);
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(m_dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"blocked.plist", "domain.plist"}));
}

TEST_F(PropertyListTest, MissingFileReadsAsNothing) {
    EXPECT_FALSE(platform::readPropertyListFile(m_dir / "absent.plist").has_value());
    EXPECT_FALSE(platform::readPropertyListFile(m_dir).has_value());
}

}  // namespace
