#include "platform/ui/UISwitch.h"

#include "platform/core/Runtime.h"

#include "platform/gfx/UIColor.h"
#include "platform/ui/CALayer.h"

VT_REGISTER_CLASS(UISwitch, [](Class c) {
    platform::runtime::addMethod<&UISwitch::isOn>(c, "isOn");
    platform::runtime::addMethod<&UISwitch::setOn>(c, "setOn:");
})

namespace {
constexpr CGFloat kKnobInset = 2;
}

void UISwitch::initWithFrame(CGRect frame) {
    UIControl::initWithFrame({frame.origin, kSize});
    m_track = alloc<UIView>();
    m_track->initWithFrame({{0, 0}, kSize});
    m_track->setUserInteractionEnabled(false);
    m_track->layer()->setCornerRadius(kSize.height / 2);
    m_knob = alloc<UIView>();
    CGFloat d = kSize.height - 2 * kKnobInset;
    m_knob->initWithFrame(CGRectMake(kKnobInset, kKnobInset, d, d));
    m_knob->setUserInteractionEnabled(false);
    m_knob->layer()->setCornerRadius(d / 2);
    addSubview(m_track);
    addSubview(m_knob);
    refreshLook();
}

void UISwitch::setFrame(CGRect frame) { UIControl::setFrame({frame.origin, kSize}); }

void UISwitch::setOnAnimated(bool on, bool animated) {
    if (m_on == on) return;
    m_on = on;
    if (animated) {
        UIView::animateWithDurationAnimations(0.25, [this] { refreshLook(); });
    } else {
        refreshLook();
    }
}

void UISwitch::setOnTintColor(Ref<UIColor> color) {
    m_onTint = std::move(color);
    refreshLook();
}

void UISwitch::setThumbTintColor(Ref<UIColor> color) {
    m_thumbTint = std::move(color);
    refreshLook();
}

void UISwitch::endTrackingAt(CGPoint point) {
    // The value changes before the touch-up actions run, so a touch-up-inside handler reads the new state.
    if (bounds().insetBy(-kTouchSlack, -kTouchSlack).contains(point)) {
        setOnAnimated(!m_on, true);
        sendActionsForControlEvents(UIControlEventValueChanged);
    }
    UIControl::endTrackingAt(point);
}

void UISwitch::stateChanged() {
    refreshLook();
    UIControl::stateChanged();
}

void UISwitch::layoutSubviews() {
    UIControl::layoutSubviews();
    refreshLook();
}

void UISwitch::refreshLook() {
    if (!m_track) return;
    auto on = m_onTint ? m_onTint : UIColor::systemGreenColor();
    // Off: the light grey fill of the system's switches (a dynamic grey in dark mode).
    static Ref<UIColor> off = UIColor::systemGrayColor()->colorWithAlphaComponent(0.24);
    m_track->setBackgroundColor(m_on ? on : off);
    m_knob->setBackgroundColor(m_thumbTint ? m_thumbTint : UIColor::whiteColor());
    CGFloat d = kSize.height - 2 * kKnobInset;
    CGFloat x = m_on ? kSize.width - kKnobInset - d : kKnobInset;
    m_knob->setFrame(CGRectMake(x, kKnobInset, d, d));
    setAlpha(isEnabled() ? 1.0 : 0.5);
}
