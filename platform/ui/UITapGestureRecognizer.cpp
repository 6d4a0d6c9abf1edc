#include "platform/ui/UITapGestureRecognizer.h"

#include "platform/core/Runtime.h"

#include "platform/core/Clock.h"

#include <algorithm>
#include <cmath>

VT_REGISTER_CLASS(UITapGestureRecognizer)

namespace {
CGFloat distance(CGPoint a, CGPoint b) { return std::hypot(a.x - b.x, a.y - b.y); }
}  // namespace

void UITapGestureRecognizer::touchesBegan(const UITouchSet& touches) {
    if (state() != UIGestureRecognizerStatePossible) return;
    bool firstFinger = m_touches.empty();
    UIGestureRecognizer::touchesBegan(touches);
    m_maxFingers = std::max(m_maxFingers, m_touches.size());
    if (!firstFinger) return;
    CGPoint here = locationInView(nullptr);
    if (m_tapsSeen > 0) {
        // A further tap of a multi-tap must come soon and near the first one.
        if (platform::Clock::now() - m_lastUpTime > kMaximumTapInterval || distance(here, m_firstDown) > 45) {
            setState(UIGestureRecognizerStateFailed);
            return;
        }
    } else {
        m_firstDown = here;
    }
    m_downLocation = here;
}

void UITapGestureRecognizer::touchesMoved(const UITouchSet& touches) {
    UIGestureRecognizer::touchesMoved(touches);
    if (state() != UIGestureRecognizerStatePossible) return;
    if (distance(locationInView(nullptr), m_downLocation) >= kAllowableMovement)
        setState(UIGestureRecognizerStateFailed);
}

void UITapGestureRecognizer::touchesEnded(const UITouchSet& touches) {
    UIGestureRecognizer::touchesEnded(touches);
    if (state() != UIGestureRecognizerStatePossible) return;
    if (static_cast<long>(m_maxFingers) != numberOfTouchesRequired()) {
        setState(UIGestureRecognizerStateFailed);
        return;
    }
    ++m_tapsSeen;
    if (m_tapsSeen >= numberOfTapsRequired()) {
        setState(UIGestureRecognizerStateEnded);
        return;
    }
    // Wait for the next tap: forget this tap's fingers but keep the count.
    m_lastUpTime = platform::Clock::now();
    m_lastLocation = locationInView(nullptr);
    m_touches.clear();
    m_maxFingers = 0;
}

void UITapGestureRecognizer::touchesCancelled(const UITouchSet& touches) {
    UIGestureRecognizer::touchesCancelled(touches);
    if (state() == UIGestureRecognizerStatePossible) setState(UIGestureRecognizerStateFailed);
}

void UITapGestureRecognizer::reset() {
    UIGestureRecognizer::reset();
    m_tapsSeen = 0;
    m_maxFingers = 0;
    m_lastUpTime = 0;
}
