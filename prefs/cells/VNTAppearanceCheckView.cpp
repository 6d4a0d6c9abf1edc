#include "prefs/cells/VNTAppearanceCheckView.h"

#include "platform/core/Runtime.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIImage.h"
#include "platform/ui/UIImageView.h"

VT_REGISTER_CLASS(VNTAppearanceCheckView)

namespace {

Ref<UIImageView> templateImageView(Ref<UIImage> image) {
    auto view = alloc<UIImageView>();
    view->initWithImage(image ? image->imageWithRenderingMode(UIImageRenderingMode::AlwaysTemplate) : nullptr);
    return view;
}

}  // namespace

void VNTAppearanceCheckView::initWithFrame(CGRect frame) {
    UIView::initWithFrame(frame);
    m_circleImageView = templateImageView(UIImage::kitImageNamed(""));
    addSubview(m_circleImageView);
    m_checkmarkImageView = templateImageView(UIImage::kitImageNamed("UITintedCircularButtonCheckmark.png"));
    m_checkmarkImageView->setTintColor(UIColor::whiteColor());
    addSubview(m_checkmarkImageView);
    updateSelectedState();
}

void VNTAppearanceCheckView::setSelected(bool selected) {
    m_selected = selected;
    updateSelectedState();
}

void VNTAppearanceCheckView::updateSelectedState() {
    auto check = m_checkmarkImageView;
    const double alpha = m_selected ? 1 : 0;
    UIView::animateWithDurationAnimations(kFadeSeconds, [check, alpha] { check->setAlpha(alpha); });
}
