#include "platform/ui/UITextField.h"

#include "platform/core/Runtime.h"

#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIFont.h"
#include "platform/ui/UIInputSetHostView.h"
#include "platform/ui/UILabel.h"

#include <algorithm>

VT_REGISTER_CLASS(UITextField, [](Class c) {
    platform::runtime::addMethod<&UITextField::selectAll>(c, "selectAll:");
})

using platform::msgSend;

namespace {

// UTF-16 units of a UTF-8 text, and the byte offset where a UTF-16 position falls.
long utf16Length(const std::string& s) {
    long n = 0;
    for (std::size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        std::size_t len = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        n += len == 4 ? 2 : 1;
        i += len;
    }
    return n;
}

std::size_t byteOffset(const std::string& s, long units) {
    long n = 0;
    std::size_t i = 0;
    while (i < s.size() && n < units) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        std::size_t len = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        n += len == 4 ? 2 : 1;
        i += len;
    }
    return std::min(i, s.size());
}

}  // namespace

void UITextField::initWithFrame(CGRect frame) {
    UIControl::initWithFrame(frame);
    m_label = alloc<UILabel>();
    m_label->initWithFrame(bounds());
    m_label->setUserInteractionEnabled(false);
    m_label->setFont(UIFont::systemFontOfSize(17));
    addSubview(m_label);
    refreshLabel();
}

void UITextField::setText(std::string text) {
    m_text = std::move(text);
    m_selection = {utf16Length(m_text), 0};
    refreshLabel();
}

void UITextField::setPlaceholder(std::string text) {
    m_placeholder = std::move(text);
    refreshLabel();
}

Ref<UIColor> UITextField::textColor() const { return m_textColor ? m_textColor : UIColor::labelColor(); }

void UITextField::setTextColor(Ref<UIColor> color) {
    m_textColor = std::move(color);
    refreshLabel();
}

Ref<UIFont> UITextField::font() const { return m_label->font(); }
void UITextField::setFont(Ref<UIFont> font) { m_label->setFont(std::move(font)); }
long UITextField::textAlignment() const { return m_label->textAlignment(); }
void UITextField::setTextAlignment(long alignment) { m_label->setTextAlignment(alignment); }

void UITextField::refreshLabel() {
    if (!m_label) return;
    bool placeholder = m_text.empty();
    m_label->setText(placeholder ? m_placeholder : m_text);
    m_label->setTextColor(placeholder ? UIColor::tertiaryLabelColor() : textColor());
}

void UITextField::setSelectedRange(NSRange range) {
    long n = utf16Length(m_text);
    long location = std::clamp(range.location, 0L, n);
    m_selection = {location, std::clamp(range.length, 0L, n - location)};
}

void UITextField::selectAll(id) {
    if (!isFirstResponder()) return;
    m_selection = {0, utf16Length(m_text)};
}

bool UITextField::canBecomeFirstResponder() const { return isEnabled(); }

bool UITextField::becomeFirstResponder() {
    if (isFirstResponder()) return true;
    auto d = delegate();
    if (d && d->respondsToSelector(sel("textFieldShouldBeginEditing:")) &&
        !msgSend<bool, Ref<UITextField>>(d.get(), sel("textFieldShouldBeginEditing:"), self<UITextField>()))
        return false;
    if (!UIControl::becomeFirstResponder()) return false;
    UIInputSetHostView::showForField(self<UITextField>());
    sendActionsForControlEvents(kEditingDidBegin);
    return true;
}

bool UITextField::resignFirstResponder() {
    if (!isFirstResponder()) return true;
    auto d = delegate();
    if (d && d->respondsToSelector(sel("textFieldShouldEndEditing:")) &&
        !msgSend<bool, Ref<UITextField>>(d.get(), sel("textFieldShouldEndEditing:"), self<UITextField>()))
        return false;
    if (!UIControl::resignFirstResponder()) return false;
    UIInputSetHostView::hideForField(*this);
    sendActionsForControlEvents(kEditingDidEnd);
    return true;
}

void UITextField::insertText(const std::string& text) {
    std::size_t from = byteOffset(m_text, m_selection.location);
    std::size_t to = byteOffset(m_text, m_selection.location + m_selection.length);
    m_text.replace(from, to - from, text);
    m_selection = {m_selection.location + utf16Length(text), 0};
    refreshLabel();
    sendActionsForControlEvents(UIControlEventEditingChanged);
}

void UITextField::pressReturn() {
    auto d = delegate();
    if (d && d->respondsToSelector(sel("textFieldShouldReturn:")))
        msgSend<bool, Ref<UITextField>>(d.get(), sel("textFieldShouldReturn:"), self<UITextField>());
}

void UITextField::endTrackingAt(CGPoint point) {
    UIControl::endTrackingAt(point);
    if (bounds().contains(point)) becomeFirstResponder();
}

void UITextField::layoutSubviews() {
    UIControl::layoutSubviews();
    m_label->setFrame(textRect());
}

CGRect UITextField::textRect() const { return bounds().insetBy(m_borderStyle ? 7 : 0, 0); }
