#include "prefs/cells/VNTAppearanceOptionView.h"

#include "prefs/cells/VNTAppearanceCheckView.h"

#include "platform/core/Runtime.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIFont.h"
#include "platform/gfx/UIImage.h"
#include "platform/ui/CABasicAnimation.h"
#include "platform/ui/CALayer.h"
#include "platform/ui/NSLayoutAnchor.h"
#include "platform/ui/NSLayoutConstraint.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UIImpactFeedbackGenerator.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIStackView.h"
#include "platform/ui/UITapGestureRecognizer.h"

#include <algorithm>

VT_REGISTER_CLASS(VNTAppearanceOptionView, [](Class c) {
    using platform::runtime::addMethod;
    addMethod<&VNTAppearanceOptionView::handleTap>(c, "handleTap:");
    addMethod<&VNTAppearanceOptionView::shouldRecognizeSimultaneously>(
        c, "gestureRecognizer:shouldRecognizeSimultaneouslyWithGestureRecognizer:");
})

namespace {

constexpr long kOptionTextAlignmentCenter = 1;
constexpr long kContentModeScaleAspectFit = 1;

void animateBorder(CALayer& layer, double from, double to, std::string_view key) {
    auto animation = CABasicAnimation::animationWithKeyPath("borderWidth");
    animation->setFromValue(from);
    animation->setToValue(to);
    animation->setDuration(VNTAppearanceOptionView::kBorderSeconds);
    layer.addAnimationForKey(animation, key);
    layer.setBorderWidth(to);
}

}  // namespace

void VNTAppearanceOptionView::initWithFrameAppearanceOption(CGRect frame, std::string option) {
    UIView::initWithFrame(frame);
    m_option = std::move(option);

    m_previewImageView = alloc<UIImageView>();
    m_previewImageView->initWithFrame(CGRectZero);
    m_previewImageView->setClipsToBounds(true);
    m_previewImageView->setContentMode(kContentModeScaleAspectFit);
    m_previewImageView->layer()->setCornerRadius(8);
    m_previewImageView->layer()->setBorderColor(UIColor::whiteColor()->CGColor());
    m_previewImageView->layer()->setBorderWidth(0);

    m_checkView = alloc<VNTAppearanceCheckView>();
    m_checkView->initWithFrame(CGRectMake(0, 0, VNTAppearanceCheckView::kSize, VNTAppearanceCheckView::kSize));
    m_checkView->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_previewImageView->addSubview(m_checkView);
    NSLayoutConstraint::activateConstraints({
        m_checkView->widthAnchor().constraintEqualToConstant(VNTAppearanceCheckView::kSize),
        m_checkView->heightAnchor().constraintEqualToConstant(VNTAppearanceCheckView::kSize),
        m_checkView->centerXAnchor().constraintEqualToAnchor(m_previewImageView->centerXAnchor()),
        m_checkView->centerYAnchor().constraintEqualToAnchor(m_previewImageView->centerYAnchor()),
    });

    m_label = alloc<UILabel>();
    m_label->initWithFrame(CGRectZero);
    m_label->setFont(UIFont::systemFontOfSizeWeight(14, UIFontWeightLight));
    m_label->setTextAlignment(kOptionTextAlignmentCenter);

    m_stackView = alloc<UIStackView>();
    m_stackView->initWithArrangedSubviews({m_previewImageView, m_label});
    m_stackView->setAxis(UILayoutConstraintAxisVertical);
    m_stackView->setAlignment(UIStackViewAlignmentCenter);
    m_stackView->setDistribution(UIStackViewDistributionEqualSpacing);
    m_stackView->setSpacing(5);
    m_stackView->setTranslatesAutoresizingMaskIntoConstraints(false);
    addSubview(m_stackView);
    NSLayoutConstraint::activateConstraints({
        m_stackView->topAnchor().constraintEqualToAnchor(topAnchor()),
        m_stackView->leadingAnchor().constraintEqualToAnchor(leadingAnchor()),
        m_stackView->trailingAnchor().constraintEqualToAnchor(trailingAnchor()),
        m_stackView->bottomAnchor().constraintEqualToAnchor(bottomAnchor()),
    });

    m_tapGesture = alloc<UITapGestureRecognizer>();
    m_tapGesture->initWithTargetAction(self(), sel("handleTap:"));
    m_tapGesture->setDelegate(self());
    addGestureRecognizer(m_tapGesture);
}

void VNTAppearanceOptionView::setPreviewImage(Ref<UIImage> image) {
    m_previewImage = std::move(image);
    m_previewImageView->setImage(m_previewImage);
    invalidateIntrinsicContentSize();
}

CGSize VNTAppearanceOptionView::intrinsicContentSize() {
    const CGSize preview = m_previewImage ? m_previewImage->size() : CGSizeMake(0, 0);
    const CGSize caption = m_label->intrinsicContentSize();
    return CGSizeMake(std::max(preview.width, caption.width), preview.height + 5 + caption.height);
}

void VNTAppearanceOptionView::setEnabled(bool enabled) {
    m_enabled = enabled;
    m_checkView->setSelected(enabled);
}

void VNTAppearanceOptionView::setHighlighted(bool highlighted) {
    m_highlighted = highlighted;
    CALayer& layer = *m_previewImageView->layer();
    if (highlighted) animateBorder(layer, 0, kBorderWidth, "Show Border");
    else if (layer.borderWidth() == kBorderWidth) animateBorder(layer, kBorderWidth, 0, "Hide Border");
}

void VNTAppearanceOptionView::updateViewForAppearance(const std::string& value) {
    const bool chosen = value == m_option;
    setEnabled(chosen);
    setHighlighted(chosen);
}

void VNTAppearanceOptionView::handleTap(id sender) {
    auto tap = cast<UIGestureRecognizer>(sender);
    if (!tap || tap->state() != UIGestureRecognizerStateEnded || m_checkView->isSelected()) return;
    if (auto d = delegate(); d && d->respondsToSelector(sel("selectedOption:")))
        platform::msgSend<void, Ref<VNTAppearanceOptionView>>(d.get(), sel("selectedOption:"),
                                                                self<VNTAppearanceOptionView>());
    m_haptic = alloc<UIImpactFeedbackGenerator>();
    m_haptic->initWithStyle(UIImpactFeedbackStyleLight);
    m_haptic->impactOccurred();
}
