#pragma once

// Recognises a drag. It begins (Began, actions sent) once the tracked fingers' centroid has moved at least 10
// points from where it went down; each later move is Changed; lifting the fingers is Ended, a cancelled touch is
// Cancelled; lifting before it began, or a finger count outside minimum…maximum, is Failed (no actions).
//
// The translation is the centroid's movement since touch-down (so at Began it is the whole movement so far),
// minus what was absorbed by setTranslationInView; the velocity is that of the last move (or the one the touch
// driver asked for), in points per second. Both are measured in window coordinates and turned into the given
// view's coordinate directions (its rotation), not its position.

#include "platform/ui/UIGestureRecognizer.h"

class UIPanGestureRecognizer : public UIGestureRecognizer {
    VT_OBJECT(UIPanGestureRecognizer, UIGestureRecognizer)
public:
    long minimumNumberOfTouches() const { return m_minTouches; }
    void setMinimumNumberOfTouches(long n) { m_minTouches = n < 1 ? 1 : n; }
    long maximumNumberOfTouches() const { return m_maxTouches; }
    void setMaximumNumberOfTouches(long n) { m_maxTouches = n; }

    // (0, 0) when no gesture was tracked.
    CGPoint translationInView(const Ref<UIView>& view) const;
    // Makes the current translation read as `translation` from now on.
    void setTranslationInView(CGPoint translation, const Ref<UIView>& view);
    CGPoint velocityInView(const Ref<UIView>& view) const;

    void touchesBegan(const UITouchSet& touches) override;
    void touchesMoved(const UITouchSet& touches) override;
    void touchesEnded(const UITouchSet& touches) override;
    void touchesCancelled(const UITouchSet& touches) override;
    void reset() override;

    static constexpr CGFloat kHysteresis = 10;

private:
    CGPoint centroid() const;
    CGPoint toViewDirection(CGPoint v, const Ref<UIView>& view) const;
    CGPoint fromViewDirection(CGPoint v, const Ref<UIView>& view) const;

    long m_minTouches = 1;
    long m_maxTouches = 1 << 20;
    CGPoint m_start;        // centroid at touch-down, window coordinates
    CGPoint m_offset;       // subtracted from the raw movement (setTranslation)
    CGPoint m_raw;          // raw movement of the centroid
    CGPoint m_velocity;
};
