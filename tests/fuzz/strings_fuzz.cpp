// The .strings reader, in its text encodings and as a property list. An accepted table written as a dictionary
// property list reads back as the same table: the two forms are one table to the device.

#include "platform/core/PropertyList.h"
#include "platform/core/StringsTable.h"
#include "tests/fuzz/FuzzValue.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    (void)platform::decodeStringsText(bytes);
    const std::optional<platform::StringsTable> table = platform::parseStringsTable(bytes);
    if (!table) return 0;
    Value::Dictionary dictionary;
    for (const auto& [key, text] : *table) dictionary.emplace(key, Value(text));
    // The writer refuses text that is not valid UTF-8 or holds a NUL, which a text table may carry in escapes.
    const std::vector<std::uint8_t> written = platform::serializePropertyList(Value(std::move(dictionary)));
    if (written.empty()) return 0;
    const std::optional<platform::StringsTable> again = platform::parseStringsTable(written);
    fuzz::require(again.has_value(), "a table written as a property list was refused");
    fuzz::require(*again == *table, "a table changed through a property list");
    return 0;
}
