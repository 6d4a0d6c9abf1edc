#pragma once

// The simulator's name for the platform's JSON codec (platform/harness/JSONValue.h), which writes its reports.

#include "platform/harness/JSONValue.h"

#include <string>

namespace sim {

inline std::string toJson(const Value& value, int indent = 0) { return toJSON(value, indent); }

}  // namespace sim
