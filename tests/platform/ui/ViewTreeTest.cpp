#include "ViewTestSupport.h"
#include "platform/gfx/UIColor.h"
#include "platform/ui/CALayer.h"

#include <cmath>

using namespace vtest;

// Records the life-cycle messages it gets, in order, and how often layoutSubviews ran.
class LifeCycleView : public UIView {
    VT_OBJECT(LifeCycleView, UIView)
public:
    std::vector<std::string> log;
    void didMoveToSuperview() override { log.push_back(superview() ? "superview" : "no superview"); }
    void didMoveToWindow() override { log.push_back(window() ? "window" : "no window"); }
    void layoutSubviews() override { log.push_back("layout"); }
};
VT_REGISTER_CLASS(LifeCycleView)

namespace {

class ViewTree : public ViewTest {};

std::vector<long> tags(const std::vector<Ref<UIView>>& views) {
    std::vector<long> out;
    for (const auto& v : views) out.push_back(v->tag());
    return out;
}

Ref<UIView> tagged(long tag, CGRect frame = CGRectZero) {
    auto v = makeView(frame);
    v->setTag(tag);
    return v;
}

TEST_F(ViewTree, OrderInsertionAndZPosition) {
    auto root = makeView();
    root->addSubview(tagged(1));
    root->addSubview(tagged(2));
    root->insertSubviewAtIndex(tagged(0), 0);        // the blur goes under everything
    root->insertSubviewAtIndex(tagged(9), 99);       // clamped to the end
    EXPECT_EQ(tags(root->subviews()), (std::vector<long>{0, 1, 2, 9}));
    root->addSubview(root->subviews()[1]);           // re-adding moves to the top
    EXPECT_EQ(tags(root->subviews()), (std::vector<long>{0, 2, 9, 1}));
    root->subviews()[0]->layer()->setZPosition(1000);  // a banner above later siblings
    EXPECT_EQ(tags(root->subviewsInDrawingOrder()), (std::vector<long>{2, 9, 1, 0}));
    root->viewWithTag(9)->removeFromSuperview();
    EXPECT_EQ(tags(root->subviews()), (std::vector<long>{0, 2, 1}));
    EXPECT_THROW(root->subviews()[0]->addSubview(root), platform::RuntimeError) << "an ancestor cannot be a child";
}

TEST_F(ViewTree, MovingBetweenSuperviewsAndWindowsSendsLifeCycleThroughTheRuntime) {
    auto window = makeWindow();
    auto holder = makeView();
    auto view = alloc<LifeCycleView>();
    view->initWithFrame(CGRectZero);
    holder->addSubview(view);
    EXPECT_EQ(view->log, (std::vector<std::string>{"superview"}));
    EXPECT_EQ(view->window(), nullptr);
    window->addSubview(holder);
    EXPECT_EQ(view->window(), window);
    EXPECT_EQ(view->log.back(), "window");
    view->log.clear();
    window->addSubview(view);  // straight from holder to the window: same window, new superview
    EXPECT_EQ(view->log, (std::vector<std::string>{"superview"}));
    view->log.clear();
    view->removeFromSuperview();
    EXPECT_EQ(view->log, (std::vector<std::string>{"no window", "no superview"}));
    EXPECT_EQ(view->superview(), nullptr);
}

void (*g_previousLayout)(NSObject*, SEL) = nullptr;
int g_hookedLayouts = 0;
void hookedLayout(NSObject* self, SEL cmd) {
    ++g_hookedLayouts;
    g_previousLayout(self, cmd);
}

TEST_F(ViewTree, LayoutPassReachesOverridesAndHooks) {
    auto window = makeWindow();
    auto view = alloc<LifeCycleView>();
    view->initWithFrame(CGRectMake(0, 0, 10, 10));
    window->addSubview(view);
    window->layoutIfNeeded();
    EXPECT_EQ(std::count(view->log.begin(), view->log.end(), "layout"), 1);
    window->layoutIfNeeded();
    EXPECT_EQ(std::count(view->log.begin(), view->log.end(), "layout"), 1) << "nothing asked for layout";
    view->setFrame(CGRectMake(0, 0, 20, 10));  // a new size asks for layout
    MSHookMessageEx(LifeCycleView::classObject(), sel("layoutSubviews"), &hookedLayout, &g_previousLayout);
    window->layoutIfNeeded();
    EXPECT_EQ(g_hookedLayouts, 1);
    EXPECT_EQ(std::count(view->log.begin(), view->log.end(), "layout"), 2) << "the hook called through";
}

TEST_F(ViewTree, TagSearchTintAndLiveCount) {
    std::size_t before = UIView::liveViewCount();
    {
        auto root = tagged(1);
        auto branch = tagged(2);
        auto leaf = tagged(6903);
        root->addSubview(branch);
        branch->addSubview(leaf);
        EXPECT_EQ(root->viewWithTag(6903), leaf);
        EXPECT_EQ(root->viewWithTag(1), root);
        EXPECT_EQ(root->viewWithTag(77), nullptr);
        EXPECT_EQ(leaf->tintColor(), nullptr);
        auto red = UIColor::colorWithRedGreenBlueAlpha(1, 0, 0, 1);
        root->setTintColor(red);
        EXPECT_EQ(leaf->tintColor(), red) << "inherited";
        auto blue = UIColor::colorWithRedGreenBlueAlpha(0, 0, 1, 1);
        branch->setTintColor(blue);
        EXPECT_EQ(leaf->tintColor(), blue) << "nearest wins";
        EXPECT_EQ(UIView::liveViewCount(), before + 3);
    }
    EXPECT_EQ(UIView::liveViewCount(), before) << "a tree frees itself: parents are weak";
}

TEST_F(ViewTree, GeometryUnderRotationAndConversions) {
    auto root = makeView(CGRectMake(0, 0, 400, 400));
    auto parent = makeView(CGRectMake(100, 50, 200, 100));
    root->addSubview(parent);
    auto child = makeView(CGRectMake(10, 20, 30, 40));
    parent->addSubview(child);
    EXPECT_EQ(child->convertPointToView({0, 0}, root), CGPointMake(110, 70));
    EXPECT_EQ(root->convertPointToView({110, 70}, child), CGPointMake(0, 0));
    EXPECT_EQ(child->convertRectToView(child->bounds(), parent), child->frame());

    // A half turn about the centre (the chevron's π): the frame stays, points flip.
    parent->setTransform(CGAffineTransformMakeRotation(M_PI));
    CGRect f = parent->frame();
    EXPECT_NEAR(f.minX(), 100, 1e-9);
    EXPECT_NEAR(f.width(), 200, 1e-9);
    CGPoint p = parent->convertPointToView({0, 0}, root);
    EXPECT_NEAR(p.x, 300, 1e-9);
    EXPECT_NEAR(p.y, 150, 1e-9);
    CGPoint back = parent->convertPointFromView(p, root);
    EXPECT_NEAR(back.x, 0, 1e-9);
    EXPECT_NEAR(back.y, 0, 1e-9);
    // A quarter turn swaps the frame's sides; the bounds keep theirs.
    parent->setTransform(CGAffineTransformMakeRotation(M_PI / 2));
    EXPECT_NEAR(parent->frame().width(), 100, 1e-9);
    EXPECT_NEAR(parent->frame().height(), 200, 1e-9);
    EXPECT_EQ(parent->bounds().size, CGSizeMake(200, 100));
    EXPECT_EQ(parent->center(), CGPointMake(200, 100));

    // A bounds origin shifts the subviews (a scrolled content).
    parent->setTransform(CGAffineTransformIdentity);
    parent->setBounds(CGRectMake(0, 30, 200, 100));
    EXPECT_EQ(child->convertPointToView({0, 0}, root), CGPointMake(110, 40));
}

TEST_F(ViewTree, SizeToFitAndLayerMirror) {
    auto v = alloc<SizedView>();
    v->initWithFrame(CGRectMake(5, 6, 1, 1));
    EXPECT_EQ(v->sizeThatFits({100, 100}), CGSizeMake(1, 1)) << "the default answers the current size";
    v->layer()->setFrame(CGRectMake(1, 2, 3, 4));
    EXPECT_EQ(v->frame(), CGRectMake(1, 2, 3, 4)) << "a view's layer moves the view";
    v->layer()->setOpacity(0.5);
    EXPECT_EQ(v->alpha(), 0.5);
    v->setClipsToBounds(true);
    EXPECT_TRUE(v->layer()->masksToBounds());
}

}  // namespace
