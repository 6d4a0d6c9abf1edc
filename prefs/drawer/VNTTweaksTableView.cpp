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

vnt::ThemeFlags g_tableThemeFlags;
Ref<HBPreferences> g_tablePreferences;
std::vector<std::string> g_catalogueTitles;
std::vector<std::string> g_catalogueSubtitles;
std::vector<std::string> g_prices;
std::optional<std::vector<Ref<UIImage>>> g_catalogueIcons;
Ref<UITableView> g_catalogueTable;
Ref<UIImpactFeedbackGenerator> g_tableHaptic;

// The catalogue's placeholder entry until the maker's packages are listed.
struct Package {
    std::string_view title, subtitle, price, icon;
};
constexpr Package kPackages[] = {{"Title", "Subtitle", "$0.99", "tweak.png"}};

}  // namespace

Ref<UITableView> VNTTweaksTableView::tweaksTableView() { return g_catalogueTable; }
Ref<UIImpactFeedbackGenerator> VNTTweaksTableView::tweaksHapticFeedback() { return g_tableHaptic; }

void VNTTweaksTableView::initWithFrame(CGRect frame) {
    UIView::initWithFrame(frame);
    g_tablePreferences = alloc<HBPreferences>();
    g_tablePreferences->initWithIdentifier(vantile::kDomain);
    g_tableThemeFlags.bind(*g_tablePreferences);

    g_catalogueTitles.clear();
    g_catalogueSubtitles.clear();
    g_prices.clear();
    g_catalogueIcons.reset();
    const auto theme = g_tableThemeFlags.current();
    if (theme) g_catalogueIcons.emplace();
    for (const auto& package : kPackages) {
        g_catalogueTitles.emplace_back(package.title);
        g_catalogueSubtitles.emplace_back(package.subtitle);
        g_prices.emplace_back(package.price);
        if (g_catalogueIcons) g_catalogueIcons->push_back(vnt::themedImage(theme, "Tweaks", package.icon));
    }
    g_catalogueTable = vnt::drawer::makeMenuTable(*this);
}

long VNTTweaksTableView::tableViewNumberOfRowsInSection(Ref<UITableView>, long) {
    return static_cast<long>(g_catalogueTitles.size());
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
    if (row < g_catalogueTitles.size()) {
        cell->titleLabel()->setText(g_catalogueTitles[row]);
        cell->subtitleLabel()->setText(g_catalogueSubtitles[row]);
        cell->priceLabel()->setText(g_prices[row]);
    }
    const bool hasIcon = g_catalogueIcons && row < g_catalogueIcons->size();
    cell->iconImage()->setImage(hasIcon ? (*g_catalogueIcons)[row] : nullptr);
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
        vnt::drawer::lightImpact(g_tableHaptic);
    }
    tableView->deselectRowAtIndexPathAnimated(path->value(), true);
}

void VNTTweaksTableView::watchYoutubeVideos(id sender) {
    auto button = cast<UIView>(sender);
    if (!button || button->tag() != 0) return;
    vnt::drawer::openOutsidePage(vnt::drawer::kYouTubeHomeAddress);
    vnt::drawer::lightImpact(g_tableHaptic);
}
