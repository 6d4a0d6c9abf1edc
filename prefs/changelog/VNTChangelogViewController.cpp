#include "prefs/changelog/VNTChangelogViewController.h"

#include "prefs/changelog/VNTChangelogTableView.h"
#include "prefs/drawer/VNTTheme.h"

#include "common/Keys.h"
#include "platform/core/HBPreferences.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIFont.h"
#include "platform/gfx/UIImage.h"
#include "platform/ui/CALayer.h"
#include "platform/ui/CAShapeLayer.h"
#include "platform/ui/NSLayoutConstraint.h"
#include "platform/ui/UIBezierPath.h"
#include "platform/ui/UIBlurEffect.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIVisualEffectView.h"

VT_REGISTER_CLASS(VNTChangelogViewController, [](Class c) {
    using platform::runtime::addMethod;
    addMethod<&VNTChangelogViewController::setupContainer>(c, "setupContainer");
    addMethod<&VNTChangelogViewController::setupHeader>(c, "setupHeader");
    addMethod<&VNTChangelogViewController::setupTableView>(c, "setupTableView");
    addMethod<&VNTChangelogViewController::dismissVC>(c, "dismissVC");
    addMethod<&VNTChangelogViewController::accentColor>(c, "accentColor");
    addMethod<&VNTChangelogViewController::setAccentColor>(c, "setAccentColor:");
})

using platform::msgSend;

namespace {

// The class's shared slots. The theme flags are declared before the object that binds them, so they outlive it.
vnt::ThemeFlags g_changelogThemeFlags;
Ref<HBPreferences> g_changelogPreferences;
Ref<UIView> g_containerView;
Ref<UIVisualEffectView> g_blurEffectView;
Ref<UIView> g_headerView;
Ref<UIView> g_grabberView;
Ref<UIButton> g_doneButton;
Ref<UIImageView> g_iconImage;
Ref<UILabel> g_headerLabel;
Ref<VNTChangelogTableView> g_changelogTableView;
Ref<UIImage> g_changelogImage;

constexpr CGSize kGrabberSize{40, 6};
constexpr CGFloat kGrabberTop = 10;
constexpr CGFloat kGrabberRadius = 3;
constexpr CGSize kDoneSize{30, 30};
constexpr CGFloat kDoneInset = 7;
constexpr CGFloat kDoneRadius = 15;
constexpr CGFloat kSideMargin = 20;
constexpr CGSize kIconSize{35, 35};
constexpr CGFloat kIconRadius = 8;
constexpr CGFloat kTitleGap = 10;
constexpr CGFloat kTitleFontSize = 16;

// Pins a view's width and height.
void constrainSize(UIView& view, CGSize size) {
    NSLayoutConstraint::activateConstraints({
        view.widthAnchor().constraintEqualToConstant(size.width),
        view.heightAnchor().constraintEqualToConstant(size.height),
    });
}

}  // namespace

Ref<UIView> VNTChangelogViewController::containerView() { return g_containerView; }
Ref<UIVisualEffectView> VNTChangelogViewController::blurEffectView() { return g_blurEffectView; }
Ref<UIView> VNTChangelogViewController::headerView() { return g_headerView; }
Ref<UIView> VNTChangelogViewController::grabberView() { return g_grabberView; }
Ref<UIButton> VNTChangelogViewController::doneButton() { return g_doneButton; }
Ref<UIImageView> VNTChangelogViewController::iconImage() { return g_iconImage; }
Ref<UILabel> VNTChangelogViewController::headerLabel() { return g_headerLabel; }
Ref<VNTChangelogTableView> VNTChangelogViewController::changelogTableView() { return g_changelogTableView; }
Ref<UIImage> VNTChangelogViewController::changelogImage() { return g_changelogImage; }

void VNTChangelogViewController::viewDidLoad() {
    super::viewDidLoad();
    g_changelogPreferences = alloc<HBPreferences>();
    g_changelogPreferences->initWithIdentifier(vantile::kDomain);
    g_changelogThemeFlags.bind(*g_changelogPreferences);
    g_changelogImage = nullptr;
    if (const auto theme = g_changelogThemeFlags.current()) {
        m_accentColor = vnt::accentColour(theme);
        g_changelogImage = vnt::themedImage(theme, "Categories", "changelog.png");
    }
    msgSend(this, sel("setupContainer"));
    msgSend(this, sel("setupHeader"));
    msgSend(this, sel("setupTableView"));
}

void VNTChangelogViewController::setupContainer() {
    g_containerView = alloc<UIView>();
    g_containerView->initWithFrame(view()->bounds());
    g_containerView->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    g_containerView->setClipsToBounds(true);
    view()->addSubview(g_containerView);

    auto mask = CAShapeLayer::layer();
    mask->setPath(UIBezierPath::bezierPathWithRoundedRectByRoundingCornersCornerRadii(
        g_containerView->bounds(), UIRectCornerTopLeft | UIRectCornerTopRight, {kCornerRadius, kCornerRadius}));
    g_containerView->layer()->setMask(mask);
    g_containerView->layer()->setCornerCurve(kCACornerCurveContinuous);

    g_blurEffectView = alloc<UIVisualEffectView>();
    g_blurEffectView->initWithEffect(UIBlurEffect::effectWithStyle(kBlurStyle));
    g_blurEffectView->setFrame(g_containerView->bounds());
    g_blurEffectView->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    g_containerView->insertSubviewAtIndex(g_blurEffectView, 0);
}

