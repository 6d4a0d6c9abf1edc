#pragma once

// The reading half of JSONWriter: one complete JSON value (RFC 8259) as a property-list value. Objects become
// dictionaries, numbers without fraction or exponent integers, other numbers reals, null the empty value. Scenario
// files read their JSON arguments with it, tests the simulator's reports.

#include "platform/core/Value.h"

#include <optional>
#include <string_view>

// Nothing for text that is not exactly one value (trailing text other than white space included), for raw
// control characters inside strings, and for values nested deeper than `maxDepth`; the bound keeps a hostile text
// from exhausting the stack. Reading is recursive, so a caller's bound must stay well below what the stack holds.
std::optional<Value> parseJSON(std::string_view text, int maxDepth = 64);
