#pragma once

// The bookkeeping of a table's batch update (beginUpdates … endUpdates): rows inserted and deleted per section,
// checked at the end against the row counts the data source answers afterwards. A batch that does not add up is
// the programming fault the device reports with NSInternalInconsistencyException, and so is it here: the message
// names the section and the numbers, as the device's does.

#include "platform/ui/NSIndexPath.h"

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

class NSInternalInconsistencyException : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

class TableUpdateBatch {
public:
    // Index paths refer to the rows before the update for deletions and after it for insertions, as on the device.
    void insertRows(const std::vector<IndexPath>& paths);
    void deleteRows(const std::vector<IndexPath>& paths);
    bool isEmpty() const { return m_inserted.empty() && m_deleted.empty(); }

    // Throws NSInternalInconsistencyException when, for some section, after ≠ before + inserted − deleted, when a
    // deleted row did not exist before, or when an inserted row lies outside the section after the update.
    // `before` and `after` hold the row count of each section; the section count must not change.
    void check(const std::vector<long>& before, const std::vector<long>& after) const;

    const std::vector<IndexPath>& inserted() const { return m_inserted; }
    const std::vector<IndexPath>& deleted() const { return m_deleted; }

private:
    std::vector<IndexPath> m_inserted;
    std::vector<IndexPath> m_deleted;
};
