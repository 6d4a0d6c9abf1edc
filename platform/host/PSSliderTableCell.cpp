// PSSliderTableCell (declared in PSTableCell.h with the framework's other rows).
#include "platform/host/PSTableCell.h"

#include "platform/core/Runtime.h"
#include "platform/host/PSSpecifier.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UISlider.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

VT_REGISTER_CLASS_IN(PSSliderTableCell, "Preferences", [](Class c) {
    platform::runtime::addMethod<&PSSliderTableCell::controlObject>(c, "control");
    platform::runtime::addMethod<&PSSliderTableCell::sliderChanged>(c, "sliderChanged:");
})

namespace {

float numberProperty(const PSSpecifier& specifier, std::string_view key, float fallback) {
    if (auto p = specifier.propertyForKey(key); p && p->value())
        if (auto n = p->value()->numberValue()) return static_cast<float>(*n);
    return fallback;
}

// The value as the slider row prints it: whole numbers without decimals, others with two.
std::string sliderText(float value) {
    char buffer[32];
    if (std::nearbyint(value) == value) std::snprintf(buffer, sizeof buffer, "%.0f", static_cast<double>(value));
    else std::snprintf(buffer, sizeof buffer, "%.2f", static_cast<double>(value));
    return buffer;
}

constexpr CGFloat kValueLabelWidth = 44;

// The slider's float as the number stored: its seven significant digits, without the binary tail a widening to
// double shows (0.7f is stored as 0.7, not 0.699999988).
double storedSliderValue(float value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.7g", static_cast<double>(value));
    return std::strtod(buffer, nullptr);
}

}  // namespace

void PSSliderTableCell::initWithStyleReuseIdentifierSpecifier(UITableViewCellStyle style, std::string reuseIdentifier,
                                                              Ref<PSSpecifier> specifier) {
    auto slider = alloc<UISlider>();
    slider->initWithFrame(CGRectMake(0, 0, 100, UISlider::kHeight));
    slider->addTargetActionForControlEvents(self(), sel("sliderChanged:"), UIControlEventValueChanged);
    m_control = slider;
    auto label = alloc<UILabel>();
    label->initWithFrame(CGRectZero);
    label->setTextAlignment(NSTextAlignmentRight);
    label->setHidden(true);
    m_valueLabel = label;
    PSTableCell::initWithStyleReuseIdentifierSpecifier(style, std::move(reuseIdentifier), std::move(specifier));
    contentView()->addSubview(m_control);
    contentView()->addSubview(m_valueLabel);
}

void PSSliderTableCell::refreshCellContentsWithSpecifier(Ref<PSSpecifier> specifier) {
    PSTableCell::refreshCellContentsWithSpecifier(specifier);
    // The slider fills the row; the device's slider rows show no title.
    textLabel()->setText("");
    setAccessoryType(UITableViewCellAccessoryNone);
    setSelectionStyle(UITableViewCellSelectionStyleNone);
    auto slider = cast<UISlider>(m_control);
    if (!specifier || !slider) return;
    slider->setMinimumValue(-std::numeric_limits<float>::max());
    slider->setMaximumValue(numberProperty(*specifier, "max", 1));
    slider->setMinimumValue(numberProperty(*specifier, "min", 0));
    if (auto value = specifier->performGetter().numberValue()) slider->setValue(static_cast<float>(*value));
    else slider->setValue(slider->minimumValue());
    auto label = cast<UILabel>(m_valueLabel);
    label->setHidden(!specifier->boolProperty("showValue"));
    label->setText(sliderText(slider->value()));
    setNeedsLayout();
}

void PSSliderTableCell::sliderChanged(id) {
    auto slider = cast<UISlider>(m_control);
    if (!slider) return;
    cast<UILabel>(m_valueLabel)->setText(sliderText(slider->value()));
    if (m_specifier) m_specifier->performSetterWithValue(Value(storedSliderValue(slider->value())));
}

void PSSliderTableCell::layoutSubviews() {
    PSTableCell::layoutSubviews();
    const CGRect content = contentView()->bounds();
    const bool showValue = !m_valueLabel->isHidden();
    const CGFloat right = showValue ? kValueLabelWidth + 8 : 0;
    const CGFloat width = std::max<CGFloat>(0, content.width() - 2 * kSideMargin - right);
    m_control->setFrame(CGRectMake(kSideMargin, (content.height() - UISlider::kHeight) / 2, width, UISlider::kHeight));
    m_valueLabel->setFrame(CGRectMake(content.width() - kSideMargin - kValueLabelWidth, 0, kValueLabelWidth,
                                      content.height()));
}

