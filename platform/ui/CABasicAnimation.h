#pragma once

// A property animation from one scalar value to another over a duration of virtual time. Added to a layer with
// CALayer::addAnimationForKey; the layer's model value is not changed by it (set the model yourself, as on the
// device). When the duration has passed the animation is removed and its delegate gets
// "animationDidStop:finished:" — published as `void animationDidStopFinished(Ref<CABasicAnimation> anim, bool
// finished)` — with finished NO when it was removed or replaced before its end.

#include "platform/core/Object.h"

#include <optional>
#include <string>
#include <string_view>

// UIViewAnimationCurve numbers, also used as the timing of basic animations.
enum UIViewAnimationCurve : long {
    UIViewAnimationCurveEaseInOut = 0,
    UIViewAnimationCurveEaseIn = 1,
    UIViewAnimationCurveEaseOut = 2,
    UIViewAnimationCurveLinear = 3,
};

// The fraction of the change shown at `t` (0…1) of the duration under `curve`; t outside 0…1 is clamped.
double animationCurveProgress(long curve, double t);

class CABasicAnimation : public NSObject {
    VT_OBJECT(CABasicAnimation, NSObject)
public:
    static Ref<CABasicAnimation> animationWithKeyPath(std::string_view keyPath);

    const std::string& keyPath() const { return m_keyPath; }
    void setKeyPath(std::string_view k) { m_keyPath = std::string(k); }
    // Nothing means "the layer's model value when the animation starts".
    std::optional<double> fromValue() const { return m_from; }
    void setFromValue(std::optional<double> v) { m_from = v; }
    // Nothing means "the layer's model value".
    std::optional<double> toValue() const { return m_to; }
    void setToValue(std::optional<double> v) { m_to = v; }
    // Seconds; 0 means the device's default of 0.25.
    double duration() const { return m_duration; }
    void setDuration(double d) { m_duration = d; }
    double effectiveDuration() const { return m_duration > 0 ? m_duration : 0.25; }
    long timingCurve() const { return m_curve; }
    void setTimingCurve(long curve) { m_curve = curve; }
    bool isRemovedOnCompletion() const { return m_removedOnCompletion; }
    void setRemovedOnCompletion(bool r) { m_removedOnCompletion = r; }
    // Weak: a released delegate is not called.
    Ref<NSObject> delegate() const { return m_delegate.lock(); }
    void setDelegate(const id& d) { m_delegate = d; }

private:
    std::string m_keyPath;
    std::optional<double> m_from, m_to;
    double m_duration = 0;
    long m_curve = UIViewAnimationCurveLinear;
    bool m_removedOnCompletion = true;
    Weak<NSObject> m_delegate;
};
