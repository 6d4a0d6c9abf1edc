// The pane's drawer as its root page assembles it, and the menus behind its segments: rows, taps, the utilities
// on the device's programs, the catalogue and the theme selector.
#include "prefs/drawer/DrawerMenu.h"
#include "prefs/drawer/VNTDrawerCustomCell.h"
#include "prefs/drawer/VNTDrawerView.h"
#include "prefs/drawer/VNTSettingTableView.h"
#include "prefs/drawer/VNTSocialTableView.h"
#include "prefs/drawer/VNTThemesView.h"
#include "prefs/drawer/VNTTweaksController.h"
#include "prefs/drawer/VNTTweaksCustomCell.h"
#include "prefs/drawer/VNTTweaksTableView.h"

#include "common/Keys.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/CGColor.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIFont.h"
#include "platform/harness/EffectLog.h"
#include "platform/harness/TouchDriver.h"
#include "platform/system/ProcessSpawn.h"
#include "platform/ui/CAGradientLayer.h"
#include "platform/ui/CALayer.h"
#include "platform/ui/CAShapeLayer.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UISegmentedControl.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UITableViewCell.h"
#include "prefs/pane/VNTPrimraryController.h"
#include "tests/prefs/pane/PaneFixture.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using platform::EffectRecord;

class Drawer : public panetest::PaneFixture {
protected:
    void TearDown() override {
        platform::posix::setSpawnHandler({});
        platform::posix::resetSpawnRecords();
        PaneFixture::TearDown();
    }

    // The root page shown with the given themes stored, its drawer open and settled.
    void showOpen(std::initializer_list<std::string_view> themes = {"Default"}) {
        storeThemes(themes);
        m_root = makeRoot();
        present(m_root);
        settle();
        VNTPrimraryController::drawerView()->setOpenedAnimated(true, false);
        m_window->layoutIfNeeded();
        platform::clearEffectLog();
    }

    void tapAt(const Ref<UIView>& view, CGPoint local) {
        platform::TouchDriver(m_window).tap(view->convertPointToView(local, m_window));
        settle();
    }
    void tapCentre(const Ref<UIView>& view) { tapAt(view, CGPointMake(view->bounds().midX(), view->bounds().midY())); }

    void tapSegment(long index) {
        auto control = VNTPrimraryController::segmentedControl();
        const CGRect segment = control->frameOfSegment(index);
        tapAt(control, CGPointMake(segment.midX(), segment.midY()));
    }

    // The table inside a menu view and the cell of a row, laid out on screen.
    static Ref<UITableView> tableIn(const Ref<UIView>& menu) {
        for (const auto& v : menu->subviews())
            if (auto table = cast<UITableView>(v)) return table;
        return nullptr;
    }
    Ref<UITableViewCell> row(const Ref<UIView>& menu, long index) {
        m_window->layoutIfNeeded();
        auto table = tableIn(menu);
        return table ? table->cellForRowAtIndexPath({0, index}) : nullptr;
    }

    static std::vector<EffectRecord> effects() { return platform::effectLog(); }
    static bool sameColour(const CGColorRef& colour, const Ref<UIColor>& expected) {
        return colour && expected && expected->CGColor() && colour->components == expected->CGColor()->components;
    }
    static Ref<CAGradientLayer> gradientOf(const Ref<UIView>& view) {
        const auto& layers = view->layer()->sublayers();
        return layers.empty() ? nullptr : cast<CAGradientLayer>(layers.front());
    }

    Ref<VNTPrimraryController> m_root;
};

