#include "platform/layout/LayoutAttribute.h"
#include "platform/layout/LayoutEngine.h"

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

// The engine on items that are not views: the layout layer must solve a tree it knows only through LayoutItem.
// Expected frames are worked out by hand from the relations.

namespace {

using platform::layout::LayoutEngine;
using platform::layout::LayoutItem;
using platform::layout::LayoutRelation;

struct Relation : LayoutRelation {
    LayoutItem* first = nullptr;
    LayoutItem* second = nullptr;
    long firstAttr = 0, secondAttr = 0;
    CGFloat mult = 1, cst = 0;
    float prio = 1000;
    std::uint64_t order = 0;
    bool dropped = true;  // the engine must clear it

    LayoutItem* firstLayoutItem() const override { return first; }
    LayoutItem* secondLayoutItem() const override { return second; }
    long firstAttribute() const override { return firstAttr; }
    long secondAttribute() const override { return secondAttr; }
    CGFloat multiplier() const override { return mult; }
    CGFloat constant() const override { return cst; }
    float priority() const override { return prio; }
    std::uint64_t activationOrder() const override { return order; }
    void setDroppedInLastLayout(bool d) override { dropped = d; }
};

struct Item : LayoutItem {
    CGRect frame;
    bool placed = false;
    CGSize intrinsic{-1, -1};
    int intrinsicAsked = 0;
    std::vector<Item*> children;
    std::vector<Relation*> relations;
    std::optional<CGRect> applied;

