// The pane's root page: the master switch, the first-run guide, the title view and the pages it opens.
#include "prefs/pane/VNTPrimraryController.h"

#include "common/Keys.h"
#include "platform/core/Clock.h"
#include "platform/core/NSProcessInfo.h"
#include "platform/core/NSTimeZone.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIFont.h"
#include "platform/gfx/UIImage.h"
#include "platform/harness/EffectLog.h"
#include "platform/host/HBAppearanceSettings.h"
#include "platform/host/PSSpecifier.h"
#include "platform/ui/OBWelcomeController.h"
#include "platform/ui/UIBarButtonItem.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UIImpactFeedbackGenerator.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UINavigationBar.h"
#include "platform/ui/UINavigationItem.h"
#include "platform/ui/UISwitch.h"
#include "platform/ui/UIVisualEffectView.h"
#include "platform/ui/UIBlurEffect.h"
#include "prefs/drawer/VNTTheme.h"
#include "tests/prefs/pane/PaneFixture.h"

#include <optional>
#include <string>
#include <vector>

namespace {

using platform::msgSend;

// Something other than a specifier that names a page by "identifier", as the grid's buttons do.
class NamingSender : public NSObject {
    VT_OBJECT(NamingSender, NSObject)
public:
    std::string identifier() const { return m_name; }
    std::string m_name;
};

}  // namespace

VT_REGISTER_CLASS(NamingSender, [](Class c) { platform::runtime::addMethod<&NamingSender::identifier>(c, "identifier"); })

