#pragma once

// The animations in flight, on the platform clock.
//
// Every animation — a property changed inside a UIView animation block or a begin/commit pair, or a
// CABasicAnimation added to a layer — is one record on a layer. The model value is final at once; the
// presentation value moves from the old to the new value over the duration; when the duration has passed the
// record ends on the run loop and its group's completion (block, did-stop selector, CA delegate) runs with
// finished YES. A record replaced by a new animation of the same layer and key, or removed, ends with finished NO;
// a group's completion runs once, when its last record ended, with finished YES only when none was interrupted.
// A group with nothing animatable or with a duration of 0 completes on the next run-loop turn, finished YES.

#include "platform/core/Object.h"
#include "platform/gfx/Geometry.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CALayer;
class CABasicAnimation;
class UIView;

namespace platform {

// What a test reads about one animation in flight.
struct AnimationInfo {
    std::string keyPath;       // "opacity", "position", "bounds", "transform", "backgroundColor", "borderWidth", …
    std::string key;           // the key on the layer (the key path for view animations)
    double duration = 0;       // seconds
    double delay = 0;
    long curve = 0;            // UIViewAnimationCurve
    double beginTime = 0;      // platform clock
    Ref<CALayer> layer;        // the layer it runs on
    Ref<UIView> view;          // the view that layer backs; null for free-standing layers
    std::vector<double> from;  // components (1 for scalars, 2 for points, 4 for rectangles, 6 for transforms)
    std::vector<double> to;
    Ref<CABasicAnimation> basic;  // for CABasicAnimation records
};

class AnimationCenter {
public:
    static AnimationCenter& shared();

    // The animations in flight, in the order they began.
    std::vector<AnimationInfo> inFlight() const;
    std::size_t inFlightCount() const;

    // The presentation value of `keyPath` on `layer`: the animated components at this instant, or nothing when no
    // animation of that key path is in flight on it.
    std::optional<std::vector<double>> presentation(const CALayer* layer, std::string_view keyPath) const;

    // ----- for UIView and CALayer -----
    struct Group;
    // Opens a group for property changes made until the matching endCapture. Nesting is allowed: an inner group
    // is independent (its own duration and completion).
    void beginCapture(double duration, double delay, long curve, std::function<void(bool)> completion);
    // Changes the timing of the innermost open group (the begin/commit form sets it after the begin).
    void updateOpenGroup(double duration, double delay, long curve);
    void setOpenGroupCompletion(std::function<void(bool)> completion);
    // Closes the innermost group; its animations start now (after its delay).
    void endCapture();
    bool isCapturing() const;
    // Records a change of `keyPath` on `layer` from `from` to `to` within the innermost open group. Does nothing
    // when no group is open or the values are equal.
    void recordChange(const Ref<CALayer>& layer, std::string_view keyPath, std::vector<double> from,
                      std::vector<double> to);
    // Adds a CABasicAnimation record (no group; the animation's delegate is the completion).
    void addBasic(const Ref<CALayer>& layer, const Ref<CABasicAnimation>& animation, std::string_view key,
                  std::vector<double> from, std::vector<double> to);
    // Ends the record of `layer` under `key` with finished NO; false when none.
    bool remove(const CALayer* layer, std::string_view key);
    void removeAll(const CALayer* layer);
    std::vector<std::string> keys(const CALayer* layer) const;
    Ref<CABasicAnimation> basicForKey(const CALayer* layer, std::string_view key) const;

    // Ends everything with finished NO at once, without running completions (process reset in tests).
    void reset();

    AnimationCenter(const AnimationCenter&) = delete;
    AnimationCenter& operator=(const AnimationCenter&) = delete;

private:
    AnimationCenter();
    ~AnimationCenter();
    struct State;
    std::unique_ptr<State> m_state;
};

}  // namespace platform
