// The root page's drawer: built on the key window at every appearance, taken off at every disappearance, its
// segmented control switching the three menus.

#include "prefs/pane/VNTPrimraryController.h"

#include "common/Keys.h"
#include "platform/core/HBPreferences.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/CGColor.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIFont.h"
#include "platform/gfx/UIImage.h"
#include "platform/ui/CAGradientLayer.h"
#include "platform/ui/CALayer.h"
#include "platform/ui/CAShapeLayer.h"
#include "platform/ui/NSLayoutConstraint.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIBezierPath.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UISegmentedControl.h"
#include "platform/ui/UITapGestureRecognizer.h"
#include "platform/ui/UIWindow.h"
#include "prefs/drawer/DrawerMenu.h"
#include "prefs/drawer/VNTDrawerView.h"
#include "prefs/drawer/VNTSettingTableView.h"
#include "prefs/drawer/VNTSocialTableView.h"
#include "prefs/drawer/VNTTheme.h"
#include "prefs/drawer/VNTThemesView.h"

namespace {

vnt::ThemeFlags g_drawerThemeFlags;
Ref<HBPreferences> g_drawerPreferences;
Ref<VNTDrawerView> g_drawerView;
Ref<UIView> g_drawerContentView;
Ref<UIView> g_avatarView;
Ref<UIImageView> g_avatarImageView;
Ref<UIImageView> g_twitterImageView;
Ref<UILabel> g_twitterLabel;
Ref<UISegmentedControl> g_segmentedControl;
Ref<UIView> g_socialsTableView;
Ref<UIView> g_settingsTableView;
Ref<UIView> g_themeView;
Ref<UILabel> g_versionLabel;

constexpr CGFloat kDrawerWidth = 300;
constexpr CGFloat kContentWidth = 270;
// Closed, 20 points of the drawer stay on screen: the visible part of the handle with its pill.
constexpr CGFloat kOpenedInset = 150;
constexpr CGFloat kClosedOutset = 130;
constexpr CGFloat kAvatarSize = 120;
constexpr CGFloat kBadgeSize = 30;
constexpr CGSize kSegmentsSize{181, 31};
constexpr CGFloat kMenuBottomInset = 50;

Ref<UILabel> centredWhiteLabel(std::string text) {
    auto label = alloc<UILabel>();
    label->init();
    label->setText(std::move(text));
    label->setTextColor(UIColor::whiteColor());
    label->setTextAlignment(NSTextAlignmentCenter);
    label->setTranslatesAutoresizingMaskIntoConstraints(false);
    return label;
}

template <class Menu>
Ref<UIView> makeMenu(bool hidden) {
    auto menu = alloc<Menu>();
    menu->init();
    menu->setHidden(hidden);
    menu->setBackgroundColor(UIColor::clearColor());
    menu->setTranslatesAutoresizingMaskIntoConstraints(false);
    return menu;
}

// The three menus share one place: under the segments, across the content, 50 points above its bottom.
void placeMenu(std::vector<Ref<NSLayoutConstraint>>& constraints, const Ref<UIView>& menu, const Ref<UIView>& content) {
    constraints.push_back(menu->topAnchor().constraintEqualToAnchorConstant(g_segmentedControl->bottomAnchor(), 10));
    constraints.push_back(menu->leadingAnchor().constraintEqualToAnchor(content->leadingAnchor()));
    constraints.push_back(menu->trailingAnchor().constraintEqualToAnchor(content->trailingAnchor()));
    constraints.push_back(menu->bottomAnchor().constraintEqualToAnchorConstant(content->bottomAnchor(), -kMenuBottomInset));
}

}  // namespace

Ref<VNTDrawerView> VNTPrimraryController::drawerView() { return g_drawerView; }
Ref<UIView> VNTPrimraryController::drawerContentView() { return g_drawerContentView; }
Ref<UISegmentedControl> VNTPrimraryController::segmentedControl() { return g_segmentedControl; }
Ref<UIView> VNTPrimraryController::socialsTableView() { return g_socialsTableView; }
Ref<UIView> VNTPrimraryController::settingsTableView() { return g_settingsTableView; }
Ref<UIView> VNTPrimraryController::themeView() { return g_themeView; }

void VNTPrimraryController::viewDidDisappear(bool animated) {
    super::viewDidDisappear(animated);
    if (g_drawerView) g_drawerView->removeFromSuperview();
}

