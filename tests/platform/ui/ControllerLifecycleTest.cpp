#include "platform/core/RunLoop.h"
#include "platform/core/Runtime.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UINavigationBar.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UINavigationItem.h"
#include "platform/ui/UITraitCollection.h"
#include "platform/ui/UIView.h"
#include "platform/ui/UIViewController.h"
#include "platform/ui/UIWindow.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> g_events;

// Records its life cycle as "name:event" in one list shared by all instances, so orders across controllers show.
class RecordingController : public UIViewController {
    VT_OBJECT(RecordingController, UIViewController)
public:
    std::string name;
    void loadView() override {
        g_events.push_back(name + ":loadView");
        UIViewController::loadView();
    }
    void viewDidLoad() override {
        UIViewController::viewDidLoad();
        g_events.push_back(name + ":viewDidLoad");
    }
    void viewWillAppear(bool a) override {
        UIViewController::viewWillAppear(a);
        g_events.push_back(name + ":willAppear");
    }
    void viewDidAppear(bool a) override {
        UIViewController::viewDidAppear(a);
        g_events.push_back(name + ":didAppear");
    }
    void viewWillDisappear(bool a) override {
        UIViewController::viewWillDisappear(a);
        g_events.push_back(name + ":willDisappear");
    }
    void viewDidDisappear(bool a) override {
        UIViewController::viewDidDisappear(a);
        g_events.push_back(name + ":didDisappear");
    }
    void traitCollectionDidChange(Ref<UITraitCollection> previous) override {
        UIViewController::traitCollectionDidChange(previous);
        g_events.push_back(name + ":traits" + std::to_string(traitCollection()->userInterfaceStyle()));
    }
};

}  // namespace

VT_REGISTER_CLASS(RecordingController)

namespace {

Ref<RecordingController> controller(const std::string& name) {
    auto c = alloc<RecordingController>();
    c->init();
    c->name = name;
    return c;
}

class ControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::resetRunLoop();
        UIApplication::sharedApplication()->reset();
        g_events.clear();
        window = alloc<UIWindow>();
        window->initWithFrame(CGRectMake(0, 0, 375, 667));
    }
    void TearDown() override {
        platform::resetRunLoop();
        UIApplication::sharedApplication()->reset();
    }
    std::vector<std::string> take() {
        auto out = g_events;
        g_events.clear();
        return out;
    }
    Ref<UIWindow> window;
};

TEST_F(ControllerTest, ViewLoadsLazilyOnceThroughTheRuntime) {
    auto c = controller("a");
    EXPECT_FALSE(c->isViewLoaded());
    EXPECT_TRUE(take().empty());
    auto v = c->view();
    EXPECT_EQ(c->view(), v);
    EXPECT_EQ(take(), (std::vector<std::string>{"a:loadView", "a:viewDidLoad"}));
    EXPECT_EQ(v->viewController(), c);
}

// A replacement installed on the class must see the platform's life-cycle calls, since add-ons hook them.
void (*g_previousDidAppear)(NSObject*, SEL, bool) = nullptr;
void hookedDidAppear(NSObject* self, SEL cmd, bool animated) {
    g_previousDidAppear(self, cmd, animated);
    g_events.push_back("hook:didAppear");
}

TEST_F(ControllerTest, RootAppearsWhenTheWindowShowsAndHooksSeeIt) {
    auto root = controller("root");
    MSHookMessageEx(RecordingController::classObject(), sel("viewDidAppear:"), &hookedDidAppear, &g_previousDidAppear);
    window->setRootViewController(root);
    take();
    window->makeKeyAndVisible();
    EXPECT_EQ(take(), (std::vector<std::string>{"root:willAppear", "root:didAppear", "hook:didAppear"}));
    EXPECT_EQ(UIApplication::sharedApplication()->keyWindow(), window);
    EXPECT_TRUE(window->isKeyWindow());
    // Undo the hook for the other tests: put the previous implementation back.
    void (*mine)(NSObject*, SEL, bool) = nullptr;
    MSHookMessageEx(RecordingController::classObject(), sel("viewDidAppear:"), g_previousDidAppear, &mine);
}

