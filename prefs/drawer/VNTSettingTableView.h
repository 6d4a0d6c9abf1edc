#pragma once

// The drawer's settings menu: "Respring", "SafeMode" and "Reset". A tap runs the row's utility at once (there is
// no confirmation), then gives a light impact and deselects the row.
//
// The utilities start "/usr/bin/killall" through posix_spawn and wait for it: respring ends the backboard daemon,
// which restarts the whole interface; safe mode crashes the home screen with a segmentation fault, which brings it
// back in the loader's safe mode; reset removes every key of the preference domain and then resprings.
//
// Published (T = Ref<UITableView>, P = Ref<NSIndexPath>):
//   "initWithFrame:"                       void (CGRect)
//   "tableView:numberOfRowsInSection:"     long (T, long)
//   "tableView:heightForRowAtIndexPath:"   CGFloat (T, P)
//   "tableView:cellForRowAtIndexPath:"     Ref<UITableViewCell> (T, P)
//   "tableView:didSelectRowAtIndexPath:"   void (T, P)
//   "beginRespringDevice", "beginSafemodeDevice", "beginReset"   void ()
//
// Process-wide objects of this file, replaced by each new menu: the row arrays (titles, subtitles, and the icons
// when there is a current theme), the table, the preferences object with the theme flags, the last light impact.

#include "platform/ui/UIView.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class NSIndexPath;
class UIImage;
class UIImpactFeedbackGenerator;
class UITableView;
class UITableViewCell;

class VNTSettingTableView : public UIView {
    VT_OBJECT(VNTSettingTableView, UIView)
public:
    static constexpr std::string_view kReuseIdentifier = "SettingCell";

    void initWithFrame(CGRect frame) override;

    virtual long tableViewNumberOfRowsInSection(Ref<UITableView> tableView, long section);
    virtual CGFloat tableViewHeightForRowAtIndexPath(Ref<UITableView> tableView, Ref<NSIndexPath> path);
    virtual Ref<UITableViewCell> tableViewCellForRowAtIndexPath(Ref<UITableView> tableView, Ref<NSIndexPath> path);
    virtual void tableViewDidSelectRowAtIndexPath(Ref<UITableView> tableView, Ref<NSIndexPath> path);

    virtual void beginRespringDevice();
    virtual void beginSafemodeDevice();
    virtual void beginReset();

    static const std::vector<std::string>& settingTitleArray();
    static const std::vector<std::string>& settingSubtitleArray();
    // Nothing when there was no current theme; a null entry for a missing file.
    static const std::optional<std::vector<Ref<UIImage>>>& settingIconArray();
    static Ref<UITableView> settingTableView();
    static Ref<UIImpactFeedbackGenerator> settingHapticFeedback();
};
