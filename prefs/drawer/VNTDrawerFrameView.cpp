#include "prefs/drawer/VNTDrawerFrameView.h"

#include "common/Keys.h"
#include "platform/core/HBPreferences.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/UIColor.h"
#include "platform/ui/CAGradientLayer.h"
#include "platform/ui/CALayer.h"
#include "platform/ui/UIImpactFeedbackGenerator.h"
#include "platform/ui/UIPanGestureRecognizer.h"
#include "platform/ui/UITapGestureRecognizer.h"
#include "prefs/drawer/VNTTheme.h"

#include <algorithm>

VT_REGISTER_CLASS(VNTDrawerFrameView, [](Class c) {
    using platform::runtime::addMethod;
    addMethod<&VNTDrawerFrameView::initWithFrame>(c, "initWithFrame:");
    addMethod<&VNTDrawerFrameView::setOpenedAnimated>(c, "setOpened:animated:");
    addMethod<&VNTDrawerFrameView::handleDrag>(c, "handleDrag:");
    addMethod<&VNTDrawerFrameView::handleTap>(c, "handleTap:");
    addMethod<&VNTDrawerFrameView::animationDidStopFinishedContext>(c, "animationDidStop:finished:context:");
    addMethod<&VNTDrawerFrameView::setToggleOnTap>(c, "setToggleOnTap:");
})

namespace {

// The bound flags are declared before the object that binds them, so they outlive it.
vnt::ThemeFlags g_frameThemeFlags;
Ref<HBPreferences> g_framePreferences;
Ref<UIImpactFeedbackGenerator> g_hapticFeedback;

}  // namespace

Ref<UIImpactFeedbackGenerator> VNTDrawerFrameView::hapticFeedback() { return g_hapticFeedback; }

void VNTDrawerFrameView::initWithFrame(CGRect frame) {
    UIView::initWithFrame(frame);
    m_animate = true;
    m_animationDuration = static_cast<float>(kDefaultAnimationDuration);
    m_toggleOnTap = true;

    const CGFloat height = frame.size.height;
    m_handleView = alloc<UIView>();
    m_handleView->initWithFrame(CGRectMake(0, 0, kHandleWidth, height));
    m_handleView->setBackgroundColor(UIColor::clearColor());
    m_handleView->layer()->setZPosition(10);
    addSubview(m_handleView);

    m_pillView = alloc<UIView>();
    m_pillView->initWithFrame(CGRectMake(0, 0, kPillSize.width, kPillSize.height));
    m_pillView->setCenter(CGPointMake(kHandleWidth / 2 - 5, height / 2));
    m_pillView->setClipsToBounds(true);
    m_handleView->addSubview(m_pillView);

    g_framePreferences = alloc<HBPreferences>();
    g_framePreferences->initWithIdentifier(vantile::kDomain);
    g_frameThemeFlags.bind(*g_framePreferences);
    if (const auto theme = g_frameThemeFlags.current())
        m_pillView->layer()->insertSublayerAtIndex(vnt::makeThemeGradient(*theme, m_pillView->bounds()), 0);

    // Both on the handle only: a touch on the drawer's content belongs to its tables and buttons.
    m_dragRecognizer = alloc<UIPanGestureRecognizer>();
    m_dragRecognizer->initWithTargetAction(self(), sel("handleDrag:"));
    m_dragRecognizer->setMinimumNumberOfTouches(1);
    m_dragRecognizer->setMaximumNumberOfTouches(1);
    m_handleView->addGestureRecognizer(m_dragRecognizer);

    m_tapRecognizer = alloc<UITapGestureRecognizer>();
    m_tapRecognizer->initWithTargetAction(self(), sel("handleTap:"));
    m_tapRecognizer->setNumberOfTapsRequired(1);
    m_tapRecognizer->setNumberOfTouchesRequired(1);
    m_handleView->addGestureRecognizer(m_tapRecognizer);

    m_opened = false;
}

void VNTDrawerFrameView::setToggleOnTap(bool toggle) {
    m_toggleOnTap = toggle;
    if (m_tapRecognizer) m_tapRecognizer->setEnabled(toggle);
}

void VNTDrawerFrameView::handleDrag(id sender) {
    auto recognizer = cast<UIPanGestureRecognizer>(sender);
    if (!recognizer) return;
    switch (recognizer->state()) {
    case UIGestureRecognizerStateBegan: dragBegan(); break;
    case UIGestureRecognizerStateChanged: dragChanged(*recognizer); break;
    case UIGestureRecognizerStateEnded: dragEnded(*recognizer); break;
    // A drag the system cancelled, or one that failed, leaves the drawer where it was dragged to; the next tap or
    // drag end snaps it.
    default: break;
    }
}

