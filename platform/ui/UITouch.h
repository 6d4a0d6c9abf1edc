#pragma once

// One finger on the screen. The touch driver (TouchDriver.h) creates touches and moves them; views and gesture
// recognisers read them. Locations are kept in window coordinates and converted on request.

#include "platform/core/Object.h"
#include "platform/gfx/Geometry.h"

#include <vector>

class UIView;

// UITouchPhase numbers.
enum class UITouchPhase : long { Began = 0, Moved = 1, Stationary = 2, Ended = 3, Cancelled = 4 };

class UITouch : public NSObject {
    VT_OBJECT(UITouch, NSObject)
public:
    // The location in `view`'s coordinates; in window coordinates when `view` is null or is not in the touch's
    // window.
    CGPoint locationInView(const Ref<UIView>& view) const;
    CGPoint previousLocationInView(const Ref<UIView>& view) const;

    UITouchPhase phase() const { return m_phase; }
    // The view hit at touch-down; null when it has been released since.
    Ref<UIView> view() const { return m_view.lock(); }
    // The window (the root view) the touch belongs to; null when released.
    Ref<UIView> window() const { return m_window.lock(); }
    long tapCount() const { return m_tapCount; }
    // Virtual time of the last change (platform clock).
    double timestamp() const { return m_timestamp; }
    // Points per second in window coordinates, estimated from the last move (or as the driver requested).
    CGPoint velocity() const { return m_velocity; }

    // ----- for the touch driver -----
    void setPhase(UITouchPhase phase) { m_phase = phase; }
    void setView(const Ref<UIView>& view) { m_view = view; }
    void setWindow(const Ref<UIView>& window) { m_window = window; }
    void setTapCount(long count) { m_tapCount = count; }
    void setTimestamp(double t) { m_timestamp = t; }
    void setVelocity(CGPoint v) { m_velocity = v; }
    // Moves the touch: the old location becomes the previous one.
    void moveTo(CGPoint windowPoint);
    void setStart(CGPoint windowPoint) { m_location = m_previous = windowPoint; }
    CGPoint windowLocation() const { return m_location; }

private:
    UITouchPhase m_phase = UITouchPhase::Began;
    Weak<UIView> m_view;
    Weak<UIView> m_window;
    CGPoint m_location, m_previous, m_velocity;
    long m_tapCount = 1;
    double m_timestamp = 0;
};

// The touches of one event, in the order the fingers went down.
using UITouchSet = std::vector<Ref<UITouch>>;