TEST_F(ControllerTest, PushAndPopFollowTheDeviceOrderOnTheVirtualClock) {
    auto a = controller("a");
    a->setTitle("Settings");
    auto nav = alloc<UINavigationController>();
    nav->initWithRootViewController(a);
    window->setRootViewController(nav);
    window->makeKeyAndVisible();
    take();

    auto b = controller("b");
    b->setTitle("Wi-Fi");
    nav->pushViewControllerAnimated(b, true);
    EXPECT_EQ(take(), (std::vector<std::string>{"b:loadView", "b:viewDidLoad", "b:willAppear", "a:willDisappear"}));
    platform::RunLoop::main().advance(UIViewController::kTransitionDuration);
    EXPECT_EQ(take(), (std::vector<std::string>{"a:didDisappear", "b:didAppear"}));
    EXPECT_EQ(nav->topViewController(), b);
    EXPECT_EQ(b->navigationController(), nav);
    EXPECT_EQ(nav->navigationBar()->displayedTitle(), "Wi-Fi");
    EXPECT_EQ(nav->navigationBar()->backButtonTitle(), "Settings");
    EXPECT_FALSE(a->view()->window());

    // The back button pops, animated.
    EXPECT_TRUE(nav->navigationBar()->tapBackButton());
    EXPECT_EQ(take(), (std::vector<std::string>{"a:willAppear", "b:willDisappear"}));
    platform::RunLoop::main().advance(UIViewController::kTransitionDuration);
    EXPECT_EQ(take(), (std::vector<std::string>{"b:didDisappear", "a:didAppear"}));
    EXPECT_EQ(nav->viewControllers().size(), 1u);
    EXPECT_EQ(nav->navigationBar()->backButtonTitle(), "");
    EXPECT_EQ(nav->popViewControllerAnimated(false), nullptr);
}

TEST_F(ControllerTest, PresentationStylesDecideWhetherThePresenterDisappears) {
    struct Case {
        UIModalPresentationStyle style;
        std::vector<std::string> atStart;
        std::vector<std::string> atEnd;
    };
    const Case cases[] = {
        {UIModalPresentationPageSheet, {"sheet:loadView", "sheet:viewDidLoad", "sheet:willAppear"}, {"sheet:didAppear", "done"}},
        {UIModalPresentationOverCurrentContext, {"sheet:loadView", "sheet:viewDidLoad", "sheet:willAppear"}, {"sheet:didAppear", "done"}},
        {UIModalPresentationFullScreen,
         {"sheet:loadView", "sheet:viewDidLoad", "sheet:willAppear", "root:willDisappear"},
         {"root:didDisappear", "sheet:didAppear", "done"}},
    };
    for (const auto& c : cases) {
        SetUp();
        auto root = controller("root");
        window->setRootViewController(root);
        window->makeKeyAndVisible();
        take();
        auto sheet = controller("sheet");
        sheet->setModalPresentationStyle(c.style);
        root->presentViewControllerAnimatedCompletion(sheet, true, [] { g_events.push_back("done"); });
        EXPECT_EQ(take(), c.atStart) << c.style;
        EXPECT_EQ(root->presentedViewController(), sheet);
        EXPECT_EQ(sheet->presentingViewController(), root);
        platform::RunLoop::main().advance(UIViewController::kTransitionDuration / 2);
        EXPECT_TRUE(take().empty()) << "completion before the transition ended, style " << c.style;
        platform::RunLoop::main().advance(UIViewController::kTransitionDuration / 2);
        EXPECT_EQ(take(), c.atEnd) << c.style;
        EXPECT_EQ(root->view()->isHidden(), c.style == UIModalPresentationFullScreen) << c.style;
        EXPECT_EQ(window->topmostPresentedController(), sheet);

        // Dismissal from the presented side reverses it.
        sheet->dismissViewControllerAnimatedCompletion(true, [] { g_events.push_back("gone"); });
        platform::RunLoop::main().advance(UIViewController::kTransitionDuration);
        auto events = take();
        ASSERT_FALSE(events.empty());
        EXPECT_EQ(events.front(), "sheet:willDisappear");
        EXPECT_EQ(events.back(), "gone");
        bool rootReappeared = std::find(events.begin(), events.end(), "root:didAppear") != events.end();
        EXPECT_EQ(rootReappeared, c.style == UIModalPresentationFullScreen) << c.style;
        EXPECT_EQ(root->presentedViewController(), nullptr);
        EXPECT_FALSE(root->view()->isHidden());
    }
}