void VNTDrawerFrameView::dragBegan() {
    m_startPos = center();
    m_verticalAxis = m_closedCenter.x == m_openedCenter.x;
    // On equal coordinates both ends are the opened centre.
    if (m_verticalAxis) {
        const bool closedSmaller = m_closedCenter.y < m_openedCenter.y;
        m_minPos = closedSmaller ? m_closedCenter : m_openedCenter;
        m_maxPos = m_closedCenter.y > m_openedCenter.y ? m_closedCenter : m_openedCenter;
    } else {
        const bool closedSmaller = m_closedCenter.x < m_openedCenter.x;
        m_minPos = closedSmaller ? m_closedCenter : m_openedCenter;
        m_maxPos = m_closedCenter.x > m_openedCenter.x ? m_closedCenter : m_openedCenter;
    }
}

void VNTDrawerFrameView::dragChanged(UIPanGestureRecognizer& recognizer) {
    const Ref<UIView> container = superview();
    const CGPoint t = recognizer.translationInView(container);
    if (m_verticalAxis) {
        const CGFloat wanted = m_startPos.y + t.y;
        const CGFloat y = std::clamp(wanted, m_minPos.y, m_maxPos.y);
        setCenter(CGPointMake(m_startPos.x, y));
        // At the limit the translation is made to read the clamped distance, so a drag back moves at once
        // instead of first undoing what went past the end.
        if (y != wanted) recognizer.setTranslationInView(CGPointMake(0, y - m_startPos.y), container);
    } else {
        const CGFloat wanted = m_startPos.x + t.x;
        const CGFloat x = std::clamp(wanted, m_minPos.x, m_maxPos.x);
        setCenter(CGPointMake(x, m_startPos.y));
        if (x != wanted) recognizer.setTranslationInView(CGPointMake(x - m_startPos.x, 0), container);
    }
}

void VNTDrawerFrameView::dragEnded(UIPanGestureRecognizer& recognizer) {
    const CGPoint velocity = recognizer.velocityInView(superview());
    const CGFloat along = m_verticalAxis ? velocity.y : velocity.x;
    // Only the direction of the last movement counts; at rest the drawer goes to the larger end.
    const CGPoint target = along < 0 ? m_minPos : m_maxPos;
    platform::msgSend<void>(this, sel("setOpened:animated:"), target == m_openedCenter, m_animate);
}

void VNTDrawerFrameView::handleTap(id sender) {
    auto recognizer = cast<UIGestureRecognizer>(sender);
    if (recognizer && recognizer->state() != UIGestureRecognizerStateEnded) return;
    platform::msgSend<void>(this, sel("setOpened:animated:"), !m_opened, m_animate);
}

void VNTDrawerFrameView::setOpenedAnimated(bool opened, bool animated) {
    m_opened = opened;
    if (animated) {
        UIView::beginAnimationsContext(nullptr, nullptr);
        UIView::setAnimationDuration(m_animationDuration);
        UIView::setAnimationCurve(kAnimationCurve);
        UIView::setAnimationDelegate(self());
        UIView::setAnimationDidStopSelector(sel("animationDidStop:finished:context:"));
    }
    setCenter(m_opened ? m_openedCenter : m_closedCenter);
    if (animated) {
        m_dragRecognizer->setEnabled(false);
        m_tapRecognizer->setEnabled(false);
        UIView::commitAnimations();
    } else {
        tellDelegate();
    }
}

void VNTDrawerFrameView::animationDidStopFinishedContext(id, bool, void*) {
    m_dragRecognizer->setEnabled(true);
    m_tapRecognizer->setEnabled(m_toggleOnTap);
    g_hapticFeedback = alloc<UIImpactFeedbackGenerator>();
    g_hapticFeedback->initWithStyle(UIImpactFeedbackStyleLight);
    g_hapticFeedback->impactOccurred();
    tellDelegate();
}

void VNTDrawerFrameView::tellDelegate() {
    auto delegate = m_delegate.lock();
    if (!platform::responds(delegate, "drawerFrameView:didChangeState:")) return;
    platform::msgSend<void>(delegate, sel("drawerFrameView:didChangeState:"), self(), m_opened);
}
