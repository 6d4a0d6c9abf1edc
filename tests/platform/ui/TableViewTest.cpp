#include "platform/core/RunLoop.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/UIColor.h"
#include "platform/harness/TouchDriver.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UITableViewCell.h"
#include "platform/ui/UIWindow.h"

#include <algorithm>
#include <sstream>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using T = Ref<UITableView>;
using P = Ref<NSIndexPath>;

// A data source and delegate over sections of titles, recording the callbacks that change state.
class TitlesSource : public NSObject {
    VT_OBJECT(TitlesSource, NSObject)
public:
    std::vector<std::string> headers;
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> log;
    CGFloat height = 90;

    long numberOfSectionsInTableView(T) { return static_cast<long>(rows.size()); }
    long tableViewNumberOfRowsInSection(T, long s) { return static_cast<long>(rows[static_cast<std::size_t>(s)].size()); }
    std::string tableViewTitleForHeaderInSection(T, long s) {
        return s < static_cast<long>(headers.size()) ? headers[static_cast<std::size_t>(s)] : "";
    }
    Ref<UITableViewCell> tableViewCellForRowAtIndexPath(T table, P path) {
        auto cell = table->dequeueReusableCellWithIdentifier("TitleCell");
        if (!cell) {
            cell = alloc<UITableViewCell>();
            cell->initWithStyleReuseIdentifier(UITableViewCellStyleDefault, "TitleCell");
            ++built;
        }
        cell->textLabel()->setText(rows[static_cast<std::size_t>(path->section())][static_cast<std::size_t>(path->row())]);
        return cell;
    }
    CGFloat tableViewHeightForRowAtIndexPath(T, P) { return height; }
    bool tableViewCanMoveRowAtIndexPath(T, P) { return true; }
    long tableViewEditingStyleForRowAtIndexPath(T, P) { return UITableViewCellEditingStyleNone; }
    void tableViewMoveRowAtIndexPathToIndexPath(T, P from, P to) {
        std::ostringstream os;
        os << "move " << from->value() << " " << to->value();
        log.push_back(os.str());
    }
    void tableViewDidEndReorderingRowAtIndexPath(T table, P path) {
        // The platform's bookkeeping is already final: the moved cell answers at its new path.
        auto cell = table->cellForRowAtIndexPath(path->value());
        std::ostringstream os;
        os << "end " << path->value() << " " << (cell ? cell->textLabel()->text() : std::string("<none>"));
        log.push_back(os.str());
    }
    void tableViewDidSelectRowAtIndexPath(T, P path) {
        std::ostringstream os;
        os << "select " << path->value();
        log.push_back(os.str());
    }
    void tableViewWillDisplayHeaderViewForSection(T, Ref<UIView>, long s) { log.push_back("header " + std::to_string(s)); }
    int built = 0;
};

}  // namespace

VT_REGISTER_CLASS(TitlesSource, [](Class c) {
    using namespace platform::runtime;
    addMethod<&TitlesSource::numberOfSectionsInTableView>(c, "numberOfSectionsInTableView:");
    addMethod<&TitlesSource::tableViewNumberOfRowsInSection>(c, "tableView:numberOfRowsInSection:");
    addMethod<&TitlesSource::tableViewTitleForHeaderInSection>(c, "tableView:titleForHeaderInSection:");
    addMethod<&TitlesSource::tableViewCellForRowAtIndexPath>(c, "tableView:cellForRowAtIndexPath:");
    addMethod<&TitlesSource::tableViewHeightForRowAtIndexPath>(c, "tableView:heightForRowAtIndexPath:");
    addMethod<&TitlesSource::tableViewCanMoveRowAtIndexPath>(c, "tableView:canMoveRowAtIndexPath:");
    addMethod<&TitlesSource::tableViewEditingStyleForRowAtIndexPath>(c, "tableView:editingStyleForRowAtIndexPath:");
    addMethod<&TitlesSource::tableViewMoveRowAtIndexPathToIndexPath>(c, "tableView:moveRowAtIndexPath:toIndexPath:");
    addMethod<&TitlesSource::tableViewDidEndReorderingRowAtIndexPath>(c, "tableView:didEndReorderingRowAtIndexPath:");
    addMethod<&TitlesSource::tableViewDidSelectRowAtIndexPath>(c, "tableView:didSelectRowAtIndexPath:");
    addMethod<&TitlesSource::tableViewWillDisplayHeaderViewForSection>(c, "tableView:willDisplayHeaderView:forSection:");
})

