// The scenario runner against a real window of the platform: every command's happy path and its error.
#include "sim/scenario/Records.h"
#include "sim/scenario/ScenarioErrors.h"
#include "sim/scenario/ScenarioRunner.h"
#include "sim/scenario/ScenarioScript.h"
#include "tests/sim/ScenarioTestPhone.h"
#include "tests/sim/SimProcess.h"

#include "common/Keys.h"
#include "platform/core/Clock.h"
#include "platform/core/DeviceRoot.h"
#include "platform/core/NSNotificationCenter.h"
#include "platform/core/NSURL.h"
#include "platform/core/PreferenceDomain.h"
#include "platform/core/RunLoop.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/ImageCodec.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIImage.h"
#include "platform/system/DeviceRadios.h"
#include "platform/system/RadiosPreferences.h"
#include "platform/host/PSURLManager.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UIImpactFeedbackGenerator.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIScrollView.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UITableViewCell.h"
#include "platform/ui/UITouch.h"
#include "platform/ui/UITraitCollection.h"
#include "platform/harness/Renderer.h"
#include "platform/core/Runtime.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace sim::scenario;
namespace fs = std::filesystem;

// The targets of the test page's buttons.
class PageActions : public NSObject {
    VT_OBJECT(PageActions, NSObject)
public:
    Weak<UINavigationController> navigation;
    void open(id) {
        auto detail = alloc<UIViewController>();
        detail->init();
        detail->setTitle("Detail");
        if (auto nav = navigation.lock()) nav->pushViewControllerAnimated(detail, false);
    }
    void buzz(id) {
        auto haptic = alloc<UIImpactFeedbackGenerator>();
        haptic->initWithStyle(0);
        haptic->impactOccurred();
        PSURLManager::sharedManager()->processURLAnimatedFromSearchWithCompletion(NSURL::URLWithString("prefs:root=WIFI"),
                                                                                  true, false, {});
        NSNotificationCenter::defaultCenter()->postNotificationNameObject("com.example.buzzed", nullptr);
    }
};

// Where a touch sequence began and ended, in window coordinates.
class TouchRecorder : public UIView {
    VT_OBJECT(TouchRecorder, UIView)
public:
    std::optional<CGPoint> began, ended;
    void touchesBeganWithEvent(UITouchSet touches, id) override { began = touches.front()->locationInView(window()); }
    void touchesEndedWithEvent(UITouchSet touches, id) override { ended = touches.front()->locationInView(window()); }
};

using T = Ref<UITableView>;
using P = Ref<NSIndexPath>;

// Two sections of titles whose rows move by their handles, as the card editor's do.
class TwoLists : public NSObject {
    VT_OBJECT(TwoLists, NSObject)
public:
    std::vector<std::vector<std::string>> rows{{"Wi-Fi", "Bluetooth", "Battery"}, {"Sounds", "Privacy"}};
    long numberOfSectionsInTableView(T) { return 2; }
    long tableViewNumberOfRowsInSection(T, long s) { return static_cast<long>(rows[static_cast<std::size_t>(s)].size()); }
    std::string tableViewTitleForHeaderInSection(T, long s) { return s == 0 ? "Selected Cells" : "Available Cells"; }
    Ref<UITableViewCell> tableViewCellForRowAtIndexPath(T table, P path) {
        auto cell = table->dequeueReusableCellWithIdentifier("Row");
        if (!cell) {
            cell = alloc<UITableViewCell>();
            cell->initWithStyleReuseIdentifier(UITableViewCellStyleDefault, "Row");
        }
        cell->textLabel()->setText(rows[static_cast<std::size_t>(path->section())][static_cast<std::size_t>(path->row())]);
        return cell;
    }
    bool tableViewCanMoveRowAtIndexPath(T, P) { return true; }
    long tableViewEditingStyleForRowAtIndexPath(T, P) { return UITableViewCellEditingStyleNone; }
    void tableViewMoveRowAtIndexPathToIndexPath(T, P from, P to) {
        auto& src = rows[static_cast<std::size_t>(from->section())];
        std::string title = src[static_cast<std::size_t>(from->row())];
        src.erase(src.begin() + from->row());
        auto& dst = rows[static_cast<std::size_t>(to->section())];
        dst.insert(dst.begin() + to->row(), title);
    }
};

}  // namespace

VT_REGISTER_CLASS(PageActions, [](Class c) {
    platform::runtime::addMethod<&PageActions::open>(c, "open:");
    platform::runtime::addMethod<&PageActions::buzz>(c, "buzz:");
})
VT_REGISTER_CLASS(TouchRecorder)
VT_REGISTER_CLASS(TwoLists, [](Class c) {
    using namespace platform::runtime;
    addMethod<&TwoLists::numberOfSectionsInTableView>(c, "numberOfSectionsInTableView:");
    addMethod<&TwoLists::tableViewNumberOfRowsInSection>(c, "tableView:numberOfRowsInSection:");
    addMethod<&TwoLists::tableViewTitleForHeaderInSection>(c, "tableView:titleForHeaderInSection:");
    addMethod<&TwoLists::tableViewCellForRowAtIndexPath>(c, "tableView:cellForRowAtIndexPath:");
    addMethod<&TwoLists::tableViewCanMoveRowAtIndexPath>(c, "tableView:canMoveRowAtIndexPath:");
    addMethod<&TwoLists::tableViewEditingStyleForRowAtIndexPath>(c, "tableView:editingStyleForRowAtIndexPath:");
    addMethod<&TwoLists::tableViewMoveRowAtIndexPathToIndexPath>(c, "tableView:moveRowAtIndexPath:toIndexPath:");
})