TEST_F(Drawer, AssembledClosedOnTheKeyWindowWithEveryViewInItsPlace) {
    storeThemes({"Default"});
    present(makeRoot());
    settle();
    const CGSize screen = UIScreen::mainScreen()->bounds().size;
    auto drawer = VNTPrimraryController::drawerView();
    ASSERT_TRUE(drawer);
    EXPECT_EQ(drawer->superview(), m_window);
    EXPECT_FALSE(drawer->isOpened());
    EXPECT_EQ(drawer->openedCenter(), CGPointMake(screen.width - 150, screen.height / 2));
    EXPECT_EQ(drawer->closedCenter(), CGPointMake(screen.width + 130, screen.height / 2));
    EXPECT_EQ(drawer->frame(), CGRectMake(screen.width - 20, 0, 300, screen.height)) << "20 points on screen";
    EXPECT_TRUE(drawer->clipsToBounds());
    EXPECT_EQ(drawer->pillView()->layer()->cornerRadius(), 4);
    EXPECT_TRUE(gradientOf(drawer->pillView())) << "the pill keeps its gradient";

    auto content = VNTPrimraryController::drawerContentView();
    EXPECT_EQ(content->frame(), CGRectMake(30, 0, 270, screen.height));
    auto mask = cast<CAShapeLayer>(content->layer()->mask());
    ASSERT_TRUE(mask) << "rounded on the left by a mask";
    ASSERT_TRUE(gradientOf(content));
    EXPECT_EQ(gradientOf(content)->frame(), content->bounds());

    // Every number of the layout, worked out from the constraints by hand.
    auto segments = VNTPrimraryController::segmentedControl();
    EXPECT_EQ(segments->selectedSegmentIndex(), 0);
    EXPECT_EQ(segments->frame().size, (CGSize{181, 31}));
    EXPECT_DOUBLE_EQ(segments->frame().midX(), 135);
    const auto social = VNTPrimraryController::socialsTableView();
    const auto settings = VNTPrimraryController::settingsTableView();
    const auto themes = VNTPrimraryController::themeView();
    for (const auto& menu : {social, settings, themes}) {
        EXPECT_EQ(menu->frame().minY(), segments->frame().maxY() + 10);
        EXPECT_EQ(menu->frame().minX(), 0);
        EXPECT_EQ(menu->frame().width(), 270);
        EXPECT_EQ(menu->frame().maxY(), screen.height - 50);
    }
    EXPECT_FALSE(social->isHidden());
    EXPECT_TRUE(settings->isHidden());
    EXPECT_TRUE(themes->isHidden());

    // Avatar 120 points, centred, 80 from the top; the badge at its lower right; the name 10 below it.
    std::vector<Ref<UIImageView>> images;
    std::vector<Ref<UILabel>> labels;
    std::function<void(const Ref<UIView>&)> walk = [&](const Ref<UIView>& v) {
        if (auto image = cast<UIImageView>(v); image && v->superview() && v->superview()->superview() == content)
            images.push_back(image);
        if (auto label = cast<UILabel>(v); label && v->superview() == content) labels.push_back(label);
        for (const auto& s : v->subviews()) walk(s);
    };
    walk(content);
    ASSERT_EQ(images.size(), 2u);
    const CGRect avatar = images[0]->convertRectToView(images[0]->bounds(), content);
    EXPECT_EQ(avatar, CGRectMake(75, 80, 120, 120));
    EXPECT_EQ(images[0]->layer()->cornerRadius(), 60);
    EXPECT_TRUE(images[0]->image()) << "the maker's picture";
    const CGRect badge = images[1]->convertRectToView(images[1]->bounds(), content);
    EXPECT_EQ(badge, CGRectMake(75 + 120 - 2 - 30, 80 + 120 - 3 - 30, 30, 30));
    EXPECT_TRUE(images[1]->image()) << "the theme's badge";
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_EQ(labels[0]->text(), "Zorvanic");
    EXPECT_EQ(labels[0]->frame().minY(), avatar.maxY() + 10);
    EXPECT_EQ(labels[0]->frame().minX(), 2);
    EXPECT_EQ(segments->frame().minY(), labels[0]->frame().maxY() + 10);
    EXPECT_EQ(labels[1]->text(), "Version \n1.0");
    EXPECT_EQ(labels[1]->frame().minY(), screen.height - 50 + 3);
    EXPECT_EQ(labels[1]->font()->pointSize(), 10);
}

