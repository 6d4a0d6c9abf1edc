// A session played by hand is written out as a scenario, as the server's recording writes it, and `vantile-sim run`
// must reach the very same screen from it.

#include "tests/sim/SimProcess.h"
#include "tests/sim/serve/PhoneUnderTest.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

namespace simtest {
namespace {

using sim::serve::ChannelMessage;
using sim::serve::MessageKind;

std::string waitLine(double seconds) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "wait %.3fms", seconds * 1000);
    return buffer;
}

TEST(ReplayTest, ARecordedSessionReplaysToTheSameScreen) {
    TempDeviceRoot root;
    const double start = 1796752800;  // 2026-12-08 18:00 UTC
    PhoneUnderTest phone({root.path() / "live", "iphone-x", start, 7, "pref toggleVantile bool yes\n"});
    ASSERT_TRUE(phone.waitForJson("hello"));
    // Paused, only the gestures' own timing and the steps move the clock, so the run does not depend on how fast
    // this machine delivers the events.
    phone.send(R"({"type":"pause"})");

    // The gear opens the editor; the Tweaks row is dragged by its handle into "Selected Cells", the way a mouse
    // moves (a few quick moves, then a rest before letting go); the editor is closed and the phone turns dark.
    phone.pointer("down", 18, 65, 0);
    phone.pointer("up", 18, 65, 90);
    phone.send(R"({"type":"step","seconds":1})");
    double t = 2000;
    phone.pointer("down", 355, 240, t);
    for (int i = 1; i <= 20; ++i) phone.pointer("move", 355, 240 - 4 * i, t += 17);
    phone.pointer("up", 355, 160, t += 300);
    phone.send(R"({"type":"step","seconds":1})");
    phone.pointer("down", 100, 500, 5000);
    for (int i = 1; i <= 6; ++i) phone.pointer("move", 100, 500 - 30 * i, 5000 + 12 * i);
    phone.pointer("up", 100, 320, 5080);
    phone.send(R"({"type":"step","seconds":2})");
    phone.send(R"({"type":"command","line":"appearance dark"})");
    phone.send(R"({"type":"step","seconds":0.5})");
    phone.send(R"({"type":"hello"})");
    auto end = phone.waitForJson("hello");
    ASSERT_TRUE(end);
    const double endClock = *end->find("clock")->numberValue();
    phone.send(R"({"type":"screenshot"})");
    auto live = phone.waitFor([](const ChannelMessage& m) { return m.kind == MessageKind::Screenshot; });
    ASSERT_TRUE(live);
    phone.send(R"({"type":"quit"})");
    EXPECT_EQ(phone.exitStatus(), std::optional<int>(0));
    EXPECT_TRUE(phone.jsonOfType("error").empty()) << "the session played without errors";

    std::ostringstream scenario;
    scenario << "device iphone-x\nseed 7\ndate 2026-12-08 18:00\npref toggleVantile bool yes\nlaunch settings\n";
    double cursor = start;
    std::vector<std::string> all;
    for (const auto& batch : phone.jsonOfType("recorded")) {
        const double time = *batch.find("time")->numberValue();
        if (time > cursor) scenario << waitLine(time - cursor) << "\n";
        for (const auto& line : stringList(batch.find("lines"))) {
            scenario << line << "\n";
            all.push_back(line);
        }
        cursor = std::max(cursor, time) + *batch.find("duration")->numberValue();
    }
    if (endClock > cursor) scenario << waitLine(endClock - cursor) << "\n";
    scenario << "screenshot final\n";
    ASSERT_GE(all.size(), 4u);
    EXPECT_EQ(all.front(), "tap gear");
    EXPECT_EQ(all.back(), "appearance dark");
    EXPECT_TRUE(std::find(all.begin(), all.end(), "touch down 355 240") != all.end()) << scenario.str();

    const auto file = root.path() / "recorded.scenario";
    std::ofstream(file) << scenario.str();
    auto run = runSimulator({"run", file.string(), "--root", (root.path() / "replay").string(), "--out",
                             (root.path() / "out").string()});
    ASSERT_EQ(run.status, 0) << run.err << "\n" << scenario.str();
    std::ifstream png(root.path() / "out" / "final.png", std::ios::binary);
    std::string replayed((std::istreambuf_iterator<char>(png)), std::istreambuf_iterator<char>());
    auto a = decodePNG(live->payload);
    auto b = decodePNG(replayed);
    ASSERT_TRUE(a && b);
    ASSERT_EQ(a->width, b->width);
    ASSERT_EQ(a->height, b->height);
    std::size_t differing = 0;
    for (std::size_t i = 0; i < a->rgba.size(); i += 4)
        differing += !std::equal(a->rgba.begin() + i, a->rgba.begin() + i + 4, b->rgba.begin() + i);
    EXPECT_EQ(differing, 0u) << "pixels differ between the live screen and its replay\n" << scenario.str();
}

}  // namespace
}  // namespace simtest
