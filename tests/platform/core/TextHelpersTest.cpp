#include "platform/core/NSScanner.h"
#include "platform/core/NSString.h"
#include "platform/core/NSURL.h"
#include "platform/core/Runtime.h"
#include "platform/core/StringFormat.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

namespace {

using platform::stringWithFormat;

TEST(UTF16, LengthsCountCodeUnits) {
    struct Case {
        const char* text;
        std::size_t units;
    } cases[] = {
        {"", 0},
        {"Wi-Fi", 5},
        {"caf\xC3\xA9", 4},                  // é: 2 bytes, 1 unit
        {"\xE2\x82\xAC", 1},                 // €: 3 bytes, 1 unit
        {"\xF0\x9F\x98\x80", 2},             // 😀: 4 bytes, a surrogate pair
        {"a\xF0\x9F\x8E\x82" "b", 4},        // a🎂b
        {"\xFF", 1},                         // not UTF-8: one replacement unit
        {"\xC3", 1},                         // cut-off sequence
        {"\xE0\x80\x80", 3},                 // overlong: three replacement units
    };
    for (const auto& c : cases) EXPECT_EQ(platform::utf16Length(c.text), c.units) << c.text;
}

TEST(UTF16, SubstringsIndexByUnits) {
    const std::string text = "\xF0\x9F\x8E\x82 Happy";  // 🎂 Happy: 8 units
    EXPECT_EQ(platform::substringToUTF16Index(text, 2), "\xF0\x9F\x8E\x82");
    EXPECT_EQ(platform::substringWithUTF16Range(text, 3, 5), "Happy");
    EXPECT_EQ(platform::substringFromUTF16Index(text, 8), "");
    EXPECT_EQ(platform::substringToUTF16Index(text, 1), "\xEF\xBF\xBD") << "half an emoji reads as U+FFFD";
    EXPECT_EQ(platform::substringWithUTF16Range("caf\xC3\xA9s", 3, 1), "\xC3\xA9");
    EXPECT_THROW(platform::substringWithUTF16Range(text, 4, 5), platform::RuntimeError);
    EXPECT_THROW(platform::substringToUTF16Index(text, 9), platform::RuntimeError);
    EXPECT_THROW(platform::substringFromUTF16Index(text, 9), platform::RuntimeError);
}

TEST(UTF16, RoundTripKeepsValidText) {
    for (std::string s : {"", "plain", "\xE2\x82\xAC\xF0\x9F\x98\x80z", "\xE6\x97\xA5\xE6\x9C\xAC"})
        EXPECT_EQ(platform::fromUTF16(platform::toUTF16(s)), s);
    EXPECT_EQ(platform::fromUTF16(std::u16string(1, char16_t(0xDC00))), "\xEF\xBF\xBD");
}

TEST(StringFormat, FormatsTheDevicesPatterns) {
    auto object = alloc<NSObject>();
    EXPECT_EQ(stringWithFormat("%ld installed", 42L), "42 installed");
    EXPECT_EQ(stringWithFormat("%ld Tweaks", std::size_t{3}), "3 Tweaks");
    EXPECT_EQ(stringWithFormat("%@%@", std::string("prefs:root="), "WIFI"), "prefs:root=WIFI");
    EXPECT_EQ(stringWithFormat("%02lX%02lX%02lX%02lX", 255L, 10L, 0L, 128L), "FF0A0080");
    EXPECT_EQ(stringWithFormat("%02lx", 171L), "ab");
    EXPECT_EQ(stringWithFormat("%d%%", 50), "50%");
    EXPECT_EQ(stringWithFormat("%.2f|%5s|%-3d|", 0.125, "ab", 7), "0.12|   ab|7  |");
    EXPECT_EQ(stringWithFormat("%*d", 4, 9), "   9");
    EXPECT_EQ(stringWithFormat("%@", object), object->description());
    EXPECT_EQ(stringWithFormat("%@", Ref<NSObject>()), "(null)");
    EXPECT_EQ(stringWithFormat("%s", std::string(600, 'x')).size(), 600u) << "long results are not cut";
    EXPECT_EQ(stringWithFormat("no conversions"), "no conversions");
}

TEST(StringFormat, MismatchedArgumentsAreLoud) {
    EXPECT_THROW(stringWithFormat("%ld", 1), platform::RuntimeError) << "int for %ld";
    EXPECT_THROW(stringWithFormat("%d", 1L), platform::RuntimeError) << "long for %d";
    EXPECT_THROW(stringWithFormat("%@", 3), platform::RuntimeError);
    EXPECT_THROW(stringWithFormat("%f", 3), platform::RuntimeError);
    EXPECT_THROW(stringWithFormat("%d %d", 3), platform::RuntimeError) << "too few";
    EXPECT_THROW(stringWithFormat("%d", 3, 4), platform::RuntimeError) << "too many";
    EXPECT_THROW(stringWithFormat("%", 3), platform::RuntimeError) << "cut off";
    EXPECT_THROW(stringWithFormat("%k", 3), platform::RuntimeError) << "unknown";
}

TEST(NSURL, ValidityRule) {
    struct Case {
        const char* text;
        bool valid;
    } cases[] = {
        {"prefs:root=WIFI", true},
        {"prefs:root=Tweaks", true},
        {"prefs:root=3rd Party Apps", false},  // a space
        {"https://example.org/a?b=c#d", true},
        {"https://example.org/%20x", true},
        {"https://example.org/%2", false},     // cut escape
        {"https://example.org/%zz", false},
        {"a%", false},
        {"", false},
        {"relative/path", true},
        {"/absolute/path", true},
        {"http://x/\xC3\xA9", false},          // non-ASCII
        {"http://x/{a}", false},
        {"http://x/a|b", false},
        {"http://x/\"q\"", false},
        {":nothing", false},                   // empty scheme
        {"1abc:x", false},                     // scheme must start with a letter
        {"a+b-c.d:x", true},
        {"dir/a:b", true},                     // the colon is in a path, no scheme claimed
    };
    for (const auto& c : cases) {
        auto url = NSURL::URLWithString(c.text);
        EXPECT_EQ(url != nullptr, c.valid) << '"' << c.text << '"';
        if (url) {
            EXPECT_EQ(url->absoluteString(), c.text) << "the text is handed over exactly";
        }
    }
}

TEST(NSURL, PartsAndFileURLs) {
    auto settings = NSURL::URLWithString("prefs:root=Bluetooth");
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->scheme(), "prefs");
    EXPECT_EQ(settings->path(), "");
    EXPECT_FALSE(settings->isFileURL());
    EXPECT_EQ(NSURL::URLWithString("a/b")->scheme(), std::nullopt);