TEST_F(Drawer, WithoutAThemeNothingIsTintedOrIconed) {
    showOpen({});
    EXPECT_FALSE(gradientOf(VNTPrimraryController::drawerView()->pillView()));
    EXPECT_FALSE(gradientOf(VNTPrimraryController::drawerContentView()));
    EXPECT_FALSE(VNTSocialTableView::socialIconArray());
    EXPECT_FALSE(VNTSettingTableView::settingIconArray());
    auto cell = cast<VNTDrawerCustomCell>(row(VNTPrimraryController::socialsTableView(), 0));
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->titleLabel()->text(), "Discord");
    EXPECT_FALSE(cell->iconImage()->image());
    for (const auto& button : VNTThemesView::themeButtons()) {
        EXPECT_NE(button->titleForState(UIControlStateNormal), "Selected");
        EXPECT_TRUE(sameColour(button->layer()->borderColor(), UIColor::whiteColor()));
    }
}

TEST_F(Drawer, SegmentsShowOneMenuAndAnIndexOutsideChangesNothing) {
    showOpen();
    struct Case {
        long index;
        bool social, settings, themes;
    };
    for (const auto& c : std::vector<Case>{{1, false, true, false}, {2, false, false, true}, {0, true, false, false}}) {
        platform::clearEffectLog();
        tapSegment(c.index);
        EXPECT_EQ(VNTPrimraryController::socialsTableView()->isHidden(), !c.social) << c.index;
        EXPECT_EQ(VNTPrimraryController::settingsTableView()->isHidden(), !c.settings) << c.index;
        EXPECT_EQ(VNTPrimraryController::themeView()->isHidden(), !c.themes) << c.index;
        EXPECT_EQ(effects(), (std::vector<EffectRecord>{{"impact", "", 0}})) << c.index;
    }
    // Set by code out of range, then the action sent as the control sends it.
    tapSegment(1);
    platform::clearEffectLog();
    auto control = VNTPrimraryController::segmentedControl();
    for (long index : {3L, -1L, 42L}) {
        control->setSelectedSegmentIndex(index);
        platform::msgSend<void>(m_root, sel("drawerSegmentControl:"), id(control));
        EXPECT_FALSE(VNTPrimraryController::settingsTableView()->isHidden()) << index;
        EXPECT_TRUE(VNTPrimraryController::socialsTableView()->isHidden()) << index;
    }
    EXPECT_TRUE(effects().empty()) << "no haptic";
}

TEST_F(Drawer, LeavingForASubPageRemovesItAndComingBackBuildsAFreshClosedOne) {
    showOpen();
    tapSegment(2);
    auto first = VNTPrimraryController::drawerView();
    auto page = alloc<UIViewController>();
    page->init();
    m_navigation->pushViewControllerAnimated(page, false);
    settle();
    EXPECT_FALSE(first->superview()) << "off the window";
    m_navigation->popViewControllerAnimated(false);
    settle();
    auto second = VNTPrimraryController::drawerView();
    EXPECT_NE(second, first);
    EXPECT_EQ(second->superview(), m_window);
    EXPECT_FALSE(second->isOpened());
    EXPECT_FALSE(VNTPrimraryController::socialsTableView()->isHidden());
    EXPECT_TRUE(VNTPrimraryController::themeView()->isHidden());
}

TEST_F(Drawer, AvatarOpensTheMakersTwitterPage) {
    showOpen();
    const auto content = VNTPrimraryController::drawerContentView();
    tapAt(content, CGPointMake(135, 120));
    EXPECT_EQ(effects(), (std::vector<EffectRecord>{{"applicationOpenURL", std::string(vnt::drawer::kTwitterAddress), 1},
                                                    {"impact", "", 0}}));
}

