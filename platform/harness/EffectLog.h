#pragma once

// The ordered record of the effects the stand-in frameworks report (platform/core/EffectSink.h): one list for all
// kinds, so a test can check the order of a URL request against the haptic that follows it. The log listens from
// the start of any process that links it.

#include "platform/core/EffectSink.h"

#include <string>
#include <vector>

namespace platform {

// Every record since the last clear, oldest first.
const std::vector<EffectRecord>& effectLog();
// Only the records of one kind, oldest first; empty when there are none.
std::vector<EffectRecord> effectsOfKind(const std::string& kind);
void clearEffectLog();

}  // namespace platform
