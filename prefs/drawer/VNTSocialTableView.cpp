#include "prefs/drawer/VNTSocialTableView.h"

#include "common/Keys.h"
#include "platform/core/HBPreferences.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIFont.h"
#include "platform/gfx/UIImage.h"
#include "platform/ui/NSIndexPath.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UIImpactFeedbackGenerator.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UIWindow.h"
#include "prefs/drawer/DrawerMenu.h"
#include "prefs/drawer/VNTDrawerCustomCell.h"
#include "prefs/drawer/VNTTheme.h"
#include "prefs/drawer/VNTTweaksController.h"

VT_REGISTER_CLASS(VNTSocialTableView, [](Class c) {
    using platform::runtime::addMethod;
    addMethod<&VNTSocialTableView::initWithFrame>(c, "initWithFrame:");
    addMethod<&VNTSocialTableView::tableViewNumberOfRowsInSection>(c, "tableView:numberOfRowsInSection:");
    addMethod<&VNTSocialTableView::tableViewHeightForRowAtIndexPath>(c, "tableView:heightForRowAtIndexPath:");
    addMethod<&VNTSocialTableView::tableViewCellForRowAtIndexPath>(c, "tableView:cellForRowAtIndexPath:");
    addMethod<&VNTSocialTableView::tableViewDidSelectRowAtIndexPath>(c, "tableView:didSelectRowAtIndexPath:");
    addMethod<&VNTSocialTableView::launchDiscord>(c, "launchDiscord");
    addMethod<&VNTSocialTableView::launchReddit>(c, "launchReddit");
    addMethod<&VNTSocialTableView::launchInstagram>(c, "launchInstagram");
    addMethod<&VNTSocialTableView::launchYouTube>(c, "launchYouTube");
    addMethod<&VNTSocialTableView::launchPayPal>(c, "launchPayPal");
    addMethod<&VNTSocialTableView::launchGitHub>(c, "launchGitHub");
    addMethod<&VNTSocialTableView::launchTweaks>(c, "launchTweaks");
    addMethod<&VNTSocialTableView::dismissTweakController>(c, "dismissTweakController");
})

namespace {

vnt::drawer::MenuContents g_socialMenu;
Ref<UIImpactFeedbackGenerator> g_socialHaptic;
Ref<VNTTweaksController> g_tweaksController;

void open(std::string_view address) {
    vnt::drawer::openOutsidePage(address);
    vnt::drawer::lightImpact(g_socialHaptic);
}

Ref<UIViewController> keyRootController() {
    auto window = UIApplication::sharedApplication()->keyWindow();
    return window ? window->rootViewController() : nullptr;
}

}  // namespace

const std::vector<std::string>& VNTSocialTableView::socialTitleArray() { return g_socialMenu.titles; }
const std::vector<std::string>& VNTSocialTableView::socialSubtitleArray() { return g_socialMenu.subtitles; }
const std::optional<std::vector<Ref<UIImage>>>& VNTSocialTableView::socialIconArray() { return g_socialMenu.icons; }
Ref<UITableView> VNTSocialTableView::socialTableView() { return g_socialMenu.table; }
Ref<UIImpactFeedbackGenerator> VNTSocialTableView::socialHapticFeedback() { return g_socialHaptic; }
Ref<VNTTweaksController> VNTSocialTableView::tweaksController() { return g_tweaksController; }

void VNTSocialTableView::initWithFrame(CGRect frame) {
    UIView::initWithFrame(frame);
    g_socialMenu.load(vnt::drawer::kSocialRows, *this);
}

long VNTSocialTableView::tableViewNumberOfRowsInSection(Ref<UITableView>, long) {
    return static_cast<long>(g_socialMenu.titles.size());
}

CGFloat VNTSocialTableView::tableViewHeightForRowAtIndexPath(Ref<UITableView>, Ref<NSIndexPath>) {
    return VNTDrawerCustomCell::kRowHeight;
}

Ref<UITableViewCell> VNTSocialTableView::tableViewCellForRowAtIndexPath(Ref<UITableView> tableView,
                                                                         Ref<NSIndexPath> path) {
    auto cell = g_socialMenu.cell(*tableView, path->row(), kReuseIdentifier);
    // A reused cell gets its font back, so only the donation row reads smaller.
    cell->subtitleLabel()->setFont(UIFont::systemFontOfSize(path->row() == vnt::drawer::kDonationRow
                                                                ? vnt::drawer::kDonationSubtitleFontSize
                                                                : VNTDrawerCustomCell::kSubtitleFontSize));
    return cell;
}

void VNTSocialTableView::tableViewDidSelectRowAtIndexPath(Ref<UITableView> tableView, Ref<NSIndexPath> path) {
    const long row = path->row();
    if (row >= 0 && row < static_cast<long>(vnt::drawer::kSocialRows.size()))
        platform::msgSend<void>(this, sel(vnt::drawer::kSocialRows[static_cast<std::size_t>(row)].action));
    tableView->deselectRowAtIndexPathAnimated(path->value(), true);
}

void VNTSocialTableView::launchDiscord() { open(vnt::drawer::kDiscordAddress); }
void VNTSocialTableView::launchReddit() { open(vnt::drawer::kRedditAddress); }
void VNTSocialTableView::launchInstagram() { open(vnt::drawer::kInstagramAddress); }
void VNTSocialTableView::launchYouTube() { open(vnt::drawer::kYouTubeAddress); }
void VNTSocialTableView::launchPayPal() { open(vnt::drawer::kPayPalAddress); }
void VNTSocialTableView::launchGitHub() { open(vnt::drawer::kGitHubAddress); }

void VNTSocialTableView::launchTweaks() {
    auto controller = alloc<VNTTweaksController>();
    controller->init();
    g_tweaksController = controller;
    controller->view()->setBackgroundColor(UIColor::secondarySystemBackgroundColor());
    if (auto root = keyRootController(); root && root->view()->window())
        root->presentViewControllerAnimatedCompletion(controller, true);
    vnt::drawer::lightImpact(g_socialHaptic);
}

void VNTSocialTableView::dismissTweakController() {
    if (auto root = keyRootController()) root->dismissViewControllerAnimatedCompletion(true);
}