TEST_F(Drawer, SocialRowsOpenTheirPagesEachWithALightImpact) {
    showOpen();
    const auto menu = VNTPrimraryController::socialsTableView();
    struct Case {
        const char* title;
        const char* subtitle;
        std::string_view address;
        CGFloat subtitleSize;
    };
    const std::vector<Case> cases{
        {"Discord", "Chat with us", vnt::drawer::kDiscordAddress, 13},
        {"Reddit", "Follow me on Reddit", vnt::drawer::kRedditAddress, 13},
        {"Instagram", "Follow me on Instagram", vnt::drawer::kInstagramAddress, 13},
        {"YouTube", "Subscribe me on YouTube", vnt::drawer::kYouTubeAddress, 13},
        {"PayPal", "Any donation is greatly appreciated", vnt::drawer::kPayPalAddress, 11},
    };
    ASSERT_EQ(tableIn(menu)->numberOfRowsInSection(0), 5);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE(c.title);
        auto cell = cast<VNTDrawerCustomCell>(row(menu, static_cast<long>(i)));
        ASSERT_TRUE(cell);
        EXPECT_EQ(cell->titleLabel()->text(), c.title);
        EXPECT_EQ(cell->subtitleLabel()->text(), c.subtitle);
        EXPECT_EQ(cell->subtitleLabel()->font()->pointSize(), c.subtitleSize);
        EXPECT_TRUE(cell->iconImage()->image());
        EXPECT_EQ(cell->frame().height(), 70);
        // Icon 50 points, 10 in from the card, which sits 5 in from the row.
        EXPECT_EQ(cell->iconImage()->convertRectToView(cell->iconImage()->bounds(), cell),
                  CGRectMake(15, 10, 50, 50));
        platform::clearEffectLog();
        tapCentre(cell);
        EXPECT_EQ(effects(), (std::vector<EffectRecord>{{"applicationOpenURL", std::string(c.address), 1},
                                                        {"impact", "", 0}}));
        EXPECT_FALSE(cell->isSelected()) << "deselected";
    }
    // Rows made after the first one was configured take the selected look, whatever the theme.
    auto later = alloc<UITableViewCell>();
    later->initWithStyleReuseIdentifier(UITableViewCellStyleDefault, "later");
    ASSERT_TRUE(later->selectedBackgroundView());
    EXPECT_TRUE(sameColour(later->selectedBackgroundView()->backgroundColor()->CGColor(),
                           UIColor::colorWithRedGreenBlueAlpha(0.59, 0.58, 0.94, 0.5)));
}

TEST_F(Drawer, UtilitiesStartExactlyTheirCommandsAndWaitOnlyForAStartedChild) {
    showOpen();
    tapSegment(1);
    const auto menu = VNTPrimraryController::settingsTableView();
    struct Case {
        long row;
        std::vector<std::string> arguments;
    };
    const std::vector<Case> cases{{0, {"killall", "-9", "backboardd"}}, {1, {"killall", "-SEGV", "SpringBoard"}}};
    for (bool fails : {false, true}) {
        platform::posix::setSpawnHandler([fails](const platform::posix::SpawnRecord&) {
            return platform::posix::SpawnAnswer{fails ? platform::posix::kEAGAIN : 0, 0};
        });
        for (const auto& c : cases) {
            SCOPED_TRACE(std::to_string(c.row) + (fails ? " failing" : ""));
            platform::posix::resetSpawnRecords();
            platform::clearEffectLog();
            tapCentre(row(menu, c.row));
            const auto spawns = platform::posix::spawnRecords();
            ASSERT_EQ(spawns.size(), 1u);
            EXPECT_EQ(spawns[0].path, "/usr/bin/killall");
            EXPECT_EQ(spawns[0].arguments, c.arguments);
            EXPECT_FALSE(spawns[0].fileActions);
            EXPECT_FALSE(spawns[0].attributes);
            EXPECT_FALSE(spawns[0].environment);
            const auto waits = platform::posix::waitRecords();
            if (fails) {
                EXPECT_TRUE(waits.empty()) << "nothing started, nothing waited for";
            } else {
                ASSERT_EQ(waits.size(), 1u);
                EXPECT_EQ(waits[0].pid, spawns[0].pid);
                EXPECT_EQ(waits[0].options, 4);
                EXPECT_EQ(waits[0].result, spawns[0].pid);
            }
            // The light impact comes after the utility.
            ASSERT_FALSE(effects().empty());
            EXPECT_EQ(effects().back(), (EffectRecord{"impact", "", 0}));
        }
    }
}

