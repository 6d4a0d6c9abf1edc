#pragma once

// The catalogue's table: the maker's packages, one row each (for now one placeholder row), with a video button.
// Selecting the first row opens the package repository's page with a light impact; every row is deselected. The
// video button of the first row opens YouTube with a light impact; the others do nothing.
//
// Published (T = Ref<UITableView>, P = Ref<NSIndexPath>):
//   "initWithFrame:"                       void (CGRect)
//   "tableView:numberOfRowsInSection:"     long (T, long)
//   "tableView:heightForRowAtIndexPath:"   CGFloat (T, P)
//   "tableView:cellForRowAtIndexPath:"     Ref<UITableViewCell> (T, P)
//   "tableView:didSelectRowAtIndexPath:"   void (T, P)
//   "watchYoutubeVideos:"                  void (id button)

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

class VNTTweaksTableView : public UIView {
    VT_OBJECT(VNTTweaksTableView, UIView)
public:
    static constexpr std::string_view kReuseIdentifier = "TweaksCell";

    void initWithFrame(CGRect frame) override;

    virtual long tableViewNumberOfRowsInSection(Ref<UITableView> tableView, long section);
    virtual CGFloat tableViewHeightForRowAtIndexPath(Ref<UITableView> tableView, Ref<NSIndexPath> path);
    virtual Ref<UITableViewCell> tableViewCellForRowAtIndexPath(Ref<UITableView> tableView, Ref<NSIndexPath> path);
    virtual void tableViewDidSelectRowAtIndexPath(Ref<UITableView> tableView, Ref<NSIndexPath> path);
    virtual void watchYoutubeVideos(id sender);

    static Ref<UITableView> tweaksTableView();
    static Ref<UIImpactFeedbackGenerator> tweaksHapticFeedback();
};
