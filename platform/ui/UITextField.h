#pragma once

// A one-line text field: text, placeholder, colours, alignment, first responder, and a selection that
// "selectAll:" extends over the whole text. A tap makes it first responder (if its delegate lets it begin); while it
// is, the window shows the keyboard with the input accessory view above it (UIInputSetHostView.h). The keys are
// `insertText` and `pressReturn`; a touch elsewhere in the window ends editing.
//
// Delegate methods (optional; F = Ref<UITextField>):
//   "textFieldShouldBeginEditing:"  bool (F)   false keeps the field from becoming first responder
//   "textFieldShouldEndEditing:"    bool (F)
//   "textFieldShouldReturn:"        bool (F)   sent by `pressReturn`

#include "platform/ui/UIControl.h"

#include <string>

class UILabel;
class UIColor;
class UIFont;

// A range of UTF-16 units, as NSRange.
struct NSRange {
    long location = 0;
    long length = 0;
    friend bool operator==(const NSRange&, const NSRange&) = default;
};

class UITextField : public UIControl {
    VT_OBJECT(UITextField, UIControl)
public:
    void initWithFrame(CGRect frame) override;

    const std::string& text() const { return m_text; }
    // Places the caret at the end, as on the device.
    void setText(std::string text);
    const std::string& placeholder() const { return m_placeholder; }
    void setPlaceholder(std::string text);
    Ref<UIColor> textColor() const;
    void setTextColor(Ref<UIColor> color);
    Ref<UIFont> font() const;
    void setFont(Ref<UIFont> font);
    long textAlignment() const;
    void setTextAlignment(long alignment);
    long borderStyle() const { return m_borderStyle; }
    void setBorderStyle(long style) { m_borderStyle = style; }
    long returnKeyType() const { return m_returnKeyType; }
    void setReturnKeyType(long type) { m_returnKeyType = type; }
    // UIKeyboardType numbers; the stand-in keyboard types whatever it is given, the type is kept for the rows
    // and dumps that show which keyboard would come up.
    static constexpr long kKeyboardNumberPad = 4;
    long keyboardType() const { return m_keyboardType; }
    void setKeyboardType(long type) { m_keyboardType = type; }
    // The control events a field sends when it becomes and stops being first responder.
    static constexpr UIControlEvents kEditingDidBegin = 1UL << 16;
    static constexpr UIControlEvents kEditingDidEnd = 1UL << 18;
    long autocorrectionType() const { return m_autocorrectionType; }
    void setAutocorrectionType(long type) { m_autocorrectionType = type; }
    Ref<UIView> inputAccessoryView() const { return m_inputAccessory; }
    void setInputAccessoryView(Ref<UIView> view) { m_inputAccessory = std::move(view); }

    id delegate() const { return m_delegate.lock(); }
    void setDelegate(const id& delegate) { m_delegate = delegate; }

    // The selection in UTF-16 units; a caret is a selection of length 0.
    NSRange selectedRange() const { return m_selection; }
    void setSelectedRange(NSRange range);
    // Published as "selectAll:" (void(id sender)): selects the whole text of a field that is editing.
    void selectAll(id sender);
    bool isEditing() const { return isFirstResponder(); }

    bool canBecomeFirstResponder() const override;
    bool becomeFirstResponder() override;
    bool resignFirstResponder() override;

    // Stand-ins for the keyboard: replace the selection by `text` (editing-changed is sent), and the return key.
    void insertText(const std::string& text);
    void pressReturn();

    void endTrackingAt(CGPoint point) override;
    void layoutSubviews() override;

protected:
    // Where the text goes inside the field.
    virtual CGRect textRect() const;

private:
    void refreshLabel();

    std::string m_text;
    std::string m_placeholder;
    Ref<UILabel> m_label;
    Ref<UIColor> m_textColor;
    long m_borderStyle = 0;
    long m_returnKeyType = 0;
    long m_autocorrectionType = 0;
    long m_keyboardType = 0;
    Ref<UIView> m_inputAccessory;
    Weak<NSObject> m_delegate;
    NSRange m_selection;
};
