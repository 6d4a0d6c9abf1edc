#pragma once

// What a person did on the served phone, as a scenario that `vantile-sim run` plays back to the same screen. The
// phone process turns each hand action and panel change into scenario lines; this class puts them in order with
// the waits between them, behind a header that starts a replay where the session started: the profile, the clock,
// the seed of the random draws, the add-on's preferences as they were, and the launch of Settings.
//
// It also knows which of its lines a fresh phone process must apply again before it launches, the way the scenario
// runner replays set-up after a respring, so that a boot of the server and the replay of its recording agree.

#include "platform/core/Value.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sim::serve {

struct RecordingStart {
    std::string device;
    // Seconds since 1970 on the virtual clock; a whole minute, as the scenario's `date` line has no seconds.
    double clock = 0;
    std::uint64_t seed = 0;
};

class Recording {
public:
    explicit Recording(RecordingStart start);

    // The add-on's domain when the session started (a dictionary as the phone sends it). Only the first call
    // counts: later changes are the session's own doing and replay from its lines.
    void setStartPreferences(const Value& domain);
    bool hasStartPreferences() const { return m_preferencesSet; }

    // A batch of lines begun at `time` on the virtual clock, whose own steps (a drag's waits) take `duration`
    // when played. A `wait` for the time since the previous batch ended (or the start) goes first, rounded to
    // 10 ms; none when that rounds to nothing or the batch began earlier. Empty lines are dropped.
    void add(double time, const std::vector<std::string>& lines, double duration = 0);

    // The lines after the header, waits included.
    std::size_t lineCount() const { return m_body.size(); }
    // The last line after the header; "" when there is none.
    std::string lastLine() const { return m_body.empty() ? std::string() : m_body.back(); }
    // The whole scenario, one line each, ending with a newline. With `now` (the session's virtual clock when the
    // recording is taken), a last `wait` brings the replay to that moment, so what was still moving on the screen
    // (an animation, the status bar's minute) has come to rest in the replay too.
    std::string text(std::optional<double> now = std::nullopt) const;
    // The set-up lines recorded so far, in order (appearance, locale, radios, ...), for the next phone process.
    // The profile, clock and seed are not among them: the process is given those directly.
    std::vector<std::string> setUpLines() const;

    const RecordingStart& start() const { return m_start; }

private:
    RecordingStart m_start;
    std::vector<std::string> m_preferences;
    bool m_preferencesSet = false;
    std::vector<std::string> m_body;
    // Where a replay's clock is after the lines so far.
    double m_replayClock;
};

// `pref KEY TYPE VALUE` for one key of the domain; nothing for values the scenario language cannot write (data,
// dates, dictionaries, arrays of anything but strings) and for keys it cannot quote.
std::optional<std::string> preferenceLine(const std::string& key, const Value& value);
// `wait` lines for `seconds` rounded to 10 ms, split where a step would be longer than the language allows; none
// when it rounds to nothing.
std::vector<std::string> waitLines(double seconds);

}  // namespace sim::serve
