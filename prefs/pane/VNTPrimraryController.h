#pragma once

// The preference bundle's principal class: the pane's root page. It carries the master switch for `toggleVantile`
// in the navigation bar, a title view with the pane icon and a greeting by time of day, the rows of the "Primrary"
// list, the user guide shown on first run and on request, and opens the sub-pages named by its rows.
//
// Published to the run-time (targets of rows, grid buttons and controls send these by name):
//   "openController:"            void (id sender)   sender a PSSpecifier (its identifier) or anything answering
//                                                   "identifier" with a std::string (a grid button)
//   "openUserGuideController:"   void (id sender)
//   "openChangelogController:"   void (id sender)
//   "toggleState"                void ()
//   "closeUserGuide"             void ()
//   "setEnableSwitchState", "isFirstTime"   void ()
//   "setupDrawer"                void ()
//   "drawerSegmentControl:"      void (id sender)   sender the drawer's segmented control
//   "launchTwitterHandler:"      void (id sender)
//   "updateBanner"               void ()
//   "scrollViewDidScroll:"       void (Ref<UIScrollView>)   the page's table reports every scroll
//
// Process-wide objects of this file (one per process, replaced by a later controller or appearance): the
// preferences object with the theme flags and the profile name bound, the most recent light-impact generator, and
// the user guide being shown.

#include "platform/host/PSListController.h"

#include <optional>
#include <string>

class OBWelcomeController;
class UIImageView;
class UIImpactFeedbackGenerator;
class UILabel;
class UIScrollView;
class UISwitch;
class UISegmentedControl;
class VNTDrawerView;
class VNTChangelogViewController;
class VNTBannerView;

class VNTPrimraryController : public PSListController {
    VT_OBJECT(VNTPrimraryController, PSListController)
public:
    // Binds the preferences, makes the master switch the right bar button and, with a current theme, gives the page
    // the theme's appearance settings and the switch the theme's accent as its on-tint.
    void init() override;

    // The "Primrary" list, loaded once.
    Ref<NSMutableArray> specifiers() override;

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    // Takes the drawer off the window, so the next appearance shows a fresh, closed one.
    void viewDidDisappear(bool animated) override;

    // A new drawer on the key window, closed, with the social menu shown; it replaces the previous one.
    void setupDrawer();
    // The segmented control's action: shows the social menu (0), the settings menu (1) or the theme selector (2)
    // and hides the two others, then gives a light impact; any other index changes nothing and gives none.
    void drawerSegmentControl(id sender);
    // Opens the maker's Twitter page through the application, then gives a light impact.
    void launchTwitterHandler(id sender);
    // A new light-impact generator, stored as the most recent one, fired once.
    static void giveLightImpact();
    // The drawer and its parts as the last setupDrawer built them; null before.
    static Ref<VNTDrawerView> drawerView();
    static Ref<UIView> drawerContentView();
    static Ref<UISegmentedControl> segmentedControl();
    static Ref<UIView> socialsTableView();
    static Ref<UIView> settingsTableView();
    static Ref<UIView> themeView();
    // The host's inset pass at each appearance and layout knows nothing of the banner; the list is kept under it.
    void viewDidLayoutSubviews() override;

    // Sets the switch from the stored `toggleVantile`: off without a file or without the key, on for YES, off for
    // NO, untouched for anything else.
    void setEnableSwitchState();
    // The switch's action: disables the switch for good, then stores the opposite of the stored value (YES when
    // nothing is stored); a stored value that is neither YES nor NO is left as it is.
    void toggleState();
    // Schedules the user guide for a later turn of the main run loop while the domain has no backing file.
    void isFirstTime();

    // Light impact, then pushes a new instance of the controller class the sender names. A name that names no
    // class, or a class that is no view controller, pushes nothing.
    void openController(id sender);
    // Light impact, then, with a current theme, presents the user guide as a sheet only "Close" dismisses.
    void openUserGuideController(id sender);
    // Light impact, then dismisses the guide.
    void closeUserGuide();
    // Presents a new changelog card, animated, and keeps it as the one shown.
    void openChangelogController(id sender);

    // Banner geometry, list insets and the title icon's fade for the table's current offset (rest at -370).
    void updateBanner();
    // updateBanner, then the greeting fades out once the list is scrolled above -80 and back in below.
    void scrollViewDidScroll(Ref<UIScrollView> scrollView);
    Ref<VNTBannerView> bannerView() const { return m_bannerView; }

    Ref<UISwitch> enableSwitch() const { return m_enableSwitch; }
    Ref<UILabel> greetingLabel() const { return m_greetingLabel; }
    Ref<UIImageView> iconImage() const { return m_iconImage; }

    // The greeting format for an hour of the day (0-23), "%@" standing for the profile name.
    static std::string greetingFormatForHour(int hour);
    // The hour of the clock's "now" in the device's time zone.
    static int currentHour();

    // The generator of the most recent light impact and the guide being shown; null before the first.
    static Ref<UIImpactFeedbackGenerator> mainHapticFeedback();
    static Ref<OBWelcomeController> userguideController();
    static Ref<VNTChangelogViewController> changelogController();

private:
    Ref<UISwitch> m_enableSwitch;
    Ref<UILabel> m_greetingLabel;
    Ref<UIImageView> m_iconImage;
    Ref<VNTBannerView> m_bannerView;

    // The banner above the list and the list's first position under it (in PrimraryBanner.cpp).
    void setupBanner();
    void keepListUnderBanner(CGPoint offsetBefore);
};
