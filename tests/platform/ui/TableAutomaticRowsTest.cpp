// A table whose rows size themselves: batches that insert and delete such rows leave exactly one cell on screen per
// row, so nothing stale lies over the headers below.
#include "platform/core/Runtime.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UITableViewCell.h"

#include <gtest/gtest.h>

namespace {

class GrowingList : public NSObject {
    VT_OBJECT(GrowingList, NSObject)
public:
    long numberOfSections(Ref<UITableView>) { return static_cast<long>(m_rows.size()); }
    long rows(Ref<UITableView>, long section) { return m_rows[static_cast<std::size_t>(section)]; }
    std::string title(Ref<UITableView>, long section) { return "Section " + std::to_string(section); }
    Ref<UITableViewCell> cell(Ref<UITableView> table, Ref<NSIndexPath>) {
        auto c = table->dequeueReusableCellWithIdentifier("Row");
        if (!c) {
            c = alloc<UITableViewCell>();
            c->initWithStyleReuseIdentifier(UITableViewCellStyleDefault, "Row");
        }
        c->textLabel()->setText("a note");
        return c;
    }
    std::vector<long> m_rows{0, 0};
};

}  // namespace

VT_REGISTER_CLASS(GrowingList, [](Class c) {
    using platform::runtime::addMethod;
    addMethod<&GrowingList::numberOfSections>(c, "numberOfSectionsInTableView:");
    addMethod<&GrowingList::rows>(c, "tableView:numberOfRowsInSection:");
    addMethod<&GrowingList::title>(c, "tableView:titleForHeaderInSection:");
    addMethod<&GrowingList::cell>(c, "tableView:cellForRowAtIndexPath:");
})

namespace {

std::size_t cellsOnScreen(const UITableView& table) {
    std::size_t n = 0;
    for (const auto& v : table.subviews())
        if (cast<UITableViewCell>(v)) ++n;
    return n;
}

TEST(TableAutomaticRows, BatchesLeaveOneCellPerRow) {
    auto list = alloc<GrowingList>();
    auto table = alloc<UITableView>();
    table->initWithFrame(CGRectMake(0, 0, 320, 600));
    table->setRowHeight(UITableViewAutomaticDimension);
    table->setEstimatedRowHeight(100);
    table->setDataSource(list);
    table->layoutIfNeeded();
    struct Step {
        std::vector<long> rows;
        std::vector<IndexPath> inserted, deleted;
    };
    const std::vector<Step> steps{
        {{1, 0}, {{0, 0}}, {}},
        {{0, 2}, {{1, 0}, {1, 1}}, {{0, 0}}},
        {{3, 0}, {{0, 0}, {0, 1}, {0, 2}}, {{1, 0}, {1, 1}}},
        {{0, 0}, {}, {{0, 0}, {0, 1}, {0, 2}}},
    };
    for (std::size_t i = 0; i < steps.size(); ++i) {
        SCOPED_TRACE(i);
        list->m_rows = steps[i].rows;
        table->beginUpdates();
        if (!steps[i].deleted.empty()) table->deleteRowsAtIndexPathsWithRowAnimation(steps[i].deleted, 0);
        if (!steps[i].inserted.empty()) table->insertRowsAtIndexPathsWithRowAnimation(steps[i].inserted, 0);
        table->endUpdates();
        table->layoutIfNeeded();
        EXPECT_EQ(cellsOnScreen(*table), static_cast<std::size_t>(steps[i].rows[0] + steps[i].rows[1]));
        // The second header lies below the first section's rows, with no cell over it.
        const CGRect header = table->rectForHeaderInSection(1);
        for (const auto& cell : table->visibleCells()) {
            const CGRect f = cell->frame();
            EXPECT_TRUE(f.maxY() <= header.minY() || f.minY() >= header.maxY());
        }
    }
}

}  // namespace
