#include "tweak/dashboard/VantileViewController.h"

#include "tweak/dashboard/VantileTableView.h"

#include "common/Keys.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIFont.h"
#include "platform/gfx/UIImage.h"
#include "platform/ui/NSLayoutConstraint.h"
#include "platform/ui/CALayer.h"
#include "platform/ui/CAShapeLayer.h"
#include "platform/ui/UIBezierPath.h"
#include "platform/ui/UIBlurEffect.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UITraitCollection.h"
#include "platform/ui/UIVisualEffectView.h"

#include <string>

VT_REGISTER_CLASS(VantileViewController, [](Class c) {
    using platform::runtime::addMethod;
    addMethod<&VantileViewController::init>(c, "init");
    addMethod<&VantileViewController::viewDidLoad>(c, "viewDidLoad");
    addMethod<&VantileViewController::viewWillAppear>(c, "viewWillAppear:");
    addMethod<&VantileViewController::viewDidLayoutSubviews>(c, "viewDidLayoutSubviews");
    addMethod<&VantileViewController::traitCollectionDidChange>(c, "traitCollectionDidChange:");
    addMethod<&VantileViewController::setupContainer>(c, "setupContainer");
    addMethod<&VantileViewController::setupHeader>(c, "setupHeader");
    addMethod<&VantileViewController::setupTableView>(c, "setupTableView");
    addMethod<&VantileViewController::dismissVC>(c, "dismissVC");
})

namespace {

struct EditorViews {
    Ref<UIView> container;
    Ref<UIVisualEffectView> blur;
    Ref<UIView> header;
    Ref<UIView> grabber;
    Ref<UIButton> done;
    Ref<UIImageView> icon;
    Ref<UILabel> label;
    Ref<VantileTableView> table;
};

EditorViews& views() {
    static EditorViews* v = new EditorViews;
    return *v;
}

void activate(std::initializer_list<Ref<NSLayoutConstraint>> constraints) {
    for (const auto& c : constraints) c->setActive(true);
}

std::string assetPath(std::string_view file) { return std::string(vantile::kTweakAssets) + std::string(file); }

}  // namespace

const Ref<UIView>& VantileViewController::containerView() { return views().container; }
const Ref<UIVisualEffectView>& VantileViewController::blurEffectView() { return views().blur; }
const Ref<UIView>& VantileViewController::headerView() { return views().header; }
const Ref<UIView>& VantileViewController::grabberView() { return views().grabber; }
const Ref<UIButton>& VantileViewController::doneButton() { return views().done; }
const Ref<UIImageView>& VantileViewController::iconImage() { return views().icon; }
const Ref<UILabel>& VantileViewController::headerLabel() { return views().label; }
const Ref<VantileTableView>& VantileViewController::vantileTableView() { return views().table; }

void VantileViewController::init() { UIViewController::init(); }

void VantileViewController::viewDidLoad() {
    UIViewController::viewDidLoad();
    platform::msgSend(this, sel("setupContainer"));
    platform::msgSend(this, sel("setupHeader"));
    platform::msgSend(this, sel("setupTableView"));
    applyInterfaceStyle(traitCollection()->userInterfaceStyle());
}

void VantileViewController::viewWillAppear(bool animated) {
    UIViewController::viewWillAppear(animated);
    // The host sends no trait change when the style did not change since the views were made, so the first
    // display takes the appearance itself, now that the sheet is in its window.
    applyInterfaceStyle(traitCollection()->userInterfaceStyle());
}

void VantileViewController::viewDidLayoutSubviews() {
    UIViewController::viewDidLayoutSubviews();
    // The sheet's size is known only once presented; the mask follows the container.
    updateMask();
}

void VantileViewController::traitCollectionDidChange(Ref<UITraitCollection> previous) {
    UIViewController::traitCollectionDidChange(std::move(previous));
    applyInterfaceStyle(traitCollection()->userInterfaceStyle());
}

void VantileViewController::applyInterfaceStyle(long style) {
    auto& v = views();
    const bool dark = style == UIUserInterfaceStyleDark;
    if (v.blur)
        v.blur->setEffect(UIBlurEffect::effectWithStyle(dark ? UIBlurEffectStyleSystemUltraThinMaterialDark
                                                             : UIBlurEffectStyleSystemUltraThinMaterialLight));
    if (v.grabber)
        v.grabber->setBackgroundColor(dark ? UIColor::colorWithRedGreenBlueAlpha(0.43, 0.41, 0.42, 1.0)
                                           : UIColor::colorWithRedGreenBlueAlpha(0.74, 0.74, 0.74, 1.0));
    if (v.done)
        v.done->setBackgroundColor(dark ? UIColor::colorWithRedGreenBlueAlpha(0.43, 0.41, 0.42, 1.0)
                                        : UIColor::colorWithRedGreenBlueAlpha(0.89, 0.88, 0.89, 0.8));
}

void VantileViewController::updateMask() {
    const auto& container = views().container;
    if (!container || container->superview() != viewIfLoaded()) return;
    auto mask = CAShapeLayer::layer();
    mask->setPath(UIBezierPath::bezierPathWithRoundedRectByRoundingCornersCornerRadii(
        container->bounds(), UIRectCornerTopLeft | UIRectCornerTopRight, CGSize{kCornerRadius, kCornerRadius}));
    container->layer()->setMask(mask);
}

