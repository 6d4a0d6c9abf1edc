#pragma once

// A view that shows a blur material behind its content view: the renderer blurs what lies behind the material view
// and lays the effect's translucent tint over it. The effect's style stays readable for tests and dumps.

#include "platform/ui/UIView.h"

class UIBlurEffect;

// The material below an effect view's content: its background is the effect's tint, drawn over the blurred backdrop.
class _UIVisualEffectBackdropView : public UIView {
    VT_OBJECT(_UIVisualEffectBackdropView, UIView)
public:
    CGFloat backdropBlurRadius() const override { return isHidden() ? 0 : 20; }
};

class UIVisualEffectView : public UIView {
    VT_OBJECT(UIVisualEffectView, UIView)
public:
    void initWithEffect(Ref<UIBlurEffect> effect);
    void initWithFrame(CGRect frame) override;

    // Null when the view has no effect (it then shows only its content).
    Ref<UIBlurEffect> effect() const { return m_effect; }
    void setEffect(Ref<UIBlurEffect> effect);
    Ref<UIView> contentView() const { return m_contentView; }
    // The material view, below the content; hidden without an effect.
    Ref<UIView> materialView() const { return m_material; }

    void layoutSubviews() override;

private:
    void refresh();

    Ref<UIBlurEffect> m_effect;
    Ref<UIView> m_contentView;
    Ref<UIView> m_material;
};