namespace {

class ScenarioRunnerTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::resetRunLoop();
        UIApplication::sharedApplication()->reset();
        platform::system::DeviceRadios::reset();
        clearRecords();
        static int counter = 0;
        dir = fs::temp_directory_path() / ("vantile-scenario-runner-" + std::to_string(getpid()) + "-" +
                                           std::to_string(++counter));
        fs::create_directories(dir);
        phone = std::make_unique<scenariotest::WindowPhone>();
        actions = alloc<PageActions>();
        actions->navigation = phone->navigation;
    }
    void TearDown() override {
        phone.reset();
        UIApplication::sharedApplication()->reset();
        platform::system::DeviceRadios::reset();
        platform::resetRunLoop();
        fs::remove_all(dir);
    }

    int play(const std::string& text) {
        Script script = parseScript(text, "test");
        RunnerOptions options;
        options.root = dir / "root";
        options.out = dir / "out";
        options.baseFolder = dir;
        ScenarioRunner runner(*phone, options);
        std::ostringstream err;
        int status = runner.run(script, err);
        errors = err.str();
        return status;
    }

    Ref<UIView> page() { return phone->home->view(); }
    Ref<UILabel> addLabel(const std::string& text, CGRect frame, Ref<UIView> parent = nullptr) {
        auto label = alloc<UILabel>();
        label->initWithFrame(frame);
        label->setText(text);
        (parent ? parent : page())->addSubview(label);
        return label;
    }
    Ref<UIButton> addButton(const std::string& title, CGRect frame, const char* action) {
        auto button = UIButton::buttonWithType(UIButtonTypeSystem);
        button->setFrame(frame);
        if (!title.empty()) button->setTitleForState(title, UIControlStateNormal);
        button->addTargetActionForControlEvents(actions, sel(action), UIControlEventTouchUpInside);
        page()->addSubview(button);
        return button;
    }
    std::string topTitle() { return phone->navigation->topViewController()->title(); }

    fs::path dir;
    std::unique_ptr<scenariotest::WindowPhone> phone;
    Ref<PageActions> actions;
    std::string errors;
};

TEST_F(ScenarioRunnerTest, TapFindsTheButtonByTitleSymbolOrPoint) {
    addButton("Open", CGRectMake(20, 200, 120, 44), "open:");
    auto gear = addButton("", CGRectMake(300, 200, 44, 44), "open:");
    gear->setImageForState(UIImage::systemImageNamed("gear"), UIControlStateNormal);
    auto done = addButton("", CGRectMake(300, 300, 44, 44), "open:");
    done->setImageForState(UIImage::imageWithBitmap(Bitmap(30, 30), 1, "/Library/Assets/done.png"), UIControlStateNormal);
    for (const char* step : {"tap Open", "tap gear", "tap done.png", "tap @80,222", "tap \"Open\""}) {
        phone->navigation->popToRootViewControllerAnimated(false);
        ASSERT_EQ(play(step), 0) << step << ": " << errors;
        EXPECT_EQ(topTitle(), "Detail") << step;
    }
    EXPECT_EQ(play("tap Assets/done.png"), kExitStepError) << "a file is named by its last component only";

    phone->navigation->popToRootViewControllerAnimated(false);
    EXPECT_EQ(play("expect visible gear\nexpect visible done.png\nexpect no-visible trash\nexpect visible Open"), 0)
        << errors;
    gear->setHidden(true);
    EXPECT_EQ(play("expect visible gear"), kExitExpectationFailed);
    EXPECT_EQ(play("expect no-visible Open"), kExitExpectationFailed);
    EXPECT_EQ(play("expect visible @10,10"), kExitStepError);
}