namespace {

class RootPage : public panetest::PaneFixture {
protected:
    static std::size_t impacts() { return platform::effectsOfKind("impact").size(); }
    static bool sameColour(const Ref<UIColor>& a, const vnt::ThemeColour& b) {
        CGFloat r = 0, g = 0, bl = 0, al = 0;
        if (!a || !a->getRedGreenBlueAlpha(&r, &g, &bl, &al)) return false;
        return std::abs(r - b.red) < 1e-6 && std::abs(g - b.green) < 1e-6 && std::abs(bl - b.blue) < 1e-6 && al == 1;
    }
    Ref<OBWelcomeController> presentedGuide() const {
        return m_navigation ? cast<OBWelcomeController>(m_navigation->presentedViewController()) : nullptr;
    }
    Ref<VNTPrimraryController> showRoot() {
        auto root = makeRoot();
        present(root);
        return root;
    }
};

// What the switch shows and what a tap stores, for each state of the backing file.
TEST_F(RootPage, MasterSwitchFollowsTheStoredValueAndATapStoresItsOpposite) {
    struct Case {
        const char* name;
        std::optional<Value> file;  // nothing: no backing file; None: a file without the key
        std::optional<bool> shown;  // nothing: the switch keeps its position
        Value afterTap;             // None: nothing written
    };
    const std::vector<Case> cases{
        {"no file", std::nullopt, false, Value(true)},
        {"no key", Value(), false, Value(true)},
        {"YES", Value(true), true, Value(false)},
        {"NO", Value(false), false, Value(true)},
        {"integer 1", Value(1), true, Value(false)},
        {"a string", Value(std::string("YES")), std::nullopt, Value(std::string("YES"))},
        {"integer 2", Value(2), std::nullopt, Value(2)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        removeDomain();
        if (c.file) {
            Value::Dictionary dict{{"profileNameString", Value(std::string("Kim"))}};
            if (!c.file->isNone()) dict[std::string(vantile::key::toggleVantile)] = *c.file;
            writeDomain(dict);
        }
        for (bool before : {false, true}) {
            auto root = makeRoot();
            root->enableSwitch()->setOn(before);
            root->setEnableSwitchState();
            EXPECT_EQ(root->enableSwitch()->isOn(), c.shown.value_or(before));
        }

        auto root = makeRoot();
        auto control = root->enableSwitch();
        ASSERT_TRUE(control->isEnabled());
        control->sendActionsForControlEvents(UIControlEventTouchUpInside);
        EXPECT_FALSE(control->isEnabled()) << "one tap per controller";
        const Value written = stored(vantile::key::toggleVantile);
        EXPECT_EQ(written, c.afterTap);
        if (c.afterTap.isBoolean()) {
            EXPECT_TRUE(written.isBoolean()) << "stored as a boolean";
        }
        EXPECT_TRUE(makeRoot()->enableSwitch()->isEnabled()) << "the next opening has a new switch";
    }
}

TEST_F(RootPage, SwitchIsTheRightBarItemAndTouchUpInsideTogglesIt) {
    auto root = showRoot();
    auto item = root->navigationItem()->rightBarButtonItem();
    ASSERT_TRUE(item);
    EXPECT_EQ(item->customView(), root->enableSwitch());
    EXPECT_EQ(root->enableSwitch()->actionsForTargetForControlEvent(root, UIControlEventTouchUpInside),
              (std::vector<std::string>{"toggleState"}));
    EXPECT_TRUE(root->enableSwitch()->actionsForTargetForControlEvent(root, UIControlEventValueChanged).empty());
}

TEST_F(RootPage, GuideIsPresentedOnTheTurnAfterEveryAppearanceWhileNoFileExists) {
    ASSERT_FALSE(domainFileExists());
    auto root = showRoot();
    EXPECT_FALSE(presentedGuide()) << "not during the appearance itself";
    settle();
    auto guide = presentedGuide();
    ASSERT_TRUE(guide);
    EXPECT_EQ(guide, VNTPrimraryController::userguideController());
    EXPECT_TRUE(guide->isModalInPresentation());
    EXPECT_FALSE(guide->userSwipeToDismiss()) << "only Close dismisses it";
    EXPECT_EQ(guide->modalPresentationStyle(), UIModalPresentationPageSheet);

    platform::clearEffectLog();
    auto tray = guide->buttonTray();
    ASSERT_EQ(tray->buttons().size(), 1u);
    EXPECT_EQ(tray->buttons()[0]->titleForState(UIControlStateNormal), "Close");
    EXPECT_GT(tray->buttons()[0]->frame().size.width, 100) << "the sheet is laid out like any presentation";
    tray->buttons()[0]->sendActionsForControlEvents(UIControlEventTouchUpInside);
    settle();
    EXPECT_FALSE(presentedGuide());
    EXPECT_EQ(platform::effectsOfKind("impact"), (std::vector<platform::EffectRecord>{{"impact", "", 0}}));
    EXPECT_EQ(VNTPrimraryController::mainHapticFeedback()->style(), UIImpactFeedbackStyleLight);

    // Leaving for a sub-page and coming back schedules it again.
    auto options = PSSpecifier::groupSpecifierWithName("");
    options->setIdentifier("VNTOptionsController");
    root->openController(options);
    settle();
    EXPECT_EQ(m_navigation->topViewController()->className(), "VNTOptionsController");
    EXPECT_FALSE(presentedGuide());
    m_navigation->popViewControllerAnimated(true);
    settle();
    EXPECT_TRUE(presentedGuide()) << "shown again after a push and pop";
    presentedGuide()->buttonTray()->buttons()[0]->sendActionsForControlEvents(UIControlEventTouchUpInside);
    settle();

    // Once anything is stored the guide stays away.
    root->enableSwitch()->sendActionsForControlEvents(UIControlEventTouchUpInside);
    ASSERT_TRUE(domainFileExists());
    root->openController(options);
    settle();
    m_navigation->popViewControllerAnimated(true);
    settle();
    EXPECT_FALSE(presentedGuide());
}

TEST_F(RootPage, GuideListsItsNineItemsWithTheirSymbols) {
    auto root = showRoot();
    settle();
    auto guide = presentedGuide();
    ASSERT_TRUE(guide);
    EXPECT_EQ(guide->headerTitle(), "User Guide");
    EXPECT_EQ(guide->detailText(), "A walk through tutorial how to use Vantile");
    ASSERT_TRUE(guide->icon());
    EXPECT_NE(guide->icon()->source().find("Default/Icons/prefs-icon"), std::string::npos) << guide->icon()->source();
    EXPECT_TRUE(sameColour(guide->view()->tintColor(), vnt::kThemes[0].accent));

    struct Item {
        const char* title;
        const char* symbol;
        std::optional<std::string> text;  // exact text, or nothing for a paragraph of about `length` characters
        std::size_t length;
    };
    const std::vector<Item> expected{
        {"Your time", "timer", "Please take a few minutes of your time to read through to get started.", 0},
        {"Main page", "square.stack.fill",
         "On the main page, there will be a small drag handler on right side of the screen and you can swipe it to "
         "the left to open the drawer menu or swipe right to close the drawer menu. ",
         0},
        {"Drawer", "sidebar.left", std::nullopt, 480},
        {"Categories", "circle.grid.3x3.fill",
         "You will find the categories grid on the main page, I have made it more easier for you to navigate and "
         "more be user-friendly.",
         0},
        {"Profile", "person.crop.circle", std::nullopt, 440},
        {"Changelog", "list.bullet.indent", std::nullopt, 90},
        {"Cells", "rectangle.grid.1x2.fill", std::nullopt, 480},
        {"Options", "ellipsis.circle.fill", std::nullopt, 260},
        {"Happy jailbreaking 💜", "smiley", "", 0},
    };
    const auto& items = guide->bulletedItems();
    ASSERT_EQ(items.size(), expected.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(expected[i].title);
        EXPECT_EQ(items[i].title, expected[i].title);
        ASSERT_TRUE(items[i].image);
        EXPECT_EQ(items[i].image->source(), UIImage::systemImageNamed(expected[i].symbol)->source());
        if (expected[i].text) {
            EXPECT_EQ(items[i].description, *expected[i].text);
        } else {
            const double length = static_cast<double>(items[i].description.size());
            EXPECT_NEAR(length, static_cast<double>(expected[i].length), expected[i].length * 0.15);
        }
    }
    auto tray = guide->buttonTray();
    ASSERT_EQ(tray->captionLabels().size(), 1u);
    EXPECT_EQ(tray->captionLabels()[0]->text(), "Thank you for purchasing Vantile 💜");
    ASSERT_TRUE(tray->effectView()->effect());
    EXPECT_EQ(tray->effectView()->effect()->style(), 11);
}

TEST_F(RootPage, ThemeDecidesAppearanceSwitchTintAndTitleIcon) {
    std::vector<std::optional<vnt::Theme>> themes{std::nullopt};
    for (const auto& row : vnt::kThemes) themes.push_back(row.theme);
    for (const auto& theme : themes) {
        SCOPED_TRACE(theme ? std::string(vnt::themeRow(*theme).name) : std::string("none"));
        if (theme) storeThemes({vnt::themeRow(*theme).name});
        else storeThemes({});
        auto root = showRoot();
        settle();
        auto appearance = root->hb_appearanceSettings();
        auto icon = root->iconImage()->image();
        if (!theme) {
            EXPECT_FALSE(appearance);
            EXPECT_FALSE(root->enableSwitch()->onTintColor());
            EXPECT_FALSE(icon);
            platform::clearEffectLog();
            msgSend<void>(root, sel("openUserGuideController:"), id());
            settle();
            EXPECT_FALSE(presentedGuide()) << "no guide without a theme";
            EXPECT_EQ(impacts(), 1u) << "the guide's haptic all the same";
            continue;
        }
        const auto& row = vnt::themeRow(*theme);
        ASSERT_TRUE(appearance);
        EXPECT_TRUE(sameColour(appearance->tintColor(), row.accent));
        EXPECT_TRUE(sameColour(appearance->navigationBarBackgroundColor(), row.gradientStart));
        ASSERT_TRUE(appearance->tableViewCellSeparatorColor());
        CGFloat white = 1, alpha = 1;
        ASSERT_TRUE(appearance->tableViewCellSeparatorColor()->getWhiteAlpha(&white, &alpha));
        EXPECT_EQ(white, 0);
        EXPECT_EQ(alpha, 0) << "invisible separators";
        EXPECT_TRUE(sameColour(root->enableSwitch()->onTintColor(), row.accent));
        ASSERT_TRUE(icon);
        EXPECT_NE(icon->source().find(std::string(row.name) + "/Icons/prefs-icon"), std::string::npos) << icon->source();
        EXPECT_EQ(root->iconImage()->alpha(), 0);
    }
}

TEST_F(RootPage, SeveralThemeFlagsTakeTheEarliestAndAMissingIconLeavesTheViewEmpty) {
    storeThemes({"Storm", "Ocean"});
    auto root = showRoot();
    ASSERT_TRUE(root->hb_appearanceSettings());
    EXPECT_TRUE(sameColour(root->hb_appearanceSettings()->tintColor(), vnt::kThemes[1].accent));

    std::filesystem::remove_all(hostPath(std::string(panetest::kBundle) + "/Assets/Ocean/Icons"));
    auto second = makeRoot();
    m_navigation->pushViewControllerAnimated(second, false);
    settle();
    EXPECT_TRUE(second->isViewLoaded());
    EXPECT_FALSE(second->iconImage()->image());
    EXPECT_TRUE(second->hb_appearanceSettings()) << "the colours do not need the file";
}

TEST_F(RootPage, TitleViewCarriesIconAndGreetingByHour) {
    struct Case {
        int hour;
        const char* greeting;
    };
    const std::vector<Case> cases{{0, "Good Morning "},   {11, "Good Morning "}, {12, "Good Afternoon "},
                                  {16, "Good Afternoon "}, {17, "Good Evening "}, {20, "Good Evening "},
                                  {21, "Good Night "},     {23, "Good Night "}};
    for (const auto& c : cases) EXPECT_EQ(VNTPrimraryController::greetingFormatForHour(c.hour), std::string(c.greeting) + "\n%@");

    // 2024-01-01 22:30 UTC is 07:30 the next morning in Tokyo.
    platform::Clock::setNow(1704067200.0 + 22.5 * 3600);
    EXPECT_EQ(VNTPrimraryController::currentHour(), 22);
    ASSERT_TRUE(NSTimeZone::setLocalTimeZoneName("Asia/Tokyo"));
    EXPECT_EQ(VNTPrimraryController::currentHour(), 7);
    ASSERT_TRUE(NSTimeZone::setLocalTimeZoneName("America/Los_Angeles"));
    EXPECT_EQ(VNTPrimraryController::currentHour(), 14);

    auto root = showRoot();
    EXPECT_EQ(root->greetingLabel()->text(), "Good Afternoon \nUsername") << "the default name";
    auto titleView = root->navigationItem()->titleView();
    ASSERT_TRUE(titleView);
    EXPECT_EQ(titleView->frame().size, CGSizeMake(150, 50));
    EXPECT_EQ(root->iconImage()->frame(), CGRectMake(60, 10, 30, 30));
    EXPECT_EQ(root->greetingLabel()->frame(), CGRectMake(0, 0, 150, 50));
    EXPECT_EQ(root->greetingLabel()->numberOfLines(), 2);
    EXPECT_EQ(root->greetingLabel()->font()->pointSize(), 10);

    writeDomain({{"profileNameString", Value(std::string("Zorvanic"))}});
    auto named = makeRoot();
    m_navigation->pushViewControllerAnimated(named, false);
    settle();
    EXPECT_EQ(named->greetingLabel()->text(), "Good Afternoon \nZorvanic");
}

TEST_F(RootPage, LargeTitlesAreTurnedOffFromElevenOnAndLeftAloneBelow) {
    for (long major : {10L, 11L, 14L}) {
        SCOPED_TRACE(major);
        platform::setOperatingSystemVersion({major, 0, 0});
        auto root = makeRoot();
        m_navigation = alloc<UINavigationController>();
        m_navigation->initWithRootViewController(root);
        m_navigation->navigationBar()->setPrefersLargeTitles(true);
        root->navigationItem()->setLargeTitleDisplayMode(UINavigationItemLargeTitleDisplayModeAlways);
        root->view();
        const bool off = major >= 11;
        EXPECT_EQ(m_navigation->navigationBar()->prefersLargeTitles(), !off);
        EXPECT_EQ(root->navigationItem()->largeTitleDisplayMode(),
                  off ? UINavigationItemLargeTitleDisplayModeNever : UINavigationItemLargeTitleDisplayModeAlways);
    }
}

TEST_F(RootPage, OpenControllerPushesTheNamedPageWhateverTheSender) {
    writeDomain({{"toggleVantile", Value(false)}});  // no guide in the way
    auto root = showRoot();
    settle();
    struct Case {
        std::string name;
        bool pushed;
    };
    const std::vector<Case> cases{{"VNTSectionsController", true}, {"VNTColoursController", true},
                                  {"VNTOptionsController", true},  {"VNTProfileController", true},
                                  {"VNTNoSuchController", false},  {"NSObject", false},
                                  {"", false}};
    for (const auto& c : cases) {
        for (bool bySpecifier : {true, false}) {
            SCOPED_TRACE(c.name + (bySpecifier ? " by specifier" : " by grid button"));
            id sender;
            if (bySpecifier) {
                auto row = PSSpecifier::groupSpecifierWithName("row");
                row->setIdentifier(c.name);
                sender = row;
            } else {
                auto button = alloc<NamingSender>();
                button->m_name = c.name;
                sender = button;
            }
            platform::clearEffectLog();
            msgSend<void>(root, sel("openController:"), sender);
            settle();
            EXPECT_EQ(impacts(), 1u) << "a light impact whatever the name";
            auto top = m_navigation->topViewController();
            if (c.pushed) {
                EXPECT_EQ(top->className(), c.name);
                EXPECT_EQ(m_navigation->viewControllers().size(), 2u);
                m_navigation->popViewControllerAnimated(false);
                settle();
            } else {
                EXPECT_EQ(top, root);
            }
        }
    }
}

}  // namespace
