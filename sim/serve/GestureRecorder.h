#pragma once

// Turns what a hand did on the screen into scenario lines that do it again. A short press that hardly moved is a
// tap: `tap "Wi-Fi"` when a text, symbol or image file shown under the finger names one view alone and a tap there
// lands on the same view, else `tap @X,Y`. Anything else (a drag, a flick, a long press, a touch the system
// cancelled) keeps its whole path and timing as `touch down`, `touch move` with `wait` between them, and `touch up`
// or `touch cancel`, so a flick replays with its velocity.

#include "platform/core/Object.h"
#include "platform/gfx/Geometry.h"

#include <optional>
#include <string>
#include <vector>

class UIView;

namespace sim::serve {

// Lines that happened together, at `time` (virtual seconds since 1970, when the first line starts), and how long
// the lines themselves take when played (their waits, a tap's press): the next batch starts `duration` after
// `time` at the earliest.
struct RecordedBatch {
    double time = 0;
    double duration = 0;
    std::vector<std::string> lines;
};

// How long a `tap` presses when played (the touch driver's press).
inline constexpr double kTapPressSeconds = 0.05;
// A press that moved less than this (points) and ended sooner than kLongPressSeconds is a tap: below the scroll
// views' pan threshold nothing else could have taken it.
inline constexpr double kTapSlop = 10;
inline constexpr double kLongPressSeconds = 0.5;

// A word of a scenario line: bare when it needs no quotes, else in double quotes with \" and \\ escaped.
std::string scenarioWord(const std::string& text);
// A number of points as written in lines: at most two decimals, no trailing zeros ("12", "12.5", "-3.25").
std::string pointsText(double value);
// Points rounded to what pointsText writes, so what is played live is what the lines play again.
CGPoint roundedPoint(CGPoint point);

// The target word of a tap at `point` (window coordinates): a unique shown text, symbol or image file of a
// view under the finger whose tap lands on the same view, quoted; else "@X,Y".
std::string tapTarget(const Ref<UIView>& window, CGPoint point);

class GestureRecorder {
public:
    // The finger went down at `point` at virtual `time`; `target` is what a tap there would say (tapTarget).
    // A down while one is held forgets the held one.
    void down(CGPoint point, double time, std::string target);
    // Ignored without a finger down.
    void move(CGPoint point, double time);
    // The finger lifted, or the system cancelled the touch: the lines of the whole gesture; nothing without a
    // finger down.
    std::optional<RecordedBatch> up(double time);
    std::optional<RecordedBatch> cancel(double time);
    bool isTouching() const { return m_touching; }

private:
    struct Event {
        CGPoint point;
        double time;
    };
    std::optional<RecordedBatch> finish(double time, bool cancelled);

    bool m_touching = false;
    std::string m_target;
    std::vector<Event> m_events;
};

}  // namespace sim::serve