TEST_F(ScenarioRunnerTest, ViewsTheUserCannotSeeAreNoTargets) {
    addLabel("Hidden", CGRectMake(20, 200, 100, 30))->setHidden(true);
    addLabel("Faded", CGRectMake(20, 240, 100, 30))->setAlpha(0);
    auto clip = alloc<UIView>();
    clip->initWithFrame(CGRectMake(20, 280, 100, 30));
    clip->setClipsToBounds(true);
    page()->addSubview(clip);
    addLabel("Clipped", CGRectMake(0, 40, 100, 30), clip);
    addLabel("Offscreen", CGRectMake(20, 5000, 100, 30));
    addLabel("Covered", CGRectMake(20, 400, 100, 30));
    auto cover = alloc<UIView>();
    cover->initWithFrame(CGRectMake(0, 380, 375, 100));
    cover->setBackgroundColor(UIColor::whiteColor());
    page()->addSubview(cover);
    addLabel("Shown", CGRectMake(20, 500, 100, 30));
    // A clear view laid over a label, as a container of the dashboard is, leaves it in sight.
    addLabel("Under glass", CGRectMake(20, 560, 100, 30));
    auto glass = alloc<UIView>();
    glass->initWithFrame(CGRectMake(0, 550, 375, 100));
    page()->addSubview(glass);

    for (const char* name : {"Hidden", "Faded", "Clipped", "Offscreen", "Covered", "Missing"}) {
        EXPECT_EQ(play(std::string("\n# comment\ntap ") + name), kExitStepError) << name;
        EXPECT_NE(errors.find("test:3: tap: nothing visible shows \"" + std::string(name) + "\""), std::string::npos)
            << errors;
        EXPECT_NE(errors.find("\"Shown\""), std::string::npos) << "the error lists what is on screen: " << errors;
        EXPECT_EQ(play(std::string("expect no-text ") + name), 0) << name << ": " << errors;
    }
    EXPECT_EQ(play("expect text Shown\nexpect text Home"), 0) << "the navigation title is a label too: " << errors;
    EXPECT_EQ(play("expect text \"Under glass\""), 0) << errors;
    // The navigation bar is painted over the top of the page.
    addLabel("Under the bar", CGRectMake(20, 30, 100, 20));
    EXPECT_EQ(play("expect no-text \"Under the bar\""), 0) << errors;
}

TEST_F(ScenarioRunnerTest, FailedExpectationsSayWhatWasExpectedAndFound) {
    addLabel("Shown", CGRectMake(20, 500, 100, 30));
    EXPECT_EQ(play("expect text Shown\nexpect text \"Not here\""), kExitExpectationFailed);
    EXPECT_NE(errors.find("test:2:"), std::string::npos) << errors;
    EXPECT_NE(errors.find("expected: \"Not here\""), std::string::npos) << errors;
    EXPECT_NE(errors.find("\"Shown\""), std::string::npos) << errors;

    EXPECT_EQ(play("expect no-text Shown"), kExitExpectationFailed);
    EXPECT_EQ(play("expect page Detail"), kExitExpectationFailed);
    EXPECT_NE(errors.find("actual:   \"Home\""), std::string::npos) << errors;
    EXPECT_EQ(play("expect page"), kExitStepError);
    EXPECT_EQ(play("expect flavour red"), kExitStepError);
}

TEST_F(ScenarioRunnerTest, BackPopsThePageTheTapPushed) {
    addButton("Open", CGRectMake(20, 200, 120, 44), "open:");
    ASSERT_EQ(play("expect page Home\ntap Open\nexpect page Detail\nback\nexpect page Home"), 0) << errors;
    EXPECT_EQ(play("back"), kExitStepError);
    EXPECT_NE(errors.find("no back button"), std::string::npos) << errors;
}

TEST_F(ScenarioRunnerTest, WaitMovesTheVirtualClock) {
    double start = platform::Clock::now();
    bool fired = false;
    platform::RunLoop::main().scheduleAfter(1.2, [&] { fired = true; });
    ASSERT_EQ(play("wait 1s\nwait 250ms"), 0) << errors;
    EXPECT_DOUBLE_EQ(platform::Clock::now(), start + 1.25);
    EXPECT_TRUE(fired);
    for (const char* bad : {"wait", "wait soon", "wait -1s", "wait 1h", "wait 1s 2s"}) {
        EXPECT_EQ(play(bad), kExitStepError) << bad;
    }
    EXPECT_DOUBLE_EQ(platform::Clock::now(), start + 1.25) << "a bad wait moves nothing";
}

TEST_F(ScenarioRunnerTest, RecordsCountSinceTheStartAndNameTheLastURL) {
    addButton("Buzz", CGRectMake(20, 200, 120, 44), "buzz:");
    EXPECT_EQ(play("expect haptics 0\nexpect url \"prefs:root=WIFI\""), kExitExpectationFailed);
    EXPECT_NE(errors.find("none opened"), std::string::npos) << errors;
    ASSERT_EQ(play("tap Buzz\ntap Buzz\nexpect haptics 2\nexpect url \"prefs:root=WIFI\"\n"
                   "expect notification com.example.buzzed 2\nexpect notification other 0\ndump records rec"),
              0)
        << errors;
    std::ifstream in(dir / "out" / "rec.json");
    std::stringstream text;
    text << in.rdbuf();
    auto json = simtest::readReport(text.str());
    ASSERT_TRUE(json) << text.str();
    const Value* urls = json->find("urlOpens");
    const Value* haptics = json->find("haptics");
    const Value* posts = json->find("notifications");
    ASSERT_TRUE(urls && urls->asArray() && haptics && haptics->asArray() && posts && posts->asArray());
    EXPECT_EQ(*urls->asArray(), (Value::Array{"prefs:root=WIFI", "prefs:root=WIFI"}));
    ASSERT_EQ(haptics->asArray()->size(), 2u);
    EXPECT_EQ(*haptics->asArray()->at(0).find("style"), Value(0));
    ASSERT_EQ(posts->asArray()->size(), 2u);
    EXPECT_EQ(*posts->asArray()->at(0).find("name"), Value("com.example.buzzed"));

    EXPECT_EQ(play("expect haptics 3"), kExitExpectationFailed);
    for (const char* bad : {"expect haptics many", "expect notification x", "dump records", "dump screen x",
                            "dump records ../x"})
        EXPECT_EQ(play(bad), kExitStepError) << bad;
}

