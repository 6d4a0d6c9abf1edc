#pragma once

// One boot of the phone under `vantile-sim serve`: the simulated device driven by messages on the channel
// (Channel.h) instead of a scenario file. The server forwards what the browser does; the session plays it through
// the scenario commands (a finger through the touch driver, the wheel as `scroll`, typing as `type`, panel
// changes as their set-up lines), so what was done by hand replays with `vantile-sim run`.
//
// The virtual clock follows the wall clock while the session runs (paused, it moves only by `step`). A gesture
// keeps the page's own timing: each pointer event is delivered at the virtual time its page timestamp says, as
// counted from the touch-down, unless the clock has already passed that.
//
// Out go frames of what changed on the screen, the records as they happen, the state of the device and the
// add-on's domain when they changed, and each finished hand action as scenario lines:
//   {"type":"recorded","time":T,"duration":D,"lines":[...]}
// T is the virtual time the first line starts at, D how long the lines take when played (their waits, a tap's
// press), so the next action's `wait` is its own time minus T + D.
//
// A respring needs a fresh process (the add-on's start-up runs once per process): the session then sends
// {"type":"respring","clock":T} and ends, and the server starts the next boot with that clock.

#include "sim/scenario/Phone.h"
#include "sim/scenario/ScenarioRunner.h"
#include "sim/serve/Channel.h"
#include "sim/serve/GestureRecorder.h"
#include "sim/serve/ScreenFrames.h"

#include "platform/core/Value.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sim::serve {

struct PhoneOptions {
    // The device's file system; the session's output folder for the runner is a temporary folder of its own.
    std::filesystem::path root;
    std::string profile = "iphone-8";
    // The virtual clock at launch (seconds since 1970); nothing keeps what the set-up lines leave.
    std::optional<double> clock;
    // Fixes the random draws (the cards' colours); nothing draws anew.
    std::optional<std::uint64_t> seed;
    // Set-up lines played before the launch, as a scenario replays them after a respring.
    std::string setupLines;
};

// Thrown out of `handle` and `tick` when the phone restarts its interface: the boot is over.
struct RespringNeeded {
    double clock;
};

class PhoneSession {
public:
    // `channel` is a connected stream descriptor the session writes to (and `run` reads from); it stays open.
    PhoneSession(int channel, PhoneOptions options);
    ~PhoneSession();
    PhoneSession(const PhoneSession&) = delete;
    PhoneSession& operator=(const PhoneSession&) = delete;

    // Applies the set-up, launches Settings and lets it settle; nothing on success, else why it failed.
    std::optional<std::string> boot();
    // Reads and plays messages until the server says quit or goes away (0), the stream is damaged (1) or the phone
    // resprings (the respring message, then 0). Boots first.
    int run();

    // ----- one step of the loop at a time, for tests and measurements -----
    // Plays one message; false for quit. Bad input is answered with an error message and changes nothing.
    bool handle(const ChannelMessage& message);
    // Moves the virtual clock by `seconds` of wall time (unless paused), running what falls due.
    void tick(double seconds);
    // Sends what changed: a frame, new records, state and the domain. `force` sends state and domain even when
    // unchanged (a viewer joined).
    void publish(bool force = false);
    // Sends only the changed frame, if any; true when one was sent.
    bool publishFrame();

    scenario::Phone& phone() { return *m_phone; }
    bool isPaused() const { return m_paused; }

private:
    void send(const std::string& json);
    void sendError(const std::string& message);
    void sendRecorded(const RecordedBatch& batch);
    // Plays a scenario line; a StepError is an error reply. True when it ran.
    bool play(const std::string& line);
    void handleJson(const Value& message);
    void handlePointer(const Value& message);
    void handleCommand(const std::string& line);
    void sendHello();
    void publishRecords(bool all);
    void publishState(bool force);
    void publishPrefs(bool force);
    void checkRespring();
    void noteSetting(const std::vector<std::string>& words);

    int m_channel;
    PhoneOptions m_options;
    std::filesystem::path m_out;
    std::unique_ptr<scenario::Phone> m_phone;
    std::unique_ptr<scenario::ScenarioRunner> m_runner;
    ScreenFrames m_frames;
    GestureRecorder m_recorder;
    bool m_paused = false;
    // The gesture's start on the page's clock (ms) and on the virtual clock (s).
    double m_gesturePageStart = 0;
    double m_gestureClockStart = 0;
    std::uint64_t m_renderedTurn = ~0ull;
    std::string m_renderedStatusTime;
    bool m_inputSinceFrame = true;
    std::size_t m_sentEffects = 0, m_sentNotifications = 0, m_sentSpawns = 0, m_sentAirplane = 0;
    std::string m_lastState;
    std::string m_lastPrefs;
    double m_sinceSlowChecks = 0;
    // What the set-up and the panel set, for the state message.
    std::string m_appearance = "light", m_locale = "en", m_timezone = "UTC";
    bool m_wifi = true, m_cellular = true;
};

}  // namespace sim::serve