    CGRect layoutFrame() const override { return frame; }
    CGSize layoutSize() const override { return frame.size; }
    bool isPlacedByConstraints() const override { return placed; }
    CGSize intrinsicLayoutSize() override {
        ++intrinsicAsked;
        return intrinsic;
    }
    std::size_t layoutChildCount() const override { return children.size(); }
    LayoutItem& layoutChild(std::size_t i) const override { return *children[i]; }
    std::size_t layoutRelationCount() const override { return relations.size(); }
    LayoutRelation& layoutRelation(std::size_t i) const override { return *relations[i]; }
    bool applyLayoutFrame(CGRect f) override {
        applied = f;
        if (f == frame) return false;
        frame = f;
        return true;
    }
};

// Owns the items and relations of one tree; relations are activated in the order they are added.
class Tree {
public:
    Item& item(CGRect frame, Item* parent = nullptr, bool placed = false) {
        Item& i = m_items.emplace_back();
        i.frame = frame;
        i.placed = placed;
        if (parent) parent->children.push_back(&i);
        return i;
    }
    Relation& relate(Item& first, long a, Item* second, long b, CGFloat multiplier, CGFloat constant,
                     float priority = 1000) {
        Relation& r = m_relations.emplace_back();
        r.first = &first;
        r.second = second;
        r.firstAttr = a;
        r.secondAttr = b;
        r.mult = multiplier;
        r.cst = constant;
        r.prio = priority;
        r.order = ++m_order;
        first.relations.push_back(&r);
        return r;
    }
    Relation& fix(Item& first, long a, CGFloat constant, float priority = 1000) {
        return relate(first, a, nullptr, NSLayoutAttributeNotAnAttribute, 1, constant, priority);
    }

private:
    std::deque<Item> m_items;
    std::deque<Relation> m_relations;
    std::uint64_t m_order = 0;
};

TEST(LayoutEngine, EveryAttributeMapsToTheRightEdgeOrCentre) {
    // A 300 × 200 root and a placed child 100 × 40; each row pins one attribute of the child to the same
    // attribute of the root plus 10 (dimensions: to a constant), leaving the rest to the child's current frame.
    struct Row {
        long attribute;
        CGRect expected;
    };
    const Row rows[] = {
        {NSLayoutAttributeLeft, {{10, 5}, {100, 40}}},     {NSLayoutAttributeLeading, {{10, 5}, {100, 40}}},
        {NSLayoutAttributeRight, {{210, 5}, {100, 40}}},   {NSLayoutAttributeTrailing, {{210, 5}, {100, 40}}},
        {NSLayoutAttributeCenterX, {{110, 5}, {100, 40}}}, {NSLayoutAttributeTop, {{5, 10}, {100, 40}}},
        {NSLayoutAttributeBottom, {{5, 170}, {100, 40}}},  {NSLayoutAttributeCenterY, {{5, 90}, {100, 40}}},
        {NSLayoutAttributeWidth, {{5, 5}, {10, 40}}},      {NSLayoutAttributeHeight, {{5, 5}, {100, 10}}},
    };
    for (const Row& row : rows) {
        Tree t;
        Item& root = t.item({{0, 0}, {300, 200}});
        Item& child = t.item({{5, 5}, {100, 40}}, &root, true);
        if (layoutAttributeAxis(row.attribute) == 2) t.fix(child, row.attribute, 10);
        else t.relate(child, row.attribute, &root, row.attribute, 1, 10);
        EXPECT_EQ(LayoutEngine::solveAndApply(root), 1u) << layoutAttributeName(row.attribute);
        EXPECT_EQ(child.frame, row.expected) << layoutAttributeName(row.attribute);
        EXPECT_EQ(LayoutEngine::lastVariableCount(), 8u);
    }
}

TEST(LayoutEngine, StrongerThenEarlierRelationsWinAndTheLoserIsDropped) {
    struct Row {
        float firstPriority, secondPriority;
        CGFloat expectedWidth;
        bool firstDropped, secondDropped;
    };
    const Row rows[] = {
        {1000, 1000, 100, false, true},  // equal: the earlier wins
        {750, 1000, 50, true, false},    // the stronger wins although later
        {1000, 250, 100, false, true},
    };
    for (const Row& row : rows) {
        Tree t;
        Item& root = t.item({{0, 0}, {300, 200}});
        Item& child = t.item({{0, 0}, {10, 10}}, &root, true);
        Relation& a = t.fix(child, NSLayoutAttributeWidth, 100, row.firstPriority);
        Relation& b = t.fix(child, NSLayoutAttributeWidth, 50, row.secondPriority);
        LayoutEngine::solveAndApply(root);
        EXPECT_EQ(child.frame.width(), row.expectedWidth) << row.firstPriority << " vs " << row.secondPriority;
        EXPECT_EQ(a.dropped, row.firstDropped);
        EXPECT_EQ(b.dropped, row.secondDropped);
        EXPECT_EQ(LayoutEngine::lastDroppedCount(), 1u);
    }
}

TEST(LayoutEngine, OwnSizeFillsOnlyWhatTheRelationsLeaveOpen) {
    Tree t;
    Item& root = t.item({{0, 0}, {320, 480}});
    Item& open = t.item({{0, 0}, {1, 1}}, &root, true);
    open.intrinsic = {40, 30};
    t.relate(open, NSLayoutAttributeLeft, &root, NSLayoutAttributeLeft, 1, 8);
    Item& half = t.item({{0, 0}, {1, 1}}, &root, true);
    half.intrinsic = {-1, 22};  // no own width: the current one stays
    t.fix(half, NSLayoutAttributeTop, 0);
    Item& fixed = t.item({{0, 0}, {1, 1}}, &root, true);
    fixed.intrinsic = {99, 99};
    t.fix(fixed, NSLayoutAttributeWidth, 60);
    t.relate(fixed, NSLayoutAttributeHeight, &root, NSLayoutAttributeHeight, 0.25, 0);

    LayoutEngine::solveAndApply(root);
    EXPECT_EQ(open.frame, (CGRect{{8, 0}, {40, 30}}));
    EXPECT_EQ(half.frame, (CGRect{{0, 0}, {1, 22}}));
    EXPECT_EQ(fixed.frame, (CGRect{{0, 0}, {60, 120}}));
    EXPECT_EQ(fixed.intrinsicAsked, 0) << "a size the relations decide never asks for the own size";
    EXPECT_EQ(open.intrinsicAsked, 1);
}

TEST(LayoutEngine, FramesAreRelativeToTheParentAndFrameSetItemsHold) {
    // root 400 × 400 ⊃ panel (frame-set at 50, 60, 200 × 100) ⊃ badge centred on the panel, 20 × 10, and a label
    // whose leading edge follows the badge's trailing edge by 4.
    Tree t;
    Item& root = t.item({{0, 0}, {400, 400}});
    Item& panel = t.item({{50, 60}, {200, 100}}, &root);
    Item& badge = t.item({{0, 0}, {1, 1}}, &panel, true);
    Item& label = t.item({{3, 7}, {30, 12}}, &panel, true);
    t.relate(badge, NSLayoutAttributeCenterX, &panel, NSLayoutAttributeCenterX, 1, 0);
    t.relate(badge, NSLayoutAttributeCenterY, &panel, NSLayoutAttributeCenterY, 1, 0);
    t.fix(badge, NSLayoutAttributeWidth, 20);
    t.fix(badge, NSLayoutAttributeHeight, 10);
    t.relate(label, NSLayoutAttributeLeading, &badge, NSLayoutAttributeTrailing, 1, 4);

    EXPECT_EQ(LayoutEngine::solveAndApply(root), 2u);
    EXPECT_EQ(badge.frame, (CGRect{{90, 45}, {20, 10}}));
    EXPECT_EQ(label.frame, (CGRect{{114, 7}, {30, 12}})) << "what no relation decides keeps its current value";
    EXPECT_FALSE(panel.applied) << "a frame-set item is never given a frame";
    EXPECT_EQ(panel.frame, (CGRect{{50, 60}, {200, 100}}));
    EXPECT_EQ(LayoutEngine::lastDroppedCount(), 0u);
}

TEST(LayoutEngine, RelationsReachingOutsideTheTreeAndTreesWithoutRelationsAreLeftAlone) {
    Tree t;
    Item& outsider = t.item({{0, 0}, {50, 50}});
    Item& root = t.item({{0, 0}, {300, 200}});
    Item& child = t.item({{7, 7}, {10, 10}}, &root);
    Relation& away = t.relate(child, NSLayoutAttributeWidth, &outsider, NSLayoutAttributeWidth, 1, 0);
    // The only relation names an item of another tree: it is not part of this solve, and not dropped either.
    EXPECT_EQ(LayoutEngine::solveAndApply(root), 0u);
    EXPECT_FALSE(away.dropped);
    EXPECT_EQ(child.frame, (CGRect{{7, 7}, {10, 10}}));

    Tree plain;
    Item& bare = plain.item({{0, 0}, {300, 200}});
    Item& frameSet = plain.item({{1, 2}, {3, 4}}, &bare);
    EXPECT_EQ(LayoutEngine::solveAndApply(bare), 0u);
    EXPECT_EQ(LayoutEngine::lastVariableCount(), 0u) << "nothing takes part, so nothing is solved";
    EXPECT_FALSE(frameSet.applied);
}

}  // namespace