TEST_F(ScenarioRunnerTest, PreferencesAreWrittenCheckedAndRemoved) {
    std::ofstream(dir / "picture.bin", std::ios::binary) << "PIC";
    ASSERT_EQ(play("pref toggleVantile bool yes\n"
                   "pref vantileFlowDirection int 1\n"
                   "pref cornerRadius real 12.5\n"
                   "pref tweaksSectionString string \"My Tweaks\"\n"
                   "pref vantileEnabledArray strings [\"Wi-Fi\", \"Sounds & Haptics\"]  # two cards\n"
                   "pref picture data picture.bin\n"
                   "expect pref toggleVantile true\n"
                   "expect pref vantileFlowDirection 1\n"
                   "expect pref cornerRadius 12.5\n"
                   "expect pref tweaksSectionString \"My Tweaks\"\n"
                   "expect pref vantileEnabledArray [\"Wi-Fi\",\"Sounds & Haptics\"]\n"
                   "expect pref picture \"UElD\"\n"
                   "expect pref missing absent\n"
                   "pref-remove toggleVantile\n"
                   "expect pref toggleVantile absent\n"
                   "dump prefs domain"),
              0)
        << errors;
    auto domain = platform::PreferenceDomain::named(vantile::kDomain);
    ASSERT_TRUE(domain);
    EXPECT_EQ(domain->value("vantileFlowDirection"), Value(1));
    EXPECT_TRUE(fs::exists(dir / "out" / "domain.json"));

    EXPECT_EQ(play("expect pref vantileFlowDirection 2"), kExitExpectationFailed);
    EXPECT_NE(errors.find("expected: 2"), std::string::npos) << errors;
    EXPECT_NE(errors.find("actual:   1"), std::string::npos) << errors;

    ASSERT_EQ(play("pref-delete-file\nexpect pref vantileFlowDirection absent"), 0) << errors;
    EXPECT_FALSE(fs::exists(domain->file()));

    for (const char* bad : {"pref a bool maybe", "pref a int 1.5", "pref a colour red", "pref a strings [1,2]",
                            "pref a strings [\"x\"", "pref a data missing.bin", "pref a string two words",
                            "expect pref a {nope", "pref-remove"})
        EXPECT_EQ(play(bad), kExitStepError) << bad;
    EXPECT_TRUE(domain->value("a").isNone()) << "a bad step changes nothing";
}

TEST_F(ScenarioRunnerTest, ScreenshotsWriteThePictureTheTreeAndTheGallery) {
    addLabel("Shown", CGRectMake(20, 500, 100, 30));
    ASSERT_EQ(play("# The home page with its label\nscreenshot home\nscreenshot second"), 0) << errors;
    std::ifstream png(dir / "out" / "home.png", std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(png)), std::istreambuf_iterator<char>());
    auto bitmap = platform::gfx::decodePNG(bytes);
    ASSERT_TRUE(bitmap);
    CGRect screen = UIScreen::mainScreen()->bounds();
    EXPECT_EQ(bitmap->width, static_cast<int>(screen.width() * UIScreen::mainScreen()->scale()));

    std::ifstream tree(dir / "out" / "home.json");
    std::stringstream treeText;
    treeText << tree.rdbuf();
    auto dump = simtest::readReport(treeText.str());
    ASSERT_TRUE(dump);
    ASSERT_TRUE(dump->find("format"));
    EXPECT_EQ(*dump->find("format"), Value("vantile-view-dump/1"));

    std::ifstream index(dir / "out" / "index.html");
    std::stringstream html;
    html << index.rdbuf();
    auto first = html.str().find("The home page with its label");
    auto second = html.str().find("screenshot second");
    EXPECT_NE(first, std::string::npos) << "the comment above captions the picture";
    EXPECT_NE(second, std::string::npos) << "without a comment the step is the caption";
    EXPECT_LT(first, second);

    for (const char* bad : {"screenshot ../up", "screenshot a/b", "screenshot .hidden", "screenshot"})
        EXPECT_EQ(play(bad), kExitStepError) << bad;
    EXPECT_FALSE(fs::exists(dir / "up.png"));
}

