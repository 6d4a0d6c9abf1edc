#pragma once

// What the process did that leaves no trace on screen, as JSON for `dump records`: the addresses handed to the URL
// openers, haptics with their style, notifications posted (any centre), processes spawned, and the airplane-mode
// requests the radio service received; plus the whole effect log in order, so that the order of a URL request
// against its haptic can be read.

#include <optional>
#include <string>

namespace sim::scenario {

std::string recordsJson();

// The last address handed to the Settings URL manager or the application; nothing when none was.
std::optional<std::string> lastOpenedURL();
std::size_t hapticCount();
// Posts of that name through any notification centre.
std::size_t notificationCount(const std::string& name);

// Forgets every record, as a fresh process starts with none.
void clearRecords();

}  // namespace sim::scenario
