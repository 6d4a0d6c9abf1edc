#pragma once

// The ordered record of effects that the stand-in frameworks only log instead of performing: haptics, URL opens,
// and whatever else a stand-in chooses to append. One list for all, so a test can check the order of a URL request
// against the haptic that follows it.

#include <cstddef>
#include <string>
#include <vector>

namespace platform {

struct EffectRecord {
    std::string kind;    // "impact", "openURL", …
    std::string detail;  // the URL, or another subject; empty when there is none
    long value = 0;      // the impact style, or another number; 0 when there is none
    friend bool operator==(const EffectRecord&, const EffectRecord&) = default;
};

void recordEffect(std::string kind, std::string detail = {}, long value = 0);
// Every record since the last clear, oldest first.
const std::vector<EffectRecord>& effectLog();
// Only the records of one kind, oldest first; empty when there are none.
std::vector<EffectRecord> effectsOfKind(const std::string& kind);
void clearEffectLog();

}  // namespace platform
