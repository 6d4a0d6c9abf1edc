#pragma once

// A `vantile-sim phone` of the build in a child process, spoken to over a socket pair as the server speaks to it,
// on a device root of its own.

#include "sim/serve/Channel.h"

#include "platform/core/Value.h"

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace simtest {

struct PhoneArguments {
    std::filesystem::path root;
    std::string profile = "iphone-x";
    double clock = 1796752800;  // 2026-12-08 18:00 UTC
    std::uint64_t seed = 7;
    std::string setupLines;
};

class PhoneUnderTest {
public:
    explicit PhoneUnderTest(const PhoneArguments& arguments);
    // Kills a phone still running.
    ~PhoneUnderTest();
    PhoneUnderTest(const PhoneUnderTest&) = delete;
    PhoneUnderTest& operator=(const PhoneUnderTest&) = delete;

    void send(const std::string& json);
    void sendRaw(const std::string& bytes);
    // Reads until a message satisfies `wanted` (answered) or `seconds` pass or the phone closes (nothing).
    std::optional<sim::serve::ChannelMessage> waitFor(const std::function<bool(const sim::serve::ChannelMessage&)>& wanted,
                                                      double seconds = 20);
    // The next JSON message of that type.
    std::optional<Value> waitForJson(const std::string& type, double seconds = 20);
    // Every message read so far, in order.
    const std::vector<sim::serve::ChannelMessage>& received() const { return m_received; }
    // JSON messages of that type read so far.
    std::vector<Value> jsonOfType(const std::string& type) const;
    // The exit status once the phone ends (waiting up to `seconds`); nothing when it did not.
    std::optional<int> exitStatus(double seconds = 10);

    // A pointer event in points at the page's time `t` (ms).
    void pointer(const char* phase, double x, double y, double t);

private:
    int m_socket = -1;
    pid_t m_pid = -1;
    sim::serve::MessageReader m_reader;
    std::vector<sim::serve::ChannelMessage> m_received;
};

// The JSON of a message, when it is a JSON object.
std::optional<Value> jsonOf(const sim::serve::ChannelMessage& message);
std::string typeOf(const Value& json);

// A PNG decoded to 8-bit RGBA rows; nothing for bytes that are not one.
struct DecodedPNG {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgba;
};
std::optional<DecodedPNG> decodePNG(const std::string& bytes);

}  // namespace simtest
