#include "platform/ui/NSIndexPath.h"

#include "platform/core/Runtime.h"

#include <sstream>

VT_REGISTER_CLASS(NSIndexPath)

Ref<NSIndexPath> NSIndexPath::fromValue(IndexPath path) {
    auto p = alloc<NSIndexPath>();
    p->m_path = path;
    return p;
}

Ref<NSIndexPath> NSIndexPath::indexPathForRowInSection(long row, long section) { return fromValue({section, row}); }

Ref<NSIndexPath> NSIndexPath::indexPathForItemInSection(long item, long section) { return fromValue({section, item}); }

std::string NSIndexPath::description() const {
    std::ostringstream os;
    os << "<NSIndexPath " << m_path << ">";
    return os.str();
}
