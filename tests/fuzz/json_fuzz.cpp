// The JSON reader. What it accepts must come back as the same value through the writer, as the simulator's reports
// are read back by the tests and by scenario arguments; only a whole real comes back as the integer it equals,
// since the writer keeps 40.0 as "40".

#include "platform/harness/JSONValue.h"
#include "tests/fuzz/FuzzValue.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<Value> value = parseJSON(text);
    if (!value) return 0;
    for (int indent : {0, 2}) {
        const std::string written = toJSON(*value, indent);
        const std::optional<Value> again = parseJSON(written);
        fuzz::require(again.has_value(), "written JSON was refused");
        fuzz::require(fuzz::sameValue(*value, *again, fuzz::Numbers::WholeRealAsInteger),
                      "a JSON value changed through the writer");
    }
    return 0;
}
