#include "platform/ui/TableUpdateBatch.h"

#include <sstream>

void TableUpdateBatch::insertRows(const std::vector<IndexPath>& paths) {
    m_inserted.insert(m_inserted.end(), paths.begin(), paths.end());
}

void TableUpdateBatch::deleteRows(const std::vector<IndexPath>& paths) {
    m_deleted.insert(m_deleted.end(), paths.begin(), paths.end());
}

void TableUpdateBatch::check(const std::vector<long>& before, const std::vector<long>& after) const {
    if (before.size() != after.size()) {
        std::ostringstream os;
        os << "Invalid update: invalid number of sections. The number of sections contained in the table view after "
              "the update ("
           << after.size() << ") must be equal to the number of sections contained in the table view before the update ("
           << before.size() << ")";
        throw NSInternalInconsistencyException(os.str());
    }
    std::map<long, long> inserted, deleted;
    for (const auto& p : m_deleted) {
        if (p.section < 0 || p.section >= static_cast<long>(before.size()) || p.row < 0 || p.row >= before[p.section]) {
            std::ostringstream os;
            os << "attempt to delete row " << p.row << " from section " << p.section << " which only contains "
               << (p.section >= 0 && p.section < static_cast<long>(before.size()) ? before[p.section] : 0)
               << " rows before the update";
            throw NSInternalInconsistencyException(os.str());
        }
        ++deleted[p.section];
    }
    for (const auto& p : m_inserted) {
        if (p.section < 0 || p.section >= static_cast<long>(after.size()) || p.row < 0 || p.row >= after[p.section]) {
            std::ostringstream os;
            os << "attempt to insert row " << p.row << " into section " << p.section << ", but there are only "
               << (p.section >= 0 && p.section < static_cast<long>(after.size()) ? after[p.section] : 0)
               << " rows in section " << p.section << " after the update";
            throw NSInternalInconsistencyException(os.str());
        }
        ++inserted[p.section];
    }
    for (std::size_t s = 0; s < before.size(); ++s) {
        long in = inserted[static_cast<long>(s)], out = deleted[static_cast<long>(s)];
        if (after[s] != before[s] + in - out) {
            std::ostringstream os;
            os << "Invalid update: invalid number of rows in section " << s
               << ". The number of rows contained in an existing section after the update (" << after[s]
               << ") must be equal to the number of rows contained in that section before the update (" << before[s]
               << "), plus or minus the number of rows inserted or deleted from that section (" << in << " inserted, "
               << out << " deleted)";
            throw NSInternalInconsistencyException(os.str());
        }
    }
}
