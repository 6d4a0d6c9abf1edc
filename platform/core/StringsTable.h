#pragma once

// Reading of .strings tables: the classic text format in UTF-8 or UTF-16 (with or without a byte-order mark,
// either endianness), or a property list (XML or binary) whose root is a dictionary of strings.
//
// Text format: `"key" = "value";` pairs, `"key";` (the value is the key), keys and values quoted or unquoted
// words (letters, digits and "_$+/:.-"), `/* */` and `//` comments anywhere between tokens, an optional outer
// `{ }`. Escapes in quoted strings: \n \t \r \" \' \\ \a \b \f \v, \UXXXX and \uXXXX (UTF-16 units; a surrogate
// pair written as two escapes makes one character) and octal \ooo. A later entry replaces an earlier one.

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace platform {

using StringsTable = std::map<std::string, std::string, std::less<>>;

// Nothing when the bytes are neither a well-formed text table nor a dictionary property list; a file that breaks
// half-way yields nothing rather than half a table, as the device drops a table it cannot parse. In a property
// list, entries whose value is not a string are skipped. An empty file is an empty table.
std::optional<StringsTable> parseStringsTable(std::span<const std::uint8_t> bytes);

// The bytes as UTF-8: a UTF-8 byte-order mark is dropped; UTF-16 is recognised by its mark or, without one, by
// zero bytes in every other position of an even-length text.
std::string decodeStringsText(std::span<const std::uint8_t> bytes);

}  // namespace platform
