#pragma once

// One boot of the served phone: a `vantile-sim phone` process, joined to the server by one end of a socket pair.
// The add-on's start-up runs once per process and its code cannot be unloaded, so every respring (and every change
// of profile) ends the process and the server starts the next one with the same device root, the kept clock and
// the set-up the session changed so far.

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace sim::serve {

struct PhoneLaunch {
    // The program and the words before the options: the simulator itself and "phone".
    std::vector<std::string> command;
    std::filesystem::path root;
    std::string profile;
    // The virtual clock to start at, seconds since 1970.
    double clock = 0;
    std::uint64_t seed = 0;
    // Scenario set-up lines the phone applies before it launches Settings; none on a session's first boot.
    std::optional<std::filesystem::path> setupFile;
};

// How a process ended: `exitCode` when it exited, `signal` when a signal ended it.
struct PhoneExit {
    std::optional<int> exitCode;
    std::optional<int> signal;
    bool cleanExit() const { return exitCode && *exitCode == 0; }
    std::string describe() const;
};

class PhoneChild {
public:
    // The whole argument list the process is started with; the channel is always descriptor 3 in it.
    static std::vector<std::string> arguments(const PhoneLaunch& launch);

    // Starts the process. Throws std::runtime_error when the socket pair or the process cannot be made; a program
    // that cannot be run ends the child with status 127 instead, seen as an early exit.
    explicit PhoneChild(const PhoneLaunch& launch);
    // Kills a process still running and reaps it.
    ~PhoneChild();
    PhoneChild(const PhoneChild&) = delete;
    PhoneChild& operator=(const PhoneChild&) = delete;

    pid_t pid() const { return m_pid; }
    // The server's end of the channel; -1 once released.
    int channel() const { return m_channel; }
    // Hands the server's end to the caller, who closes it from then on.
    int releaseChannel();

    // Waits up to `grace` for the process to end, then kills it; the ending either way. Later calls answer the
    // same ending.
    PhoneExit waitForExit(std::chrono::milliseconds grace);
    // The ending if the process has ended already, without waiting.
    std::optional<PhoneExit> poll();

private:
    pid_t m_pid = -1;
    int m_channel = -1;
    std::optional<PhoneExit> m_exit;
};

}  // namespace sim::serve
