#pragma once

// Where a colour row's value lives: the preference domain named by its "defaults" property, under its "key", and
// the domain's plist file, which the row reads for its preview and the picker writes beside the domain. A domain
// name the store would refuse (empty, with "/" or "..") has no file here, so nothing is read or written outside
// the preferences folder.

#include "platform/host/PSSpecifier.h"

#include <optional>
#include <string>
#include <string_view>

namespace chroma {

inline constexpr std::string_view kColorUpdateNotification = "com.zorvanic.chroma.colorupdate";

// "/var/mobile/Library/Preferences/<domain>.plist"; nothing for a refused domain name.
std::optional<std::string> preferencesFilePath(std::string_view domain);
// The same as a "file://" URL.
std::optional<std::string> preferencesFileURL(std::string_view domain);

// A string property; nothing when absent or of another type.
std::optional<std::string> stringProperty(const PSSpecifier::Properties& properties, std::string_view key);

// What a colour row previews: the string under "key" in the domain's file, else the "default" property; nothing
// when neither is a string.
std::optional<std::string> previewColourString(const PSSpecifier::Properties& properties);

}  // namespace chroma