TEST_F(ScenarioRunnerTest, DragRunsFromOneTargetToTheOther) {
    auto pad = alloc<TouchRecorder>();
    pad->initWithFrame(CGRectMake(0, 150, 375, 400));
    page()->addSubview(pad);
    auto from = addLabel("From", CGRectMake(20, 40, 100, 30), pad);
    auto to = addLabel("To", CGRectMake(200, 300, 100, 30), pad);
    ASSERT_EQ(play("drag From To"), 0) << errors;
    ASSERT_TRUE(pad->began && pad->ended);
    EXPECT_NEAR(pad->began->x, 70, 1e-6);
    EXPECT_NEAR(pad->began->y, 150 + 55, 1e-6);
    EXPECT_NEAR(pad->ended->x, 250, 1e-6);
    EXPECT_NEAR(pad->ended->y, 150 + 315, 1e-6);
    EXPECT_EQ(play("drag From Nowhere"), kExitStepError);
    EXPECT_EQ(play("drag @10,10 @10,9999"), kExitStepError);
}

TEST_F(ScenarioRunnerTest, ReorderDragsARowByItsHandleToTheSlot) {
    auto lists = alloc<TwoLists>();
    auto table = alloc<UITableView>();
    // Below the navigation bar, which would cover the first rows.
    CGRect below = page()->bounds();
    below.origin.y = 100;
    below.size.height -= 100;
    table->initWithFrameStyle(below, UITableViewStyleGrouped);
    table->setDataSource(lists);
    table->setDelegate(lists);
    table->setEditing(true);
    page()->addSubview(table);
    using Rows = std::vector<std::vector<std::string>>;

    ASSERT_EQ(play("reorder Battery selected 0"), 0) << errors;
    EXPECT_EQ(lists->rows, (Rows{{"Battery", "Wi-Fi", "Bluetooth"}, {"Sounds", "Privacy"}}));
    ASSERT_EQ(play("reorder Battery selected 2"), 0) << errors;
    EXPECT_EQ(lists->rows, (Rows{{"Wi-Fi", "Bluetooth", "Battery"}, {"Sounds", "Privacy"}}));
    ASSERT_EQ(play("reorder Sounds selected 1"), 0) << errors;
    EXPECT_EQ(lists->rows, (Rows{{"Wi-Fi", "Sounds", "Bluetooth", "Battery"}, {"Privacy"}}));
    ASSERT_EQ(play("reorder Wi-Fi available 1"), 0) << errors;
    EXPECT_EQ(lists->rows, (Rows{{"Sounds", "Bluetooth", "Battery"}, {"Privacy", "Wi-Fi"}}));
    ASSERT_EQ(play("reorder Privacy available 0"), 0) << "already there: " << errors;
    EXPECT_EQ(lists->rows, (Rows{{"Sounds", "Bluetooth", "Battery"}, {"Privacy", "Wi-Fi"}}));

    // A row further down the list is found by scrolling to it first.
    lists->rows[1] = {"Sounds", "Privacy", "General", "Display", "Siri", "Wallpaper", "Passcode", "Emergency",
                      "Developer", "Notifications", "Control Center", "Screen Time"};
    table->reloadData();
    ASSERT_EQ(play("reorder \"Screen Time\" selected 0"), 0) << errors;
    EXPECT_EQ(lists->rows[0].front(), "Screen Time");
    EXPECT_EQ(lists->rows[1].size(), 11u);
    lists->rows[1] = {"Privacy", "Wi-Fi"};
    table->reloadData();
    table->setContentOffset(table->minimumContentOffset());
    lists->rows[0] = {"Sounds", "Bluetooth", "Battery"};
    table->reloadData();

    for (const char* bad : {"reorder Battery selected 3", "reorder Battery selected -1", "reorder Battery top 0",
                            "reorder Missing selected 0", "reorder Battery selected"})
        EXPECT_EQ(play(bad), kExitStepError) << bad;
    table->setEditing(false);
    EXPECT_EQ(play("reorder Battery selected 0"), kExitStepError) << "without handles there is nothing to drag";
    EXPECT_NE(errors.find("reorder handle"), std::string::npos) << errors;
}

TEST_F(ScenarioRunnerTest, ScrollMovesTheFrontmostScrollViewWithinItsContent) {
    auto scroller = alloc<UIScrollView>();
    scroller->initWithFrame(page()->bounds());
    scroller->setContentSize(CGSizeMake(page()->bounds().width(), 2000));
    page()->addSubview(scroller);
    CGFloat end = scroller->maximumContentOffset().y;
    ASSERT_EQ(play("scroll 300"), 0) << errors;
    EXPECT_EQ(scroller->contentOffset().y, 300);
    ASSERT_EQ(play("scroll 99999"), 0) << errors;
    EXPECT_EQ(scroller->contentOffset().y, end);
    ASSERT_EQ(play("scroll -99999"), 0) << errors;
    EXPECT_EQ(scroller->contentOffset().y, scroller->minimumContentOffset().y);
    EXPECT_EQ(play("scroll lots"), kExitStepError);
    scroller->setScrollEnabled(false);
    EXPECT_EQ(play("scroll 10"), kExitStepError);
}

