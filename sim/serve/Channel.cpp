#include "sim/serve/Channel.h"

#include <cerrno>
#include <stdexcept>
#include <unistd.h>

namespace sim::serve {

namespace {

void putUint32(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
}

std::uint32_t getUint32(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    return value;
}

bool isKnownKind(char kind) {
    return kind == static_cast<char>(MessageKind::Json) || kind == static_cast<char>(MessageKind::Frame) ||
           kind == static_cast<char>(MessageKind::Screenshot);
}

}  // namespace

std::string encodeMessage(MessageKind kind, std::string_view payload) {
    if (payload.size() + 1 > kMaxChannelMessage) throw std::length_error("channel message over the limit");
    std::string out;
    out.reserve(payload.size() + 5);
    putUint32(out, static_cast<std::uint32_t>(payload.size() + 1));
    out.push_back(static_cast<char>(kind));
    out.append(payload);
    return out;
}

std::string encodeFrame(const FrameRegion& region, std::string_view png) {
    std::string out;
    out.reserve(kFrameHeaderSize + png.size());
    putUint32(out, region.x);
    putUint32(out, region.y);
    putUint32(out, region.width);
    putUint32(out, region.height);
    out.append(png);
    return out;
}

std::optional<FrameRegion> frameRegion(std::string_view payload) {
    if (payload.size() < kFrameHeaderSize) return std::nullopt;
    return FrameRegion{getUint32(payload, 0), getUint32(payload, 4), getUint32(payload, 8), getUint32(payload, 12)};
}

bool MessageReader::feed(std::string_view bytes) {
    if (m_damaged) return false;
    // Consumed bytes are dropped only now and then, so a stream of small messages does not move the buffer each time.
    if (m_offset > 0 && m_offset >= m_buffer.size() / 2) {
        m_buffer.erase(0, m_offset);
        m_offset = 0;
    }
    m_buffer.append(bytes);
    check();
    return !m_damaged;
}

void MessageReader::check() {
    if (m_buffer.size() - m_offset < 5) return;
    const std::uint32_t length = getUint32(m_buffer, m_offset);
    if (length == 0 || length > kMaxChannelMessage || !isKnownKind(m_buffer[m_offset + 4])) m_damaged = true;
}

std::optional<ChannelMessage> MessageReader::next() {
    if (m_damaged || m_buffer.size() - m_offset < 5) return std::nullopt;
    const std::uint32_t length = getUint32(m_buffer, m_offset);
    if (m_buffer.size() - m_offset - 4 < length) return std::nullopt;
    ChannelMessage message;
    message.kind = static_cast<MessageKind>(m_buffer[m_offset + 4]);
    message.payload.assign(m_buffer, m_offset + 5, length - 1);
    m_offset += 4 + length;
    check();
    return message;
}

bool writeMessage(int fd, MessageKind kind, std::string_view payload) {
    const std::string bytes = encodeMessage(kind, payload);
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        written += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace sim::serve
