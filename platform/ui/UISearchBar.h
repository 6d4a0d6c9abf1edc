#pragma once

// A search bar holding a search field. The field's rounded background is a separate view whose class is looked up
// by name ("_UISearchBarSearchFieldBackgroundView") when the process has it, so that a replacement of its
// "setCornerRadius:" acts on every search field; the field sends it "setCornerRadius:" (void(CGFloat)) through
// platform::msgSend each time it lays out. Without that class the background is a plain view with a layer radius.

#include "platform/ui/UITextField.h"
#include "platform/ui/UIView.h"

class UISearchTextField : public UITextField {
    VT_OBJECT(UISearchTextField, UITextField)
public:
    static constexpr CGFloat kCornerRadius = 10;

    void initWithFrame(CGRect frame) override;
    // The background view (of the named class when it exists); never null after init.
    Ref<UIView> backgroundView() const { return m_background; }
    void layoutSubviews() override;

protected:
    // Leaves room for the magnifier on the left.
    CGRect textRect() const override;

private:
    Ref<UIView> m_background;
    Ref<UIView> m_magnifier;
};

class UISearchBar : public UIView {
    VT_OBJECT(UISearchBar, UIView)
public:
    static constexpr CGFloat kHeight = 56;

    void initWithFrame(CGRect frame) override;
    Ref<UISearchTextField> searchTextField() const { return m_field; }
    const std::string& text() const { return m_field->text(); }
    void setText(std::string text) { m_field->setText(std::move(text)); }
    const std::string& placeholder() const { return m_field->placeholder(); }
    void setPlaceholder(std::string text) { m_field->setPlaceholder(std::move(text)); }

    // The bar passes first-responder status to its field, as on the device.
    bool canBecomeFirstResponder() const override { return true; }
    bool becomeFirstResponder() override { return m_field->becomeFirstResponder(); }
    bool resignFirstResponder() override { return m_field->resignFirstResponder(); }

    CGSize intrinsicContentSize() override { return {-1, kHeight}; }
    void layoutSubviews() override;

private:
    Ref<UISearchTextField> m_field;
};
