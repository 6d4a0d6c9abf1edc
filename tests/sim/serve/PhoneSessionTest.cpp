// The phone process as the browser server drives it: what it answers to each kind of input, bad input included.

#include "tests/sim/SimProcess.h"
#include "tests/sim/serve/PhoneUnderTest.h"

#include <gtest/gtest.h>

#include <thread>

namespace simtest {
namespace {

using sim::serve::ChannelMessage;
using sim::serve::MessageKind;

// Where the dashboard's gear sits on an iPhone X with the add-on switched on.
constexpr double kGearX = 18, kGearY = 65;

std::vector<std::string> linesOf(const Value& recorded) {
    return stringList(recorded.find("lines"));
}

double numberAt(const Value& json, const char* key) {
    const Value* v = json.find(key);
    return v && v->numberValue() ? *v->numberValue() : -1;
}

class PhoneSessionTest : public ::testing::Test {
protected:
    TempDeviceRoot root;
};

TEST_F(PhoneSessionTest, BootsAndPlaysTheHandsThePanelsAndTheBadInput) {
    PhoneUnderTest phone({root.path() / "device", "iphone-x", 1796752800, 7, "pref toggleVantile bool yes\n"});
    auto hello = phone.waitForJson("hello");
    ASSERT_TRUE(hello) << "no hello from the phone";
    EXPECT_EQ(numberAt(*at(*hello, "device") , "width"), 375);
    EXPECT_EQ(numberAt(*at(*hello, "device"), "height"), 812);
    EXPECT_EQ(numberAt(*at(*hello, "device"), "scale"), 3);
    EXPECT_EQ(at(*hello, "device/faceID")->asBoolean(), std::optional<bool>(true));
    EXPECT_GE(numberAt(*hello, "clock"), 1796752800);
    auto first = phone.waitFor([](const ChannelMessage& m) { return m.kind == MessageKind::Frame; });
    ASSERT_TRUE(first);
    auto region = sim::serve::frameRegion(first->payload);
    ASSERT_TRUE(region);
    EXPECT_EQ(region->width, 1125u) << "the first frame is the whole screen at full scale";
    EXPECT_EQ(region->height, 2436u);
    auto png = decodePNG(first->payload.substr(sim::serve::kFrameHeaderSize));
    ASSERT_TRUE(png);
    EXPECT_EQ(png->width, 1125);

    // Each bad message is answered with one error and changes nothing.
    const std::vector<std::string> bad = {
        sim::serve::encodeMessage(MessageKind::Json, "{not json"),
        sim::serve::encodeMessage(MessageKind::Json, "[1,2]"),
        sim::serve::encodeMessage(MessageKind::Json, R"({"type":"teleport"})"),
        sim::serve::encodeMessage(MessageKind::Json, R"({"type":"pointer","x":1,"y":1,"t":0})"),
        sim::serve::encodeMessage(MessageKind::Json, R"({"type":"pointer","phase":"down","x":1,"y":1})"),
        sim::serve::encodeMessage(MessageKind::Json, R"({"type":"pointer","phase":"down","x":-5,"y":900,"t":0})"),
        sim::serve::encodeMessage(MessageKind::Json, R"({"type":"pointer","phase":"down","x":"a","y":1,"t":0})"),
        sim::serve::encodeMessage(MessageKind::Json, R"({"type":"wheel","dx":1})"),
        sim::serve::encodeMessage(MessageKind::Json, R"({"type":"key","key":"F13"})"),
        sim::serve::encodeMessage(MessageKind::Json, R"({"type":"text","text":"line\nbreak"})"),
        sim::serve::encodeMessage(MessageKind::Json, R"({"type":"command","line":"appearance purple"})"),
        sim::serve::encodeMessage(MessageKind::Json, R"({"type":"command","line":"launch springboard"})"),
        sim::serve::encodeMessage(MessageKind::Json, R"({"type":"command","line":"wifi on\nwifi off"})"),
        sim::serve::encodeMessage(MessageKind::Json, R"({"type":"step","seconds":-1})"),
        sim::serve::encodeMessage(MessageKind::Frame, sim::serve::encodeFrame({0, 0, 1, 1}, "x")),
    };
    for (const auto& bytes : bad) phone.sendRaw(bytes);
    phone.send(R"({"type":"pause"})");
    phone.send(R"({"type":"hello"})");
    auto answered = phone.waitForJson("hello");
    ASSERT_TRUE(answered) << "the phone stopped answering after bad input";
    EXPECT_EQ(phone.jsonOfType("error").size(), bad.size());
    EXPECT_TRUE(phone.jsonOfType("recorded").empty()) << "bad input is never recorded";

    // Paused, the clock stands still until a step moves it.
    const double pausedAt = numberAt(*answered, "clock");
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    phone.send(R"({"type":"hello"})");
    auto later = phone.waitForJson("hello");
    ASSERT_TRUE(later);
    EXPECT_DOUBLE_EQ(numberAt(*later, "clock"), pausedAt);
    phone.send(R"({"type":"step","seconds":0.5})");
    phone.send(R"({"type":"hello"})");
    auto stepped = phone.waitForJson("hello");
    ASSERT_TRUE(stepped);
    EXPECT_NEAR(numberAt(*stepped, "clock") - pausedAt, 0.5, 1e-6);

    // A tap on the gear is recorded by its symbol; the editor it opens stores the lists.
    phone.pointer("down", kGearX, kGearY, 1000);
    phone.pointer("up", kGearX, kGearY, 1080);
    auto tap = phone.waitForJson("recorded");
    ASSERT_TRUE(tap);
    EXPECT_EQ(linesOf(*tap), std::vector<std::string>{"tap gear"});
    EXPECT_NEAR(numberAt(*tap, "duration"), 0.05, 1e-9);
    phone.send(R"({"type":"step","seconds":1})");
    auto prefs = phone.waitFor([](const ChannelMessage& m) {
        auto json = jsonOf(m);
        return json && typeOf(*json) == "prefs" && at(*json, "domain/vantileDisabledArray");
    });
    EXPECT_TRUE(prefs) << "opening the editor stores the lists and the domain is sent";

    // The keyboard keys and the panel's lines.
    phone.send(R"({"type":"command","line":"appearance dark"})");
    auto dark = phone.waitForJson("recorded");
    ASSERT_TRUE(dark);
    EXPECT_EQ(linesOf(*dark), std::vector<std::string>{"appearance dark"});
    auto state = phone.waitFor([](const ChannelMessage& m) {
        auto json = jsonOf(m);
        return json && typeOf(*json) == "state" && at(*json, "appearance")->asString() &&
               *at(*json, "appearance")->asString() == "dark";
    });
    ASSERT_TRUE(state);
    const auto stateJson = jsonOf(*state);
    ASSERT_TRUE(stateJson);
    auto editing = at(*stateJson, "editing");
    ASSERT_TRUE(editing && editing->asBoolean());
    EXPECT_FALSE(*editing->asBoolean()) << "no field is being edited in the card editor";
    phone.send(R"({"type":"key","key":"Escape"})");
    auto noKeyboard = phone.waitForJson("error");
    ASSERT_TRUE(noKeyboard) << "Escape without a field being edited is refused";

    phone.send(R"({"type":"screenshot"})");
    auto shot = phone.waitFor([](const ChannelMessage& m) { return m.kind == MessageKind::Screenshot; });
    ASSERT_TRUE(shot);
    auto picture = decodePNG(shot->payload);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->height, 2436);

