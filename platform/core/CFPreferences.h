#pragma once

// CoreFoundation's application preferences, on the same store as HBPreferences (PreferenceDomain.h): a value set
// here reaches every preferences object and file reader of the process at once. There is nothing to synchronise.

#include "platform/core/Value.h"

#include <string_view>

// The value stored under `key` in `domain`; None when it is absent or the domain name is refused.
Value CFPreferencesCopyAppValue(std::string_view key, std::string_view domain);
// Stores `value` under `key` (None removes the key). A refused domain name writes nothing; the refusal is counted.
void CFPreferencesSetAppValue(std::string_view key, const Value& value, std::string_view domain);
