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

vnt::drawer::MenuContents g_settingMenu;
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

const std::vector<std::string>& VNTSettingTableView::settingTitleArray() { return g_settingMenu.titles; }
const std::vector<std::string>& VNTSettingTableView::settingSubtitleArray() { return g_settingMenu.subtitles; }
const std::optional<std::vector<Ref<UIImage>>>& VNTSettingTableView::settingIconArray() { return g_settingMenu.icons; }
Ref<UITableView> VNTSettingTableView::settingTableView() { return g_settingMenu.table; }
Ref<UIImpactFeedbackGenerator> VNTSettingTableView::settingHapticFeedback() { return g_settingHaptic; }

void VNTSettingTableView::initWithFrame(CGRect frame) {
    UIView::initWithFrame(frame);
    g_settingMenu.load(vnt::drawer::kSettingRows, *this);
}

long VNTSettingTableView::tableViewNumberOfRowsInSection(Ref<UITableView>, long) {
    return static_cast<long>(g_settingMenu.titles.size());
}

CGFloat VNTSettingTableView::tableViewHeightForRowAtIndexPath(Ref<UITableView>, Ref<NSIndexPath>) {
    return VNTDrawerCustomCell::kRowHeight;
}

Ref<UITableViewCell> VNTSettingTableView::tableViewCellForRowAtIndexPath(Ref<UITableView> tableView,
                                                                          Ref<NSIndexPath> path) {
    auto cell = g_settingMenu.cell(*tableView, path->row(), kReuseIdentifier);
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
