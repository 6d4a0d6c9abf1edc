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

// Parses XML or binary property-list bytes. Nothing for bytes that are neither (or truncated, or damaged so that a
// string holds a NUL). Text comes out as valid UTF-8 (each invalid byte of a damaged file becomes U+FFFD); XML dates
// carry whole seconds, binary ones fractions too.
std::optional<Value> parsePropertyList(std::span<const std::uint8_t> bytes);
std::vector<std::uint8_t> serializePropertyList(const Value& value, PlistFormat format = PlistFormat::Binary);

// Reads a host file; nothing when it is missing or unreadable as a property list.
std::optional<Value> readPropertyListFile(const std::filesystem::path& path);
// Writes atomically: a temporary file beside the target, fsync, rename. False when any step fails; the old file is
// then untouched.
bool writePropertyListFile(const std::filesystem::path& path, const Value& value,
                           PlistFormat format = PlistFormat::Binary);

}  // namespace platform