TEST_F(ScenarioRunnerTest, RadiosAndAppearanceReachTheDevice) {
    ASSERT_EQ(play("airplane on\nbluetooth on\nappearance dark"), 0) << errors;
    EXPECT_TRUE(platform::system::DeviceRadios::airplaneMode());
    EXPECT_TRUE(platform::system::DeviceRadios::bluetoothPowered());
    EXPECT_EQ(phone->window()->traitCollection()->userInterfaceStyle(), 2);
    ASSERT_EQ(play("airplane off\nappearance light"), 0) << errors;
    EXPECT_FALSE(platform::system::DeviceRadios::airplaneMode());
    for (const char* bad : {"airplane maybe", "bluetooth", "appearance sepia", "wifi off 10.0.0.1"})
        EXPECT_EQ(play(bad), kExitStepError) << bad;
}

TEST_F(ScenarioRunnerTest, WhatThePhoneLacksIsNotAvailableAndBadStepsStopTheRun) {
    for (const char* step : {"device iphone-8", "locale de", "timezone UTC",
                             "wifi on", "cellular off", "carrier none", "respring", "open prefs:root=WIFI"}) {
        EXPECT_EQ(play(step), kExitStepError) << step;
        EXPECT_TRUE(errors.find("not available") != std::string::npos || errors.find("nothing is running") != std::string::npos ||
                    errors.find("respring") != std::string::npos)
            << step << ": " << errors;
    }
    for (const char* bad : {"date 2026-02-30 09:41", "date 2026-03-14 25:00", "date 2026-03-14", "locale ../x",
                            "launch nowhere"})
        EXPECT_EQ(play(bad), kExitStepError) << bad;

    addButton("Open", CGRectMake(20, 200, 120, 44), "open:");
    EXPECT_EQ(play("frobnicate\ntap Open"), kExitStepError);
    EXPECT_NE(errors.find("test:1: frobnicate: unknown command"), std::string::npos) << errors;
    EXPECT_EQ(topTitle(), "Home") << "the run stops at the bad step";
    EXPECT_EQ(play("tap Open extra"), kExitStepError);
    EXPECT_NE(errors.find("wants TARGET"), std::string::npos) << errors;
}

TEST_F(ScenarioRunnerTest, AResumedRunReplaysOnlyTheSetUpAndGoesOnAfterTheStep) {
    addButton("Open", CGRectMake(20, 200, 120, 44), "open:");
    Script script = parseScript("airplane on\ndate 2026-03-14 09:41\ntap Open\npref k int 1\nrespring\n"
                                "expect page Home\nexpect pref k absent\nexpect haptics 0",
                                "resumed");
    RunnerOptions options;
    options.root = dir / "root";
    options.out = dir / "out";
    ScenarioRunner runner(*phone, options);
    std::ostringstream err;
    ASSERT_EQ(runner.resume(script, 5, 1773481300.0, "/Applications/Preferences.app/Preferences", err), 0) << err.str();
    EXPECT_TRUE(platform::system::DeviceRadios::airplaneMode()) << "the radios were set up again";
    EXPECT_EQ(phone->launched, std::vector<std::string>{"/Applications/Preferences.app/Preferences"});
    ASSERT_EQ(phone->dates.size(), 2u);
    EXPECT_EQ(phone->dates.back(), 1773481300.0) << "the clock of the process that resprung wins over the set-up";
    EXPECT_EQ(topTitle(), "Home") << "touches are not replayed";

    // A phone that needs no fresh process launches in place.
    phone->launched.clear();
    ASSERT_EQ(play("launch settings\nexpect haptics 0"), 0) << errors;
    EXPECT_EQ(phone->launched.size(), 1u);
}

TEST_F(ScenarioRunnerTest, EveryExpectationKindHoldsAndFailsOnItsOwnRecord) {
    addButton("Buzz", CGRectMake(20, 200, 120, 44), "buzz:");
    platform::Clock::setNow(1773481380.0);  // 2026-03-14 09:43 UTC
    struct Case {
        const char* steps;
        int status;
    };
    const Case cases[] = {
        {"expect no-url", 0},
        {"tap Buzz\nexpect no-url", kExitExpectationFailed},
        {"tap Buzz\ntap Buzz\nexpect haptics 2 light\nexpect haptics 0 heavy", 0},
        {"tap Buzz\nexpect haptics 1 medium", kExitExpectationFailed},
        {"expect haptics 1 loud", kExitStepError},
        {"expect airplane-requests none", 0},
        {"expect airplane-requests off", kExitExpectationFailed},
        {"expect airplane-requests maybe", kExitStepError},
        {"expect status-bar \"9:43\"", 0},
        {"expect status-bar \"12:00\"", kExitExpectationFailed},
        {"expect hooks 0\nexpect no-hook \"PSUIPrefsListController specifiers\"", 0},
        {"expect hook \"PSUIPrefsListController specifiers\"", kExitExpectationFailed},
        {"expect startup hooks []\nexpect startup filter absent", 0},
        {"expect startup refusedHooks 3", kExitExpectationFailed},
        {"expect no-url now", kExitStepError},
        {"expect startup", kExitStepError},
        {"pasteboard \"#A1B2C3\"\nexpect pasteboard \"#A1B2C3\"", 0},
        {"expect pasteboard \"#A1B2C4\"", kExitExpectationFailed},
        {"expect colour Buzz 12345", kExitStepError},
        {"expect colour Buzz FFFFFF 300", kExitStepError},
        {"expect preview Buzz FFFFFF", kExitStepError},
    };
    for (const auto& c : cases) {
        clearRecords();
        platform::runtime::clearHookLog();
        EXPECT_EQ(play(c.steps), c.status) << c.steps << "\n" << errors;
    }
    // The unknown kind is answered with the table's names.
    EXPECT_EQ(play("expect flavour red"), kExitStepError);
    for (const char* kind : {"no-url", "status-bar", "airplane-requests", "hook", "startup"})
        EXPECT_NE(errors.find(kind), std::string::npos) << kind << ": " << errors;
    EXPECT_EQ(play("tap Buzz\nexpect no-url"), kExitExpectationFailed);
    EXPECT_NE(errors.find("\"prefs:root=WIFI\""), std::string::npos) << "the failure names what was opened: " << errors;
}

