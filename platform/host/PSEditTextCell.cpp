// PSEditTextCell (declared in PSTableCell.h with the framework's other rows).
#include "platform/host/PSTableCell.h"

#include "platform/core/Runtime.h"
#include "platform/host/PSSpecifier.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UITextField.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>

VT_REGISTER_CLASS_IN(PSEditTextCell, "Preferences", [](Class c) {
    platform::runtime::addMethod<&PSEditTextCell::textFieldObject>(c, "control");
    platform::runtime::addMethod<&PSEditTextCell::textFieldObject>(c, "textField");
    platform::runtime::addMethod<&PSEditTextCell::textFieldEnded>(c, "textFieldEnded:");
    platform::runtime::addMethod<&PSEditTextCell::textFieldShouldReturn>(c, "textFieldShouldReturn:");
})

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
    field->setKeyboardType(specifier->boolProperty("isNumeric") ? UITextField::kKeyboardNumberPad : 0);
    // A row being typed into keeps what is typed; only the stored value of a row at rest is shown.
    if (!field->isEditing()) field->setText(valueText(specifier->performGetter()));
    setNeedsLayout();
}

void PSEditTextCell::textFieldEnded(id) {
    auto field = cast<UITextField>(m_field);
    if (!field || !m_specifier) return;
    const std::string& text = field->text();
    if (m_specifier->boolProperty("isNumeric"))
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

