#include "platform/harness/EffectLog.h"

#include <utility>

namespace platform {

namespace {
std::vector<EffectRecord>& effectRecords() {
    static std::vector<EffectRecord> list;
    return list;
}

// Installed while the program starts up, before anything the frameworks do can report an effect. This file is
// linked into every program that reads the log, since reading it is what refers to the file.
const bool g_listening = [] {
    setEffectListener([](EffectRecord record) { effectRecords().push_back(std::move(record)); });
    return true;
}();
}  // namespace

const std::vector<EffectRecord>& effectLog() { return effectRecords(); }

std::vector<EffectRecord> effectsOfKind(const std::string& kind) {
    std::vector<EffectRecord> out;
    for (const auto& r : effectRecords())
        if (r.kind == kind) out.push_back(r);
    return out;
}

void clearEffectLog() { effectRecords().clear(); }

}  // namespace platform
