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

vnt::ThemeFlags g_socialThemeFlags;
Ref<HBPreferences> g_socialPreferences;
std::vector<std::string> g_socialTitles;
std::vector<std::string> g_socialSubtitles;
std::optional<std::vector<Ref<UIImage>>> g_socialIcons;
Ref<UITableView> g_socialTable;
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

const std::vector<std::string>& VNTSocialTableView::socialTitleArray() { return g_socialTitles; }
const std::vector<std::string>& VNTSocialTableView::socialSubtitleArray() { return g_socialSubtitles; }
const std::optional<std::vector<Ref<UIImage>>>& VNTSocialTableView::socialIconArray() { return g_socialIcons; }
Ref<UITableView> VNTSocialTableView::socialTableView() { return g_socialTable; }
Ref<UIImpactFeedbackGenerator> VNTSocialTableView::socialHapticFeedback() { return g_socialHaptic; }
Ref<VNTTweaksController> VNTSocialTableView::tweaksController() { return g_tweaksController; }

void VNTSocialTableView::initWithFrame(CGRect frame) {
    UIView::initWithFrame(frame);
    g_socialPreferences = alloc<HBPreferences>();
    g_socialPreferences->initWithIdentifier(vantile::kDomain);
    g_socialThemeFlags.bind(*g_socialPreferences);

    g_socialTitles.clear();
    g_socialSubtitles.clear();
    g_socialIcons.reset();
    const auto theme = g_socialThemeFlags.current();
    if (theme) g_socialIcons.emplace();
    for (const auto& row : vnt::drawer::kSocialRows) {
        g_socialTitles.emplace_back(row.title);
        g_socialSubtitles.emplace_back(row.subtitle);
        if (g_socialIcons) g_socialIcons->push_back(vnt::themedImage(theme, "Drawer", row.icon));
    }
    g_socialTable = vnt::drawer::makeMenuTable(*this);
}

long VNTSocialTableView::tableViewNumberOfRowsInSection(Ref<UITableView>, long) {
    return static_cast<long>(g_socialTitles.size());
}

CGFloat VNTSocialTableView::tableViewHeightForRowAtIndexPath(Ref<UITableView>, Ref<NSIndexPath>) {
    return VNTDrawerCustomCell::kRowHeight;
}

Ref<UITableViewCell> VNTSocialTableView::tableViewCellForRowAtIndexPath(Ref<UITableView> tableView,
                                                                         Ref<NSIndexPath> path) {
    const std::string identifier(kReuseIdentifier);
    auto cell = cast<VNTDrawerCustomCell>(tableView->dequeueReusableCellWithIdentifier(identifier));
    if (!cell) {
        cell = alloc<VNTDrawerCustomCell>();
        cell->initWithStyleReuseIdentifier(UITableViewCellStyleDefault, identifier);
    }
    vnt::drawer::setSelectedBackgroundAppearance();
    cell->setBackgroundColor(UIColor::clearColor());
    const auto row = static_cast<std::size_t>(path->row());
    if (row < g_socialTitles.size()) {
        cell->titleLabel()->setText(g_socialTitles[row]);
        cell->subtitleLabel()->setText(g_socialSubtitles[row]);
    }
    cell->iconImage()->setImage(g_socialIcons && row < g_socialIcons->size() ? (*g_socialIcons)[row] : nullptr);
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
