#pragma once

// Recognises `numberOfTapsRequired` taps of `numberOfTouchesRequired` fingers each. A tap is a touch-down and
// touch-up whose fingers moved less than 10 points; successive taps must start within 0.35 s of the previous
// touch-up and within 45 points of the first. The recogniser goes straight to Ended (3) at the last touch-up and
// sends its actions then; a touch that moves too far, has the wrong finger count or is cancelled makes it fail.

#include "platform/ui/UIGestureRecognizer.h"

class UITapGestureRecognizer : public UIGestureRecognizer {
    VT_OBJECT(UITapGestureRecognizer, UIGestureRecognizer)
public:
    long numberOfTapsRequired() const { return m_tapsRequired; }
    void setNumberOfTapsRequired(long n) { m_tapsRequired = n < 1 ? 1 : n; }
    long numberOfTouchesRequired() const { return m_touchesRequired; }
    void setNumberOfTouchesRequired(long n) { m_touchesRequired = n < 1 ? 1 : n; }

    void touchesBegan(const UITouchSet& touches) override;
    void touchesMoved(const UITouchSet& touches) override;
    void touchesEnded(const UITouchSet& touches) override;
    void touchesCancelled(const UITouchSet& touches) override;
    void reset() override;

    static constexpr CGFloat kAllowableMovement = 10;
    static constexpr double kMaximumTapInterval = 0.35;

private:
    long m_tapsRequired = 1;
    long m_touchesRequired = 1;
    long m_tapsSeen = 0;
    std::size_t m_maxFingers = 0;
    double m_lastUpTime = 0;
    CGPoint m_firstDown;
    CGPoint m_downLocation;
};