    auto file = NSURL::fileURLWithPath("/var/mobile/My Video #1.MOV");
    EXPECT_EQ(file->absoluteString(), "file:///var/mobile/My%20Video%20%231.MOV");
    EXPECT_TRUE(file->isFileURL());
    EXPECT_EQ(file->path(), "/var/mobile/My Video #1.MOV");
    EXPECT_TRUE(NSURL::URLWithString(file->absoluteString())) << "a built file URL is itself valid";
    EXPECT_EQ(NSURL::fileURLWithPath("rel")->absoluteString(), "file:///rel");
    EXPECT_EQ(NSURL::URLWithString("https://h.org/x%41y?q")->path(), "/xAy");
}

TEST(NSScanner, ScanHexIntTable) {
    constexpr auto kMax = UINT32_MAX;
    struct Case {
        const char* text;
        std::optional<std::uint32_t> value;
        std::size_t location;  // after the scan
    } cases[] = {
        {"FF00AA80", 0xFF00AA80u, 8},
        {"ff00aa80", 0xFF00AA80u, 8},
        {"0x1A", 0x1Au, 4},
        {"0X1a", 0x1Au, 4},
        {"  \n\t7f", 0x7Fu, 6},
        {"12zz", 0x12u, 2},
        {"zz12", std::nullopt, 0},
        {"", std::nullopt, 0},
        {"   ", std::nullopt, 0},
        {"#FF", std::nullopt, 0},
        {"0x", 0u, 1},
        {"0xg", 0u, 1},
        {"FFFFFFFF", kMax, 8},
        {"100000000", kMax, 9},
        {"FFFFFFFFFFFFFFFFFFFF1", kMax, 21},
        {"-1", std::nullopt, 0},
    };
    for (const auto& c : cases) {
        auto scanner = NSScanner::scannerWithString(c.text);
        EXPECT_EQ(scanner->scanHexInt(), c.value) << '"' << c.text << '"';
        EXPECT_EQ(scanner->scanLocation(), c.location) << '"' << c.text << '"';
    }
}

TEST(NSScanner, ScansSuccessiveNumbers) {
    auto scanner = NSScanner::scannerWithString("ab cd  ");
    EXPECT_EQ(scanner->scanHexInt(), 0xABu);
    EXPECT_FALSE(scanner->isAtEnd());
    EXPECT_EQ(scanner->scanHexInt(), 0xCDu);
    EXPECT_TRUE(scanner->isAtEnd());
    EXPECT_EQ(scanner->scanHexInt(), std::nullopt);
    EXPECT_THROW(scanner->setScanLocation(99), platform::RuntimeError);
}

}  // namespace
