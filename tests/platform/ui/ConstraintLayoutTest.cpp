// Frames after layout for the constraint patterns the system uses; every expected number is worked out by hand
// from the constraints in the comments.

#include "../ui/ViewTestSupport.h"
#include "platform/layout/LayoutEngine.h"
#include "platform/ui/NSLayoutConstraint.h"

using namespace vtest;

namespace {

class ConstraintLayout : public ViewTest {};

void activate(std::initializer_list<Ref<NSLayoutConstraint>> list) { NSLayoutConstraint::activateConstraints(list); }

TEST_F(ConstraintLayout, CardTemplate) {
    // A cell content view of 177.5 x 120 (half of a 375-point screen minus 10), a frame-set container filling it,
    // a base view pinned to the container, and the icon / title / subtitle stack.
    auto window = makeWindow();
    auto content = makeView(CGRectMake(10, 20, 177.5, 120));
    window->addSubview(content);
    auto container = makeView(content->bounds());
    content->addSubview(container);
    auto base = addConstrained(container);
    activate({base->topAnchor().constraintEqualToAnchor(container->topAnchor()),
              base->leadingAnchor().constraintEqualToAnchor(container->leadingAnchor()),
              base->trailingAnchor().constraintEqualToAnchor(container->trailingAnchor()),
              base->bottomAnchor().constraintEqualToAnchor(container->bottomAnchor())});
    auto icon = addConstrained(base);
    activate({icon->widthAnchor().constraintEqualToConstant(60), icon->heightAnchor().constraintEqualToConstant(60),
              icon->topAnchor().constraintEqualToAnchorConstant(base->topAnchor(), 15),
              icon->centerXAnchor().constraintEqualToAnchor(base->centerXAnchor())});
    auto title = addConstrained<SizedView>(base, makeSized(80, 17));  // a label's own size
    activate({title->topAnchor().constraintEqualToAnchorConstant(icon->bottomAnchor(), 7),
              title->leadingAnchor().constraintEqualToAnchorConstant(base->leadingAnchor(), 5),
              title->trailingAnchor().constraintEqualToAnchorConstant(base->trailingAnchor(), -5),
              title->centerXAnchor().constraintEqualToAnchor(base->centerXAnchor())});
    auto subtitle = addConstrained<SizedView>(base, makeSized(30, 10));
    activate({subtitle->topAnchor().constraintEqualToAnchorConstant(title->bottomAnchor(), 3),
              subtitle->leadingAnchor().constraintEqualToAnchorConstant(base->leadingAnchor(), 5),
              subtitle->trailingAnchor().constraintEqualToAnchorConstant(base->trailingAnchor(), -5),
              subtitle->centerXAnchor().constraintEqualToAnchor(base->centerXAnchor())});
    // The status cards' pill: fixed 40 x 10 instead of the side constraints.
    auto pill = addConstrained(base);
    activate({pill->topAnchor().constraintEqualToAnchorConstant(title->bottomAnchor(), 3),
              pill->widthAnchor().constraintEqualToConstant(40), pill->heightAnchor().constraintEqualToConstant(10),
              pill->centerXAnchor().constraintEqualToAnchor(base->centerXAnchor())});

    window->layoutIfNeeded();

    expectRect(container->frame(), CGRectMake(0, 0, 177.5, 120), "container keeps its frame");
    expectRect(base->frame(), CGRectMake(0, 0, 177.5, 120), "base");
    expectRect(icon->frame(), CGRectMake((177.5 - 60) / 2, 15, 60, 60), "icon");
    // top 15 + 60 + 7 = 82; sides 5 and 177.5 - 5; height from the own size
    expectRect(title->frame(), CGRectMake(5, 82, 167.5, 17), "title");
    // 82 + 17 + 3 = 102
    expectRect(subtitle->frame(), CGRectMake(5, 102, 167.5, 10), "subtitle");
    expectRect(pill->frame(), CGRectMake((177.5 - 40) / 2, 102, 40, 10), "pill");
    EXPECT_EQ(platform::layout::LayoutEngine::lastDroppedCount(), 0u) << "the centring constraints are redundant";
    expectRect(pill->convertRectToView(pill->bounds(), nullptr), CGRectMake(10 + 68.75, 20 + 102, 40, 10),
               "pill in window coordinates");
}

TEST_F(ConstraintLayout, EditorHeaderWithSiblingsAndCousins) {
    auto window = makeWindow();
    auto container = makeView(window->bounds());
    window->addSubview(container);
    auto header = makeView(CGRectMake(0, 0, 375, 75));  // frame-set
    container->addSubview(header);
    auto grabber = addConstrained(header);
    activate({grabber->widthAnchor().constraintEqualToConstant(40),
              grabber->heightAnchor().constraintEqualToConstant(6),
              grabber->topAnchor().constraintEqualToAnchorConstant(header->topAnchor(), 10),
              grabber->centerXAnchor().constraintEqualToAnchor(header->centerXAnchor())});
    auto icon = addConstrained(header);
    activate({icon->widthAnchor().constraintEqualToConstant(35), icon->heightAnchor().constraintEqualToConstant(35),
              icon->centerYAnchor().constraintEqualToAnchor(header->centerYAnchor()),
              icon->leadingAnchor().constraintEqualToAnchorConstant(header->leadingAnchor(), 20)});
    auto label = addConstrained<SizedView>(header, makeSized(100, 20));
    activate({label->centerYAnchor().constraintEqualToAnchor(icon->centerYAnchor()),
              label->leadingAnchor().constraintEqualToAnchorConstant(icon->trailingAnchor(), 10)});
    auto done = addConstrained<SizedView>(header, makeSized(44, 30));
    activate({done->centerYAnchor().constraintEqualToAnchor(header->centerYAnchor()),
              done->trailingAnchor().constraintEqualToAnchorConstant(header->trailingAnchor(), -20)});
    auto table = addConstrained(container);
    activate({table->topAnchor().constraintEqualToAnchorConstant(header->bottomAnchor(), 10),
              table->leadingAnchor().constraintEqualToAnchor(container->leadingAnchor()),
              table->trailingAnchor().constraintEqualToAnchor(container->trailingAnchor()),
              table->bottomAnchor().constraintEqualToAnchorConstant(container->bottomAnchor(), -90)});
    // A cousin: a marker inside the table lined up with the grabber, which lives in the header.
    auto marker = addConstrained(table);
    activate({marker->centerXAnchor().constraintEqualToAnchor(grabber->centerXAnchor()),
              marker->topAnchor().constraintEqualToAnchor(table->topAnchor()),
              marker->widthAnchor().constraintEqualToConstant(10),
              marker->heightAnchor().constraintEqualToConstant(10)});

    window->layoutIfNeeded();

    expectRect(grabber->frame(), CGRectMake(167.5, 10, 40, 6), "grabber");
    expectRect(icon->frame(), CGRectMake(20, 20, 35, 35), "icon: (75 - 35) / 2");
    expectRect(label->frame(), CGRectMake(65, 27.5, 100, 20), "label: centre 37.5");
    expectRect(done->frame(), CGRectMake(375 - 20 - 44, 22.5, 44, 30), "done");
    // top 75 + 10 = 85, bottom 667 - 90 = 577
    expectRect(table->frame(), CGRectMake(0, 85, 375, 492), "table");
    expectRect(marker->frame(), CGRectMake(182.5, 0, 10, 10), "marker: centre 187.5 in the table");
}

TEST_F(ConstraintLayout, GridBottomFollowsTheScreen) {
    struct Case {
        const char* profile;
        CGFloat bottomInset;
        CGRect expected;
    };
    const Case cases[] = {
        {"iphone-8", 40, CGRectMake(5, 50, 365, 667 - 40 - 50)},
        {"iphone-8-plus", 40, CGRectMake(5, 50, 404, 736 - 40 - 50)},
        {"iphone-x", 75, CGRectMake(5, 50, 365, 812 - 75 - 50)},
        {"iphone-xr", 75, CGRectMake(5, 50, 404, 896 - 75 - 50)},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(UIScreen::setDeviceProfile(c.profile));
        CGRect screen = UIScreen::mainScreen()->bounds();
        auto window = makeWindow(screen);
        auto base = makeView(screen);
        window->addSubview(base);
        auto grid = addConstrained(base);
        activate({grid->topAnchor().constraintEqualToAnchorConstant(base->topAnchor(), 50),
                  grid->leadingAnchor().constraintEqualToAnchorConstant(base->leadingAnchor(), 5),
                  grid->trailingAnchor().constraintEqualToAnchorConstant(base->trailingAnchor(), -5),
                  grid->bottomAnchor().constraintEqualToAnchorConstant(base->bottomAnchor(), -c.bottomInset)});
        window->layoutIfNeeded();
        expectRect(grid->frame(), c.expected, c.profile);
    }
}

TEST_F(ConstraintLayout, OverDeterminedDropsTheLaterOrWeakerConstraint) {
    auto window = makeWindow(CGRectMake(0, 0, 300, 300));
    auto view = addConstrained(window);
    auto lead = view->leadingAnchor().constraintEqualToAnchorConstant(window->leadingAnchor(), 10);
    auto trail = view->trailingAnchor().constraintEqualToAnchorConstant(window->trailingAnchor(), -10);
    auto width = view->widthAnchor().constraintEqualToConstant(50);  // contradicts the two sides
    activate({lead, trail, view->topAnchor().constraintEqualToAnchor(window->topAnchor()),
              view->heightAnchor().constraintEqualToConstant(20), width});
    window->layoutIfNeeded();
    expectRect(view->frame(), CGRectMake(10, 0, 280, 20), "sides win: they were activated first");
    EXPECT_TRUE(width->wasDroppedInLastLayout());
    EXPECT_FALSE(trail->wasDroppedInLastLayout());
    EXPECT_EQ(platform::layout::LayoutEngine::lastDroppedCount(), 1u);

    // A higher priority outranks the order of activation.
    trail->setPriority(500);
    window->layoutIfNeeded();
    expectRect(view->frame(), CGRectMake(10, 0, 50, 20), "the required width beats the weaker side");
    EXPECT_TRUE(trail->wasDroppedInLastLayout());
    EXPECT_FALSE(width->wasDroppedInLastLayout());

    // Deactivating the contradiction leaves a consistent system.
    width->setActive(false);
    window->layoutIfNeeded();
    expectRect(view->frame(), CGRectMake(10, 0, 280, 20), "back to the sides");
    EXPECT_EQ(platform::layout::LayoutEngine::lastDroppedCount(), 0u);
}

TEST_F(ConstraintLayout, UnderDeterminedKeepsOwnOrCurrentValues) {
    auto window = makeWindow(CGRectMake(0, 0, 300, 300));
    // Only a position: the size stays what the frame said.
    auto placed = alloc<UIView>();
    placed->initWithFrame(CGRectMake(0, 0, 30, 40));
    addConstrained(window, placed);
    activate({placed->topAnchor().constraintEqualToAnchorConstant(window->topAnchor(), 12),
              placed->leadingAnchor().constraintEqualToAnchorConstant(window->leadingAnchor(), 8)});
    // Centred with an own size: the own size gives width and height.
    auto centred = addConstrained<SizedView>(window, makeSized(64, 24));
    activate({centred->centerXAnchor().constraintEqualToAnchor(window->centerXAnchor()),
              centred->centerYAnchor().constraintEqualToAnchor(window->centerYAnchor())});
    // Only a size: the position stays where the frame put it, relative to the superview.
    auto sized = alloc<UIView>();
    sized->initWithFrame(CGRectMake(100, 200, 5, 5));
    addConstrained(window, sized);
    activate({sized->widthAnchor().constraintEqualToConstant(70)});

    window->layoutIfNeeded();
    expectRect(placed->frame(), CGRectMake(8, 12, 30, 40), "position only");
    expectRect(centred->frame(), CGRectMake(150 - 32, 150 - 12, 64, 24), "centred, own size");
    expectRect(sized->frame(), CGRectMake(100, 200, 70, 5), "size only");
}

TEST_F(ConstraintLayout, FrameSetParentResizedByItsMaskCarriesConstrainedChildren) {
    auto window = makeWindow(CGRectMake(0, 0, 100, 100));
    auto container = makeView(window->bounds());
    container->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    ASSERT_EQ(container->autoresizingMask(), 18u);
    window->addSubview(container);
    auto fill = addConstrained(container);
    activate({fill->topAnchor().constraintEqualToAnchorConstant(container->topAnchor(), 4),
              fill->leadingAnchor().constraintEqualToAnchor(container->leadingAnchor()),
              fill->trailingAnchor().constraintEqualToAnchor(container->trailingAnchor()),
              fill->bottomAnchor().constraintEqualToAnchor(container->bottomAnchor())});
    window->layoutIfNeeded();
    expectRect(fill->frame(), CGRectMake(0, 4, 100, 96), "before");

    window->setFrame(CGRectMake(0, 0, 200, 150));
    expectRect(container->frame(), CGRectMake(0, 0, 200, 150), "autoresized at once");
    window->layoutIfNeeded();
    expectRect(fill->frame(), CGRectMake(0, 4, 200, 146), "after the layout pass");
}

TEST_F(ConstraintLayout, AutoresizingMasksShareTheChange) {
    struct Case {
        unsigned long mask;
        CGRect expected;  // child (10, 10, 20, 20) in a parent going from 100 x 100 to 160 x 130
    };
    const Case cases[] = {
        {UIViewAutoresizingNone, CGRectMake(10, 10, 20, 20)},
        {UIViewAutoresizingFlexibleWidth, CGRectMake(10, 10, 80, 20)},
        {UIViewAutoresizingFlexibleLeftMargin | UIViewAutoresizingFlexibleTopMargin, CGRectMake(70, 40, 20, 20)},
        // left margin 10 and right margin 70 share 60 in proportion: 7.5 and 52.5
        {UIViewAutoresizingFlexibleLeftMargin | UIViewAutoresizingFlexibleRightMargin, CGRectMake(17.5, 10, 20, 20)},
        // height 20 and bottom margin 70 share 30: 20 + 30 * 20 / 90
        {UIViewAutoresizingFlexibleHeight | UIViewAutoresizingFlexibleBottomMargin,
         CGRectMake(10, 10, 20, 20 + 30.0 * 20 / 90)},
    };
    for (const auto& c : cases) {
        auto parent = makeView(CGRectMake(0, 0, 100, 100));
        auto child = makeView(CGRectMake(10, 10, 20, 20));
        child->setAutoresizingMask(c.mask);
        parent->addSubview(child);
        parent->setFrame(CGRectMake(0, 0, 160, 130));
        expectRect(child->frame(), c.expected, ("mask " + std::to_string(c.mask)).c_str());
    }
}

}  // namespace