namespace {

class TableTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::resetRunLoop();
        window = alloc<UIWindow>();
        window->initWithFrame(CGRectMake(0, 0, 375, 667));
        source = alloc<TitlesSource>();
        source->headers = {"Selected Cells", "Available Cells"};
        source->rows = {{"Wi-Fi", "Bluetooth", "Battery"}, {"Sounds", "Privacy"}};
        table = alloc<UITableView>();
        table->initWithFrameStyle(CGRectMake(0, 0, 375, 667), UITableViewStyleGrouped);
        table->setDataSource(source);
        table->setDelegate(source);
        window->addSubview(table);
        window->layoutIfNeeded();
    }
    std::vector<std::string> shownTitles(long section) {
        std::vector<std::string> out;
        for (long r = 0; r < table->numberOfRowsInSection(section); ++r) {
            auto cell = table->cellForRowAtIndexPath({section, r});
            out.push_back(cell ? cell->textLabel()->text() : "<none>");
        }
        return out;
    }
    // The centre of a row's reorder handle, in window coordinates.
    CGPoint handle(IndexPath p) {
        CGRect r = table->rectForRowAtIndexPath(p);
        return table->convertPointToView({r.maxX() - UITableViewCell::kReorderControlWidth / 2, r.midY()}, window);
    }
    Ref<UIWindow> window;
    Ref<TitlesSource> source;
    Ref<UITableView> table;
};

TEST_F(TableTest, GeometryFollowsHeadersAndRowHeights) {
    // Grouped: the first header with a title is 38 high, rows 90, no footers.
    EXPECT_EQ(table->rectForHeaderInSection(0), CGRectMake(0, 0, 375, 38));
    EXPECT_EQ(table->rectForRowAtIndexPath({0, 2}), CGRectMake(0, 38 + 180, 375, 90));
    EXPECT_EQ(table->rectForHeaderInSection(1), CGRectMake(0, 38 + 270, 375, 38));
    EXPECT_EQ(table->contentSize().height, 38 + 270 + 38 + 180);
    EXPECT_EQ(shownTitles(0), (std::vector<std::string>{"Wi-Fi", "Bluetooth", "Battery"}));
    EXPECT_EQ(source->log, (std::vector<std::string>{"header 0", "header 1"}));
    EXPECT_EQ(table->rectForRowAtIndexPath({2, 0}), CGRectZero);
}

TEST_F(TableTest, OnlyVisibleRowsHaveCellsAndScrolledOutCellsAreReused) {
    source->rows = {std::vector<std::string>(40, "row")};
    source->headers = {};
    source->height = 50;
    table->reloadData();
    // 667 points of a plain-less grouped table: 35 of header, then rows of 50.
    std::size_t visible = table->visibleCells().size();
    EXPECT_EQ(visible, 13u);
    int builtBefore = source->built;
    table->setContentOffset({0, 1000});
    EXPECT_EQ(table->visibleCells().size(), 14u);
    EXPECT_EQ(table->cellForRowAtIndexPath({0, 0}), nullptr);
    EXPECT_NE(table->cellForRowAtIndexPath({0, 25}), nullptr);
    // Scrolling by a screen only builds the few extra cells the overlap needs; the rest came from the queue.
    EXPECT_LE(source->built - builtBefore, 2);
}

TEST_F(TableTest, ReorderAcrossSectionsMovesTheRowThenReportsIt) {
    table->setEditing(true);
    window->layoutIfNeeded();
    auto moved = table->cellForRowAtIndexPath({1, 0});
    ASSERT_NE(moved, nullptr);
    ASSERT_NE(moved->reorderControl(), nullptr);
    // Drag "Sounds" from the top of "Available Cells" to between Wi-Fi and Bluetooth.
    CGPoint from = handle({1, 0});
    CGPoint to = {from.x, table->rectForRowAtIndexPath({0, 1}).minY() + 5};
    platform::TouchDriver(window).drag({from, {from.x, (from.y + to.y) / 2}, to}, 0.5);
    EXPECT_EQ(source->log.back(), "end [0, 1] Sounds");
    EXPECT_EQ(source->log[source->log.size() - 2], "move [1, 0] [0, 1]");
    EXPECT_EQ(table->cellForRowAtIndexPath({0, 1}), moved);
    EXPECT_EQ(table->numberOfRowsInSection(0), 4);
    EXPECT_EQ(table->numberOfRowsInSection(1), 1);
    // The data source has not changed yet; the test's model follows, as the editor does at the drop.
    source->rows = {{"Wi-Fi", "Sounds", "Bluetooth", "Battery"}, {"Privacy"}};
    table->beginUpdates();
    EXPECT_NO_THROW(table->endUpdates());
    EXPECT_EQ(shownTitles(0), (std::vector<std::string>{"Wi-Fi", "Sounds", "Bluetooth", "Battery"}));
}