TEST_F(Drawer, ResetErasesEveryKeyThenResprings) {
    writeDomain({{"toggleVantile", Value(true)}, {"toggleStormTheme", Value(true)},
                 {"toggleDefaultTheme", Value(false)}, {"userBirthdayDate", Value(std::string("1May"))},
                 {"vantileEnabledArray", Value(Value::Array{Value(std::string("Wi-Fi"))})}});
    m_root = makeRoot();
    present(m_root);
    settle();
    std::vector<std::string> started;
    platform::posix::setSpawnHandler([&](const platform::posix::SpawnRecord& r) {
        // The keys are gone by the time the restart is asked for.
        if (domainFileExists()) started.push_back("with keys");
        started.push_back(platform::posix::commandLine(r.arguments));
        return platform::posix::SpawnAnswer{};
    });
    platform::msgSend<void>(VNTPrimraryController::settingsTableView(), sel("beginReset"));
    EXPECT_FALSE(domainFileExists()) << "the domain's file is gone";
    EXPECT_EQ(started, std::vector<std::string>{"killall -9 backboardd"});
}

TEST_F(Drawer, CatalogueIsPresentedOnceAndItsButtonsOpenTheirPages) {
    showOpen();
    auto social = VNTPrimraryController::socialsTableView();
    platform::msgSend<void>(social, sel("launchTweaks"));
    auto first = VNTSocialTableView::tweaksController();
    platform::msgSend<void>(social, sel("launchTweaks"));
    settle();
    ASSERT_TRUE(first);
    EXPECT_EQ(m_navigation->presentedViewController(), first) << "the second one is not presented over it";
    EXPECT_EQ(platform::effectsOfKind("impact").size(), 2u);

    // The second catalogue was made (and loaded its table) though never shown: the one on screen is the first's.
    EXPECT_NE(VNTSocialTableView::tweaksController(), first);
    Ref<VNTTweaksTableView> tweaks;
    for (const auto& v : first->view()->subviews())
        if (auto table = cast<VNTTweaksTableView>(v)) tweaks = table;
    ASSERT_TRUE(tweaks);
    EXPECT_EQ(tweaks->frame().minY(), 20);
    EXPECT_EQ(tweaks->frame().maxY(), first->view()->bounds().height() - 50);
    auto cell = cast<VNTTweaksCustomCell>(row(tweaks, 0));
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->titleLabel()->text(), "Title");
    EXPECT_EQ(cell->subtitleLabel()->text(), "Subtitle");
    EXPECT_EQ(cell->priceLabel()->text(), "$0.99");
    EXPECT_EQ(cell->frame().height(), 110);
    EXPECT_TRUE(gradientOf(cell->cardContentView()));

    platform::clearEffectLog();
    cell->youtubeButton()->setTag(1);
    platform::msgSend<void>(tweaks, sel("watchYoutubeVideos:"), id(cell->youtubeButton()));
    EXPECT_TRUE(effects().empty()) << "only the first row's video opens";
    cell->youtubeButton()->setTag(0);
    platform::msgSend<void>(tweaks, sel("watchYoutubeVideos:"), id(cell->youtubeButton()));
    tapAt(cell, CGPointMake(60, 55));
    EXPECT_EQ(effects(), (std::vector<EffectRecord>{
                             {"applicationOpenURL", std::string(vnt::drawer::kYouTubeHomeAddress), 1},
                             {"impact", "", 0},
                             {"applicationOpenURL", std::string(vnt::drawer::kRepositoryAddress), 1},
                             {"impact", "", 0}}));

    platform::msgSend<void>(social, sel("dismissTweakController"));
    settle();
    EXPECT_FALSE(m_navigation->presentedViewController());
}

