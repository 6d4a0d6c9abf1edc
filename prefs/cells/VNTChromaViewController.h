#pragma once

// The colour picker's card, presented over the page of the row that opened it: a strip showing the colour with its
// hexadecimal text field, the saturation/brightness square, the hue bar, the alpha bar and "Done". Every change is
// stored at once (the domain's plist file, then the domain itself) and announced, first in process to the colour
// rows, then on the distributed centre under the row's "PostNotification". "Done" only closes the card.
//
// Set-up stores nothing until every control exists and holds the opened colour; then the opened colour is stored
// once, as every later change is. So opening a picker never stores a half-built colour (hue 0, alpha 0).
//
// Published: "updateColor", "updateWithColor:" (ChromaPickerDelegate.h), "dismiss", "pasteHexCode",
// "copyHexCode", and the field's delegate answers
// "textFieldShouldBeginEditing:", "textFieldShouldReturn:", "textFieldShouldEndEditing:" (bool(Ref<UITextField>)).

#include "platform/host/PSSpecifier.h"
#include "platform/ui/UIViewController.h"

#include <vector>

class ChromaAlphaView;
class ChromaHueView;
class ChromaPickerView;
class UIBarButtonItem;
class UIButton;
class UIColor;
class UITextField;

class VNTChromaViewController : public UIViewController {
    VT_OBJECT(VNTChromaViewController, UIViewController)
public:
    static constexpr CGFloat kContainerHeight = 450;
    static constexpr CGFloat kContainerBottomGap = 20;
    static constexpr CGFloat kControlWidth = 230;

    // Keeps the row's properties; nothing else happens until the view loads.
    void initWithProperties(PSSpecifier::Properties properties);
    const PSSpecifier::Properties& properties() const { return m_properties; }

    void viewDidLoad() override;
    void viewDidLayoutSubviews() override;

    // The colour of the controls, stored and announced (see above).
    void updateColor();
    // Sets every control from `color`, then as updateColor. A null colour changes nothing.
    void updateWithColor(Ref<UIColor> color);
    void dismiss();

    // The colour the controls hold now: hue, saturation, brightness and alpha.
    Ref<UIColor> currentColor() const;

    bool textFieldShouldBeginEditing(Ref<UITextField> field);
    bool textFieldShouldReturn(Ref<UITextField> field);
    bool textFieldShouldEndEditing(Ref<UITextField> field);
    // A flexible space, "Paste" and "Copy", the accessory of the field.
    std::vector<Ref<UIBarButtonItem>> hexToolBarButtons();
    void pasteHexCode();
    void copyHexCode();

    Ref<UIView> containerView() const { return m_containerView; }
    Ref<UIView> currentColorView() const { return m_currentColorView; }
    Ref<UITextField> hexField() const { return m_hexField; }
    Ref<ChromaPickerView> pickerView() const { return m_pickerView; }
    Ref<ChromaHueView> hueView() const { return m_hueView; }
    Ref<ChromaAlphaView> alphaView() const { return m_alphaView; }
    Ref<UIButton> doneButton() const { return m_doneButton; }

private:
    void showFieldTextOf(const std::string& stored);

    PSSpecifier::Properties m_properties;
    bool m_building = false;
    Ref<UIView> m_containerView;
    Ref<UIView> m_currentColorView;
    Ref<UITextField> m_hexField;
    Ref<ChromaPickerView> m_pickerView;
    Ref<ChromaHueView> m_hueView;
    Ref<ChromaAlphaView> m_alphaView;
    Ref<UIButton> m_doneButton;
};
