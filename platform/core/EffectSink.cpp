#include "platform/core/EffectSink.h"

#include <utility>

namespace platform {

namespace {
// A function-local static, so a listener installed while the harness's statics start up finds it ready.
EffectListener& listener() {
    static EffectListener l;
    return l;
}
}  // namespace

void recordEffect(std::string kind, std::string detail, long value) {
    if (auto& l = listener()) l({std::move(kind), std::move(detail), value});
}

void setEffectListener(EffectListener l) { listener() = std::move(l); }

}  // namespace platform
