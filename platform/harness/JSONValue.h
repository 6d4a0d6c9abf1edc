#pragma once

// The one codec between property-list values and JSON text (RFC 8259), for the simulator's reports and scenario
// arguments and for tests reading them. The streaming writer of the view dump is JSONWriter.h; both escape strings
// the same way (appendJSONString).
//
// Reading: objects become dictionaries, numbers without fraction or exponent integers, other numbers reals, null the
// empty value. Writing: dictionaries keep their (sorted) key order, arrays their order; reals are the shortest text
// that reads back as the same number; data is written as a base-64 string and dates as seconds since 1970, so
// those two do not read back as what they were.

#include "platform/core/Value.h"

#include <optional>
#include <string>
#include <string_view>

// Nothing for text that is not exactly one value (trailing text other than white space included), for raw
// control characters inside strings, and for values nested deeper than `maxDepth`; the bound keeps a hostile text
// from exhausting the stack. Reading is recursive, so a caller's bound must stay well below what the stack holds.
std::optional<Value> parseJSON(std::string_view text, int maxDepth = 64);

// `indent` 0 (or less) writes one line with ", " between members; more writes one member per line with that many
// spaces per level. Reals that are not finite have no JSON form and are written as null.
std::string toJSON(const Value& value, int indent = 0);
