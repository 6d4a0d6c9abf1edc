#pragma once

// NSDictionary's file reading and writing (initWithContentsOfFile:, writeToFile:atomically:, writeToURL:error:)
// for device paths. A file that backs a preference domain is read and written through the domain's store, so
// bound variables and every other reader see the change at once; any other file is read and written directly.

#include "platform/core/Value.h"

#include <optional>
#include <string_view>

namespace platform {

// The dictionary a property-list file holds. Nothing when the path resolves to nothing (or, following its symbolic
// links, to a place outside the device root), the file is missing or unreadable, or it holds something other than a
// dictionary. A "file://" URL is accepted as its path.
std::optional<Value::Dictionary> dictionaryWithContentsOfFile(std::string_view devicePath);

// Replaces the file with `dict` (binary, atomic). For a preference domain's file the domain then holds exactly
// `dict`, and an empty dictionary deletes the file as an emptied domain does. False when the path resolves to
// nothing (or outside the device root, as above) or the write fails; the old file is then untouched.
bool writeDictionaryToFile(std::string_view devicePath, const Value::Dictionary& dict);

// dictionaryWithContentsOfFile() as a value: the dictionary, or None.
Value dictionaryValueOfFile(std::string_view devicePath);

}  // namespace platform
