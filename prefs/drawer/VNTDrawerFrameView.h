#pragma once

// A view that slides between two resting centres in its superview, dragged or tapped by a handle along its left
// edge: the drawer's frame. A drag moves it along the axis joining the two centres, clamped between them; the
// release snaps it to the end the last movement pointed at (a release at rest goes to the end with the larger
// coordinate); a tap on the handle toggles it. Moves are animated with an old-style animation block, during which
// both gestures are off; the end of the animation gives a light impact and tells the delegate.
//
// Published to the run-time:
//   "initWithFrame:"                         void (CGRect)
//   "setOpened:animated:"                    void (bool, bool)
//   "handleDrag:", "handleTap:"              void (id recogniser)
//   "animationDidStop:finished:context:"     void (id, bool, void*)
//   "setToggleOnTap:"                        void (bool)
// The delegate (kept weakly) hears "drawerFrameView:didChangeState:" as void (id drawer, bool opened) when it
// answers it.
//
// Process-wide objects of this file: the preferences object with the theme flags bound (for the pill's gradient)
// and the generator of the last light impact given at the end of an animation.

#include "platform/ui/UIView.h"

class UIImpactFeedbackGenerator;
class UIPanGestureRecognizer;
class UITapGestureRecognizer;

class VNTDrawerFrameView : public UIView {
    VT_OBJECT(VNTDrawerFrameView, UIView)
public:
    static constexpr CGFloat kHandleWidth = 30;
    static constexpr CGSize kPillSize{8, 50};
    static constexpr double kDefaultAnimationDuration = 0.2;
    // UIViewAnimationCurveEaseOut.
    static constexpr long kAnimationCurve = 2;

    // Handle, pill (with the current theme's gradient) and the two recognisers on the handle; closed, not moved.
    void initWithFrame(CGRect frame) override;

    // Stores the state and moves to its centre: animated, the recognisers are off until the animation stops;
    // not animated, the delegate hears of it at once and nothing else happens.
    virtual void setOpenedAnimated(bool opened, bool animated);
    virtual void handleDrag(id sender);
    virtual void handleTap(id sender);
    // The end of an animated move, finished or interrupted alike: recognisers back (the tap one as toggleOnTap
    // says), a light impact, the delegate's callback.
    virtual void animationDidStopFinishedContext(id animationID, bool finished, void* context);

    CGPoint closedCenter() const { return m_closedCenter; }
    void setClosedCenter(CGPoint center) { m_closedCenter = center; }
    CGPoint openedCenter() const { return m_openedCenter; }
    void setOpenedCenter(CGPoint center) { m_openedCenter = center; }
    bool isOpened() const { return m_opened; }
    bool toggleOnTap() const { return m_toggleOnTap; }
    // Also enables or disables the tap recogniser.
    virtual void setToggleOnTap(bool toggle);
    bool animate() const { return m_animate; }
    void setAnimate(bool animate) { m_animate = animate; }
    float animationDuration() const { return m_animationDuration; }
    void setAnimationDuration(float seconds) { m_animationDuration = seconds; }
    Ref<NSObject> delegate() const { return m_delegate.lock(); }
    void setDelegate(const id& delegate) { m_delegate = delegate; }

    const Ref<UIView>& handleView() const { return m_handleView; }
    const Ref<UIView>& pillView() const { return m_pillView; }
    const Ref<UIPanGestureRecognizer>& dragRecognizer() const { return m_dragRecognizer; }
    const Ref<UITapGestureRecognizer>& tapRecognizer() const { return m_tapRecognizer; }
    // The ends of the drag axis worked out when the current drag began.
    CGPoint minPos() const { return m_minPos; }
    CGPoint maxPos() const { return m_maxPos; }
    bool verticalAxis() const { return m_verticalAxis; }

    // The generator of the last impact given at the end of an animation; null before the first.
    static Ref<UIImpactFeedbackGenerator> hapticFeedback();

private:
    void dragBegan();
    void dragChanged(UIPanGestureRecognizer& recognizer);
    void dragEnded(UIPanGestureRecognizer& recognizer);
    void tellDelegate();

    CGPoint m_closedCenter;
    CGPoint m_openedCenter;
    Ref<UIView> m_handleView;
    Ref<UIPanGestureRecognizer> m_dragRecognizer;
    Ref<UITapGestureRecognizer> m_tapRecognizer;
    CGPoint m_startPos;
    CGPoint m_minPos;
    CGPoint m_maxPos;
    bool m_opened = false;
    bool m_verticalAxis = false;
    bool m_toggleOnTap = true;
    bool m_animate = true;
    float m_animationDuration = static_cast<float>(kDefaultAnimationDuration);
    Ref<UIView> m_pillView;
    Weak<NSObject> m_delegate;
};
