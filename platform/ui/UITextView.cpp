#include "platform/ui/UITextView.h"

#include "platform/core/Runtime.h"

#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIFont.h"
#include "platform/ui/UILabel.h"

#include <algorithm>
#include <cmath>

VT_REGISTER_CLASS(UITextView, [](Class c) {
    using platform::runtime::addMethod;
    addMethod<&UITextView::setEditable>(c, "setEditable:");
    addMethod<&UITextView::isEditable>(c, "isEditable");
})

void UITextView::initWithFrame(CGRect frame) {
    UIScrollView::initWithFrame(frame);
    m_label = alloc<UILabel>();
    m_label->initWithFrame(CGRectZero);
    m_label->setUserInteractionEnabled(false);
    // The device's text views start with the body font at 12 points.
    m_label->setFont(UIFont::systemFontOfSize(12));
    m_label->setNumberOfLines(0);
    m_label->setBackgroundColor(nullptr);
    addSubview(m_label);
    setBackgroundColor(UIColor::systemBackgroundColor());
    relayoutText();
}

void UITextView::setText(std::string text) {
    if (text == m_text) return;
    m_text = std::move(text);
    m_label->setText(m_text);
    relayoutText();
}

Ref<UIFont> UITextView::font() const { return m_label->font(); }

void UITextView::setFont(Ref<UIFont> font) {
    m_label->setFont(std::move(font));
    relayoutText();
}

Ref<UIColor> UITextView::textColor() const { return m_label->textColor(); }
void UITextView::setTextColor(Ref<UIColor> color) { m_label->setTextColor(std::move(color)); }
long UITextView::textAlignment() const { return m_label->textAlignment(); }

void UITextView::setTextAlignment(long alignment) {
    m_label->setTextAlignment(alignment);
    relayoutText();
}

void UITextView::setTextContainerInset(UIEdgeInsets inset) {
    if (inset == m_textInset) return;
    m_textInset = inset;
    relayoutText();
}

void UITextView::setEditable(bool on) {
    m_editable = on;
    if (!on && isFirstResponder()) resignFirstResponder();
}

bool UITextView::canBecomeFirstResponder() const { return m_editable && isUserInteractionEnabled(); }

void UITextView::insertText(const std::string& text) {
    if (!m_editable || !isFirstResponder() || text.empty()) return;
    m_text += text;
    m_label->setText(m_text);
    relayoutText();
    auto d = delegate();
    if (d && d->respondsToSelector(sel("textViewDidChange:")))
        platform::msgSend<void, Ref<UITextView>>(d.get(), sel("textViewDidChange:"), self<UITextView>());
}

void UITextView::tapAt(CGPoint) {
    if (canBecomeFirstResponder()) becomeFirstResponder();
}

void UITextView::layoutSubviews() {
    UIScrollView::layoutSubviews();
    relayoutText();
}

void UITextView::relayoutText() {
    if (!m_label) return;
    // The text wraps at the view's width less the insets; its height, whatever the view's, makes the content size,
    // so a text taller than the view scrolls.
    const CGFloat width =
        std::max<CGFloat>(0, bounds().width() - m_textInset.left - m_textInset.right - 2 * kLineFragmentPadding);
    const CGFloat height = m_text.empty() ? 0 : std::ceil(m_label->sizeThatFits({width, 0}).height);
    m_label->setFrame(CGRectMake(m_textInset.left + kLineFragmentPadding, m_textInset.top, width, height));
    setContentSize({bounds().width(), height + m_textInset.top + m_textInset.bottom});
}
