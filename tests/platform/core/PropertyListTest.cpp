#include "platform/core/PropertyList.h"

#include "HostilePlist.h"
#include "PreferenceFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>

namespace fs = std::filesystem;
using platform::PlistFormat;

namespace {

// The fixture's fresh device root doubles as the test's scratch folder.
class PropertyListTest : public PreferenceFixture {
protected:
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

// A binary property list whose root is a date stored as the given seconds since 2001, bit for bit.
static std::vector<std::uint8_t> binaryDate(double since2001) {
    std::vector<std::uint8_t> bytes{'b', 'p', 'l', 'i', 's', 't', '0', '0', 0x33};
    std::uint64_t bits = 0;
    std::memcpy(&bits, &since2001, sizeof bits);
    for (int shift = 56; shift >= 0; shift -= 8) bytes.push_back(static_cast<std::uint8_t>(bits >> shift));
    bytes.push_back(8);  // the offset table: the one object starts after the header
    const std::uint8_t trailer[32] = {0, 0, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 1,
                                      0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 17};
    bytes.insert(bytes.end(), std::begin(trailer), std::end(trailer));
    return bytes;
}

TEST_F(PropertyListTest, BinaryDateKeepsItsValueThroughRewrites) {
    // Fractions that libplist's microsecond truncation used to pull a microsecond earlier on each rewrite; the
    // first was found by the property-list fuzz target.
    std::uint64_t foundBits = 0x41c1deca92800021;
    double found = 0;
    std::memcpy(&found, &foundBits, sizeof found);
    for (double since2001 : {found, 599627045.000003, 1847140.380674, 1.0000029, 12345.000007, -5.0000029, 0.5}) {
        const std::optional<Value> read = platform::parsePropertyList(binaryDate(since2001));
        ASSERT_TRUE(read && read->isDate()) << since2001;
        // The date read may be a few microseconds earlier than the one stored: the nearest one a rewrite keeps.
        const double readSince2001 = read->asDate()->secondsSince1970 - 978307200.0;
        EXPECT_LE(readSince2001, since2001 + 1e-6) << since2001;
        EXPECT_GE(readSince2001, since2001 - 65e-6) << since2001;
        Value current = *read;
        for (int rewrite = 0; rewrite < 3; ++rewrite) {
            const std::optional<Value> again = platform::parsePropertyList(platform::serializePropertyList(current));
            ASSERT_TRUE(again.has_value()) << since2001;
            EXPECT_EQ(*again, *read) << since2001 << " after rewrite " << rewrite;
            current = *again;
        }
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
    const fs::path ours = m_root / "ours.plist";
    ASSERT_TRUE(platform::writePropertyListFile(ours, original));

    // Ours → plistutil: it converts our binary to XML, and the XML names every type as the device would.
    const fs::path asXml = m_root / "converted.xml";
    ASSERT_EQ(plistutil(ours, asXml, "xml"), 0);
    const std::string xml = slurp(asXml);
    for (const char* needle : {"<key>toggleVantile</key>\n\t<true/>", "<false/>", "<integer>1</integer>",
                               "<integer>-42</integer>", "<string>Wi-Fi</string>", "<data>", "<array>", "<date>"})
        EXPECT_NE(xml.find(needle), std::string::npos) << needle;

    // plistutil → ours, both of its formats.
    const fs::path backBin = m_root / "back.bin";
    ASSERT_EQ(plistutil(asXml, backBin, "bin"), 0);
    for (const fs::path& p : {asXml, backBin}) {
        const auto read = platform::readPropertyListFile(p);
        ASSERT_TRUE(read.has_value()) << p;
        EXPECT_EQ(*read, original) << p;
    }
}

TEST_F(PropertyListTest, HandWrittenXmlIsRead) {
    const fs::path p = m_root / "hand.plist";
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
    const fs::path target = m_root / "domain.plist";
    ASSERT_TRUE(platform::writePropertyListFile(target, Value(Value::Dictionary{{"a", 1}})));
    const std::string before = slurp(target);

    // A folder in the way of the rename, and a folder that does not exist.
    const fs::path blocked = m_root / "blocked.plist";
    fs::create_directories(blocked / "child");
    EXPECT_FALSE(platform::writePropertyListFile(blocked, Value(Value::Dictionary{{"b", 2}})));
    EXPECT_FALSE(platform::writePropertyListFile(m_root / "missing" / "x.plist", Value(Value::Dictionary{})));

    EXPECT_EQ(slurp(target), before);
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(m_root)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"blocked.plist", "domain.plist"}));
}

