#include "platform/ui/UISlider.h"

#include "platform/core/Runtime.h"

#include "platform/gfx/UIColor.h"
#include "platform/ui/CALayer.h"

#include <algorithm>
#include <cmath>

VT_REGISTER_CLASS(UISlider, [](Class c) {
    using platform::runtime::addMethod;
    addMethod<&UISlider::value>(c, "value");
    addMethod<&UISlider::setValue>(c, "setValue:");
    addMethod<&UISlider::minimumValue>(c, "minimumValue");
    addMethod<&UISlider::setMinimumValue>(c, "setMinimumValue:");
    addMethod<&UISlider::maximumValue>(c, "maximumValue");
    addMethod<&UISlider::setMaximumValue>(c, "setMaximumValue:");
    addMethod<&UISlider::setContinuous>(c, "setContinuous:");
})

namespace {
constexpr CGFloat kRadius = UISlider::kThumbSize / 2;
}  // namespace

void UISlider::initWithFrame(CGRect frame) {
    UIControl::initWithFrame(frame);
    auto part = [this](CGFloat radius) {
        auto v = alloc<UIView>();
        v->initWithFrame(CGRectZero);
        v->setUserInteractionEnabled(false);
        v->layer()->setCornerRadius(radius);
        addSubview(v);
        return v;
    };
    m_track = part(kTrackHeight / 2);
    m_fill = part(kTrackHeight / 2);
    m_thumb = part(kRadius);
    // The thumb's hairline edge keeps the white knob visible on a white row, as the device's shadow does.
    m_thumb->layer()->setBorderWidth(0.5);
    m_thumb->layer()->setBorderColor(UIColor::colorWithWhiteAlpha(0, 0.15)->CGColor());
    refreshLook();
}

void UISlider::setValueAnimated(float value, bool animated) {
    if (std::isnan(value)) return;
    const float clamped = std::clamp(value, m_min, m_max);
    if (clamped == m_value) return;
    m_value = clamped;
    if (animated) {
        UIView::animateWithDurationAnimations(0.25, [this] { layoutSubviews(); });
    } else {
        setNeedsLayout();
        layoutSubviews();
    }
}

void UISlider::setMinimumValue(float value) {
    if (std::isnan(value)) return;
    m_min = value;
    m_max = std::max(m_max, value);
    m_value = std::clamp(m_value, m_min, m_max);
    setNeedsLayout();
}

void UISlider::setMaximumValue(float value) {
    if (std::isnan(value)) return;
    m_max = value;
    m_min = std::min(m_min, value);
    m_value = std::clamp(m_value, m_min, m_max);
    setNeedsLayout();
}

void UISlider::setMinimumTrackTintColor(Ref<UIColor> color) {
    m_minTint = std::move(color);
    refreshLook();
}

float UISlider::valueAtPoint(CGPoint point) const {
    const CGFloat span = bounds().width() - 2 * kRadius;
    if (span <= 0 || m_max <= m_min) return m_min;
    const CGFloat fraction = std::clamp<CGFloat>((point.x - kRadius) / span, 0, 1);
    return m_min + static_cast<float>(fraction) * (m_max - m_min);
}

CGPoint UISlider::thumbCenter() const {
    const CGFloat span = std::max<CGFloat>(0, bounds().width() - 2 * kRadius);
    const CGFloat fraction = m_max > m_min ? (m_value - m_min) / (m_max - m_min) : 0;
    return {kRadius + span * fraction, bounds().height() / 2};
}

bool UISlider::beginTrackingAt(CGPoint point) {
    UIControl::beginTrackingAt(point);
    // A touch on the track away from the thumb moves the thumb there first, as the device does.
    const float before = m_value;
    setValue(valueAtPoint(point));
    if (m_continuous && m_value != before) sendActionsForControlEvents(UIControlEventValueChanged);
    m_valueAtTouchDown = before;
    return true;
}

bool UISlider::continueTrackingAt(CGPoint point) {
    UIControl::continueTrackingAt(point);
    const float before = m_value;
    setValue(valueAtPoint(point));
    if (m_continuous && m_value != before) sendActionsForControlEvents(UIControlEventValueChanged);
    return true;
}

void UISlider::endTrackingAt(CGPoint point) {
    const float before = m_value;
    setValue(valueAtPoint(point));
    if (m_continuous ? m_value != before : m_value != m_valueAtTouchDown)
        sendActionsForControlEvents(UIControlEventValueChanged);
    UIControl::endTrackingAt(point);
}

CGSize UISlider::intrinsicContentSize() { return {UIViewNoIntrinsicMetric, kHeight}; }

void UISlider::layoutSubviews() {
    UIControl::layoutSubviews();
    if (!m_track) return;
    const CGRect b = bounds();
    const CGFloat midY = b.height() / 2;
    const CGPoint thumb = thumbCenter();
    m_track->setFrame(CGRectMake(0, midY - kTrackHeight / 2, b.width(), kTrackHeight));
    m_fill->setFrame(CGRectMake(0, midY - kTrackHeight / 2, std::max<CGFloat>(0, thumb.x), kTrackHeight));
    m_thumb->setFrame(CGRectMake(thumb.x - kRadius, midY - kRadius, kThumbSize, kThumbSize));
    // A move under a tinted ancestor sends no tint change; the pass before every frame picks the tint up.
    refreshLook();
}

void UISlider::tintColorDidChange() {
    UIControl::tintColorDidChange();
    refreshLook();
}

void UISlider::stateChanged() {
    refreshLook();
    UIControl::stateChanged();
}

void UISlider::refreshLook() {
    if (!m_track) return;
    Ref<UIColor> fill = m_minTint ? m_minTint : tintColor();
    m_fill->setBackgroundColor(fill ? fill : UIColor::systemBlueColor());
    static Ref<UIColor> track = UIColor::systemGrayColor()->colorWithAlphaComponent(0.3);
    m_track->setBackgroundColor(track);
    m_thumb->setBackgroundColor(UIColor::whiteColor());
    setAlpha(isEnabled() ? 1.0 : 0.5);
}
