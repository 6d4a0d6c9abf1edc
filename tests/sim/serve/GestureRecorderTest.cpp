#include "sim/serve/GestureRecorder.h"

#include "sim/scenario/ScenarioScript.h"

#include <gtest/gtest.h>

namespace sim::serve {
namespace {

constexpr double kStart = 1796752800.0;

struct Event {
    enum Kind { Down, Move, Up, Cancel } kind;
    double x = 0, y = 0;
    double after = 0;  // seconds after the start
};

TEST(GestureRecorderTest, PressesBecomeTapsAndEverythingElseKeepsItsPathAndTiming) {
    struct Case {
        const char* what;
        std::vector<Event> events;
        std::vector<std::string> lines;
        double duration;
    };
    const Case cases[] = {
        {"a short still press is a tap by its target",
         {{Event::Down, 10, 10, 0}, {Event::Up, 10, 10, 0.08}}, {"tap gear"}, kTapPressSeconds},
        {"a hand's jitter under the slop is still a tap",
         {{Event::Down, 10, 10, 0}, {Event::Move, 13, 14, 0.03}, {Event::Move, 11, 8, 0.05}, {Event::Up, 11, 8, 0.1}},
         {"tap gear"}, kTapPressSeconds},
        {"a long press keeps how long it held",
         {{Event::Down, 10, 10, 0}, {Event::Up, 10, 10, 0.6}},
         {"touch down 10 10", "wait 600ms", "touch up"}, 0.6},
        {"a drag keeps every move and the time between them",
         {{Event::Down, 10, 10, 0}, {Event::Move, 10, 30.5, 0.016}, {Event::Move, 10, 50.25, 0.032}, {Event::Up, 10, 50.25, 0.04}},
         {"touch down 10 10", "wait 16ms", "touch move 10 30.5", "wait 16ms", "touch move 10 50.25", "wait 8ms", "touch up"},
         0.04},
        {"moves delivered at the same instant have no wait between them",
         {{Event::Down, 0, 0, 0}, {Event::Move, 20, 0, 0.01}, {Event::Move, 40, 0, 0.01}, {Event::Up, 40, 0, 0.01}},
         {"touch down 0 0", "wait 10ms", "touch move 20 0", "touch move 40 0", "touch up"}, 0.01},
        {"a cancelled press is never a tap",
         {{Event::Down, 10, 10, 0}, {Event::Cancel, 10, 10, 0.05}},
         {"touch down 10 10", "wait 50ms", "touch cancel"}, 0.05},
        {"a second down forgets the first finger",
         {{Event::Down, 100, 100, 0}, {Event::Move, 200, 200, 0.1}, {Event::Down, 10, 10, 0.2}, {Event::Up, 10, 10, 0.25}},
         {"tap gear"}, kTapPressSeconds},
    };
    for (const auto& c : cases) {
        GestureRecorder recorder;
        std::optional<RecordedBatch> batch;
        double downAt = 0;
        for (const auto& e : c.events) {
            const double time = kStart + e.after;
            switch (e.kind) {
                case Event::Down: recorder.down(CGPointMake(e.x, e.y), time, "gear"); downAt = time; break;
                case Event::Move: recorder.move(CGPointMake(e.x, e.y), time); break;
                case Event::Up: batch = recorder.up(time); break;
                case Event::Cancel: batch = recorder.cancel(time); break;
            }
        }
        ASSERT_TRUE(batch) << c.what;
        EXPECT_EQ(batch->lines, c.lines) << c.what;
        EXPECT_DOUBLE_EQ(batch->time, downAt) << c.what;
        EXPECT_NEAR(batch->duration, c.duration, 1e-6) << c.what;
        EXPECT_FALSE(recorder.isTouching()) << c.what;
    }
}

TEST(GestureRecorderTest, NoFingerDownRecordsNothing) {
    GestureRecorder recorder;
    recorder.move(CGPointMake(5, 5), kStart);
    EXPECT_FALSE(recorder.up(kStart + 1));
    EXPECT_FALSE(recorder.cancel(kStart + 1));
    recorder.down(CGPointMake(5, 5), kStart, "@5,5");
    ASSERT_TRUE(recorder.up(kStart + 0.1));
    EXPECT_FALSE(recorder.up(kStart + 0.2)) << "one gesture, one batch";
}

// The scenario parser is the oracle: whatever a word is written as must read back as the text it came from.
TEST(GestureRecorderTest, WordsReadBackAsTheTextTheyCameFrom) {
    for (const std::string text : {"Wi-Fi", "Sounds & Haptics", "say \"hi\"", "back\\slash", "#hash", "", "done.png",
                                   "Grüße", "a # b"}) {
        auto script = scenario::parseScript("tap " + scenarioWord(text), "words");
        ASSERT_EQ(script.steps.size(), 1u) << text;
        ASSERT_EQ(script.steps[0].words.size(), 2u) << text;
        EXPECT_EQ(script.steps[0].words[1], text);
    }
    EXPECT_EQ(scenarioWord("Wi-Fi"), "Wi-Fi") << "a plain word needs no quotes";
}

TEST(GestureRecorderTest, PointsAreWrittenAsPlayedLive) {
    struct Case {
        double value;
        const char* text;
    };
    for (const auto& c : {Case{12, "12"}, Case{12.5, "12.5"}, Case{-3.25, "-3.25"}, Case{0.004, "0"},
                          Case{-0.001, "0"}, Case{100.126, "100.13"}, Case{374.999, "375"}}) {
        EXPECT_EQ(pointsText(c.value), c.text) << c.value;
        // What the lines say is what the live finger was given.
        EXPECT_EQ(pointsText(roundedPoint(CGPointMake(c.value, 0)).x), c.text) << c.value;
        EXPECT_DOUBLE_EQ(roundedPoint(CGPointMake(c.value, 0)).x, std::stod(c.text)) << c.value;
    }
}

}  // namespace
}  // namespace sim::serve