void VNTChangelogViewController::setupHeader() {
    g_headerView = alloc<UIView>();
    g_headerView->initWithFrame(CGRectMake(0, 0, g_containerView->bounds().size.width, kHeaderHeight));
    g_headerView->setBackgroundColor(UIColor::clearColor());
    g_containerView->addSubview(g_headerView);
    const auto& header = g_headerView;

    g_grabberView = alloc<UIView>();
    g_grabberView->initWithFrame(CGRectZero);
    g_grabberView->setTranslatesAutoresizingMaskIntoConstraints(false);
    g_grabberView->layer()->setCornerRadius(kGrabberRadius);
    g_grabberView->layer()->setCornerCurve(kCACornerCurveContinuous);
    g_grabberView->setBackgroundColor(m_accentColor);
    header->addSubview(g_grabberView);
    constrainSize(*g_grabberView, kGrabberSize);
    NSLayoutConstraint::activateConstraints({
        g_grabberView->topAnchor().constraintEqualToAnchorConstant(header->topAnchor(), kGrabberTop),
        g_grabberView->centerXAnchor().constraintEqualToAnchor(header->centerXAnchor()),
    });

    g_doneButton = UIButton::buttonWithType(UIButtonTypeSystem);
    g_doneButton->setTranslatesAutoresizingMaskIntoConstraints(false);
    auto close = UIImage::imageWithContentsOfFile(vnt::assetPath("Default/Icons/close.png"));
    g_doneButton->setImageForState(close ? close->imageWithRenderingMode(UIImageRenderingMode::AlwaysTemplate) : nullptr,
                                   UIControlStateNormal);
    g_doneButton->setContentHorizontalAlignment(UIControlContentHorizontalAlignmentFill);
    g_doneButton->setContentVerticalAlignment(UIControlContentVerticalAlignmentFill);
    g_doneButton->setImageEdgeInsets({kDoneInset, kDoneInset, kDoneInset, kDoneInset});
    g_doneButton->setTintColor(m_accentColor);
    g_doneButton->setBackgroundColor(UIColor::colorWithRedGreenBlueAlpha(0.89, 0.88, 0.89, 0.8));
    g_doneButton->layer()->setCornerRadius(kDoneRadius);
    g_doneButton->addTargetActionForControlEvents(self(), sel("dismissVC"), UIControlEventTouchUpInside);
    header->addSubview(g_doneButton);
    constrainSize(*g_doneButton, kDoneSize);
    NSLayoutConstraint::activateConstraints({
        g_doneButton->centerYAnchor().constraintEqualToAnchor(header->centerYAnchor()),
        g_doneButton->trailingAnchor().constraintEqualToAnchorConstant(header->trailingAnchor(), -kSideMargin),
    });

    g_iconImage = alloc<UIImageView>();
    g_iconImage->initWithFrame(CGRectZero);
    g_iconImage->setTranslatesAutoresizingMaskIntoConstraints(false);
    g_iconImage->layer()->setCornerRadius(kIconRadius);
    g_iconImage->setClipsToBounds(true);
    g_iconImage->layer()->setCornerCurve(kCACornerCurveContinuous);
    g_iconImage->setImage(g_changelogImage);
    header->addSubview(g_iconImage);
    constrainSize(*g_iconImage, kIconSize);
    NSLayoutConstraint::activateConstraints({
        g_iconImage->centerYAnchor().constraintEqualToAnchor(header->centerYAnchor()),
        g_iconImage->leadingAnchor().constraintEqualToAnchorConstant(header->leadingAnchor(), kSideMargin),
    });

    g_headerLabel = alloc<UILabel>();
    g_headerLabel->initWithFrame(CGRectZero);
    g_headerLabel->setTranslatesAutoresizingMaskIntoConstraints(false);
    g_headerLabel->setText("Changelog");
    g_headerLabel->setFont(UIFont::boldSystemFontOfSize(kTitleFontSize));
    g_headerLabel->setTextColor(UIColor::colorWithWhiteAlpha(0, 0.5));
    header->addSubview(g_headerLabel);
    NSLayoutConstraint::activateConstraints({
        g_headerLabel->centerYAnchor().constraintEqualToAnchor(g_iconImage->centerYAnchor()),
        g_headerLabel->leadingAnchor().constraintEqualToAnchorConstant(g_iconImage->trailingAnchor(), kTitleGap),
    });
}

void VNTChangelogViewController::setupTableView() {
    g_changelogTableView = alloc<VNTChangelogTableView>();
    // The header colour is read when a header is shown, which is after this set-up, at the first layout.
    g_changelogTableView->initWithFrame(g_containerView->bounds());
    g_changelogTableView->setHeaderColor(m_accentColor);
    g_changelogTableView->setTranslatesAutoresizingMaskIntoConstraints(false);
    g_containerView->addSubview(g_changelogTableView);
    NSLayoutConstraint::activateConstraints({
        g_changelogTableView->topAnchor().constraintEqualToAnchor(g_headerView->bottomAnchor()),
        g_changelogTableView->leadingAnchor().constraintEqualToAnchor(g_containerView->leadingAnchor()),
        g_changelogTableView->trailingAnchor().constraintEqualToAnchor(g_containerView->trailingAnchor()),
        g_changelogTableView->bottomAnchor().constraintEqualToAnchor(g_containerView->bottomAnchor()),
    });
}

void VNTChangelogViewController::dismissVC() { dismissViewControllerAnimatedCompletion(true); }
