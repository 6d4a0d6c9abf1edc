#pragma once

// Synthetic touches for tests and the simulator, in window coordinates, on the platform clock.
//
// Each call runs the layout pass on the window first, hit-tests the touch-down point, and delivers the sequence:
// to the recognisers of the hit view and its ancestors (hit view's first), and to the hit view through
// "touchesBegan:withEvent:" … unless a recogniser won the touch (then the view gets "touchesCancelled:withEvent:").
// Time is moved with the main run loop (RunLoop::advance), so timers and animations run during a drag.

#include "platform/core/Object.h"
#include "platform/gfx/Geometry.h"
#include "platform/ui/UITouch.h"

#include <optional>
#include <vector>

class UIView;

namespace platform {

class TouchDriver {
public:
    explicit TouchDriver(Ref<UIView> window) : m_window(std::move(window)) {}

    // Touch-down and up at `point`, `fingers` fingers at the same spot, `taps` times 0.1 s apart; each press lasts
    // 0.05 s. Answers the view hit by the first touch-down (null when none).
    Ref<UIView> tap(CGPoint point, long taps = 1, long fingers = 1);

    // Down at path[0], then a move to each further point, evenly over `duration` seconds, then up. The velocity
    // of the last move is `finalVelocity` when given (points per second), else the last step's distance over its
    // time. A path of one point is a press without movement. Answers the hit view.
    Ref<UIView> drag(const std::vector<CGPoint>& path, double duration,
                     std::optional<CGPoint> finalVelocity = std::nullopt);
    // As drag, but the system cancels the touch after the last move instead of lifting it.
    Ref<UIView> dragAndCancel(const std::vector<CGPoint>& path, double duration);

    // Step by step, for tests that look between events. Only one touch sequence at a time: down while one is in
    // progress is a RuntimeError, move/up/cancel without one do nothing.
    Ref<UIView> down(CGPoint point, long fingers = 1);
    void move(CGPoint point, std::optional<CGPoint> velocity = std::nullopt);
    void up();
    void cancel();
    bool isTouching() const { return !m_touches.empty(); }
    // Moves the platform clock (and runs what falls due) by `seconds`.
    void wait(double seconds);

private:
    void deliver(UITouchPhase phase);
    Ref<UIView> m_window;
    UITouchSet m_touches;
    Ref<UIView> m_hitView;
    std::vector<Ref<NSObject>> m_recognizers;  // the recognisers that see the current sequence
    bool m_viewCancelled = false;
    CGPoint m_lastPoint;
    double m_lastMoveTime = 0;
};

}  // namespace platform
