#include "platform/ui/EffectLog.h"

namespace platform {

namespace {
std::vector<EffectRecord>& effectRecords() {
    static std::vector<EffectRecord> list;
    return list;
}
}  // namespace

void recordEffect(std::string kind, std::string detail, long value) {
    effectRecords().push_back({std::move(kind), std::move(detail), value});
}

const std::vector<EffectRecord>& effectLog() { return effectRecords(); }

std::vector<EffectRecord> effectsOfKind(const std::string& kind) {
    std::vector<EffectRecord> out;
    for (const auto& r : effectRecords())
        if (r.kind == kind) out.push_back(r);
    return out;
}

void clearEffectLog() { effectRecords().clear(); }

}  // namespace platform