// A view that lays out its child at once from its own layoutSubviews, as list cells do.
class EagerLayoutView : public UIView {
    VT_OBJECT(EagerLayoutView, UIView)
public:
    int layouts = 0;
    void layoutSubviews() override {
        ++layouts;
        setNeedsLayout();  // a careless override asks again every time
        if (auto s = superview()) s->layoutIfNeeded();
        for (const auto& c : subviews()) c->layoutIfNeeded();
    }
};
VT_REGISTER_CLASS(EagerLayoutView)

namespace {

TEST_F(ConstraintLayout, NestedLayoutRequestsDoNotRecurse) {
    auto window = makeWindow(CGRectMake(0, 0, 100, 100));
    auto eager = alloc<EagerLayoutView>();
    eager->initWithFrame(CGRectMake(0, 0, 100, 100));
    window->addSubview(eager);
    auto child = addConstrained(eager);
    NSLayoutConstraint::activateConstraints({child->widthAnchor().constraintEqualToConstant(10),
                                             child->heightAnchor().constraintEqualToConstant(10),
                                             child->topAnchor().constraintEqualToAnchor(eager->topAnchor()),
                                             child->leadingAnchor().constraintEqualToAnchor(eager->leadingAnchor())});
    window->layoutIfNeeded();
    EXPECT_EQ(child->frame(), CGRectMake(0, 0, 10, 10));
    EXPECT_EQ(eager->layouts, 8) << "bounded by the pass's rounds";
}

TEST_F(ConstraintLayout, RemovalDropsConstraintsThatLeaveTheTree) {
    auto window = makeWindow(CGRectMake(0, 0, 200, 200));
    auto anchor = makeView(CGRectMake(50, 50, 10, 10));
    window->addSubview(anchor);
    auto follower = addConstrained(window);
    auto follow = follower->topAnchor().constraintEqualToAnchor(anchor->bottomAnchor());
    auto inner = addConstrained(follower);
    auto pinned = inner->leadingAnchor().constraintEqualToAnchor(follower->leadingAnchor());
    NSLayoutConstraint::activateConstraints({follow, pinned});
    window->layoutIfNeeded();
    EXPECT_EQ(follower->frame().minY(), 60);
    follower->removeFromSuperview();
    EXPECT_FALSE(follow->isActive()) << "it tied the removed view to the rest of the tree";
    EXPECT_TRUE(pinned->isActive()) << "inside the removed subtree";
    // A constraint to a view of another tree takes no part in a layout.
    auto other = makeWindow(CGRectMake(0, 0, 50, 50));
    other->addSubview(follower);
    auto across = follower->leftAnchor().constraintEqualToAnchorConstant(anchor->leftAnchor(), 7);
    across->setActive(true);
    other->layoutIfNeeded();
    EXPECT_EQ(follower->frame().minX(), 0) << "kept where it was";
    EXPECT_THROW(follower->topAnchor().constraintEqualToAnchor(anchor->leftAnchor()), platform::RuntimeError);
    EXPECT_THROW(follower->topAnchor().constraintEqualToConstant(3), platform::RuntimeError);
}

}  // namespace
