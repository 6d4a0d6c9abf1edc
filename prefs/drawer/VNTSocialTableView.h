#pragma once

// The drawer's social menu: five rows that open the maker's pages on Discord, Reddit, Instagram, YouTube and
// PayPal (the donation row's long subtitle in a smaller font). Each opening asks the application to open the page
// and gives a light impact; the row is then deselected. The GitHub page and the package catalogue have operations
// of their own that no row reaches.
//
// Published (T = Ref<UITableView>, P = Ref<NSIndexPath>):
//   "initWithFrame:"                       void (CGRect)
//   "tableView:numberOfRowsInSection:"     long (T, long)
//   "tableView:heightForRowAtIndexPath:"   CGFloat (T, P)
//   "tableView:cellForRowAtIndexPath:"     Ref<UITableViewCell> (T, P)
//   "tableView:didSelectRowAtIndexPath:"   void (T, P)
//   "launchDiscord", "launchReddit", "launchInstagram", "launchYouTube", "launchPayPal", "launchGitHub",
//   "launchTweaks", "dismissTweakController"   void ()
//
// Process-wide objects of this file, replaced by each new menu: the row arrays, the table, the preferences object
// with the theme flags, the last light impact, and the catalogue being shown.

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
class VNTTweaksController;

class VNTSocialTableView : public UIView {
    VT_OBJECT(VNTSocialTableView, UIView)
public:
    static constexpr std::string_view kReuseIdentifier = "SocialCell";

    void initWithFrame(CGRect frame) override;

    virtual long tableViewNumberOfRowsInSection(Ref<UITableView> tableView, long section);
    virtual CGFloat tableViewHeightForRowAtIndexPath(Ref<UITableView> tableView, Ref<NSIndexPath> path);
    virtual Ref<UITableViewCell> tableViewCellForRowAtIndexPath(Ref<UITableView> tableView, Ref<NSIndexPath> path);
    virtual void tableViewDidSelectRowAtIndexPath(Ref<UITableView> tableView, Ref<NSIndexPath> path);

    virtual void launchDiscord();
    virtual void launchReddit();
    virtual void launchInstagram();
    virtual void launchYouTube();
    virtual void launchPayPal();
    virtual void launchGitHub();
    // Presents a new catalogue from the key window's root controller, animated, and gives a light impact. While
    // one is shown the root controller presents nothing more.
    virtual void launchTweaks();
    // Dismisses whatever the key window's root controller presents, animated.
    virtual void dismissTweakController();

    static const std::vector<std::string>& socialTitleArray();
    static const std::vector<std::string>& socialSubtitleArray();
    static const std::optional<std::vector<Ref<UIImage>>>& socialIconArray();
    static Ref<UITableView> socialTableView();
    static Ref<UIImpactFeedbackGenerator> socialHapticFeedback();
    static Ref<VNTTweaksController> tweaksController();
};