TEST_F(PropertyListTest, MissingFileReadsAsNothing) {
    EXPECT_FALSE(platform::readPropertyListFile(m_root / "absent.plist").has_value());
    EXPECT_FALSE(platform::readPropertyListFile(m_root).has_value());
}

std::vector<std::uint8_t> bytesOf(const std::string& s) { return {s.begin(), s.end()}; }

TEST_F(PropertyListTest, NestingIsBoundedBeforeTheParserRecurses) {
    const std::size_t limit = platform::kMaximumPlistNesting;
    const struct {
        const char* name;
        std::string bytes;
        bool readable;
    } cases[] = {
        {"binary at the limit", hostile::nestedBinary(limit), true},
        {"binary one deeper", hostile::nestedBinary(limit + 1), false},
        {"binary 100,000 deep", hostile::nestedBinary(100000), false},
        {"xml at the limit", hostile::nestedXml(limit), true},
        {"xml one deeper", hostile::nestedXml(limit + 1), false},
        {"xml 200,000 open arrays", hostile::nestedXml(200000, false), false},
    };
    for (const auto& c : cases) {
        const auto parsed = platform::parsePropertyList(bytesOf(c.bytes));
        ASSERT_EQ(parsed.has_value(), c.readable) << c.name;
        if (!parsed) continue;
        // Walked without recursion, so that the check cannot overflow either.
        std::size_t depth = 0;
        for (const Value* v = &*parsed; v && v->isArray(); v = v->asArray()->empty() ? nullptr : &v->asArray()->front())
            ++depth;
        EXPECT_EQ(depth, limit) << c.name;
    }

    // The writer refuses what the reader would.
    auto nested = [](std::size_t depth) {
        Value v{Value::Array{}};
        for (std::size_t i = 1; i < depth; ++i) v = Value(Value::Array{std::move(v)});
        return v;
    };
    for (PlistFormat format : {PlistFormat::Binary, PlistFormat::Xml}) {
        EXPECT_FALSE(platform::serializePropertyList(nested(limit), format).empty());
        EXPECT_TRUE(platform::serializePropertyList(nested(limit + 1), format).empty());
    }
}

