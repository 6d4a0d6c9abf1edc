#pragma once

// The on-screen keyboard. While a text field is first responder and in a window, that window shows the keyboard at
// its bottom edge with the field's input accessory view (a toolbar, usually) directly above it, on top of
// everything else, as the device does. When the field stops editing both go away. The keys are drawn, not
// separate views: typing reaches the field through UITextField::insertText and pressReturn.
//
// A touch that begins in the window outside the field being edited, its keyboard and its accessory ends the
// editing (the field is asked to resign, so its delegate may still keep it): UIWindow::touchWillBegin.

#include "platform/ui/UIView.h"

class UITextField;

class UIInputSetHostView : public UIView {
    VT_OBJECT(UIInputSetHostView, UIView)
public:
    static constexpr CGFloat kKeyboardHeight = 216;
    static constexpr CGFloat kZPosition = 10000;

    // Shows the keyboard for `field` (replacing one that is shown). Nothing happens when the field is in no window.
    static void showForField(const Ref<UITextField>& field);
    // Removes the keyboard of `field`; nothing when another field's keyboard is shown or none is.
    static void hideForField(const UITextField& field);
    // The keyboard on screen; null when none is.
    static Ref<UIInputSetHostView> current();

    // The accessory view above the keys; null when the field has none.
    Ref<UIView> accessoryView() const { return m_accessory; }
    // The keys' frame, in the host's coordinates.
    CGRect keyboardFrame() const;
    Ref<UITextField> field() const;

    void layoutSubviews() override;
    bool drawsContent() const override { return true; }
    void drawRect(CGRect rect) override;

private:
    void place();

    Weak<UITextField> m_field;
    Ref<UIView> m_accessory;
};