TEST_F(TableTest, ReorderDropsIntoAnEmptySectionAndIgnoresTouchesOutsideTheHandle) {
    source->rows = {{"Wi-Fi"}, {}};
    table->reloadData();
    table->setEditing(true);
    window->layoutIfNeeded();
    // A drag on the row's title is a scroll attempt, not a reorder.
    CGRect row = table->rectForRowAtIndexPath({0, 0});
    platform::TouchDriver(window).drag({{40, row.midY()}, {40, row.midY() + 200}}, 0.3);
    auto ends = [&] {
        return std::count_if(source->log.begin(), source->log.end(), [](const std::string& e) { return e.rfind("end", 0) == 0; });
    };
    EXPECT_EQ(ends(), 0);
    EXPECT_EQ(table->contentOffset(), CGPointMake(0, 0));
    CGPoint from = handle({0, 0});
    CGFloat target = table->rectForHeaderInSection(1).maxY() + 10;
    platform::TouchDriver(window).drag({from, {from.x, target}}, 0.3);
    EXPECT_EQ(source->log.back(), "end [1, 0] Wi-Fi");
    EXPECT_EQ(table->numberOfRowsInSection(0), 0);
    EXPECT_EQ(table->numberOfRowsInSection(1), 1);
}

TEST_F(TableTest, InconsistentBatchUpdateIsReportedAndLeavesTheTable) {
    source->rows[0].push_back("Camera");
    // Forgetting to insert the row the model gained:
    table->beginUpdates();
    try {
        table->endUpdates();
        ADD_FAILURE() << "no error for an update that does not add up";
    } catch (const NSInternalInconsistencyException& e) {
        EXPECT_NE(std::string(e.what()).find("invalid number of rows in section 0"), std::string::npos) << e.what();
    }
    EXPECT_EQ(table->numberOfRowsInSection(0), 3);
    // The matching insertion is accepted, and shows the new row while keeping the old cells.
    auto wifi = table->cellForRowAtIndexPath({0, 0});
    table->insertRowsAtIndexPathsWithRowAnimation({{0, 3}}, UITableViewRowAnimationFade);
    EXPECT_EQ(table->numberOfRowsInSection(0), 4);
    EXPECT_EQ(table->cellForRowAtIndexPath({0, 0}), wifi);
    EXPECT_EQ(shownTitles(0).back(), "Camera");
    source->rows[1].erase(source->rows[1].begin());
    table->deleteRowsAtIndexPathsWithRowAnimation({{1, 0}}, UITableViewRowAnimationFade);
    EXPECT_EQ(shownTitles(1), (std::vector<std::string>{"Privacy"}));
}

TEST_F(TableTest, TapSelectsOneRowAtATime) {
    CGRect second = table->rectForRowAtIndexPath({0, 1});
    platform::TouchDriver driver(window);
    driver.tap(table->convertPointToView({100, second.midY()}, window));
    EXPECT_EQ(source->log.back(), "select [0, 1]");
    EXPECT_TRUE(table->cellForRowAtIndexPath({0, 1})->isSelected());
    driver.tap(table->convertPointToView({100, table->rectForRowAtIndexPath({1, 1}).midY()}, window));
    EXPECT_EQ(table->indexPathsForSelectedRows(), (std::vector<IndexPath>{{1, 1}}));
    EXPECT_FALSE(table->cellForRowAtIndexPath({0, 1})->isSelected());
    table->deselectRowAtIndexPathAnimated({1, 1}, true);
    EXPECT_FALSE(table->indexPathForSelectedRow().has_value());

    table->setAllowsSelection(false);
    std::size_t before = source->log.size();
    driver.tap(table->convertPointToView({100, second.midY()}, window));
    EXPECT_EQ(source->log.size(), before);
}

