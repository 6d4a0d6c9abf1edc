#include "platform/ui/TableUpdateBatch.h"

#include <gtest/gtest.h>

namespace {

struct BatchCase {
    const char* name;
    std::vector<IndexPath> inserted;
    std::vector<IndexPath> deleted;
    std::vector<long> before;
    std::vector<long> after;
    const char* error;  // a piece of the expected message; null when the batch adds up
};

TEST(TableUpdateBatch, ChecksCountsAgainstTheDataSource) {
    const BatchCase cases[] = {
        {"insert adds up", {{0, 1}}, {}, {2, 3}, {3, 3}, nullptr},
        {"move across sections", {{1, 0}}, {{0, 0}}, {2, 3}, {1, 4}, nullptr},
        {"delete and insert in one section", {{0, 0}}, {{0, 1}}, {2}, {2}, nullptr},
        {"model not changed after insert", {{0, 1}}, {}, {2, 3}, {2, 3},
         "invalid number of rows in section 0. The number of rows contained in an existing section after the update (2) "
         "must be equal to the number of rows contained in that section before the update (2), plus or minus the "
         "number of rows inserted or deleted from that section (1 inserted, 0 deleted)"},
        {"model changed without telling", {}, {}, {2, 3}, {2, 4}, "invalid number of rows in section 1"},
        {"delete of a row that did not exist", {}, {{1, 3}}, {2, 3}, {2, 2}, "attempt to delete row 3 from section 1"},
        {"insert past the end", {{0, 5}}, {}, {2}, {3}, "attempt to insert row 5 into section 0"},
        {"section count changed", {}, {}, {2}, {2, 0}, "invalid number of sections"},
    };
    for (const auto& c : cases) {
        TableUpdateBatch batch;
        batch.insertRows(c.inserted);
        batch.deleteRows(c.deleted);
        if (!c.error) {
            EXPECT_NO_THROW(batch.check(c.before, c.after)) << c.name;
            continue;
        }
        try {
            batch.check(c.before, c.after);
            ADD_FAILURE() << c.name << ": no error";
        } catch (const NSInternalInconsistencyException& e) {
            EXPECT_NE(std::string(e.what()).find(c.error), std::string::npos) << c.name << ": " << e.what();
        }
    }
}

}  // namespace