TEST_F(ScenarioRunnerTest, AirplaneRequestsAreExpectedInTheOrderAsked) {
    // As the airplane card's tap asks: through the system service the run-time finds by name.
    platform::runtime::enableClassGroup("RadiosPreferences");
    auto radios = alloc<RadiosPreferences>();
    platform::msgSend<void>(radios, sel("setAirplaneMode:"), true);
    platform::msgSend<void>(radios, sel("setAirplaneMode:"), false);
    EXPECT_EQ(play("expect airplane-requests on off"), 0) << errors;
    EXPECT_EQ(play("expect airplane-requests off on"), kExitExpectationFailed);
    EXPECT_NE(errors.find("actual:   on off"), std::string::npos) << errors;
}

TEST_F(ScenarioRunnerTest, ScrollMovesAcrossWhenGivenTwoAmounts) {
    auto grid = alloc<UIScrollView>();
    grid->initWithFrame(CGRectMake(0, 200, page()->bounds().width(), 120));
    grid->setContentSize(CGSizeMake(2000, 120));
    page()->addSubview(grid);
    ASSERT_EQ(play("scroll 300 0"), 0) << errors;
    EXPECT_EQ(grid->contentOffset().x, 300);
    EXPECT_EQ(grid->contentOffset().y, grid->minimumContentOffset().y) << "nothing to move down in a row";
    ASSERT_EQ(play("scroll 99999 0"), 0) << errors;
    EXPECT_EQ(grid->contentOffset().x, grid->maximumContentOffset().x);
    ASSERT_EQ(play("scroll -99999 50"), 0) << errors;
    EXPECT_EQ(grid->contentOffset().x, grid->minimumContentOffset().x);
    for (const char* bad : {"scroll left 0", "scroll 0 down", "scroll 1 2 3"}) EXPECT_EQ(play(bad), kExitStepError) << bad;
}

TEST_F(ScenarioRunnerTest, WaitsBeyondADayAreRefusedWithTheBound) {
    const double start = platform::Clock::now();
    for (const char* bad : {"wait 1e15s", "wait 1e300s", "wait 1e308m", "wait 1441m", "wait inf", "wait nan"}) {
        EXPECT_EQ(play(bad), kExitStepError) << bad;
        EXPECT_TRUE(errors.find("24 hours") != std::string::npos || errors.find("a duration") != std::string::npos)
            << bad << ": " << errors;
    }
    EXPECT_EQ(play("wait 1e15s"), kExitStepError);
    EXPECT_NE(errors.find("at most 24 hours"), std::string::npos) << errors;
    EXPECT_DOUBLE_EQ(platform::Clock::now(), start) << "a refused wait moves nothing";
    ASSERT_EQ(play("wait 1440m"), 0) << errors;
    EXPECT_DOUBLE_EQ(platform::Clock::now(), start + 86400);
}

