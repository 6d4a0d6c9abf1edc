#pragma once

// One card of an appearance row: a preview image with a check mark over it and a caption below. The chosen card
// shows its check mark and a white border of width 3 around its preview; a tap on a card that is not chosen tells
// the delegate ("selectedOption:", void(Ref<VNTAppearanceOptionView>)) and gives a light haptic. A tap on the
// chosen card does nothing.
//
// Published: "handleTap:", "gestureRecognizer:shouldRecognizeSimultaneouslyWithGestureRecognizer:" (always YES).

#include "platform/ui/UIView.h"

#include <string>

class UIGestureRecognizer;
class UIImage;
class UIImageView;
class UIImpactFeedbackGenerator;
class UILabel;
class UIStackView;
class UITapGestureRecognizer;
class VNTAppearanceCheckView;

class VNTAppearanceOptionView : public UIView {
    VT_OBJECT(VNTAppearanceOptionView, UIView)
public:
    static constexpr CGFloat kBorderWidth = 3;
    static constexpr double kBorderSeconds = 0.1;

    void initWithFrameAppearanceOption(CGRect frame, std::string option);

    const std::string& appearanceOption() const { return m_option; }
    id delegate() const { return m_delegate.lock(); }
    void setDelegate(const id& delegate) { m_delegate = delegate; }

    bool isEnabled() const { return m_enabled; }
    // The check mark follows.
    void setEnabled(bool enabled);
    bool isHighlighted() const { return m_highlighted; }
    // On: the border grows to 3 ("Show Border"); off from 3: it shrinks to 0 ("Hide Border"); otherwise nothing.
    void setHighlighted(bool highlighted);
    // Chosen exactly when `value` equals the card's option.
    void updateViewForAppearance(const std::string& value);

    Ref<UIImage> previewImage() const { return m_previewImage; }
    void setPreviewImage(Ref<UIImage> image);
    Ref<UIImageView> previewImageView() const { return m_previewImageView; }
    Ref<UILabel> label() const { return m_label; }
    Ref<VNTAppearanceCheckView> checkView() const { return m_checkView; }
    // The generator of the last haptic; null before the first.
    Ref<UIImpactFeedbackGenerator> styleHapticFeedback() const { return m_haptic; }

    // The preview above the caption, 5 points apart: what the row's centred stack gives the card.
    CGSize intrinsicContentSize() override;

    void handleTap(id sender);
    bool shouldRecognizeSimultaneously(Ref<UIGestureRecognizer> a, Ref<UIGestureRecognizer> b) { return true; }

private:
    std::string m_option;
    Weak<NSObject> m_delegate;
    bool m_enabled = false;
    bool m_highlighted = false;
    Ref<UIImage> m_previewImage;
    Ref<UIImageView> m_previewImageView;
    Ref<UILabel> m_label;
    Ref<UIStackView> m_stackView;
    Ref<VNTAppearanceCheckView> m_checkView;
    Ref<UITapGestureRecognizer> m_tapGesture;
    Ref<UIImpactFeedbackGenerator> m_haptic;
};
