#pragma once

// JSON text of a property-list value, for the simulator's reports. Dictionaries keep their (sorted) key order,
// arrays their order; data is written as a base-64 string and dates as seconds since 1970.

#include "platform/core/Value.h"

#include <string>

namespace sim {

// `indent` 0 writes one line; more writes one member per line with that many spaces per level.
std::string toJson(const Value& value, int indent = 0);

}  // namespace sim
