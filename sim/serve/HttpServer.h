#pragma once

// The browser's side of `vantile-sim serve`: HTTP and WebSocket on 127.0.0.1 (Boost.Beast), the page's files, and
// the relay between every open tab and the phone process of the current boot.
//
// One thread runs everything: the listening socket, each tab's connection and the phone's channel are served by
// one event loop, so the session's state (the recording, what a new tab is sent) needs no lock. The phone does the
// rendering and the virtual clock in its own process; the server only moves bytes and keeps the session's record.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace sim::serve {

// Request bodies and WebSocket messages from a page are never this long; longer ones are refused.
inline constexpr std::size_t kMaxPageMessage = 64 * 1024;

struct ServeOptions {
    // 0 lets the system choose a free port (port() tells which).
    std::uint16_t port = 0;
    // The page's files; nothing outside this folder is served.
    std::filesystem::path pageFolder;
    // The device's file system, shared by every boot.
    std::filesystem::path root;
    std::string profile;
    // How a phone process is started: the program and the words before its options.
    std::vector<std::string> phoneCommand;
    // Where the set-up handed to each boot is written; the server's own, not the device's.
    std::filesystem::path workFolder;
    // The session's start on the virtual clock; default the wall clock's current minute.
    std::optional<double> startClock;
    // The session's random seed; default a fresh one.
    std::optional<std::uint64_t> seed;
    // Ctrl-C and SIGTERM stop the server (the command line's choice; tests stop it with stop()).
    bool handleSignals = false;
    // How long a phone process has to end after being told to quit.
    double quitGraceSeconds = 2;
};

// The port is in use (or may not be taken by this user).
class PortUnavailable : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class HttpServer {
public:
    // Listens at once, so a taken port is known before anything else starts: PortUnavailable then.
    explicit HttpServer(ServeOptions options);
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    std::uint16_t port() const;
    // Starts the first boot and serves until stop() (or a signal when handled) has ended the phone process.
    void run();
    // Safe from any thread: stops accepting, tells the phone to quit, waits for it (killing it after the grace),
    // and makes run() return.
    void stop();

    class Impl;

private:
    std::unique_ptr<Impl> m_impl;
};

}  // namespace sim::serve
