#include "platform/host/PSTableCell.h"

#include "platform/core/Runtime.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIImage.h"
#include "platform/host/PSListItemsController.h"
#include "platform/host/PSSpecifier.h"
#include "platform/ui/CALayer.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UISegmentedControl.h"
#include "platform/ui/UISlider.h"
#include "platform/ui/UISwitch.h"
#include "platform/ui/UITextField.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>

VT_REGISTER_CLASS_IN(PSTableCell, "Preferences", [](Class c) {
    using platform::runtime::addMethod;
    addMethod<&PSTableCell::initWithStyleReuseIdentifierSpecifier>(c, "initWithStyle:reuseIdentifier:specifier:");
    addMethod<&PSTableCell::refreshCellContentsWithSpecifier>(c, "refreshCellContentsWithSpecifier:");
})

VT_REGISTER_CLASS_IN(PSSwitchTableCell, "Preferences", [](Class c) {
    platform::runtime::addMethod<&PSSwitchTableCell::controlObject>(c, "control");
    platform::runtime::addMethod<&PSSwitchTableCell::switchChanged>(c, "switchChanged:");
})

VT_REGISTER_CLASS_IN(PSSliderTableCell, "Preferences", [](Class c) {
    platform::runtime::addMethod<&PSSliderTableCell::controlObject>(c, "control");
    platform::runtime::addMethod<&PSSliderTableCell::sliderChanged>(c, "sliderChanged:");
})

VT_REGISTER_CLASS_IN(PSEditTextCell, "Preferences", [](Class c) {
    platform::runtime::addMethod<&PSEditTextCell::textFieldObject>(c, "control");
    platform::runtime::addMethod<&PSEditTextCell::textFieldObject>(c, "textField");
    platform::runtime::addMethod<&PSEditTextCell::textFieldEnded>(c, "textFieldEnded:");
    platform::runtime::addMethod<&PSEditTextCell::textFieldShouldReturn>(c, "textFieldShouldReturn:");
})

VT_REGISTER_CLASS_IN(PSSegmentTableCell, "Preferences", [](Class c) {
    platform::runtime::addMethod<&PSSegmentTableCell::controlObject>(c, "control");
    platform::runtime::addMethod<&PSSegmentTableCell::segmentChanged>(c, "segmentChanged:");
})

namespace {

bool opensPage(const PSSpecifier& s) {
    return s.detailControllerClass() || s.cellType() == PSSpecifier::PSLinkCell ||
           s.cellType() == PSSpecifier::PSLinkListCell;
}

}  // namespace

void PSTableCell::initWithStyleReuseIdentifierSpecifier(UITableViewCellStyle style, std::string reuseIdentifier,
                                                        Ref<PSSpecifier> specifier) {
    initWithStyleReuseIdentifier(style, std::move(reuseIdentifier));
    m_specifier = std::move(specifier);
    if (m_specifier) platform::msgSend<void>(this, sel("refreshCellContentsWithSpecifier:"), m_specifier);
}

void PSTableCell::refreshCellContentsWithSpecifier(Ref<PSSpecifier> specifier) {
    m_specifier = specifier;
    if (!specifier) return;
    textLabel()->setText(specifier->name());
    Ref<UIImage> icon;
    if (auto property = specifier->propertyForKey("iconImage")) icon = property->object<UIImage>();
    // The image view is only made for rows that have had an icon, so rows without one keep their text at the margin.
    if (icon || m_iconShown) imageView()->setImage(icon);
    m_iconShown = m_iconShown || icon;
    if (specifier->cellType() == PSSpecifier::PSTitleValueCell && detailTextLabel()) {
        const Value value = specifier->performGetter();
        if (const std::string* text = value.asString()) detailTextLabel()->setText(*text);
    }
    // A link list shows the title of the stored choice; nothing when the stored value is none of its values.
    if (specifier->cellType() == PSSpecifier::PSLinkListCell && detailTextLabel())
        detailTextLabel()->setText(PSListItemsController::titleForStoredValue(*specifier).value_or(""));
    setAccessoryType(opensPage(*specifier) ? UITableViewCellAccessoryDisclosureIndicator
                                           : UITableViewCellAccessoryNone);
    setSelectionStyle(opensPage(*specifier) || specifier->cellType() == PSSpecifier::PSButtonCell
                          ? UITableViewCellSelectionStyleDefault
                          : UITableViewCellSelectionStyleNone);
}

