#pragma once

// Property-list files, read and written with libplist. Both XML and binary are read; the device writes binary.

#include "platform/core/Value.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace platform {

enum class PlistFormat { Binary, Xml };

// The deepest nesting of arrays and dictionaries that is read or written, the outermost container counting 1. The
// parser recurses once per level, so a deeper file is refused before it reaches it.
inline constexpr std::size_t kMaximumPlistNesting = 512;
// The largest property-list file that is read or written. A profile picture of tens of megabytes fits; the cap keeps
// a runaway or hostile file from being loaded whole.
inline constexpr std::uint64_t kMaximumPlistFileSize = std::uint64_t{128} << 20;

// Parses XML or binary property-list bytes. Nothing for bytes that are neither, or truncated, or damaged so that a
// string holds a NUL, or nested deeper than kMaximumPlistNesting; and nothing for a file holding what the store could
// not keep exactly through a rewrite: an integer outside the signed 64-bit range, a date outside 1932-12-13T20:45:52Z
// ... 2069-01-19T03:14:07Z, <data> that is not base64, a dictionary naming a key twice. Text comes out as valid
// UTF-8 (each invalid byte of a damaged file becomes U+FFFD); XML dates carry whole seconds, binary ones fractions
// too.
std::optional<Value> parsePropertyList(std::span<const std::uint8_t> bytes);
// The bytes of `value`; nothing (an empty vector) when the result could not be read back as the same value: text
// that is not valid UTF-8 or holds a NUL (in a string or a key), a date outside the range above, nesting deeper than
// kMaximumPlistNesting, or more than kMaximumPlistFileSize bytes.
std::vector<std::uint8_t> serializePropertyList(const Value& value, PlistFormat format = PlistFormat::Binary);

// Why a file gave no property list.
enum class PlistFileFailure {
    Missing,         // nothing at the path (or a folder on the way is missing)
    NotRegularFile,  // a folder, a pipe, a device: never opened for reading, since a pipe would block the reader
    TooLarge,        // above kMaximumPlistFileSize
    Damaged,         // unreadable, or refused by parsePropertyList()
};
struct PlistFileContents {
    std::optional<Value> value;  // nothing on failure
    std::optional<PlistFileFailure> failure;
};
PlistFileContents loadPropertyListFile(const std::filesystem::path& path);
// loadPropertyListFile()'s value alone.
std::optional<Value> readPropertyListFile(const std::filesystem::path& path);
// Writes atomically: a temporary file beside the target, fsync, rename. False when any step fails, or when
// serializePropertyList() refuses the value; the old file is then untouched.
bool writePropertyListFile(const std::filesystem::path& path, const Value& value,
                           PlistFormat format = PlistFormat::Binary);

}  // namespace platform