void VNTPrimraryController::setupDrawer() {
    const CGRect screen = UIScreen::mainScreen()->bounds();
    const CGFloat width = screen.width(), height = screen.height();

    g_drawerView = alloc<VNTDrawerView>();
    g_drawerView->initWithFrame(CGRectMake(0, 0, kDrawerWidth, height));
    g_drawerView->setOpenedCenter(CGPointMake(width - kOpenedInset, height / 2));
    g_drawerView->setClosedCenter(CGPointMake(width + kClosedOutset, height / 2));
    g_drawerView->setCenter(g_drawerView->closedCenter());
    g_drawerView->pillView()->setBackgroundColor(UIColor::clearColor());
    g_drawerView->pillView()->layer()->setCornerRadius(4);
    g_drawerView->setBackgroundColor(UIColor::clearColor());
    g_drawerView->setClipsToBounds(true);
    // On the window, so the drawer floats over the pages until the page disappears.
    if (auto window = UIApplication::sharedApplication()->keyWindow()) window->addSubview(g_drawerView);

    const Ref<UIView> content = alloc<UIView>();
    content->initWithFrame(CGRectMake(VNTDrawerFrameView::kHandleWidth, 0, kContentWidth, height));
    content->setClipsToBounds(true);
    g_drawerView->addSubview(content);
    g_drawerContentView = content;
    auto mask = CAShapeLayer::layer();
    mask->setPath(UIBezierPath::bezierPathWithRoundedRectByRoundingCornersCornerRadii(
        content->bounds(), UIRectCornerTopLeft | UIRectCornerBottomLeft, CGSize{20, 20}));
    content->layer()->setMask(mask);
    content->layer()->setCornerCurve("continuous");

    g_drawerPreferences = alloc<HBPreferences>();
    g_drawerPreferences->initWithIdentifier(vantile::kDomain);
    g_drawerThemeFlags.bind(*g_drawerPreferences);
    const auto theme = g_drawerThemeFlags.current();
    if (theme) content->layer()->insertSublayerAtIndex(vnt::makeThemeGradient(*theme, content->bounds()), 0);

    g_avatarView = alloc<UIView>();
    g_avatarView->init();
    g_avatarView->setTranslatesAutoresizingMaskIntoConstraints(false);
    content->addSubview(g_avatarView);

    // The maker's picture is the same whatever the theme.
    g_avatarImageView = alloc<UIImageView>();
    g_avatarImageView->initWithImage(UIImage::imageWithContentsOfFile(vnt::assetPath("Default/Drawer/avatar.png")));
    g_avatarImageView->setContentMode(UIViewContentModeScaleAspectFill);
    g_avatarImageView->layer()->setCornerRadius(kAvatarSize / 2);
    g_avatarImageView->setClipsToBounds(true);
    g_avatarImageView->layer()->setBorderColor(UIColor::whiteColor()->CGColor());
    g_avatarImageView->layer()->setBorderWidth(1);
    g_avatarImageView->setUserInteractionEnabled(true);
    g_avatarImageView->setTranslatesAutoresizingMaskIntoConstraints(false);
    auto avatarTap = alloc<UITapGestureRecognizer>();
    avatarTap->initWithTargetAction(self(), sel("launchTwitterHandler:"));
    g_avatarImageView->addGestureRecognizer(avatarTap);
    g_avatarView->addSubview(g_avatarImageView);

    g_twitterImageView = alloc<UIImageView>();
    g_twitterImageView->initWithImage(vnt::themedImage(theme, "Drawer", "twitter.png"));
    g_twitterImageView->layer()->setCornerRadius(kBadgeSize / 2);
    g_twitterImageView->setClipsToBounds(true);
    g_twitterImageView->layer()->setBorderColor(UIColor::whiteColor()->CGColor());
    g_twitterImageView->layer()->setBorderWidth(1);
    g_twitterImageView->setTranslatesAutoresizingMaskIntoConstraints(false);
    g_avatarView->addSubview(g_twitterImageView);

    g_twitterLabel = centredWhiteLabel("Zorvanic");
    content->addSubview(g_twitterLabel);

    g_segmentedControl = alloc<UISegmentedControl>();
    g_segmentedControl->initWithItems({"Social", "Settings", "Themes"});
    g_segmentedControl->setSelectedSegmentIndex(0);
    g_segmentedControl->addTargetActionForControlEvents(self(), sel("drawerSegmentControl:"),
                                                       UIControlEventValueChanged);
    g_segmentedControl->setTranslatesAutoresizingMaskIntoConstraints(false);
    content->addSubview(g_segmentedControl);

    g_socialsTableView = makeMenu<VNTSocialTableView>(false);
    g_socialsTableView->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    content->addSubview(g_socialsTableView);
    g_settingsTableView = makeMenu<VNTSettingTableView>(true);
    content->addSubview(g_settingsTableView);
    g_themeView = makeMenu<VNTThemesView>(true);
    g_themeView->setUserInteractionEnabled(true);
    content->addSubview(g_themeView);

    g_versionLabel = centredWhiteLabel("Version \n1.0");
    g_versionLabel->setNumberOfLines(2);
    g_versionLabel->setFont(UIFont::systemFontOfSize(10));
    content->addSubview(g_versionLabel);

    std::vector<Ref<NSLayoutConstraint>> constraints{
        g_avatarView->widthAnchor().constraintEqualToConstant(kAvatarSize),
        g_avatarView->heightAnchor().constraintEqualToConstant(kAvatarSize),
        g_avatarView->centerXAnchor().constraintEqualToAnchor(content->centerXAnchor()),
        g_avatarView->topAnchor().constraintEqualToAnchorConstant(content->topAnchor(), 80),

        g_avatarImageView->widthAnchor().constraintEqualToConstant(kAvatarSize),
        g_avatarImageView->heightAnchor().constraintEqualToConstant(kAvatarSize),
        g_avatarImageView->centerXAnchor().constraintEqualToAnchor(g_avatarView->centerXAnchor()),
        g_avatarImageView->centerYAnchor().constraintEqualToAnchor(g_avatarView->centerYAnchor()),

        g_twitterImageView->widthAnchor().constraintEqualToConstant(kBadgeSize),
        g_twitterImageView->heightAnchor().constraintEqualToConstant(kBadgeSize),
        g_twitterImageView->trailingAnchor().constraintEqualToAnchorConstant(g_avatarImageView->trailingAnchor(), -2),
        g_twitterImageView->bottomAnchor().constraintEqualToAnchorConstant(g_avatarImageView->bottomAnchor(), -3),

        g_twitterLabel->centerXAnchor().constraintEqualToAnchor(content->centerXAnchor()),
        g_twitterLabel->leadingAnchor().constraintEqualToAnchorConstant(content->leadingAnchor(), 2),
        g_twitterLabel->trailingAnchor().constraintEqualToAnchorConstant(content->trailingAnchor(), -2),
        g_twitterLabel->topAnchor().constraintEqualToAnchorConstant(g_avatarImageView->bottomAnchor(), 10),

        g_segmentedControl->widthAnchor().constraintEqualToConstant(kSegmentsSize.width),
        g_segmentedControl->heightAnchor().constraintEqualToConstant(kSegmentsSize.height),
        g_segmentedControl->centerXAnchor().constraintEqualToAnchor(content->centerXAnchor()),
        g_segmentedControl->topAnchor().constraintEqualToAnchorConstant(g_twitterLabel->bottomAnchor(), 10),

        g_versionLabel->centerXAnchor().constraintEqualToAnchor(content->centerXAnchor()),
        g_versionLabel->leadingAnchor().constraintEqualToAnchorConstant(content->leadingAnchor(), 2),
        g_versionLabel->trailingAnchor().constraintEqualToAnchorConstant(content->trailingAnchor(), -2),
        g_versionLabel->topAnchor().constraintEqualToAnchorConstant(g_socialsTableView->bottomAnchor(), 3),
    };
    for (const auto& menu : {g_socialsTableView, g_settingsTableView, g_themeView}) placeMenu(constraints, menu, content);
    NSLayoutConstraint::activateConstraints(constraints);
}

void VNTPrimraryController::drawerSegmentControl(id sender) {
    auto control = cast<UISegmentedControl>(sender);
    if (!control) return;
    const long index = control->selectedSegmentIndex();
    if (index < 0 || index > 2) return;
    if (g_socialsTableView) g_socialsTableView->setHidden(index != 0);
    if (g_settingsTableView) g_settingsTableView->setHidden(index != 1);
    if (g_themeView) g_themeView->setHidden(index != 2);
    giveLightImpact();
}

void VNTPrimraryController::launchTwitterHandler(id) {
    vnt::drawer::openOutsidePage(vnt::drawer::kTwitterAddress);
    giveLightImpact();
}
