#include "prefs/cells/ChromaCodec.h"

#include "platform/gfx/Appearance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using platform::RGBA;

std::optional<RGBA> read(std::string_view text) {
    auto color = chroma::colorFromHexString(text);
    if (!color) return std::nullopt;
    return color->rgba();
}

std::string hex8(unsigned r, unsigned g, unsigned b, unsigned a) {
    char text[9];
    std::snprintf(text, sizeof text, "%02X%02X%02X%02X", r, g, b, a);
    return text;
}

TEST(ChromaCodec, ReadsTheFourDigitGroupingsAndNothingElse) {
    struct Case {
        const char* input;
        std::optional<RGBA> expected;
    };
    const RGBA white{1, 1, 1, 1};
    const std::vector<Case> cases = {
        {"#FFF", white},
        {"FFF", white},
        {"fff", white},
        {"FFFFFFFF", white},
        {"#FFFFFF", white},
        {"80FF0000", RGBA{0x80 / 255.0, 1, 0, 0}},
        {"FF000080", RGBA{1, 0, 0, 0x80 / 255.0}},
        {"F0F8", RGBA{1, 0, 1, 0x88 / 255.0}},
        {"#abc", RGBA{0xAA / 255.0, 0xBB / 255.0, 0xCC / 255.0, 1}},
        {"#1234", RGBA{0x11 / 255.0, 0x22 / 255.0, 0x33 / 255.0, 0x44 / 255.0}},
        {"12aB5f", RGBA{0x12 / 255.0, 0xAB / 255.0, 0x5F / 255.0, 1}},
        // A component that does not begin with a digit reads as 0; one that does reads up to the first non-digit.
        {"GG0000", RGBA{0, 0, 0, 1}},
        {"AZ00FF", RGBA{0x0A / 255.0, 0, 1, 1}},
        {" FFFFF", RGBA{0, 1, 1, 1}},  // no white space is trimmed
        // UTF-16 lengths: "é" is one unit, an emoji two (its halves are no digits).
        {"\xC3\xA9" "12", RGBA{0, 0x11 / 255.0, 0x22 / 255.0, 1}},
        {"\xF0\x9F\x98\x80" "FF", RGBA{0, 0, 1, 1}},
        {"#", std::nullopt},
        {"", std::nullopt},
        {"#12345", std::nullopt},
        {"1234567", std::nullopt},
        {"##123456", std::nullopt},
        {"1", std::nullopt},
        {"12", std::nullopt},
        {"123456789", std::nullopt},
        {"#\xF0\x9F\x98\x80" "FFFF", RGBA{0, 1, 1, 1}},  // 2 + 4 units after the "#": the six-digit form
        {"\xF0\x9F\x98\x80" "FFFFF", std::nullopt},       // 2 + 5 units
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("input \"") + c.input + "\"");
        auto got = read(c.input);
        ASSERT_EQ(got.has_value(), c.expected.has_value());
        if (c.expected) {
            EXPECT_EQ(*got, *c.expected);
        }
    }
    // A colour read from text is an RGB colour.
    EXPECT_EQ(chroma::colorFromHexString("FFF")->model(), kCGColorSpaceModelRGB);
}

TEST(ChromaCodec, ComponentReadsOneOrTwoDigits) {
    struct Case {
        const char* text;
        std::size_t start, length;
        double expected;
    };
    const std::vector<Case> cases = {
        {"A", 0, 1, 0xAA / 255.0},   {"8", 0, 1, 0x88 / 255.0},       {"ab", 0, 2, 0xAB / 255.0},
        {"AZ", 0, 2, 0x0A / 255.0},  {"ZZ", 0, 2, 0.0},               {"Z", 0, 1, 0.0},
        {"12345678", 6, 2, 0x78 / 255.0}, {"12345678", 3, 1, 0x44 / 255.0}, {"FF", 0, 0, 0.0},
        {"FFF", 0, 3, static_cast<double>(0xFFFFFFu) / 255.0},  // a length other than 2 is doubled
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.text << " (" << c.start << ", " << c.length << ")");
        EXPECT_EQ(chroma::colorComponentFrom(c.text, c.start, c.length), c.expected);
    }
    EXPECT_THROW(chroma::colorComponentFrom("F", 0, 2), std::out_of_range);
    EXPECT_THROW(chroma::colorComponentFrom("FF", 3, 1), std::out_of_range);
}

TEST(ChromaCodec, WritesEightUpperCaseDigitsWithSinglePrecisionRounding) {
    struct Case {
        const char* what;
        Ref<UIColor> color;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"monochrome half", UIColor::colorWithWhiteAlpha(0.5, 1), "808080FF"},
        {"white", UIColor::whiteColor(), "FFFFFFFF"},
        {"clear", UIColor::clearColor(), "00000000"},
        {"rgb half rounds away from zero", UIColor::colorWithRedGreenBlueAlpha(0.5, 0.5 / 255, 1.5 / 255, 1),
         "800102FF"},
        // 127.4999999 in double is 127.5 in single precision, which rounds up.
        {"single precision before rounding", UIColor::colorWithRedGreenBlueAlpha((127.5 - 1e-7) / 255, 0, 0, 1),
         "800000FF"},
        {"just below a half in single precision",
         UIColor::colorWithRedGreenBlueAlpha((127.5 - 1e-4) / 255, 0, 0, 1), "7F0000FF"},
        {"out of range clamps", UIColor::colorWithRedGreenBlueAlpha(1.5, -0.25, 2, 7), "FF00FFFF"},
        {"not a number writes 0", UIColor::colorWithRedGreenBlueAlpha(NAN, 1, 1, 1), "00FFFFFF"},
        {"hsb colour", UIColor::colorWithHueSaturationBrightnessAlpha(2.0 / 3, 1, 1, 0.5), "0000FF80"},
        {"no colour", nullptr, "00000000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(chroma::stringFromColor(c.color), c.expected);
    }
    EXPECT_EQ(chroma::stringFromCGColor(std::make_shared<const CGColor>(
                  CGColor{kCGColorSpaceModelUnknown, {1, 1, 1, 1}})),
              "00000000");
    EXPECT_EQ(chroma::stringFromCGColor(nullptr), "00000000");

    // A dynamic colour is written as it shows in the current style.
    EXPECT_EQ(chroma::stringFromColor(UIColor::labelColor()), "000000FF");
    platform::ScopedInterfaceStyle dark(2);
    EXPECT_EQ(chroma::stringFromColor(UIColor::labelColor()), "FFFFFFFF");
}

