// The session's recording, read back with the scenario language's own parsers: what the server writes must be what
// `vantile-sim run` reads.
#include "sim/serve/Recording.h"

#include "platform/harness/JSONValue.h"

#include "sim/scenario/ScenarioScript.h"
#include "sim/scenario/ScenarioValues.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using sim::serve::Recording;
using sim::serve::RecordingStart;

constexpr double kStart = 1796752800;  // 2026-12-08 18:00 UTC

std::vector<std::string> wordsOf(const std::string& line) {
    auto script = sim::scenario::parseScript(line, "test");
    return script.steps.size() == 1 ? script.steps.front().words : std::vector<std::string>{};
}

// The seconds the `wait` steps of a scenario text add up to.
double waitedSeconds(const std::string& text) {
    double total = 0;
    for (const auto& step : sim::scenario::parseScript(text, "test").steps)
        if (step.words.front() == "wait") total += sim::scenario::parseDuration(step.words.at(1)).value();
    return total;
}

TEST(RecordingTest, PreferenceLinesReadBackAsTheirValues) {
    struct Case {
        const char* key;
        Value value;
        std::vector<std::string> words;  // empty: not representable
    };
    const Case cases[] = {
        {"toggleVantile", Value(true), {"pref", "toggleVantile", "bool", "yes"}},
        {"haptics", Value(false), {"pref", "haptics", "bool", "no"}},
        {"columns", Value(3), {"pref", "columns", "int", "3"}},
        {"offset", Value(-12), {"pref", "offset", "int", "-12"}},
        {"alpha", Value(0.35), {"pref", "alpha", "real", "0.35"}},
        {"scale", Value(2.0), {"pref", "scale", "real", "2.0"}},
        {"tiny", Value(1e-300), {"pref", "tiny", "real", "1e-300"}},
        {"name", Value("Sounds & Haptics"), {"pref", "name", "string", "Sounds & Haptics"}},
        {"quoted", Value("say \"hi\" \\ #1"), {"pref", "quoted", "string", "say \"hi\" \\ #1"}},
        {"empty", Value(""), {"pref", "empty", "string", ""}},
        {"tag", Value("#tag"), {"pref", "tag", "string", "#tag"}},
        {"path", Value("back\\slash"), {"pref", "path", "string", "back\\slash"}},
        {"key with blank", Value(1), {"pref", "key with blank", "int", "1"}},
        {"lines", Value("two\nlines"), {}},
        {"mixed", Value(Value::Array{Value("a"), Value(1)}), {}},
        {"image", Value(Value::Data{1, 2, 3}), {}},
        {"when", Value(PlistDate{5}), {}},
        {"nested", Value(Value::Dictionary{{"a", Value(1)}}), {}},
        {"nan", Value(std::nan("")), {}},
        {"", Value(1), {}},
    };
    for (const auto& c : cases) {
        auto line = sim::serve::preferenceLine(c.key, c.value);
        if (c.words.empty()) {
            EXPECT_FALSE(line) << c.key << " gave " << line.value_or("");
            continue;
        }
        ASSERT_TRUE(line) << c.key;
        EXPECT_EQ(wordsOf(*line), c.words) << *line;
    }
    // The strings form is a JSON array taken from the rest of the line, quotes and all.
    const Value cells(Value::Array{Value("Wi-Fi"), Value("Battery \"B\" \\ #2")});
    auto line = sim::serve::preferenceLine("cells", cells);
    ASSERT_TRUE(line);
    auto step = sim::scenario::parseScript(*line, "test").steps.at(0);
    EXPECT_EQ((std::vector<std::string>(step.words.begin(), step.words.begin() + 3)),
              (std::vector<std::string>{"pref", "cells", "strings"}));
    EXPECT_EQ(parseJSON(step.rest(3)), cells) << *line;
}