    phone.send(R"({"type":"quit"})");
    EXPECT_EQ(phone.exitStatus(), std::optional<int>(0));
}

TEST_F(PhoneSessionTest, TheClockFollowsTheWallUnlessPaused) {
    PhoneUnderTest phone({root.path() / "device", "iphone-8", 1796752800, 7, ""});
    ASSERT_TRUE(phone.waitForJson("hello"));
    phone.send(R"({"type":"hello"})");
    auto before = phone.waitForJson("hello");
    ASSERT_TRUE(before);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    phone.send(R"({"type":"hello"})");
    auto after = phone.waitForJson("hello");
    ASSERT_TRUE(after);
    EXPECT_GT(numberAt(*after, "clock"), numberAt(*before, "clock")) << "the virtual clock did not move";
    EXPECT_EQ(at(*after, "device/faceID")->asBoolean(), std::optional<bool>(false));

    // A finger held down as the browser closes ends as the system's cancel, recorded with its path.
    phone.send(R"({"type":"pause"})");
    phone.pointer("down", 100, 300, 0);
    phone.pointer("move", 100, 250, 16);
    phone.pointer("cancel", 100, 250, 40);
    auto cancelled = phone.waitForJson("recorded");
    ASSERT_TRUE(cancelled);
    EXPECT_EQ(linesOf(*cancelled),
              (std::vector<std::string>{"touch down 100 300", "wait 16ms", "touch move 100 250", "wait 24ms", "touch cancel"}));

    // The panel's respring ends the boot after its line, handing on the clock.
    phone.send(R"({"type":"command","line":"respring"})");
    auto line = phone.waitForJson("recorded");
    ASSERT_TRUE(line);
    EXPECT_EQ(linesOf(*line), std::vector<std::string>{"respring"});
    auto respring = phone.waitForJson("respring");
    ASSERT_TRUE(respring);
    EXPECT_GE(numberAt(*respring, "clock"), numberAt(*after, "clock"));
    EXPECT_EQ(phone.exitStatus(), std::optional<int>(0));
}

}  // namespace
}  // namespace simtest