TEST_F(ControllerTest, PresenterHoldsThePresentedControllerUntilDismissal) {
    auto root = controller("root");
    window->setRootViewController(root);
    window->makeKeyAndVisible();
    Weak<UIViewController> weakSheet;
    {
        auto sheet = controller("sheet");
        weakSheet = sheet;
        root->presentViewControllerAnimatedCompletion(sheet, false);
    }
    EXPECT_FALSE(weakSheet.expired());
    // A second presentation while one shows is refused, as the device does.
    auto other = controller("other");
    std::size_t refused = UIViewController::refusedPresentationCount();
    root->presentViewControllerAnimatedCompletion(other, false, [] { ADD_FAILURE() << "completion of a refused presentation"; });
    EXPECT_EQ(UIViewController::refusedPresentationCount(), refused + 1);
    root->dismissViewControllerAnimatedCompletion(false);
    EXPECT_TRUE(weakSheet.expired());
}

TEST_F(ControllerTest, SwipeDismissesOnlySheetsThatAllowIt) {
    auto root = controller("root");
    window->setRootViewController(root);
    window->makeKeyAndVisible();
    struct Case {
        UIModalPresentationStyle style;
        bool modalInPresentation;
        bool dismissed;
    };
    for (const Case& c : {Case{1, false, true}, Case{1, true, false}, Case{0, false, false}, Case{6, false, false}}) {
        auto sheet = controller("sheet");
        sheet->setModalPresentationStyle(c.style);
        sheet->setModalInPresentation(c.modalInPresentation);
        root->presentViewControllerAnimatedCompletion(sheet, false);
        EXPECT_EQ(sheet->userSwipeToDismiss(), c.dismissed) << c.style << " " << c.modalInPresentation;
        platform::RunLoop::main().advance(UIViewController::kTransitionDuration);
        EXPECT_EQ(root->presentedViewController() == nullptr, c.dismissed);
        root->dismissViewControllerAnimatedCompletion(false);
    }
}

TEST_F(ControllerTest, PresentingFromOutsideAWindowIsAnError) {
    auto loose = controller("loose");
    EXPECT_THROW(loose->presentViewControllerAnimatedCompletion(controller("x"), false), platform::RuntimeError);
    EXPECT_THROW(loose->presentViewControllerAnimatedCompletion(nullptr, false), platform::RuntimeError);
}

TEST_F(ControllerTest, InterfaceStyleReachesEveryControllerOnScreen) {
    auto a = controller("a");
    auto nav = alloc<UINavigationController>();
    nav->initWithRootViewController(a);
    window->setRootViewController(nav);
    window->makeKeyAndVisible();
    auto sheet = controller("sheet");
    nav->presentViewControllerAnimatedCompletion(sheet, false);
    take();
    window->setOverrideUserInterfaceStyle(2);
    auto events = take();
    for (const char* e : {"a:traits2", "sheet:traits2"})
        EXPECT_NE(std::find(events.begin(), events.end(), e), events.end()) << e;
    EXPECT_EQ(sheet->traitCollection()->userInterfaceStyle(), 2);
    window->setOverrideUserInterfaceStyle(1);
    events = take();
    EXPECT_NE(std::find(events.begin(), events.end(), "a:traits1"), events.end());
}

}  // namespace