TEST(RecordingTest, WaitsRoundToTenMillisecondsAndStayWithinTheLimit) {
    struct Case {
        double seconds;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {0, {}},
        {-3, {}},
        {0.004, {}},
        {std::nan(""), {}},
        {0.005, {"wait 10ms"}},
        {0.25, {"wait 250ms"}},
        {1.0, {"wait 1s"}},
        {1.234, {"wait 1230ms"}},
        {61.5, {"wait 61500ms"}},
        {86400, {"wait 86400s"}},
        {90000.01, {"wait 86400s", "wait 3600010ms"}},
    };
    for (const auto& c : cases) {
        auto lines = sim::serve::waitLines(c.seconds);
        EXPECT_EQ(lines, c.lines) << c.seconds;
        for (const auto& line : lines) {
            auto words = wordsOf(line);
            ASSERT_EQ(words.size(), 2u) << line;
            auto d = sim::scenario::parseDuration(words[1]);
            ASSERT_TRUE(d) << line;
            EXPECT_LE(*d, sim::scenario::kMaxWaitSeconds) << line;
        }
    }
}

TEST(RecordingTest, HeaderStartsAReplayWhereTheSessionStarted) {
    Recording recording(RecordingStart{"iphone-8", kStart + 59, 1234});
    recording.setStartPreferences(Value(Value::Dictionary{
        {"toggleVantile", Value(true)}, {"image", Value(Value::Data{1})}, {"columns", Value(4)}}));
    // Only the first domain is the start; what follows is the session's own doing.
    recording.setStartPreferences(Value(Value::Dictionary{{"toggleVantile", Value(false)}}));
    EXPECT_EQ(recording.text(),
              "device iphone-8\n"
              "date 2026-12-08 18:00\n"
              "seed 1234\n"
              "pref columns int 4\n"
              "pref toggleVantile bool yes\n"
              "launch settings\n");
    auto steps = sim::scenario::parseScript(recording.text(), "test").steps;
    ASSERT_EQ(steps.size(), 6u);
    EXPECT_EQ(sim::scenario::parseDateTime(steps[1].words[1], steps[1].words[2]), kStart);
    EXPECT_EQ(recording.lineCount(), 0u);
}

TEST(RecordingTest, BatchesAreSeparatedByTheVirtualTimeBetweenThem) {
    Recording recording(RecordingStart{"iphone-x", kStart, 7});
    recording.add(kStart + 1.5, {"tap \"Wi-Fi\""});
    recording.add(kStart + 1.5, {"touch down 10 20", "wait 600ms", "touch up"}, 0.6);
    recording.add(kStart + 2.0, {"back"});  // began while the drag's own waits ran: none more
    recording.add(kStart + 2.5, {"", "  "});
    recording.add(kStart + 3.0, {"type \"abc\""});
    const std::string body = recording.text().substr(recording.text().find("launch settings\n") + 16);
    EXPECT_EQ(body,
              "wait 1500ms\n"
              "tap \"Wi-Fi\"\n"
              "touch down 10 20\n"
              "wait 600ms\n"
              "touch up\n"
              "back\n"
              "wait 900ms\n"
              "type \"abc\"\n");
    EXPECT_EQ(recording.lineCount(), 8u);
    EXPECT_EQ(recording.lastLine(), "type \"abc\"");
    // Taken later, the recording waits up to that moment; taken at once, or before the last line, it does not.
    EXPECT_EQ(recording.text(kStart + 4.257), recording.text() + "wait 1260ms\n");
    EXPECT_EQ(recording.text(kStart + 3.001), recording.text());
    EXPECT_EQ(recording.text(kStart + 2), recording.text());
}

TEST(RecordingTest, RoundedWaitsDoNotDriftFromTheSessionsClock) {
    Recording recording(RecordingStart{"iphone-x", kStart, 7});
    double t = kStart;
    for (int i = 0; i < 200; ++i) {
        t += 0.0149;  // each alone would round to 10 ms, losing 4.9 ms a time
        recording.add(t, {"scroll 0 5"});
    }
    EXPECT_NEAR(waitedSeconds(recording.text()), t - kStart, 0.005 + 1e-9);
}

TEST(RecordingTest, SetUpLinesAreThoseAFreshProcessAppliesAgain) {
    Recording recording(RecordingStart{"iphone-x", kStart, 7});
    recording.add(kStart + 1, {"appearance dark", "tap gear", "wifi off", "pref columns int 2", "date 2027-01-01 10:00",
                               "seed 9", "device iphone-8", "locale de", "respring", "carrier \"O2 DE\"", "tap \"unterminated"});
    EXPECT_EQ(recording.setUpLines(),
              (std::vector<std::string>{"appearance dark", "wifi off", "locale de", "carrier \"O2 DE\""}));
}

}  // namespace