TEST_F(ScenarioRunnerTest, DataFilesComeOnlyFromBesideTheScenarioAndAreBounded) {
    fs::create_directories(dir / "pictures");
    std::ofstream(dir / "pictures" / "face.bin", std::ios::binary) << "FACE";
    fs::create_directories(dir / "elsewhere");
    std::ofstream(dir / "elsewhere" / "secret.bin", std::ios::binary) << "SECRET";
    fs::create_symlink(dir / "elsewhere" / "secret.bin", dir / "pictures" / "link.bin");
    ASSERT_EQ(mkfifo((dir / "pictures" / "pipe").c_str(), 0600), 0);
    {
        std::ofstream big(dir / "pictures" / "big.bin", std::ios::binary);
    }
    fs::resize_file(dir / "pictures" / "big.bin", 16u * 1024 * 1024 + 1);

    auto playIn = [&](const std::string& text, const fs::path& base, const fs::path& data = {}) {
        RunnerOptions options;
        options.root = dir / "root";
        options.out = dir / "out";
        options.baseFolder = base;
        options.dataFolder = data;
        ScenarioRunner runner(*phone, options);
        std::ostringstream err;
        int status = runner.run(parseScript(text, "test"), err);
        errors = err.str();
        return status;
    };
    const fs::path base = dir / "pictures";
    ASSERT_EQ(playIn("pref a data face.bin\nexpect pref a \"RkFDRQ==\"", base), 0) << errors;
    // The runner has set the device root by now, so the domain is reachable.
    auto domain = platform::PreferenceDomain::named(vantile::kDomain);
    ASSERT_TRUE(domain);
    struct Refused {
        const char* file;
        const char* why;
    };
    const Refused refused[] = {
        {"../elsewhere/secret.bin", "not beside the scenario"},
        {"link.bin", "not beside the scenario"},
        {"/etc/hostname", "not beside the scenario"},
        {"/dev/zero", "not beside the scenario"},
        {"pipe", "not a regular file"},
        {".", "not a regular file"},
        {"big.bin", "more than the 16777216"},
        {"missing.bin", "no such file"},
    };
    for (const auto& r : refused) {
        EXPECT_EQ(playIn(std::string("pref b data ") + r.file, base), kExitStepError) << r.file;
        EXPECT_NE(errors.find(r.why), std::string::npos) << r.file << ": " << errors;
    }
    EXPECT_TRUE(domain->value("b").isNone()) << "a refused file changes nothing";
    // A folder the user named lets its files in, and only those.
    ASSERT_EQ(playIn("pref b data ../elsewhere/secret.bin", base, dir / "elsewhere"), 0) << errors;
    EXPECT_EQ(playIn("pref c data /etc/hostname", base, dir / "elsewhere"), kExitStepError);
}

TEST_F(ScenarioRunnerTest, LongArgumentListsAreReadWhole) {
    std::string titles, expected;
    for (int i = 0; i < 40; ++i) {
        titles += std::string(i ? ", " : "") + "\"Card " + std::to_string(i) + "\"";
        expected += std::string(i ? "," : "") + "\"Card " + std::to_string(i) + "\"";
    }
    ASSERT_EQ(play("pref cards strings [" + titles + "]\nexpect pref cards [" + titles + "]"), 0) << errors;
    auto domain = platform::PreferenceDomain::named(vantile::kDomain);
    ASSERT_TRUE(domain);
    const Value stored = domain->value("cards");
    ASSERT_TRUE(stored.asArray()) << "the whole array is stored";
    EXPECT_EQ(stored.asArray()->size(), 40u);
    EXPECT_EQ(play("pref cards strings [" + titles + ", 7]"), kExitStepError);
    EXPECT_NE(errors.find("JSON array of strings"), std::string::npos) << "the message names the real fault: " << errors;
}

TEST_F(ScenarioRunnerTest, ASeedIsHandedToTheProcessesThatFollow) {
    unsetenv("VANTILE_RANDOM_SEED");
    for (const char* bad : {"seed", "seed -1", "seed x", "seed 1.5"}) {
        EXPECT_EQ(play(bad), kExitStepError) << bad;
        EXPECT_EQ(std::getenv("VANTILE_RANDOM_SEED"), nullptr) << bad << ": a refused seed sets nothing";
    }
    ASSERT_EQ(play("seed 42"), 0) << errors;
    ASSERT_NE(std::getenv("VANTILE_RANDOM_SEED"), nullptr);
    EXPECT_STREQ(std::getenv("VANTILE_RANDOM_SEED"), "42");
    unsetenv("VANTILE_RANDOM_SEED");
}

}  // namespace

namespace {

// A phone on which the second settled step restarts the interface by itself, as the pane's theme buttons do.
class RestartingPhone : public scenariotest::WindowPhone {
public:
    void settle() override {
        scenariotest::WindowPhone::settle();
        if (++m_settles == 2) m_asked = true;
    }
    bool takeRequestedFreshProcess() override { return std::exchange(m_asked, false); }

private:
    int m_settles = 0;
    bool m_asked = false;
};

}  // namespace

TEST_F(ScenarioRunnerTest, ARestartAskedForOnThePhoneGoesOnInAFreshProcessAfterTheStep) {
    RestartingPhone restarting;
    RunnerOptions options;
    options.root = dir / "root";
    options.out = dir / "out";
    std::vector<std::pair<std::size_t, std::string>> restarts;
    options.restart = [&](std::size_t next, double, const std::string& process) { restarts.emplace_back(next, process); };
    ScenarioRunner runner(restarting, options);
    std::ostringstream err;
    EXPECT_EQ(runner.run(parseScript("wait 1\nwait 1\nwait 1", "asked"), err), kExitStepError);
    ASSERT_EQ(restarts.size(), 1u) << err.str();
    EXPECT_EQ(restarts.front().first, 2u) << "the run goes on after the step that restarted";
    EXPECT_EQ(restarts.front().second, ScenarioRunner::settingsProcess());
    EXPECT_NE(err.str().find("could not restart itself"), std::string::npos) << "a restart that returns is an error";
}