void PSTableCell::setGroupInset(CGFloat margin, bool firstInGroup, bool lastInGroup) {
    if (margin == m_margin && firstInGroup == m_first && lastInGroup == m_last) return;
    m_margin = margin;
    m_first = firstInGroup;
    m_last = lastInGroup;
    setNeedsLayout();
}

CGRect PSTableCell::contentFrame() const {
    // Moved in before the cell lays its labels out inside it, so a right-aligned value stays on the card.
    CGRect content = UITableViewCell::contentFrame();
    if (m_margin <= 0) return content;
    content.origin.x += m_margin;
    content.size.width = std::max<CGFloat>(0, content.size.width - 2 * m_margin);
    return content;
}

void PSTableCell::layoutSubviews() {
    UITableViewCell::layoutSubviews();
    auto separator = separatorView();
    if (m_margin <= 0) {
        if (backgroundView()) backgroundView()->setFrame(bounds());
        if (separator) separator->setHidden(separatorHidden());
        return;
    }
    // Inset rows: a rounded card behind the content, the content and accessories moved in by the margin.
    if (!backgroundView()) {
        auto card = alloc<UIView>();
        card->initWithFrame(bounds());
        card->setBackgroundColor(UIColor::secondarySystemGroupedBackgroundColor());
        card->setUserInteractionEnabled(false);
        setBackgroundView(card);
        setBackgroundColor(UIColor::clearColor());
    }
    const CGRect b = bounds();
    backgroundView()->setFrame(CGRectMake(m_margin, 0, b.width() - 2 * m_margin, b.height()));
    auto layer = backgroundView()->layer();
    const bool rounded = m_first || m_last;
    layer->setCornerRadius(rounded ? kCornerRadius : 0);
    layer->setMasksToBounds(rounded);
    unsigned long corners = 0;
    if (m_first) corners |= kCALayerMinXMinYCorner | kCALayerMaxXMinYCorner;
    if (m_last) corners |= kCALayerMinXMaxYCorner | kCALayerMaxXMaxYCorner;
    if (rounded) layer->setMaskedCorners(corners);
    // The hairline stays on the card and the card's last row has none, its rounded edge closes the group.
    if (separator) {
        CGRect line = separator->frame();
        line.origin.x += m_margin;
        line.size.width = std::max<CGFloat>(0, b.width() - m_margin - line.origin.x);
        separator->setFrame(line);
        separator->setHidden(separatorHidden() || m_last);
    }
    for (const auto& accessory : {accessoryView(), accessoryTypeView()}) {
        if (!accessory || accessory->superview().get() != this) continue;
        CGRect f = accessory->frame();
        f.origin.x -= m_margin;
        accessory->setFrame(f);
    }
}

void PSSwitchTableCell::initWithStyleReuseIdentifierSpecifier(UITableViewCellStyle style, std::string reuseIdentifier,
                                                              Ref<PSSpecifier> specifier) {
    auto toggle = alloc<UISwitch>();
    toggle->initWithFrame(CGRectZero);
    toggle->addTargetActionForControlEvents(self(), sel("switchChanged:"), UIControlEventValueChanged);
    m_control = toggle;
    PSTableCell::initWithStyleReuseIdentifierSpecifier(style, std::move(reuseIdentifier), std::move(specifier));
    setAccessoryView(m_control);
}

