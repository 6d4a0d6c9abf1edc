#include "platform/ui/UIVisualEffectView.h"

#include "platform/core/Runtime.h"

#include "platform/gfx/UIColor.h"
#include "platform/ui/UIBlurEffect.h"

VT_REGISTER_CLASS(UIVisualEffectView)
VT_REGISTER_CLASS(_UIVisualEffectBackdropView)

void UIVisualEffectView::initWithFrame(CGRect frame) {
    UIView::initWithFrame(frame);
    if (m_contentView) return;
    m_material = alloc<_UIVisualEffectBackdropView>();
    m_material->initWithFrame(bounds());
    m_material->setUserInteractionEnabled(false);
    addSubview(m_material);
    m_contentView = alloc<UIView>();
    m_contentView->initWithFrame(bounds());
    addSubview(m_contentView);
    refresh();
}

void UIVisualEffectView::initWithEffect(Ref<UIBlurEffect> effect) {
    m_effect = std::move(effect);
    initWithFrame(CGRectZero);
}

void UIVisualEffectView::setEffect(Ref<UIBlurEffect> effect) {
    m_effect = std::move(effect);
    refresh();
}

void UIVisualEffectView::refresh() {
    if (!m_material) return;
    m_material->setHidden(!m_effect);
    if (m_effect)
        m_material->setBackgroundColor(UIColor::colorWithWhiteAlpha(m_effect->tintWhite(), m_effect->tintAlpha()));
}

void UIVisualEffectView::layoutSubviews() {
    UIView::layoutSubviews();
    m_material->setFrame(bounds());
    m_contentView->setFrame(bounds());
}