void VantileViewController::setupContainer() {
    auto& v = views();
    v.container = alloc<UIView>();
    v.container->initWithFrame(view()->bounds());
    v.container->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    v.container->setClipsToBounds(true);
    v.container->layer()->setCornerCurve("continuous");
    view()->addSubview(v.container);
    updateMask();

    v.blur = alloc<UIVisualEffectView>();
    v.blur->initWithEffect(UIBlurEffect::effectWithStyle(UIBlurEffectStyleSystemUltraThinMaterialLight));
    v.blur->setFrame(v.container->bounds());
    v.blur->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    v.container->insertSubviewAtIndex(v.blur, 0);
}

void VantileViewController::setupHeader() {
    auto& v = views();
    const Ref<UIView>& container = v.container;

    v.header = alloc<UIView>();
    v.header->initWithFrame(CGRectMake(0, 0, container->bounds().width(), kHeaderHeight));
    v.header->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    v.header->setBackgroundColor(UIColor::clearColor());
    container->addSubview(v.header);
    const Ref<UIView>& header = v.header;

    v.grabber = alloc<UIView>();
    v.grabber->init();
    v.grabber->layer()->setCornerRadius(kGrabberSize.height / 2);
    v.grabber->layer()->setCornerCurve("continuous");
    v.grabber->setTranslatesAutoresizingMaskIntoConstraints(false);
    header->addSubview(v.grabber);
    activate({v.grabber->widthAnchor().constraintEqualToConstant(kGrabberSize.width),
              v.grabber->heightAnchor().constraintEqualToConstant(kGrabberSize.height),
              v.grabber->topAnchor().constraintEqualToAnchorConstant(header->topAnchor(), kGrabberTop),
              v.grabber->centerXAnchor().constraintEqualToAnchor(header->centerXAnchor())});

    v.done = UIButton::buttonWithType(UIButtonTypeSystem);
    // A missing image file leaves the button without an image (its background still shows).
    if (auto image = UIImage::imageWithContentsOfFile(assetPath(kDoneImage)))
        v.done->setImageForState(image->imageWithRenderingMode(UIImageRenderingMode::AlwaysTemplate),
                                 UIControlStateNormal);
    v.done->setImageEdgeInsets(UIEdgeInsetsMake(kDoneInset, kDoneInset, kDoneInset, kDoneInset));
    v.done->layer()->setCornerRadius(kDoneSize / 2);
    v.done->addTargetActionForControlEvents(self(), sel("dismissVC"), UIControlEventTouchUpInside);
    v.done->setTranslatesAutoresizingMaskIntoConstraints(false);
    header->addSubview(v.done);
    activate({v.done->widthAnchor().constraintEqualToConstant(kDoneSize),
              v.done->heightAnchor().constraintEqualToConstant(kDoneSize),
              v.done->centerYAnchor().constraintEqualToAnchor(header->centerYAnchor()),
              v.done->trailingAnchor().constraintEqualToAnchorConstant(header->trailingAnchor(), -kHeaderSideInset)});

    v.icon = alloc<UIImageView>();
    v.icon->init();
    v.icon->setImage(UIImage::imageWithContentsOfFile(assetPath(kIconImage)));
    v.icon->layer()->setCornerRadius(kIconCornerRadius);
    v.icon->layer()->setCornerCurve("continuous");
    v.icon->setClipsToBounds(true);
    v.icon->setTranslatesAutoresizingMaskIntoConstraints(false);
    header->addSubview(v.icon);
    activate({v.icon->widthAnchor().constraintEqualToConstant(kIconSize),
              v.icon->heightAnchor().constraintEqualToConstant(kIconSize),
              v.icon->centerYAnchor().constraintEqualToAnchor(header->centerYAnchor()),
              v.icon->leadingAnchor().constraintEqualToAnchorConstant(header->leadingAnchor(), kHeaderSideInset)});

    v.label = alloc<UILabel>();
    v.label->init();
    v.label->setText(kHeaderText);
    v.label->setFont(UIFont::boldSystemFontOfSize(16));
    v.label->setTextColor(UIColor::labelColor());
    v.label->setTranslatesAutoresizingMaskIntoConstraints(false);
    header->addSubview(v.label);
    activate({v.label->centerYAnchor().constraintEqualToAnchor(v.icon->centerYAnchor()),
              v.label->leadingAnchor().constraintEqualToAnchorConstant(v.icon->trailingAnchor(), kLabelGap)});
}

void VantileViewController::setupTableView() {
    auto& v = views();
    v.table = alloc<VantileTableView>();
    platform::msgSend<void, CGRect>(v.table.get(), sel("initWithFrame:"), CGRectZero);
    v.table->setTranslatesAutoresizingMaskIntoConstraints(false);
    v.container->addSubview(v.table);
    activate({v.table->topAnchor().constraintEqualToAnchorConstant(v.header->bottomAnchor(), kTableTopGap),
              v.table->leadingAnchor().constraintEqualToAnchor(v.container->leadingAnchor()),
              v.table->trailingAnchor().constraintEqualToAnchor(v.container->trailingAnchor()),
              v.table->bottomAnchor().constraintEqualToAnchorConstant(v.container->bottomAnchor(), -kTableBottomInset)});
}

void VantileViewController::dismissVC() { dismissViewControllerAnimatedCompletion(true); }