TEST(ChromaCodec, EveryStoredStringRoundTrips) {
    auto roundTrip = [](const std::string& s) { return chroma::stringFromColor(chroma::colorFromHexString(s)); };
    std::mt19937 random(20261207);
    std::uniform_int_distribution<unsigned> byte(0, 255);
    std::size_t failures = 0;
    // Every value at every channel position, the other channels random.
    for (int position = 0; position < 4; ++position)
        for (unsigned v = 0; v < 256; ++v) {
            unsigned c[4] = {byte(random), byte(random), byte(random), byte(random)};
            c[position] = v;
            std::string s = hex8(c[0], c[1], c[2], c[3]);
            if (roundTrip(s) != s && failures++ < 5) ADD_FAILURE() << s << " came back as " << roundTrip(s);
        }
    for (int i = 0; i < 300000; ++i) {
        std::string s = hex8(byte(random), byte(random), byte(random), byte(random));
        if (roundTrip(s) != s && failures++ < 5) ADD_FAILURE() << s << " came back as " << roundTrip(s);
    }
    EXPECT_EQ(failures, 0u);
    EXPECT_EQ(roundTrip("deadbeef"), "DEADBEEF");
    EXPECT_EQ(roundTrip("#a0b1c2d3"), "A0B1C2D3");
    EXPECT_EQ(roundTrip("fff"), "FFFFFFFF");
}

TEST(ChromaCodec, ClampAndBlend) {
    struct PinCase {
        float lo, value, hi, expected;
    };
    for (const auto& c : std::vector<PinCase>{{0, 0.5f, 1, 0.5f}, {0, -0.1f, 1, 0}, {0, 1.7f, 1, 1},
                                              {0, 0, 1, 0}, {0, 1, 1, 1}, {2, 0, 1, 2}})
        EXPECT_EQ(chroma::pin(c.lo, c.value, c.hi), c.expected) << c.lo << " " << c.value << " " << c.hi;

    // Against the definition, every pair: truncated product over 255.
    for (unsigned v = 0; v < 256; ++v)
        for (unsigned f = 0; f < 256; ++f)
            ASSERT_EQ(chroma::blend(v, f), static_cast<std::uint8_t>(std::floor(v * f / 255.0)))
                << v << " × " << f;
}

TEST(ChromaCodec, HueFactorsAndHSV) {
    struct Case {
        float hue;
        float r, g, b;
    };
    const std::vector<Case> cases = {
        {0, 1, 0, 0},     {360, 1, 0, 0},   {60, 1, 1, 0},      {120, 0, 1, 0},    {180, 0, 1, 1},
        {240, 0, 0, 1},   {300, 1, 0, 1},   {30, 1, 0.5f, 0},   {90, 0.5f, 1, 0},  {210, 0, 0.5f, 1},
        {270, 0.5f, 0, 1}, {345, 1, 0, 0.25f}, {720, 1, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "hue " << c.hue);
        float r = -1, g = -1, b = -1;
        chroma::hueToComponentFactors(&r, &g, &b, c.hue);
        EXPECT_EQ(r, c.r);
        EXPECT_EQ(g, c.g);
        EXPECT_EQ(b, c.b);
    }
    float r, g, b;
    chroma::hueToComponentFactors(&r, &g, &b, NAN);
    EXPECT_EQ(r, 1);
    EXPECT_EQ(g, 0);
    EXPECT_TRUE(std::isnan(b));

    chroma::HSVtoRGB(&r, &g, &b, 120, 0.5f, 0.8f);
    EXPECT_FLOAT_EQ(r, 0.4f);
    EXPECT_FLOAT_EQ(g, 0.8f);
    EXPECT_FLOAT_EQ(b, 0.4f);
    chroma::HSVtoRGB(&r, &g, &b, 200, 0, 0.3f);
    EXPECT_EQ(r, 0.3f);
    EXPECT_EQ(g, 0.3f);
    EXPECT_EQ(b, 0.3f);
    // Against the textbook formula over the whole circle.
    for (int i = 0; i < 3600; ++i) {
        float hue = i / 10.0f, s = (i % 11) / 10.0f, v = (i % 7) / 6.0f;
        chroma::HSVtoRGB(&r, &g, &b, hue, s, v);
        double h6 = hue / 60.0, f = h6 - std::floor(h6);
        double p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
        double want[6][3] = {{v, t, p}, {q, v, p}, {p, v, t}, {p, q, v}, {t, p, v}, {v, p, q}};
        int k = static_cast<int>(std::floor(h6)) % 6;
        ASSERT_NEAR(r, want[k][0], 1e-5) << hue;
        ASSERT_NEAR(g, want[k][1], 1e-5) << hue;
        ASSERT_NEAR(b, want[k][2], 1e-5) << hue;
    }
}

}  // namespace
