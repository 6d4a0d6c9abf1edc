#pragma once

// A view whose bounds origin is the content offset. Every change of the offset, by code or by a pan, sends
// "scrollViewDidScroll:" to the delegate through platform::msgSend, when the delegate implements it.
//
// Delegate methods (optional; published members must have exactly these signatures):
//   "scrollViewDidScroll:"             void scrollViewDidScroll(Ref<UIScrollView> scrollView)
//   "scrollViewWillBeginDragging:"     void scrollViewWillBeginDragging(Ref<UIScrollView> scrollView)
//   "scrollViewDidEndDragging:willDecelerate:"  void scrollViewDidEndDraggingWillDecelerate(Ref<UIScrollView>, bool)
//
// Panning: a touch that moves more than kPanThreshold points along a scrollable axis starts a drag; the offset
// follows the finger. Unless the scroll view bounces, the offset stays between -adjustedContentInset and the end of
// the content; on release an offset outside that range springs back (one more offset change).

#include "platform/ui/UIView.h"

class UIScrollView : public UIView {
    VT_OBJECT(UIScrollView, UIView)
public:
    static constexpr CGFloat kPanThreshold = 10;

    void initWithFrame(CGRect frame) override;

    CGPoint contentOffset() const { return bounds().origin; }
    void setContentOffset(CGPoint offset);
    void setContentOffsetAnimated(CGPoint offset, bool animated);
    CGSize contentSize() const { return m_contentSize; }
    void setContentSize(CGSize size);
    UIEdgeInsets contentInset() const { return m_contentInset; }
    void setContentInset(UIEdgeInsets inset);
    // The content inset plus what the system adds; the stand-in adds nothing (no safe-area adjustment).
    UIEdgeInsets adjustedContentInset() const { return m_contentInset; }
    UIEdgeInsets scrollIndicatorInsets() const { return m_indicatorInsets; }
    void setScrollIndicatorInsets(UIEdgeInsets inset) { m_indicatorInsets = inset; }
    UIEdgeInsets verticalScrollIndicatorInsets() const { return m_indicatorInsets; }
    void setVerticalScrollIndicatorInsets(UIEdgeInsets inset) { m_indicatorInsets = inset; }
    bool automaticallyAdjustsScrollIndicatorInsets() const { return m_autoIndicatorInsets; }
    void setAutomaticallyAdjustsScrollIndicatorInsets(bool on) { m_autoIndicatorInsets = on; }

    bool isScrollEnabled() const { return m_scrollEnabled; }
    void setScrollEnabled(bool on);
    bool showsVerticalScrollIndicator() const { return m_showsVertical; }
    void setShowsVerticalScrollIndicator(bool on) { m_showsVertical = on; }
    bool showsHorizontalScrollIndicator() const { return m_showsHorizontal; }
    void setShowsHorizontalScrollIndicator(bool on) { m_showsHorizontal = on; }
    bool bounces() const { return m_bounces; }
    void setBounces(bool on) { m_bounces = on; }
    bool alwaysBounceVertical() const { return m_alwaysBounceVertical; }
    void setAlwaysBounceVertical(bool on) { m_alwaysBounceVertical = on; }
    bool alwaysBounceHorizontal() const { return m_alwaysBounceHorizontal; }
    void setAlwaysBounceHorizontal(bool on) { m_alwaysBounceHorizontal = on; }

    // The delegate, held weakly; null when none or released.
    id delegate() const { return m_delegate.lock(); }
    void setDelegate(const id& delegate) { m_delegate = delegate; }

    bool isDragging() const { return m_dragging; }
    // The smallest and largest offsets the content allows (insets included).
    CGPoint minimumContentOffset() const;
    CGPoint maximumContentOffset() const;
    // True when the vertical indicator would show while scrolling (enabled, shown and content taller than view).
    bool showsVerticalIndicatorNow() const;


    void touchesBeganWithEvent(UITouchSet touches, id event) override;
    void touchesMovedWithEvent(UITouchSet touches, id event) override;
    void touchesEndedWithEvent(UITouchSet touches, id event) override;
    void touchesCancelledWithEvent(UITouchSet touches, id event) override;

protected:
    // Called after every offset change, before the delegate hears of it; tables and collections fill in cells.
    virtual void contentOffsetDidChange() {}
    // Subclasses that take a touch for themselves (a reorder handle) answer true; the pan then does not start.
    virtual bool claimsTouchAt(CGPoint point) { return false; }
    // A touch that ended without becoming a drag (a tap) in content coordinates.
    virtual void tapAt(CGPoint point) {}
    // Touches a subclass claimed, in content coordinates.
    virtual void claimedTouchMoved(CGPoint point) {}
    virtual void claimedTouchEnded(CGPoint point) {}
    virtual void claimedTouchCancelled() {}

private:
    CGPoint touchInSelf(const UITouchSet& touches);
    CGPoint clamped(CGPoint offset) const;
    bool canScrollVertically() const;
    bool canScrollHorizontally() const;

    CGSize m_contentSize;
    UIEdgeInsets m_contentInset;
    UIEdgeInsets m_indicatorInsets;
    bool m_autoIndicatorInsets = true;
    bool m_scrollEnabled = true;
    bool m_showsVertical = true;
    bool m_showsHorizontal = true;
    bool m_bounces = true;
    bool m_alwaysBounceVertical = false;
    bool m_alwaysBounceHorizontal = false;
    Weak<NSObject> m_delegate;

    enum class Touch { None, Pending, Dragging, Claimed };
    Touch m_touch = Touch::None;
    bool m_dragging = false;
    CGPoint m_touchStart;       // in the scroll view's frame coordinates (independent of the offset)
    CGPoint m_offsetAtStart;
};
