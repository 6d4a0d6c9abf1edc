#include "platform/core/Runtime.h"
#include "platform/ui/TableUpdateBatch.h"
#include "platform/ui/UICollectionView.h"
#include "platform/ui/UICollectionViewCell.h"
#include "platform/ui/UIWindow.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using C = Ref<UICollectionView>;
using P = Ref<NSIndexPath>;

std::size_t g_cardsBuilt = 0;

// Cards remember the content bounds they saw while building, which the platform must have set by then.
class GridCardA : public UICollectionViewCell {
    VT_OBJECT(GridCardA, UICollectionViewCell)
public:
    CGRect contentAtInit;
    void initWithFrame(CGRect frame) override {
        UICollectionViewCell::initWithFrame(frame);
        contentAtInit = contentView()->bounds();
        ++g_cardsBuilt;
    }
};
class GridCardB : public GridCardA {
    VT_OBJECT(GridCardB, GridCardA)
};

class GridSource : public NSObject {
    VT_OBJECT(GridSource, NSObject)
public:
    std::vector<std::string> identifiers;
    CGSize itemSize{177.5, 120};
    long collectionViewNumberOfItemsInSection(C, long) { return static_cast<long>(identifiers.size()); }
    Ref<UICollectionViewCell> collectionViewCellForItemAtIndexPath(C view, P path) {
        return view->dequeueReusableCellWithReuseIdentifierForIndexPath(identifiers[static_cast<std::size_t>(path->item())],
                                                                        path->value());
    }
    CGSize collectionViewLayoutSizeForItemAtIndexPath(C, Ref<UICollectionViewFlowLayout>, P) { return itemSize; }
};

}  // namespace

VT_REGISTER_CLASS(GridCardA)
VT_REGISTER_CLASS(GridCardB)
VT_REGISTER_CLASS(GridSource, [](Class c) {
    using namespace platform::runtime;
    addMethod<&GridSource::collectionViewNumberOfItemsInSection>(c, "collectionView:numberOfItemsInSection:");
    addMethod<&GridSource::collectionViewCellForItemAtIndexPath>(c, "collectionView:cellForItemAtIndexPath:");
    addMethod<&GridSource::collectionViewLayoutSizeForItemAtIndexPath>(c, "collectionView:layout:sizeForItemAtIndexPath:");
})

namespace {

class CollectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_cardsBuilt = 0;
        window = alloc<UIWindow>();
        window->initWithFrame(CGRectMake(0, 0, 375, 667));
        source = alloc<GridSource>();
        grid = alloc<UICollectionView>();
        grid->initWithFrameCollectionViewLayout(CGRectMake(5, 50, 365, 542), nullptr);
        // Registered by name, as the grid does with the classes of its catalogue.
        grid->registerClassForCellWithReuseIdentifier(objc_getClass("GridCardA"), "A");
        grid->registerClassForCellWithReuseIdentifier(objc_getClass("GridCardB"), "B");
        grid->registerClassForCellWithReuseIdentifier(UICollectionViewCell::classObject(), "OriginalCell");
        grid->setDataSource(source);
        grid->setDelegate(source);
        window->addSubview(grid);
    }
    struct Shown {
        std::string cls;
        CGRect frame;
        friend bool operator==(const Shown&, const Shown&) = default;
    };
    std::vector<Shown> shown() {
        std::vector<Shown> out;
        for (auto& c : grid->visibleCells()) out.push_back({std::string(c->className()), c->frame()});
        return out;
    }
    Ref<UIWindow> window;
    Ref<GridSource> source;
    Ref<UICollectionView> grid;
};

TEST_F(CollectionTest, CellsOfRegisteredClassesAtTheirFramesInOrder) {
    source->identifiers = {"B", "A", "OriginalCell"};
    window->layoutIfNeeded();
    const std::vector<Shown> expected = {{"GridCardB", CGRectMake(0, 0, 177.5, 120)},
                                         {"GridCardA", CGRectMake(187.5, 0, 177.5, 120)},
                                         {"UICollectionViewCell", CGRectMake(93.75, 130, 177.5, 120)}};
    EXPECT_EQ(shown(), expected);
    auto first = cast<GridCardA>(grid->cellForItemAtIndexPath({0, 0}));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->contentAtInit, CGRectMake(0, 0, 177.5, 120));
    EXPECT_EQ(first->reuseIdentifier(), "B");
}

TEST_F(CollectionTest, ReloadReusesCellsPerIdentifier) {
    source->identifiers = {"A", "B", "A", "B"};
    window->layoutIfNeeded();
    EXPECT_EQ(g_cardsBuilt, 4u);
    grid->reloadData();
    grid->reloadData();
    EXPECT_EQ(g_cardsBuilt, 4u);
    EXPECT_EQ(grid->createdCellCount(), 4u);
    // A new order of the same identifiers needs no new card; a third A does.
    source->identifiers = {"B", "B", "A", "A", "A"};
    grid->reloadData();
    EXPECT_EQ(g_cardsBuilt, 5u);
    std::vector<std::string> classes;
    for (auto& s : shown()) classes.push_back(s.cls);
    EXPECT_EQ(classes, (std::vector<std::string>{"GridCardB", "GridCardB", "GridCardA", "GridCardA", "GridCardA"}));
}

TEST_F(CollectionTest, OnlyVisibleItemsGetCells) {
    source->identifiers = std::vector<std::string>(30, "A");
    window->layoutIfNeeded();
    // 542 points show rows at 0, 130, 260, 390 and the top of 520: five rows of two.
    EXPECT_EQ(grid->visibleCells().size(), 10u);
    EXPECT_EQ(grid->contentSize().height, 15 * 120 + 14 * 10);
    grid->setContentOffset({0, 1300});
    auto paths = grid->indexPathsForVisibleItems();
    ASSERT_FALSE(paths.empty());
    EXPECT_EQ(paths.front(), (IndexPath{0, 20}));
    EXPECT_LE(g_cardsBuilt, 12u);
}

TEST_F(CollectionTest, HorizontalDirectionAndUnregisteredIdentifiers) {
    grid->collectionViewLayout()->setScrollDirection(UICollectionViewScrollDirectionHorizontal);
    source->identifiers = {"A", "A", "A", "A", "A"};
    source->itemSize = {100, 120};
    window->layoutIfNeeded();
    // Columns of four (4 × 120 + 3 × 10 ≤ 542) spread over the height; the fifth starts a column, centred alone.
    EXPECT_EQ(grid->cellForItemAtIndexPath({0, 3})->frame(), CGRectMake(0, 422, 100, 120));
    EXPECT_EQ(grid->cellForItemAtIndexPath({0, 4})->frame(), CGRectMake(110, 211, 100, 120));
    source->identifiers = {"Unknown"};
    EXPECT_THROW(grid->reloadData(), NSInternalInconsistencyException);
}

}  // namespace