TEST_F(Drawer, ThemeButtonsMarkTheCurrentThemeAndAChoiceStoresAllSixThenResprings) {
    struct Case {
        const char* name;
        std::vector<std::string_view> stored;
        int marked;  // -1: none
    };
    const std::vector<Case> cases{
        {"Default", {"Default"}, 0},
        {"Ocean and Storm both on: Ocean", {"Ocean", "Storm"}, 1},
        {"none", {}, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Value::Dictionary flags;
        for (const auto& row : vnt::kThemes)
            flags[std::string(row.key)] = Value(std::find(c.stored.begin(), c.stored.end(), row.name) != c.stored.end());
        writeDomain(flags);
        auto selector = alloc<VNTThemesView>();
        selector->initWithFrame(CGRectMake(0, 0, 270, 500));
        const auto& buttons = VNTThemesView::themeButtons();
        for (std::size_t i = 0; i < buttons.size(); ++i) {
            const bool marked = static_cast<int>(i) == c.marked;
            EXPECT_EQ(buttons[i]->titleForState(UIControlStateNormal),
                      marked ? std::string("Selected") : std::string(vnt::kThemes[i].name));
            EXPECT_TRUE(sameColour(buttons[i]->layer()->borderColor(),
                                   marked ? UIColor::systemGreenColor() : UIColor::whiteColor()));
            ASSERT_TRUE(gradientOf(buttons[i]));
            EXPECT_EQ(gradientOf(buttons[i])->frame(), CGRectMake(0, 0, 150, 45));
        }
    }

    showOpen({"Default"});
    tapSegment(2);
    const auto& buttons = VNTThemesView::themeButtons();
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        EXPECT_EQ(buttons[i]->frame().size, (CGSize{150, 45}));
        EXPECT_DOUBLE_EQ(buttons[i]->frame().midX(), 135);
        if (i > 0) {
            EXPECT_EQ(buttons[i]->frame().minY(), buttons[i - 1]->frame().maxY() + 7);
        }
    }
    platform::clearEffectLog();
    tapCentre(buttons[5]);
    for (const auto& row : vnt::kThemes) EXPECT_EQ(stored(row.key), Value(row.name == "Storm")) << row.key;
    EXPECT_EQ(effects(), (std::vector<EffectRecord>{{"impact", "", 1}, {"respring", "prefs:root=Vantile", 0}}));
}

TEST_F(Drawer, AThemeFlagStoredAsTextIsReadAsItsTextsBoolValue) {
    // "NO" and "maybe" read NO, "YES" reads YES, as the device's string boolValue does.
    writeDomain({{"toggleDefaultTheme", Value(std::string("NO"))}, {"toggleOceanTheme", Value(std::string("maybe"))},
                 {"toggleSunsetTheme", Value(std::string("YES"))}});
    auto selector = alloc<VNTThemesView>();
    selector->initWithFrame(CGRectMake(0, 0, 270, 500));
    const auto& buttons = VNTThemesView::themeButtons();
    for (std::size_t i = 0; i < buttons.size(); ++i)
        EXPECT_EQ(buttons[i]->titleForState(UIControlStateNormal) == "Selected", i == 2) << vnt::kThemes[i].name;
}

}  // namespace

namespace {

TEST_F(Drawer, AMissingThemedIconLeavesItsRowWithoutIcon) {
    // The file and its scaled variants.
    const auto folder = hostPath(std::string(panetest::kBundle) + "/Assets/Default/Drawer");
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().filename().string().starts_with("reset")) std::filesystem::remove(entry.path());
    showOpen();
    ASSERT_TRUE(VNTSettingTableView::settingIconArray());
    tapSegment(1);
    const auto menu = VNTPrimraryController::settingsTableView();
    auto reset = cast<VNTDrawerCustomCell>(row(menu, 2));
    auto respring = cast<VNTDrawerCustomCell>(row(menu, 0));
    ASSERT_TRUE(reset && respring);
    EXPECT_EQ(reset->titleLabel()->text(), "Reset");
    EXPECT_FALSE(reset->iconImage()->image());
    EXPECT_TRUE(respring->iconImage()->image());
}

}  // namespace