TEST_F(TableTest, RegisteredClassesAreBuiltOncePerReuseAndUnknownRowsAreErrors) {
    table->registerClassForCellReuseIdentifier(UITableViewCell::classObject(), "Plain");
    auto first = table->dequeueReusableCellWithIdentifier("Plain");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->reuseIdentifier(), "Plain");
    EXPECT_EQ(table->dequeueReusableCellWithIdentifier("Nobody"), nullptr);
    EXPECT_THROW(table->dequeueReusableCellWithIdentifierForIndexPath("Nobody", {0, 0}), NSInternalInconsistencyException);
    EXPECT_THROW(table->scrollToRowAtIndexPathAtScrollPositionAnimated({0, 9}, UITableViewScrollPositionTop, false),
                 NSInternalInconsistencyException);
    EXPECT_EQ(table->createdCellCount(), 1u);
}

TEST(TableCellAppearance, ProxyValuesReachCellsMadeAfterwards) {
    auto before = alloc<UITableViewCell>();
    before->initWithStyleReuseIdentifier(UITableViewCellStyleDefault, "x");
    auto clear = UIColor::clearColor();
    UITableViewCell::appearance()->setBackgroundColor(clear);
    auto after = alloc<UITableViewCell>();
    after->initWithStyleReuseIdentifier(UITableViewCellStyleDefault, "x");
    UITableViewCell::appearance()->reset();
    EXPECT_EQ(after->backgroundColor(), clear);
    EXPECT_NE(before->backgroundColor(), clear);
}

}  // namespace

namespace {

class AutoHeightSource : public NSObject {
    VT_OBJECT(AutoHeightSource, NSObject)
public:
    std::vector<std::string> texts;
    long tableViewNumberOfRowsInSection(T, long) { return static_cast<long>(texts.size()); }
    Ref<UITableViewCell> tableViewCellForRowAtIndexPath(T, P path) {
        auto cell = alloc<UITableViewCell>();
        cell->initWithStyleReuseIdentifier(UITableViewCellStyleDefault, "");
        cell->textLabel()->setNumberOfLines(0);
        cell->textLabel()->setText(texts[static_cast<std::size_t>(path->row())]);
        return cell;
    }
};

}  // namespace

VT_REGISTER_CLASS(AutoHeightSource, [](Class c) {
    using namespace platform::runtime;
    addMethod<&AutoHeightSource::tableViewNumberOfRowsInSection>(c, "tableView:numberOfRowsInSection:");
    addMethod<&AutoHeightSource::tableViewCellForRowAtIndexPath>(c, "tableView:cellForRowAtIndexPath:");
})

namespace {

TEST(TableAutomaticHeight, MeasuredRowsReplaceTheEstimateAndPushLaterRows) {
    auto window = alloc<UIWindow>();
    window->initWithFrame(CGRectMake(0, 0, 375, 667));
    auto source = alloc<AutoHeightSource>();
    std::string longText;
    for (int i = 0; i < 12; ++i) longText += "Respring the device to apply the changes. ";
    source->texts = {"Reset", longText, "Cancel"};
    auto table = alloc<UITableView>();
    table->initWithFrame(CGRectMake(0, 0, 375, 667));
    table->setRowHeight(UITableViewAutomaticDimension);
    table->setEstimatedRowHeight(100);
    table->setDataSource(source);
    auto background = alloc<UIView>();
    background->initWithFrame(CGRectZero);
    table->setBackgroundView(background);
    window->addSubview(table);
    window->layoutIfNeeded();
    CGRect first = table->rectForRowAtIndexPath({0, 0});
    CGRect second = table->rectForRowAtIndexPath({0, 1});
    CGRect third = table->rectForRowAtIndexPath({0, 2});
    EXPECT_EQ(first.height(), 44);  // one line: the platform's minimum, not the estimate
    EXPECT_GT(second.height(), 3 * first.height());
    EXPECT_EQ(second.minY(), first.maxY());
    EXPECT_EQ(third.minY(), second.maxY());
    EXPECT_EQ(table->cellForRowAtIndexPath({0, 2})->frame(), third);
    // The background stays behind the rows, filling the visible bounds wherever the content is.
    table->setContentOffset({0, 40});
    EXPECT_EQ(background->frame(), table->bounds());
    EXPECT_EQ(table->subviews().front(), background);
}

}  // namespace
