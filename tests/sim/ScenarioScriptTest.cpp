// Reading scenario text and the argument forms of its commands.
#include "sim/scenario/ScenarioErrors.h"
#include "sim/scenario/ScenarioScript.h"
#include "sim/scenario/ScenarioValues.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace sim::scenario;
using Words = std::vector<std::string>;

TEST(ScenarioScript, SplitsWordsQuotesAndComments) {
    struct Case {
        const char* line;
        Words words;
    };
    const Case cases[] = {
        {"tap Wi-Fi", {"tap", "Wi-Fi"}},
        {"  tap\t\"Sounds & Haptics\"  ", {"tap", "Sounds & Haptics"}},
        {"expect text \"say \\\"hi\\\" \\\\ back\"", {"expect", "text", "say \"hi\" \\ back"}},
        {"tap \"\"", {"tap", ""}},
        {"wait 1s # let the poll run", {"wait", "1s"}},
        {"tap \"#1 card\"", {"tap", "#1 card"}},
        {"pref k string a#b", {"pref", "k", "string", "a#b"}},
        {"pref k strings [\"#fff\", \"x\"] # two", {"pref", "k", "strings", "[\"#fff\",", "x", "]"}},
    };
    for (const auto& c : cases) {
        Script s = parseScript(c.line, "t");
        ASSERT_EQ(s.steps.size(), 1u) << c.line;
        EXPECT_EQ(s.steps[0].words, c.words) << c.line;
    }
    Script json = parseScript("pref k strings [\"#fff\", \"x\"] # two", "t");
    EXPECT_EQ(json.steps[0].rest(3), "[\"#fff\", \"x\"]") << "JSON arguments keep their own quotes";
    EXPECT_EQ(json.steps[0].rest(9), "");
}

TEST(ScenarioScript, KeepsLineNumbersAndTheCommentAboveAsNote) {
    Script s = parseScript("# The tour\n\n# Home page,\n#   switch off\nscreenshot home\n\n   \nscreenshot two\n# end", "t");
    ASSERT_EQ(s.steps.size(), 2u);
    EXPECT_EQ(s.steps[0].line, 5u);
    EXPECT_EQ(s.steps[0].note, "Home page, switch off") << "a blank line parts the title comment from the step";
    EXPECT_EQ(s.steps[1].line, 8u);
    EXPECT_EQ(s.steps[1].note, "");
    EXPECT_EQ(s.steps[1].text, "screenshot two");
    EXPECT_TRUE(parseScript("", "t").steps.empty());
    EXPECT_TRUE(parseScript("\n\n# only a comment\n", "t").steps.empty());
}

TEST(ScenarioScript, AnUnclosedStringNamesItsLine) {
    try {
        parseScript("wait 1s\ntap \"Wi-Fi\ntap x", "t");
        FAIL() << "no error";
    } catch (const StepError& e) {
        EXPECT_NE(std::string(e.what()).find("line 2"), std::string::npos) << e.what();
    }
}

TEST(ScenarioValues, DurationsAndDates) {
    struct D {
        const char* text;
        std::optional<double> seconds;
    };
    const D durations[] = {{"1s", 1},     {"250ms", 0.25}, {"1.5s", 1.5}, {"2m", 120}, {"3", 3}, {"0s", 0},
                           {"-1s", {}},   {"1h", {}},      {"s", {}},     {"", {}},    {"1 s", {}}, {"nans", {}}};
    for (const auto& d : durations) EXPECT_EQ(parseDuration(d.text), d.seconds) << d.text;

    struct T {
        const char* date;
        const char* time;
        std::optional<double> seconds;
    };
    const T dates[] = {
        {"1970-01-01", "00:00", 0},
        {"2024-01-01", "00:00", 1704067200},
        {"2024-02-29", "12:30", 1709209800},
        {"2026-03-14", "09:41:30", 1773481290},
        {"2023-02-29", "00:00", {}},
        {"2024-13-01", "00:00", {}},
        {"2024-01-01", "24:00", {}},
        {"2024-01-01", "9:41", {}},
        {"24-01-01", "09:41", {}},
        {"1969-12-31", "23:59", {}},
    };
    for (const auto& t : dates) {
        EXPECT_EQ(parseDateTime(t.date, t.time), t.seconds) << t.date << " " << t.time;
        // What reads writes back the same, so a recording's "date" line plays at the clock it was taken at.
        if (!t.seconds) continue;
        const bool withSeconds = std::string_view(t.time).size() == 8;
        // Within its minute a clock still writes as that minute.
        const double at = withSeconds ? *t.seconds : *t.seconds + 59.9;
        EXPECT_EQ(formatDateTime(at, withSeconds ? "%Y-%m-%d %H:%M:%S" : "%Y-%m-%d %H:%M"),
                  std::string(t.date) + " " + t.time);
    }

    EXPECT_EQ(parseBool("yes"), true);
    EXPECT_EQ(parseBool("off"), false);
    EXPECT_EQ(parseBool("maybe"), std::nullopt);
    EXPECT_EQ(parseInteger("-12"), -12);
    EXPECT_EQ(parseInteger("1.5"), std::nullopt);
    EXPECT_EQ(parsePoint("10,20.5"), (std::pair<double, double>{10, 20.5}));
    EXPECT_EQ(parsePoint("10"), std::nullopt);
}

}  // namespace
