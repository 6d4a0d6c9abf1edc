// The card colours: the appearance's background, the three colour switches, the tweak's own colour reader and
// the fresh colours of every appearance change.
#include "tests/tweak/cards/CardFixture.h"

#include "platform/core/Random.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UITraitCollection.h"

#include <cmath>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

namespace {

using vantile::testing::CardFixture;
namespace key = vantile::key;

constexpr CGRect kCardFrame{{0, 0}, {177.5, 120}};

// The colour the random pass builds from the three draws that follow `skip` draws after the fixture's seed.
RGBA randomColourAfter(std::uint64_t skip) {
    platform::seedRandom(CardFixture::kSeed);
    for (std::uint64_t i = 0; i < skip; ++i) platform::arc4random();
    const std::uint32_t a = platform::arc4random(), b = platform::arc4random(), c = platform::arc4random();
    return UIColor::colorWithHueSaturationBrightnessAlpha((a & 0xFF) / 256.0, (b & 0x7F) / 256.0 + 0.5,
                                                          (c & 0x7F) / 256.0 + 0.5, 1.0)
        ->resolvedColorWithStyle(1);
}

constexpr RGBA kDark{0.11, 0.11, 0.12, 1.0};
constexpr RGBA kWhite{1, 1, 1, 1};

enum class Background { Dark, White, Random, Stored, Untouched };
enum class Text { Label, White, Stored };

struct ColourCase {
    const char* name;
    long style;
    bool chroma, random, fontChroma;
    std::optional<std::string> storedBackground, storedText;
    Background background;
    std::optional<RGBA> storedBackgroundRGBA;
    Text text;
    std::optional<RGBA> storedTextRGBA;
};

class CardColours : public CardFixture {
protected:
    void switches(bool chroma, bool random, bool font) {
        store(key::toggleCellsChroma, chroma);
        store(key::toggleCellsRandomChroma, random);
        store(key::toggleCellsFontChroma, font);
    }
};

TEST_F(CardColours, SwitchesAndAppearanceDecideBackgroundAndText) {
    const ColourCase cases[] = {
        {"all off, dark", 2, false, false, false, {}, {}, Background::Dark, {}, Text::Label, {}},
        {"all off, light", 1, false, false, false, {}, {}, Background::White, {}, Text::Label, {}},
        {"unspecified style leaves the base uncoloured", 0, false, false, false, {}, {}, Background::Untouched, {},
         Text::Label, {}},
        {"chroma with nothing stored reads FFFFFF", 2, true, false, false, {}, {}, Background::Stored, kWhite,
         Text::Label, {}},
        {"chroma with a stored colour", 1, true, false, false, "3366CC", {}, Background::Stored,
         RGBA{0x33 / 255.0, 0x66 / 255.0, 0xCC / 255.0, 1}, Text::Label, {}},
        {"chroma and random: random wins, white text", 1, true, true, false, "3366CC", {}, Background::Random, {},
         Text::White, {}},
        {"random with font chroma: stored text colour", 2, false, true, true, {}, "00FF00", Background::Random, {},
         Text::Stored, RGBA{0, 1, 0, 1}},
        {"font chroma alone, eight digits with alpha 80", 1, false, false, true, {}, "FF000080", Background::White, {},
         Text::Stored, RGBA{1, 0, 0, 128 / 255.0}},
        {"font chroma with nothing stored: white", 2, false, false, true, {}, {}, Background::Dark, {}, Text::Stored,
         kWhite},
        {"a \"#\" string is transparent", 1, true, false, false, "#FF0000", {}, Background::Stored, RGBA{0, 0, 0, 0},
         Text::Label, {}},
    };
    for (const ColourCase& c : cases) {
        SCOPED_TRACE(c.name);
        switches(c.chroma, c.random, c.fontChroma);
        store(key::vantileCellsChroma, c.storedBackground ? Value(*c.storedBackground) : Value());
        store(key::vantileCellsFontChroma, c.storedText ? Value(*c.storedText) : Value());
        platform::seedRandom(kSeed);
        auto card = makeCard("GeneralCell", kCardFrame, c.style);
        ASSERT_TRUE(card);
        const auto& bg = card->cellBaseView()->backgroundColor();
        switch (c.background) {
        case Background::Dark: expectColour(bg, kDark, "background"); break;
        case Background::White: expectColour(bg, kWhite, "background"); break;
        case Background::Random: expectColour(bg, randomColourAfter(0), "background"); break;
        case Background::Stored: expectColour(bg, *c.storedBackgroundRGBA, "background"); break;
        case Background::Untouched: EXPECT_FALSE(bg); break;
        }
        for (const auto& label : {card->titleLabel(), card->subtitleLabel()}) {
            switch (c.text) {
            case Text::Label: EXPECT_TRUE(label->textColor()->isEqual(*UIColor::labelColor())); break;
            case Text::White: expectColour(label->textColor(), kWhite, "text"); break;
            case Text::Stored: expectColour(label->textColor(), *c.storedTextRGBA, "text"); break;
            }
        }
        EXPECT_EQ(platform::randomDrawCount(), c.random ? 3u : 0u);
    }
}

TEST_F(CardColours, ThePassRemembersWhatItReadInTheClassState) {
    switches(true, false, true);
    store(key::vantileCellsChroma, "112233");
    store(key::vantileCellsFontChroma, "ABC");
    auto card = makeCard("BatteryCell", kCardFrame);
    ASSERT_TRUE(card->kind());
    EXPECT_EQ(card->kind()->lastBackgroundString, "112233");
    EXPECT_EQ(card->kind()->lastTextString, "ABC");
    expectColour(card->kind()->lastTextColor, RGBA{0xAA / 255.0, 0xBB / 255.0, 0xCC / 255.0, 1}, "text");
    // The colour strings are read at every pass, not when the card file loaded.
    store(key::vantileCellsChroma, "445566");
    auto later = makeCard("BatteryCell", kCardFrame);
    expectColour(later->cellBaseView()->backgroundColor(), RGBA{0x44 / 255.0, 0x55 / 255.0, 0x66 / 255.0, 1},
                 "background");
}

TEST_F(CardColours, EveryAppearanceChangeDrawsNewRandomColours) {
    switches(false, true, false);
    auto root = makeRoot();
    auto card = makeCard("WifiCell", kCardFrame);
    root->addSubview(card);
    std::vector<RGBA> seen{rgba(card->cellBaseView()->backgroundColor())};
    for (long style : {2L, 1L, 2L}) {
        const std::uint64_t before = platform::randomDrawCount();
        root->setOverrideUserInterfaceStyle(style);
        ASSERT_EQ(platform::randomDrawCount(), before + 3) << "one pass per change, three draws each";
        seen.push_back(rgba(card->cellBaseView()->backgroundColor()));
    }
    const std::uint64_t draws = platform::randomDrawCount();
    for (std::size_t i = 0; i < seen.size(); ++i) {
        // The last draws of the run are those of the last change; earlier ones lie three draws apart before them.
        const RGBA expected = randomColourAfter(draws - 3 * (seen.size() - i));
        expectColour(UIColor::colorWithRedGreenBlueAlpha(seen[i].red, seen[i].green, seen[i].blue, seen[i].alpha),
                     expected, "pass " + std::to_string(i));
        if (i) {
            EXPECT_FALSE(seen[i].red == seen[i - 1].red && seen[i].green == seen[i - 1].green &&
                         seen[i].blue == seen[i - 1].blue);
        }
    }
}

TEST_F(CardColours, AppearanceChangeKeepsTextColoursOfEarlierPasses) {
    switches(false, true, false);
    auto root = makeRoot();
    auto card = makeCard("SiriCell", kCardFrame);
    root->addSubview(card);
    expectColour(card->titleLabel()->textColor(), kWhite, "white text of the random pass");
    switches(false, false, false);
    root->setOverrideUserInterfaceStyle(2);
    expectColour(card->cellBaseView()->backgroundColor(), kDark, "background after the change");
    expectColour(card->titleLabel()->textColor(), kWhite, "text is not reset to labelColor");
    root->setOverrideUserInterfaceStyle(1);
    expectColour(card->cellBaseView()->backgroundColor(), kWhite, "background back in light");
}

struct HexCase {
    const char* text;
    RGBA expected;
};

TEST(CardColourReader, LengthAloneDecidesTheComponents) {
    const HexCase cases[] = {
        {"FF000080", {1, 0, 0, 128 / 255.0}},
        {"F00", {1, 0, 0, 1}},
        {"#FF0000", {0, 0, 0, 0}},
        {"F008", {1, 0, 0, 0x88 / 255.0}},
        {"00ff00", {0, 1, 0, 1}},
        {"123456", {0x12 / 255.0, 0x34 / 255.0, 0x56 / 255.0, 1}},
        {"", {0, 0, 0, 0}},
        {"FF00", {1, 1, 0, 0}},
        {"FFFFFFFFF", {0, 0, 0, 0}},
        {"FFFFF", {0, 0, 0, 0}},
        // A component that does not begin with a digit counts as 0; one that does reads up to the first non-digit.
        {"GG00FF", {0, 0, 1, 1}},
        {"1Z00FF", {1 / 255.0, 0, 1, 1}},
        // Lengths count UTF-16 units: "Ä" is one unit (two bytes), so this is a three-digit string.
        {"\xC3\x84" "BC", {0, 0xBB / 255.0, 0xCC / 255.0, 1}},
    };
    for (const HexCase& c : cases) {
        SCOPED_TRACE(c.text);
        CardFixture::expectColour(VantileCardCell::cardColorFromHexString(c.text), c.expected, c.text);
    }
}

TEST(CardColourReader, SingleDigitsAreReadDoubled) {
    for (int d = 0; d < 16; ++d) {
        const char digit = "0123456789ABCDEF"[d];
        EXPECT_DOUBLE_EQ(VantileCardCell::cardColorComponentFrom(std::string(1, digit), 0, 1), d * 17 / 255.0)
            << digit;
    }
    EXPECT_DOUBLE_EQ(VantileCardCell::cardColorComponentFrom("x7f", 1, 2), 0x7F / 255.0);
}

class RandomColoursAcrossProcesses : public CardFixture {
protected:
    void SetUp() override {
        CardFixture::SetUp();
        store(key::toggleCellsRandomChroma, true);
        platform::unfixRandomSeed();
        ::unsetenv(std::string(platform::kRandomSeedVariable).c_str());
    }
    void TearDown() override {
        ::unsetenv(std::string(platform::kRandomSeedVariable).c_str());
        CardFixture::TearDown();
    }
    // The random background a card built in a new process gets, read back through a pipe. The child stands for a
    // Settings process after a respring: it forks from this one and builds the card before anything else draws.
    static std::string randomBackgroundInNewProcess() {
        int channel[2];
        if (::pipe(channel) != 0) return "no pipe";
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(channel[0]);
            auto card = makeCard("GeneralCell", kCardFrame);
            const RGBA c = rgba(card->cellBaseView()->backgroundColor());
            const std::string text =
                std::to_string(c.red) + " " + std::to_string(c.green) + " " + std::to_string(c.blue);
            [[maybe_unused]] const auto written = ::write(channel[1], text.data(), text.size());
            ::_exit(0);
        }
        ::close(channel[1]);
        std::string got;
        char buffer[128];
        for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;) got.append(buffer, n);
        ::close(channel[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
        return got;
    }
};

TEST_F(RandomColoursAcrossProcesses, EachProcessDrawsItsOwnUnlessASeedIsFixed) {
    const std::string first = randomBackgroundInNewProcess();
    const std::string second = randomBackgroundInNewProcess();
    ASSERT_FALSE(first.empty());
    EXPECT_NE(first, second) << "without a seed a respring shows new colours";

    ::setenv(std::string(platform::kRandomSeedVariable).c_str(), "20261208", 1);
    const std::string seeded = randomBackgroundInNewProcess();
    EXPECT_EQ(randomBackgroundInNewProcess(), seeded) << "a fixed seed gives every process the same colours";
    EXPECT_NE(seeded, first);

    ::unsetenv(std::string(platform::kRandomSeedVariable).c_str());
    platform::seedRandom(20261208);
    EXPECT_EQ(randomBackgroundInNewProcess(), seeded) << "a child follows the seed its parent fixed";
}

}  // namespace
