#pragma once

// Reads JSON text (the simulator's reports) into a property-list Value: objects become dictionaries, integers
// without fraction or exponent become integers, other numbers reals, null the empty value.

#include "platform/core/Value.h"

#include <optional>
#include <string_view>

namespace testing_support {

// Nothing when the text is not one complete JSON value (trailing text other than white space is an error).
std::optional<Value> parseJson(std::string_view text);

}  // namespace testing_support