void PSSwitchTableCell::refreshCellContentsWithSpecifier(Ref<PSSpecifier> specifier) {
    PSTableCell::refreshCellContentsWithSpecifier(specifier);
    setAccessoryType(UITableViewCellAccessoryNone);
    setSelectionStyle(UITableViewCellSelectionStyleNone);
    if (!specifier) return;
    const Value value = specifier->performGetter();
    cast<UISwitch>(m_control)->setOn(value.numberValue().value_or(0) != 0);
}

void PSSwitchTableCell::switchChanged(id sender) {
    auto toggle = cast<UISwitch>(m_control);
    if (m_specifier && toggle) m_specifier->performSetterWithValue(Value(toggle->isOn()));
}

// ----- slider -----

namespace {

float numberProperty(const PSSpecifier& specifier, std::string_view key, float fallback) {
    if (auto p = specifier.propertyForKey(key); p && p->value())
        if (auto n = p->value()->numberValue()) return static_cast<float>(*n);
    return fallback;
}

bool boolProperty(const PSSpecifier& specifier, std::string_view key) {
    if (auto p = specifier.propertyForKey(key); p && p->value())
        if (auto n = p->value()->numberValue()) return *n != 0;
    return false;
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
    label->setHidden(!boolProperty(*specifier, "showValue"));
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

// ----- edit text -----

namespace {

constexpr CGFloat kFieldGap = 16;
// The field starts at least this far in, so short titles line their fields up as the device does.
constexpr CGFloat kMinimumFieldX = 120;

std::string valueText(const Value& value) {
    if (const std::string* s = value.asString()) return *s;
    if (auto i = value.asInteger()) return std::to_string(*i);
    if (auto r = value.asReal()) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%g", *r);
        return buffer;
    }
    return {};
}

// A whole number or decimal written plainly; nothing otherwise.
std::optional<Value> numberFromText(const std::string& text) {
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    const long long whole = std::strtoll(text.c_str(), &end, 10);
    if (end && *end == '\0') return Value(whole);
    const double real = std::strtod(text.c_str(), &end);
    if (end && *end == '\0' && std::isfinite(real)) return Value(real);
    return std::nullopt;
}

}  // namespace

void PSEditTextCell::initWithStyleReuseIdentifierSpecifier(UITableViewCellStyle style, std::string reuseIdentifier,
                                                           Ref<PSSpecifier> specifier) {
    auto field = alloc<UITextField>();
    field->initWithFrame(CGRectMake(0, 0, 100, 30));
    field->setDelegate(self());
    field->addTargetActionForControlEvents(self(), sel("textFieldEnded:"), UITextField::kEditingDidEnd);
    m_field = field;
    PSTableCell::initWithStyleReuseIdentifierSpecifier(style, std::move(reuseIdentifier), std::move(specifier));
    contentView()->addSubview(m_field);
}

void PSEditTextCell::refreshCellContentsWithSpecifier(Ref<PSSpecifier> specifier) {
    PSTableCell::refreshCellContentsWithSpecifier(specifier);
    setAccessoryType(UITableViewCellAccessoryNone);
    setSelectionStyle(UITableViewCellSelectionStyleNone);
    auto field = cast<UITextField>(m_field);
    if (!specifier || !field) return;
    field->setPlaceholder(specifier->stringProperty("placeholder").value_or(""));
    field->setKeyboardType(boolProperty(*specifier, "isNumeric") ? UITextField::kKeyboardNumberPad : 0);
    // A row being typed into keeps what is typed; only the stored value of a row at rest is shown.
    if (!field->isEditing()) field->setText(valueText(specifier->performGetter()));
    setNeedsLayout();
}

void PSEditTextCell::textFieldEnded(id) {
    auto field = cast<UITextField>(m_field);
    if (!field || !m_specifier) return;
    const std::string& text = field->text();
    if (boolProperty(*m_specifier, "isNumeric"))
        if (auto number = numberFromText(text)) {
            m_specifier->performSetterWithValue(*number);
            return;
        }
    m_specifier->performSetterWithValue(Value(text));
}

bool PSEditTextCell::textFieldShouldReturn(Ref<UITextField> field) {
    // Leaving the field stores the text (the editing-ended action), as return does on the device.
    if (field) field->resignFirstResponder();
    return false;
}

void PSEditTextCell::layoutSubviews() {
    PSTableCell::layoutSubviews();
    const CGRect content = contentView()->bounds();
    CGFloat x = kSideMargin;
    // The title label spans the row; the field starts after the title's text, not after the label.
    auto title = textLabel();
    if (!title->text().empty()) {
        const CGFloat titleEnd = title->frame().minX() + title->intrinsicContentSize().width;
        x = std::max(kMinimumFieldX, titleEnd + kFieldGap);
        title->setFrame(CGRectMake(title->frame().minX(), title->frame().minY(),
                                   std::max<CGFloat>(0, x - kFieldGap - title->frame().minX()), title->frame().height()));
    }
    m_field->setFrame(CGRectMake(x, 0, std::max<CGFloat>(0, content.width() - x - kSideMargin), content.height()));
}

// ----- segment -----

namespace {

// A copy: properties are handed out by value.
std::optional<Value::Array> arrayProperty(const PSSpecifier& specifier, std::string_view key) {
    if (auto p = specifier.propertyForKey(key); p && p->value())
        if (const auto* array = p->value()->asArray()) return *array;
    return std::nullopt;
}

}  // namespace

void PSSegmentTableCell::initWithStyleReuseIdentifierSpecifier(UITableViewCellStyle style,
                                                               std::string reuseIdentifier,
                                                               Ref<PSSpecifier> specifier) {
    auto control = alloc<UISegmentedControl>();
    control->initWithItems({});
    control->addTargetActionForControlEvents(self(), sel("segmentChanged:"), UIControlEventValueChanged);
    m_control = control;
    PSTableCell::initWithStyleReuseIdentifierSpecifier(style, std::move(reuseIdentifier), std::move(specifier));
    contentView()->addSubview(m_control);
}

void PSSegmentTableCell::refreshCellContentsWithSpecifier(Ref<PSSpecifier> specifier) {
    PSTableCell::refreshCellContentsWithSpecifier(specifier);
    textLabel()->setText("");
    setAccessoryType(UITableViewCellAccessoryNone);
    setSelectionStyle(UITableViewCellSelectionStyleNone);
    auto control = cast<UISegmentedControl>(m_control);
    if (!specifier || !control) return;
    control->removeAllSegments();
    if (auto titles = arrayProperty(*specifier, "validTitles"))
        for (const Value& title : *titles)
            control->insertSegmentWithTitleAtIndexAnimated(title.asString() ? *title.asString() : std::string(),
                                                           control->numberOfSegments(), false);
    long selected = UISegmentedControl::kNoSegment;
    const Value stored = specifier->performGetter();
    if (auto values = arrayProperty(*specifier, "validValues"))
        for (std::size_t i = 0; i < values->size(); ++i)
            if ((*values)[i] == stored || ((*values)[i].numberValue() && stored.numberValue() &&
                                           *(*values)[i].numberValue() == *stored.numberValue())) {
                selected = static_cast<long>(i);
                break;
            }
    control->setSelectedSegmentIndex(selected);
    setNeedsLayout();
}

void PSSegmentTableCell::segmentChanged(id) {
    auto control = cast<UISegmentedControl>(m_control);
    if (!control || !m_specifier) return;
    const auto values = arrayProperty(*m_specifier, "validValues");
    const long index = control->selectedSegmentIndex();
    if (!values || index < 0 || static_cast<std::size_t>(index) >= values->size()) return;
    m_specifier->performSetterWithValue((*values)[static_cast<std::size_t>(index)]);
}

void PSSegmentTableCell::layoutSubviews() {
    PSTableCell::layoutSubviews();
    const CGRect content = contentView()->bounds();
    m_control->setFrame(CGRectMake(kSideMargin, (content.height() - UISegmentedControl::kHeight) / 2,
                                   std::max<CGFloat>(0, content.width() - 2 * kSideMargin),
                                   UISegmentedControl::kHeight));
}
