#pragma once

// The pipe between `vantile-sim serve` and the phone process of one boot. The phone runs in a child process because
// the add-on's start-up runs once per process and loaded code cannot be unloaded: a respring ends the child and the
// server starts the next one, while the browser stays connected to the server.
//
// A message is a 4-byte little-endian length of what follows, one kind byte, then the payload. JSON messages carry
// input, panel changes, records and state; frames carry a changed region of the screen as PNG.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sim::serve {

enum class MessageKind : char {
    Json = 'J',
    // A changed region of the screen: a FrameRegion header, then the region's PNG.
    Frame = 'F',
    // The whole screen as PNG, answering a screenshot request.
    Screenshot = 'S',
};

struct ChannelMessage {
    MessageKind kind = MessageKind::Json;
    std::string payload;
};

// Where a frame's PNG goes on the screen, in pixels of the full screen.
struct FrameRegion {
    std::uint32_t x = 0;
    std::uint32_t y = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// The longest step a paused clock takes at once, in seconds: the phone plays every frame of it before it answers.
inline constexpr double kLongestStep = 60;

// A frame larger than a 3x screen's uncompressed pixels is not one the phone sends; anything longer is damage.
inline constexpr std::size_t kMaxChannelMessage = 64u << 20;
inline constexpr std::size_t kFrameHeaderSize = 16;

// The bytes of one message; a payload over kMaxChannelMessage is a std::length_error (our own misuse).
std::string encodeMessage(MessageKind kind, std::string_view payload);

// A frame payload: the region's header, then the PNG.
std::string encodeFrame(const FrameRegion& region, std::string_view png);
// The region of a frame payload; nothing when the payload is shorter than the header.
std::optional<FrameRegion> frameRegion(std::string_view payload);

// Cuts messages out of a byte stream that arrives in pieces of any size.
class MessageReader {
public:
    // Appends bytes read from the peer. False once the stream is damaged (a length of zero or over the limit, an
    // unknown kind); the peer is then to be dropped, and every later call is false too.
    bool feed(std::string_view bytes);
    // The next complete message, in order; nothing while the rest has not arrived (or the stream is damaged).
    std::optional<ChannelMessage> next();
    bool isDamaged() const { return m_damaged; }

private:
    void check();

    std::string m_buffer;
    std::size_t m_offset = 0;
    bool m_damaged = false;
};

// Writes a whole message to a blocking descriptor, through short writes and interrupted calls. False when the peer
// has gone (EPIPE) or another error stops it; SIGPIPE must be ignored by the caller's process.
bool writeMessage(int fd, MessageKind kind, std::string_view payload);

}  // namespace sim::serve
