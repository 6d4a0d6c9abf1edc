#include "prefs/drawer/VNTSettingTableView.h"

#include "common/Keys.h"
#include "platform/core/HBPreferences.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIImage.h"
#include "platform/system/ProcessSpawn.h"
#include "platform/ui/NSIndexPath.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UIImpactFeedbackGenerator.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UITableView.h"
#include "prefs/drawer/DrawerMenu.h"
#include "prefs/drawer/VNTDrawerCustomCell.h"
#include "prefs/drawer/VNTTheme.h"

VT_REGISTER_CLASS(VNTSettingTableView, [](Class c) {
    using platform::runtime::addMethod;
    addMethod<&VNTSettingTableView::initWithFrame>(c, "initWithFrame:");
    addMethod<&VNTSettingTableView::tableViewNumberOfRowsInSection>(c, "tableView:numberOfRowsInSection:");
    addMethod<&VNTSettingTableView::tableViewHeightForRowAtIndexPath>(c, "tableView:heightForRowAtIndexPath:");
    addMethod<&VNTSettingTableView::tableViewCellForRowAtIndexPath>(c, "tableView:cellForRowAtIndexPath:");
    addMethod<&VNTSettingTableView::tableViewDidSelectRowAtIndexPath>(c, "tableView:didSelectRowAtIndexPath:");
    addMethod<&VNTSettingTableView::beginRespringDevice>(c, "beginRespringDevice");
    addMethod<&VNTSettingTableView::beginSafemodeDevice>(c, "beginSafemodeDevice");
    addMethod<&VNTSettingTableView::beginReset>(c, "beginReset");
})

namespace {

vnt::ThemeFlags g_settingThemeFlags;
Ref<HBPreferences> g_settingPreferences;
std::vector<std::string> g_settingTitles;
std::vector<std::string> g_settingSubtitles;
std::optional<std::vector<Ref<UIImage>>> g_settingIcons;
Ref<UITableView> g_settingTable;
Ref<UIImpactFeedbackGenerator> g_settingHaptic;

constexpr const char* kKillall = "/usr/bin/killall";

// Starts killall with exactly these arguments (no file actions, attributes or environment) and waits for it; a
// start that failed has no child to wait for. On the phone the interface is torn down before the wait returns.
void killall(const char* signal, const char* process) {
    const char* arguments[] = {"killall", signal, process, nullptr};
    platform::posix::pid_t pid = 0;
    const int error = platform::posix::posix_spawn(&pid, kKillall, nullptr, nullptr,
                                                   const_cast<char* const*>(arguments), nullptr);
    if (error != 0) return;
    int status = 0;
    platform::posix::waitpid(pid, &status, platform::posix::kWEXITED);
}

}  // namespace

const std::vector<std::string>& VNTSettingTableView::settingTitleArray() { return g_settingTitles; }
const std::vector<std::string>& VNTSettingTableView::settingSubtitleArray() { return g_settingSubtitles; }
const std::optional<std::vector<Ref<UIImage>>>& VNTSettingTableView::settingIconArray() { return g_settingIcons; }
Ref<UITableView> VNTSettingTableView::settingTableView() { return g_settingTable; }
Ref<UIImpactFeedbackGenerator> VNTSettingTableView::settingHapticFeedback() { return g_settingHaptic; }

void VNTSettingTableView::initWithFrame(CGRect frame) {
    UIView::initWithFrame(frame);
    g_settingPreferences = alloc<HBPreferences>();
    g_settingPreferences->initWithIdentifier(vantile::kDomain);
    g_settingThemeFlags.bind(*g_settingPreferences);

    g_settingTitles.clear();
    g_settingSubtitles.clear();
    g_settingIcons.reset();
    const auto theme = g_settingThemeFlags.current();
    if (theme) g_settingIcons.emplace();
    for (const auto& row : vnt::drawer::kSettingRows) {
        g_settingTitles.emplace_back(row.title);
        g_settingSubtitles.emplace_back(row.subtitle);
        if (g_settingIcons) g_settingIcons->push_back(vnt::themedImage(theme, "Drawer", row.icon));
    }
    g_settingTable = vnt::drawer::makeMenuTable(*this);
}

long VNTSettingTableView::tableViewNumberOfRowsInSection(Ref<UITableView>, long) {
    return static_cast<long>(g_settingTitles.size());
}

CGFloat VNTSettingTableView::tableViewHeightForRowAtIndexPath(Ref<UITableView>, Ref<NSIndexPath>) {
    return VNTDrawerCustomCell::kRowHeight;
}

Ref<UITableViewCell> VNTSettingTableView::tableViewCellForRowAtIndexPath(Ref<UITableView> tableView,
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
    if (row < g_settingTitles.size()) {
        cell->titleLabel()->setText(g_settingTitles[row]);
        cell->subtitleLabel()->setText(g_settingSubtitles[row]);
    }
    cell->iconImage()->setImage(g_settingIcons && row < g_settingIcons->size() ? (*g_settingIcons)[row] : nullptr);
    return cell;
}

void VNTSettingTableView::tableViewDidSelectRowAtIndexPath(Ref<UITableView> tableView, Ref<NSIndexPath> path) {
    const long row = path->row();
    if (row >= 0 && row < static_cast<long>(vnt::drawer::kSettingRows.size())) {
        platform::msgSend<void>(this, sel(vnt::drawer::kSettingRows[static_cast<std::size_t>(row)].action));
        vnt::drawer::lightImpact(g_settingHaptic);
    }
    tableView->deselectRowAtIndexPathAnimated(path->value(), true);
}

void VNTSettingTableView::beginRespringDevice() { killall("-9", "backboardd"); }

void VNTSettingTableView::beginSafemodeDevice() { killall("-SEGV", "SpringBoard"); }

void VNTSettingTableView::beginReset() {
    auto preferences = alloc<HBPreferences>();
    preferences->initWithIdentifier(vantile::kDomain);
    // Every key, the master switch, the theme and the card lists included: after the restart each reads its
    // registered default again.
    for (const auto& [key, value] : preferences->dictionaryRepresentation()) preferences->removeObjectForKey(key);
    platform::msgSend<void>(this, sel("beginRespringDevice"));
}
