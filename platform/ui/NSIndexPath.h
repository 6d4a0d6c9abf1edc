#pragma once

// Index paths of tables and collections. `IndexPath` is the value the platform passes around; `NSIndexPath` is the
// object form, for callbacks published to the run-time (their argument is Ref<NSIndexPath>).

#include "platform/core/Object.h"

#include <compare>
#include <ostream>

struct IndexPath {
    long section = 0;
    long row = 0;
    long item() const { return row; }
    friend auto operator<=>(const IndexPath&, const IndexPath&) = default;
};

inline std::ostream& operator<<(std::ostream& os, const IndexPath& p) {
    return os << "[" << p.section << ", " << p.row << "]";
}

class NSIndexPath : public NSObject {
    VT_OBJECT(NSIndexPath, NSObject)
public:
    static Ref<NSIndexPath> indexPathForRowInSection(long row, long section);
    static Ref<NSIndexPath> indexPathForItemInSection(long item, long section);
    static Ref<NSIndexPath> fromValue(IndexPath path);

    long row() const { return m_path.row; }
    long item() const { return m_path.row; }
    long section() const { return m_path.section; }
    IndexPath value() const { return m_path; }
    bool isEqual(const NSIndexPath& other) const { return m_path == other.m_path; }
    std::string description() const override;

private:
    IndexPath m_path;
};