// Values that the parser underneath reads as something else (a date as 1932, a large integer as -1, bad base64 as
// empty data, a repeated key as one of its values). Kept, they would be written back changed by the next unrelated
// write, so the whole file reads as damaged instead; the values just inside the ranges read exactly.
TEST_F(PropertyListTest, ValuesTheReaderCannotKeepExactlyMakeTheFileUnreadable) {
    const struct {
        const char* name;
        std::string body;
        std::optional<Value> exact;  // nothing: the file is refused
        bool asBinaryToo;             // plistutil converts it to binary faithfully
    } cases[] = {
        {"date before 1932", "<key>v</key><date>1931-06-01T00:00:00Z</date>", std::nullopt, true},
        {"date after 2069", "<key>v</key><date>2100-01-01T00:00:00Z</date>", std::nullopt, true},
        {"date in 1950", "<key>v</key><date>1950-01-01T00:00:00Z</date>", Value(PlistDate{-631152000}), true},
        {"date in 2040", "<key>v</key><date>2040-01-01T00:00:00Z</date>", Value(PlistDate{2208988800}), true},
        {"integer just above int64", "<key>v</key><integer>9223372036854775808</integer>", std::nullopt, true},
        {"largest unsigned integer", "<key>v</key><integer>18446744073709551615</integer>", std::nullopt, true},
        {"integer beyond 64 bits", "<key>v</key><integer>99999999999999999999999</integer>", std::nullopt, false},
        {"integer below int64", "<key>v</key><integer>-9223372036854775809</integer>", std::nullopt, false},
        {"largest int64", "<key>v</key><integer>9223372036854775807</integer>", Value(LLONG_MAX), true},
        {"smallest int64", "<key>v</key><integer>-9223372036854775808</integer>", Value(LLONG_MIN), true},
        {"data not base64", "<key>v</key><data>!!!notbase64</data>", std::nullopt, false},
        {"data cut short", "<key>v</key><data>AAE</data>", std::nullopt, false},
        {"data padded", "<key>v</key><data>\n\tAAE=\n\t</data>", Value(Value::Data{0, 1}), true},
        {"repeated key", "<key>v</key><string>one</string><key>v</key><string>two</string>", std::nullopt, false},
    };
    for (const auto& c : cases) {
        const std::string xml = hostile::xmlDictionary("<key>toggleVantile</key><true/>" + c.body);
        const fs::path xmlFile = m_root / "case.plist", binFile = m_root / "case.bin";
        spit(xmlFile, xml);
        std::vector<fs::path> files{xmlFile};
        if (c.asBinaryToo) {
            ASSERT_EQ(plistutil(xmlFile, binFile, "bin"), 0) << c.name;
            files.push_back(binFile);
        }
        for (const auto& file : files) {
            const auto read = platform::readPropertyListFile(file);
            if (!c.exact) {
                EXPECT_FALSE(read.has_value()) << c.name << " " << file.filename();
                continue;
            }
            ASSERT_TRUE(read.has_value()) << c.name << " " << file.filename();
            ASSERT_NE(read->find("v"), nullptr) << c.name;
            EXPECT_EQ(*read->find("v"), *c.exact) << c.name << " " << file.filename();
        }
    }

    // A key repeated in a binary file, which plistutil would not write.
    const std::string twice = hostile::binaryPlist({"\xD2\x01\x02\x03\x04", "\x51k", "\x51k", "\x10\x01", "\x10\x02"}, 1);
    EXPECT_FALSE(platform::parsePropertyList(bytesOf(twice)).has_value());
    const std::string once = hostile::binaryPlist({"\xD2\x01\x02\x03\x04", "\x51k", "\x51j", "\x10\x01", "\x10\x02"}, 1);
    EXPECT_EQ(platform::parsePropertyList(bytesOf(once)), Value(Value::Dictionary{{"k", 1}, {"j", 2}}));
}

TEST_F(PropertyListTest, WritesRefuseWhatCouldNotBeReadBack) {
    const struct {
        const char* name;
        Value value;
    } cases[] = {
        {"lone continuation byte", Value(std::string("Ana\x80"))},
        {"overlong NUL", Value(std::string("\xC0\x80"))},
        {"sequence cut short", Value(std::string("Zo\xC3"))},
        {"surrogate half", Value(std::string("\xED\xA0\x80"))},
        {"embedded NUL", Value(std::string("before\0after", 12))},
        {"invalid key", Value(Value::Dictionary{{std::string("k\xFF"), 1}})},
        {"key with NUL", Value(Value::Dictionary{{std::string("k\0j", 3), 1}})},
        {"string inside an array", Value(Value::Array{Value("fine"), Value(std::string("\x80"))})},
        {"date before 1932", Value(PlistDate{-1300000000.0})},
        {"date after 2069", Value(PlistDate{3200000000.0})},
    };
    const fs::path file = m_root / "kept.plist";
    const Value good(Value::Dictionary{{"toggleVantile", true}, {"name", "Zoë"}});
    ASSERT_TRUE(platform::writePropertyListFile(file, good));
    const std::string before = slurp(file);
    for (const auto& c : cases) {
        const Value dict(Value::Dictionary{{"toggleVantile", true}, {"bad", c.value}});
        for (PlistFormat format : {PlistFormat::Binary, PlistFormat::Xml})
            EXPECT_TRUE(platform::serializePropertyList(dict, format).empty()) << c.name << static_cast<int>(format);
        EXPECT_FALSE(platform::writePropertyListFile(file, dict)) << c.name;
        EXPECT_EQ(slurp(file), before) << c.name;
    }
    EXPECT_EQ(platform::readPropertyListFile(file), good);
}

}  // namespace
