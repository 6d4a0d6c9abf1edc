#include "prefs/drawer/VNTTweaksTableView.h"

#include "common/Keys.h"
#include "platform/core/HBPreferences.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIImage.h"
#include "platform/ui/NSIndexPath.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UIImpactFeedbackGenerator.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UITableView.h"
#include "prefs/drawer/DrawerMenu.h"
#include "prefs/drawer/VNTTheme.h"
#include "prefs/drawer/VNTTweaksCustomCell.h"

VT_REGISTER_CLASS(VNTTweaksTableView, [](Class c) {
    using platform::runtime::addMethod;
    addMethod<&VNTTweaksTableView::initWithFrame>(c, "initWithFrame:");
    addMethod<&VNTTweaksTableView::tableViewNumberOfRowsInSection>(c, "tableView:numberOfRowsInSection:");
    addMethod<&VNTTweaksTableView::tableViewHeightForRowAtIndexPath>(c, "tableView:heightForRowAtIndexPath:");
    addMethod<&VNTTweaksTableView::tableViewCellForRowAtIndexPath>(c, "tableView:cellForRowAtIndexPath:");
    addMethod<&VNTTweaksTableView::tableViewDidSelectRowAtIndexPath>(c, "tableView:didSelectRowAtIndexPath:");
    addMethod<&VNTTweaksTableView::watchYoutubeVideos>(c, "watchYoutubeVideos:");
})

namespace {

vnt::ThemeFlags g_themeFlags;
Ref<HBPreferences> g_preferences;
std::vector<std::string> g_titles;
std::vector<std::string> g_subtitles;
std::vector<std::string> g_prices;
std::optional<std::vector<Ref<UIImage>>> g_icons;
Ref<UITableView> g_table;
Ref<UIImpactFeedbackGenerator> g_haptic;

// The catalogue's placeholder entry until the maker's packages are listed.
struct Package {
    std::string_view title, subtitle, price, icon;
};
constexpr Package kPackages[] = {{"Title", "Subtitle", "$0.99", "tweak.png"}};

}  // namespace

Ref<UITableView> VNTTweaksTableView::tweaksTableView() { return g_table; }
Ref<UIImpactFeedbackGenerator> VNTTweaksTableView::tweaksHapticFeedback() { return g_haptic; }

void VNTTweaksTableView::initWithFrame(CGRect frame) {
    UIView::initWithFrame(frame);
    g_preferences = alloc<HBPreferences>();
    g_preferences->initWithIdentifier(vantile::kDomain);
    g_themeFlags.bind(*g_preferences);

    g_titles.clear();
    g_subtitles.clear();
    g_prices.clear();
    g_icons.reset();
    const auto theme = g_themeFlags.current();
    if (theme) g_icons.emplace();
    for (const auto& package : kPackages) {
        g_titles.emplace_back(package.title);
        g_subtitles.emplace_back(package.subtitle);
        g_prices.emplace_back(package.price);
        if (g_icons) g_icons->push_back(vnt::themedImage(theme, "Tweaks", package.icon));
    }
    g_table = vnt::drawer::makeMenuTable(*this);
}

long VNTTweaksTableView::tableViewNumberOfRowsInSection(Ref<UITableView>, long) {
    return static_cast<long>(g_titles.size());
}

CGFloat VNTTweaksTableView::tableViewHeightForRowAtIndexPath(Ref<UITableView>, Ref<NSIndexPath>) {
    return VNTTweaksCustomCell::kRowHeight;
}

Ref<UITableViewCell> VNTTweaksTableView::tableViewCellForRowAtIndexPath(Ref<UITableView> tableView,
                                                                         Ref<NSIndexPath> path) {
    const std::string identifier(kReuseIdentifier);
    auto cell = cast<VNTTweaksCustomCell>(tableView->dequeueReusableCellWithIdentifier(identifier));
    if (!cell) {
        cell = alloc<VNTTweaksCustomCell>();
        cell->initWithStyleReuseIdentifier(UITableViewCellStyleDefault, identifier);
    }
    vnt::drawer::setSelectedBackgroundAppearance();
    cell->setBackgroundColor(UIColor::clearColor());
    const auto row = static_cast<std::size_t>(path->row());
    if (row < g_titles.size()) {
        cell->titleLabel()->setText(g_titles[row]);
        cell->subtitleLabel()->setText(g_subtitles[row]);
        cell->priceLabel()->setText(g_prices[row]);
    }
    cell->iconImage()->setImage(g_icons && row < g_icons->size() ? (*g_icons)[row] : nullptr);
    cell->youtubeButton()->setTag(path->row());
    // A reused cell keeps its action; adding it again would send it twice.
    cell->youtubeButton()->removeTargetActionForControlEvents(self(), sel("watchYoutubeVideos:"),
                                                              UIControlEventTouchUpInside);
    cell->youtubeButton()->addTargetActionForControlEvents(self(), sel("watchYoutubeVideos:"),
                                                           UIControlEventTouchUpInside);
    return cell;
}

void VNTTweaksTableView::tableViewDidSelectRowAtIndexPath(Ref<UITableView> tableView, Ref<NSIndexPath> path) {
    if (path->row() == 0) {
        vnt::drawer::openOutsidePage(vnt::drawer::kRepositoryAddress);
        vnt::drawer::lightImpact(g_haptic);
    }
    tableView->deselectRowAtIndexPathAnimated(path->value(), true);
}

void VNTTweaksTableView::watchYoutubeVideos(id sender) {
    auto button = cast<UIView>(sender);
    if (!button || button->tag() != 0) return;
    vnt::drawer::openOutsidePage(vnt::drawer::kYouTubeHomeAddress);
    vnt::drawer::lightImpact(g_haptic);
}
