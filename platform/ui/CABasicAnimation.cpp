#include "platform/ui/CABasicAnimation.h"

#include "platform/core/Runtime.h"

#include <algorithm>

VT_REGISTER_CLASS(CABasicAnimation)

double animationCurveProgress(long curve, double t) {
    t = std::clamp(t, 0.0, 1.0);
    switch (curve) {
    case UIViewAnimationCurveEaseIn:
        return t * t;
    case UIViewAnimationCurveEaseOut:
        return 1 - (1 - t) * (1 - t);
    case UIViewAnimationCurveLinear:
        return t;
    case UIViewAnimationCurveEaseInOut:
    default:
        // Smoothstep: symmetric, slow at both ends, exactly half-way at half the duration.
        return t * t * (3 - 2 * t);
    }
}

Ref<CABasicAnimation> CABasicAnimation::animationWithKeyPath(std::string_view keyPath) {
    auto a = alloc<CABasicAnimation>();
    a->setKeyPath(keyPath);
    return a;
}
