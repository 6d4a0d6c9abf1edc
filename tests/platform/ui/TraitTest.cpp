#include "ViewTestSupport.h"
#include "platform/gfx/Appearance.h"

using namespace vtest;

// Counts its trait callbacks and records the current style inside them and inside its initialiser. `callsUp`
// off is a card: it recolours itself and does not pass the call on.
class TraitView : public UIView {
    VT_OBJECT(TraitView, UIView)
public:
    long styleAtInit = -1;
    std::vector<long> currentInCallback, previousInCallback;
    void initWithFrame(CGRect frame) override {
        UIView::initWithFrame(frame);
        styleAtInit = UITraitCollection::currentTraitCollection()->userInterfaceStyle();
    }
    void traitCollectionDidChange(Ref<UITraitCollection> previous) override {
        currentInCallback.push_back(UITraitCollection::currentTraitCollection()->userInterfaceStyle());
        previousInCallback.push_back(previous ? previous->userInterfaceStyle() : -1);
    }
};
VT_REGISTER_CLASS(TraitView)

// A stand-in controller: the platform tells it before its view.
class TraitController : public UIResponder {
    VT_OBJECT(TraitController, UIResponder)
public:
    std::vector<std::string>* order = nullptr;
    void traitCollectionDidChange(Ref<UITraitCollection>) override { order->push_back("controller"); }
};
VT_REGISTER_CLASS(TraitController)

class OrderView : public UIView {
    VT_OBJECT(OrderView, UIView)
public:
    std::vector<std::string>* order = nullptr;
    std::string name;
    void traitCollectionDidChange(Ref<UITraitCollection>) override { order->push_back(name); }
};
VT_REGISTER_CLASS(OrderView)

namespace {

class Traits : public ViewTest {
protected:
    Ref<TraitView> traitView(const Ref<UIView>& parent) {
        auto v = alloc<TraitView>();
        v->initWithFrame(CGRectZero);
        if (parent) parent->addSubview(v);
        return v;
    }
};

TEST_F(Traits, AppearanceSwitchReachesEveryViewBelowOverridesThatDoNotCallUp) {
    auto window = makeWindow();
    auto card = traitView(window);        // overrides without calling up
    auto label = traitView(card);         // a child of that override
    auto deep = traitView(traitView(label));
    auto detached = traitView(nullptr);   // not in a window: told when it enters one

    UIView::setSystemUserInterfaceStyle(UIUserInterfaceStyleDark);
    for (const auto& v : {card, label, deep}) {
        EXPECT_EQ(v->currentInCallback, (std::vector<long>{2})) << "current collection inside the callback";
        EXPECT_EQ(v->previousInCallback, (std::vector<long>{1}));
    }
    EXPECT_TRUE(detached->currentInCallback.empty());
    EXPECT_EQ(window->traitCollection()->userInterfaceStyle(), 2);
    EXPECT_EQ(UITraitCollection::currentTraitCollection()->userInterfaceStyle(), 2) << "the system's, outside";

    UIView::setSystemUserInterfaceStyle(UIUserInterfaceStyleDark);
    EXPECT_EQ(card->currentInCallback.size(), 1u) << "no change, no callback";
    UIView::setSystemUserInterfaceStyle(UIUserInterfaceStyleUnspecified);
    EXPECT_EQ(deep->currentInCallback, (std::vector<long>{2, 0})) << "style 0 is producible";

    // A view made while the system was light and added now that it is unspecified is told once.
    window->addSubview(detached);
    EXPECT_EQ(detached->currentInCallback, (std::vector<long>{0}));
}

TEST_F(Traits, CurrentCollectionInsideInitialisersAndScopes) {
    EXPECT_EQ(traitView(nullptr)->styleAtInit, 1);
    {
        UITraitCollection::CurrentScope dark(UITraitCollection::traitCollectionWithUserInterfaceStyle(2));
        EXPECT_EQ(traitView(nullptr)->styleAtInit, 2) << "a window building its content in dark";
        EXPECT_EQ(platform::currentInterfaceStyle(), 2) << "dynamic colours resolve with it";
    }
    EXPECT_EQ(UITraitCollection::currentTraitCollection()->userInterfaceStyle(), 1) << "restored";
    EXPECT_EQ(platform::currentInterfaceStyle(), 1);
}

TEST_F(Traits, OverridesScopeASubtreeAndControllersComeFirst) {
    std::vector<std::string> order;
    auto window = makeWindow();
    auto root = alloc<OrderView>();
    root->initWithFrame(CGRectZero);
    root->order = &order;
    root->name = "root view";
    auto controller = alloc<TraitController>();
    controller->order = &order;
    root->setViewController(controller);
    window->addSubview(root);
    auto child = alloc<OrderView>();
    child->initWithFrame(CGRectZero);
    child->order = &order;
    child->name = "child";
    root->addSubview(child);
    auto sibling = traitView(window);

    root->setOverrideUserInterfaceStyle(UIUserInterfaceStyleDark);
    EXPECT_EQ(order, (std::vector<std::string>{"controller", "root view", "child"}));
    EXPECT_TRUE(sibling->currentInCallback.empty()) << "outside the overridden subtree";
    EXPECT_EQ(child->traitCollection()->userInterfaceStyle(), 2);

    order.clear();
    UIView::setSystemUserInterfaceStyle(UIUserInterfaceStyleDark);
    EXPECT_TRUE(order.empty()) << "the override already made them dark";
    EXPECT_EQ(sibling->currentInCallback, (std::vector<long>{2}));

    // Moving a dark view under a light override tells it.
    auto light = makeView();
    light->setOverrideUserInterfaceStyle(UIUserInterfaceStyleLight);
    window->addSubview(light);
    light->addSubview(sibling);
    EXPECT_EQ(sibling->currentInCallback, (std::vector<long>{2, 1}));
}

}  // namespace
