#pragma once

// A scrolling block of wrapped text. The text is laid out at the view's width less the text container insets and
// the line fragment padding, and the content size follows it, so a long text scrolls. An editable text view becomes first responder on a tap and
// takes typed text (insertText) at the end; a text view that is not editable ignores typing.
//
// The delegate is the scroll view's (weak); its text methods (optional; V = Ref<UITextView>):
//   "textViewDidChange:"   void (V)   after typed text changed the text

#include "platform/ui/UIScrollView.h"

#include <string>

class UIColor;
class UIFont;
class UILabel;

class UITextView : public UIScrollView {
    VT_OBJECT(UITextView, UIScrollView)
public:
    // The default inset of the text inside the view, as on the device (8 above and below).
    static constexpr UIEdgeInsets kDefaultTextContainerInset{8, 0, 8, 0};
    // The text's own margin inside the container at each side, as the device's line fragments keep it.
    static constexpr CGFloat kLineFragmentPadding = 5;

    void initWithFrame(CGRect frame) override;

    const std::string& text() const { return m_text; }
    void setText(std::string text);
    Ref<UIFont> font() const;
    void setFont(Ref<UIFont> font);
    // Null means the label colour of the current appearance.
    Ref<UIColor> textColor() const;
    void setTextColor(Ref<UIColor> color);
    long textAlignment() const;
    void setTextAlignment(long alignment);
    UIEdgeInsets textContainerInset() const { return m_textInset; }
    void setTextContainerInset(UIEdgeInsets inset);
    bool isEditable() const { return m_editable; }
    void setEditable(bool on);
    bool isSelectable() const { return m_selectable; }
    void setSelectable(bool on) { m_selectable = on; }

    // The label that draws the text (for the renderer, dumps and tests).
    Ref<UILabel> textLabel() const { return m_label; }

    bool canBecomeFirstResponder() const override;
    // Appends at the end of an editable view that is first responder; otherwise does nothing.
    void insertText(const std::string& text);

    void layoutSubviews() override;

protected:
    // A tap puts an editable view in editing.
    void tapAt(CGPoint point) override;

private:
    void relayoutText();

    std::string m_text;
    Ref<UILabel> m_label;
    UIEdgeInsets m_textInset = kDefaultTextContainerInset;
    bool m_editable = true;
    bool m_selectable = true;
};
