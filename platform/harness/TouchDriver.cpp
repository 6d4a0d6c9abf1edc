#include "platform/harness/TouchDriver.h"

#include "platform/ui/UIWindow.h"

#include "platform/core/Clock.h"
#include "platform/core/RunLoop.h"
#include "platform/core/Runtime.h"
#include "platform/ui/UIGestureRecognizer.h"
#include "platform/ui/UIView.h"

#include <algorithm>

namespace platform {

namespace {
std::vector<Ref<UIGestureRecognizer>> asRecognizers(const std::vector<Ref<NSObject>>& list) {
    std::vector<Ref<UIGestureRecognizer>> out;
    for (const auto& o : list) out.push_back(cast<UIGestureRecognizer>(o));
    return out;
}

bool simultaneous(UIGestureRecognizer* a, UIGestureRecognizer* b) {
    SEL s = sel("gestureRecognizer:shouldRecognizeSimultaneouslyWithGestureRecognizer:");
    auto ra = a->self<UIGestureRecognizer>(), rb = b->self<UIGestureRecognizer>();
    if (auto d = a->delegate(); d && d->respondsToSelector(s) && msgSend<bool>(d.get(), s, ra, rb)) return true;
    if (auto d = b->delegate(); d && d->respondsToSelector(s) && msgSend<bool>(d.get(), s, rb, ra)) return true;
    return false;
}

bool isLive(const UIGestureRecognizer& r) {
    long s = r.state();
    return r.isEnabled() && (s == UIGestureRecognizerStatePossible || s == UIGestureRecognizerStateBegan ||
                             s == UIGestureRecognizerStateChanged);
}
}  // namespace

void TouchDriver::wait(double seconds) { RunLoop::main().advance(seconds); }

Ref<UIView> TouchDriver::down(CGPoint point, long fingers) {
    if (!m_touches.empty()) throw RuntimeError("TouchDriver: a touch is already down");
    if (!m_window) return nullptr;
    m_window->layoutIfNeeded();
    m_hitView = m_window->hitTest(point);
    if (auto window = cast<UIWindow>(m_window)) window->touchWillBegin(m_hitView);
    m_viewCancelled = false;
    m_lastPoint = point;
    m_lastMoveTime = Clock::now();
    for (long i = 0; i < std::max(1L, fingers); ++i) {
        auto t = alloc<UITouch>();
        t->setStart(point);
        t->setWindow(m_window);
        t->setView(m_hitView);
        t->setTimestamp(Clock::now());
        t->setPhase(UITouchPhase::Began);
        m_touches.push_back(t);
    }

    m_recognizers.clear();
    for (auto v = m_hitView; v; v = v->superview())
        for (const auto& r : v->gestureRecognizers())
            if (r->isEnabled()) m_recognizers.push_back(r);
    auto recognizers = asRecognizers(m_recognizers);
    for (const auto& r : recognizers) {
        // One recogniser wins the touch: another may begin only if it may recognise alongside every winner.
        r->setArbiter([recognizers](UIGestureRecognizer* me) {
            for (const auto& other : recognizers)
                if (other.get() != me && other->hasRecognized() && !simultaneous(me, other.get())) return false;
            return true;
        });
        r->setTouchedView(m_hitView);
    }
    deliver(UITouchPhase::Began);
    return m_hitView;
}

void TouchDriver::move(CGPoint point, std::optional<CGPoint> velocity) {
    if (m_touches.empty()) return;
    double now = Clock::now();
    double dt = now - m_lastMoveTime;
    CGPoint v = velocity.value_or(dt > 0 ? CGPoint{(point.x - m_lastPoint.x) / dt, (point.y - m_lastPoint.y) / dt}
                                         : CGPoint{0, 0});
    for (const auto& t : m_touches) {
        t->moveTo(point);
        t->setVelocity(v);
        t->setTimestamp(now);
        t->setPhase(UITouchPhase::Moved);
    }
    m_lastPoint = point;
    m_lastMoveTime = now;
    deliver(UITouchPhase::Moved);
}

void TouchDriver::up() {
    if (m_touches.empty()) return;
    for (const auto& t : m_touches) {
        t->setPhase(UITouchPhase::Ended);
        t->setTimestamp(Clock::now());
    }
    deliver(UITouchPhase::Ended);
}

void TouchDriver::cancel() {
    if (m_touches.empty()) return;
    for (const auto& t : m_touches) {
        t->setPhase(UITouchPhase::Cancelled);
        t->setTimestamp(Clock::now());
    }
    deliver(UITouchPhase::Cancelled);
}

void TouchDriver::deliver(UITouchPhase phase) {
    auto recognizers = asRecognizers(m_recognizers);
    UITouchSet touches = m_touches;
    for (const auto& r : recognizers) {
        if (!isLive(*r)) continue;
        switch (phase) {
        case UITouchPhase::Began: r->touchesBegan(touches); break;
        case UITouchPhase::Moved: r->touchesMoved(touches); break;
        case UITouchPhase::Ended: r->touchesEnded(touches); break;
        default: r->touchesCancelled(touches); break;
        }
    }

    // Once one recogniser has won, the others that have not recognised fail, and the view loses the touch.
    bool won = false, cancelsView = false;
    for (const auto& r : recognizers) {
        if (r->hasRecognized() && r->isEnabled()) {
            won = true;
            cancelsView = cancelsView || r->cancelsTouchesInView();
        }
    }
    if (won) {
        for (const auto& r : recognizers)
            if (r->state() == UIGestureRecognizerStatePossible && r->isEnabled() && !r->trackedTouches().empty()) {
                bool together = false;
                for (const auto& w : recognizers)
                    if (w != r && w->hasRecognized() && simultaneous(r.get(), w.get())) together = true;
                if (!together) r->setState(UIGestureRecognizerStateFailed);
            }
    }

    if (m_hitView && !m_viewCancelled) {
        id event;
        if (cancelsView) {
            m_viewCancelled = true;
            msgSend<void>(m_hitView.get(), sel("touchesCancelled:withEvent:"), touches, event);
        } else {
            const char* name = phase == UITouchPhase::Began   ? "touchesBegan:withEvent:"
                               : phase == UITouchPhase::Moved ? "touchesMoved:withEvent:"
                               : phase == UITouchPhase::Ended ? "touchesEnded:withEvent:"
                                                              : "touchesCancelled:withEvent:";
            msgSend<void>(m_hitView.get(), sel(name), touches, event);
        }
    }

    if (phase == UITouchPhase::Ended || phase == UITouchPhase::Cancelled) {
        for (const auto& r : recognizers) {
            long s = r->state();
            // A multi-tap recogniser still waiting for its next tap keeps its count.
            bool waiting = s == UIGestureRecognizerStatePossible && r->trackedTouches().empty();
            if (!waiting) r->reset();
            r->setArbiter(nullptr);
        }
        m_touches.clear();
        m_recognizers.clear();
        m_hitView.reset();
    }
}

Ref<UIView> TouchDriver::tap(CGPoint point, long taps, long fingers) {
    Ref<UIView> first;
    for (long i = 0; i < std::max(1L, taps); ++i) {
        if (i > 0) wait(0.1);
        auto hit = down(point, fingers);
        if (i == 0) first = hit;
        wait(0.05);
        up();
    }
    return first;
}

Ref<UIView> TouchDriver::drag(const std::vector<CGPoint>& path, double duration, std::optional<CGPoint> finalVelocity) {
    if (path.empty()) return nullptr;
    auto hit = down(path.front());
    std::size_t steps = path.size() - 1;
    double dt = duration / static_cast<double>(std::max<std::size_t>(steps, 1));
    if (steps == 0) wait(duration);
    for (std::size_t i = 1; i <= steps; ++i) {
        wait(dt);
        move(path[i], i == steps ? finalVelocity : std::nullopt);
    }
    up();
    return hit;
}

Ref<UIView> TouchDriver::dragAndCancel(const std::vector<CGPoint>& path, double duration) {
    if (path.empty()) return nullptr;
    auto hit = down(path.front());
    std::size_t steps = path.size() - 1;
    double dt = duration / static_cast<double>(std::max<std::size_t>(steps, 1));
    for (std::size_t i = 1; i <= steps; ++i) {
        wait(dt);
        move(path[i]);
    }
    cancel();
    return hit;
}

}  // namespace platform
