#include "tests/sim/serve/PhoneUnderTest.h"

#include "platform/harness/JSONValue.h"

#include <png.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

namespace simtest {

using sim::serve::ChannelMessage;
using sim::serve::MessageKind;

PhoneUnderTest::PhoneUnderTest(const PhoneArguments& a) {
    int pair[2];
    if (socketpair(AF_UNIX, SOCK_STREAM, 0, pair) != 0) throw std::runtime_error("socketpair failed");
    std::filesystem::path setup = a.root.string() + ".setup";
    {
        FILE* f = std::fopen(setup.c_str(), "w");
        if (!f) throw std::runtime_error("cannot write the set-up file");
        std::fputs(a.setupLines.c_str(), f);
        std::fclose(f);
    }
    char clock[64];
    std::snprintf(clock, sizeof clock, "%.6f", a.clock);
    std::vector<std::string> args = {std::string(VANTILE_BUILD_DIR) + "/vantile-sim", "phone", "--channel",
                                     std::to_string(pair[1]), "--root", a.root.string(), "--profile", a.profile,
                                     "--clock", clock, "--seed", std::to_string(a.seed), "--setup", setup.string()};
    m_pid = fork();
    if (m_pid == 0) {
        close(pair[0]);
        std::vector<char*> raw;
        for (auto& s : args) raw.push_back(s.data());
        raw.push_back(nullptr);
        execv(raw[0], raw.data());
        _exit(127);
    }
    close(pair[1]);
    m_socket = pair[0];
    signal(SIGPIPE, SIG_IGN);
}

PhoneUnderTest::~PhoneUnderTest() {
    if (m_pid > 0 && !exitStatus(0)) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }
    close(m_socket);
}

void PhoneUnderTest::send(const std::string& json) { sendRaw(sim::serve::encodeMessage(MessageKind::Json, json)); }

void PhoneUnderTest::sendRaw(const std::string& bytes) {
    std::size_t at = 0;
    while (at < bytes.size()) {
        ssize_t n = ::write(m_socket, bytes.data() + at, bytes.size() - at);
        if (n <= 0) return;
        at += static_cast<std::size_t>(n);
    }
}

void PhoneUnderTest::pointer(const char* phase, double x, double y, double t) {
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, R"({"type":"pointer","phase":"%s","x":%.3f,"y":%.3f,"t":%.3f})", phase, x, y, t);
    send(buffer);
}

std::optional<ChannelMessage> PhoneUnderTest::waitFor(const std::function<bool(const ChannelMessage&)>& wanted,
                                                      double seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    char buffer[65536];
    for (;;) {
        while (auto m = m_reader.next()) {
            m_received.push_back(*m);
            if (wanted(*m)) return m;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0) return std::nullopt;
        pollfd p{m_socket, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
        ssize_t n = ::read(m_socket, buffer, sizeof buffer);
        if (n <= 0) return std::nullopt;
        if (!m_reader.feed(std::string_view(buffer, static_cast<std::size_t>(n)))) return std::nullopt;
    }
}

std::optional<Value> PhoneUnderTest::waitForJson(const std::string& type, double seconds) {
    auto m = waitFor([&](const ChannelMessage& m) {
        auto json = jsonOf(m);
        return json && typeOf(*json) == type;
    }, seconds);
    if (!m) return std::nullopt;
    return jsonOf(*m);
}

std::vector<Value> PhoneUnderTest::jsonOfType(const std::string& type) const {
    std::vector<Value> out;
    for (const auto& m : m_received)
        if (auto json = jsonOf(m); json && typeOf(*json) == type) out.push_back(*json);
    return out;
}

std::optional<int> PhoneUnderTest::exitStatus(double seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    for (;;) {
        int status = 0;
        pid_t done = waitpid(m_pid, &status, WNOHANG);
        if (done == m_pid) {
            m_pid = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        if (done < 0) return std::nullopt;
        if (std::chrono::steady_clock::now() >= end) return std::nullopt;
        usleep(10000);
    }
}

std::optional<Value> jsonOf(const ChannelMessage& message) {
    if (message.kind != MessageKind::Json) return std::nullopt;
    auto value = parseJSON(message.payload);
    if (!value || !value->isDictionary()) return std::nullopt;
    return value;
}

std::string typeOf(const Value& json) {
    const Value* type = json.find("type");
    return type && type->asString() ? *type->asString() : "";
}

std::optional<DecodedPNG> decodePNG(const std::string& bytes) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return std::nullopt;
    image.format = PNG_FORMAT_RGBA;
    DecodedPNG out;
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    out.rgba.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, out.rgba.data(), 0, nullptr)) {
        png_image_free(&image);
        return std::nullopt;
    }
    return out;
}

}  // namespace simtest
