#pragma once

// What the process did that leaves no trace on screen, as JSON for `dump records`: the addresses handed to the
// Settings URL manager and those the application opened (pages outside Settings), haptics with their style,
// notifications posted (any centre), the programs the device was asked to start (with their arguments, across the
// restarts they cause) and the waits for them, and the airplane-mode requests the radio service received; plus the
// whole effect log in order, so that the order of a URL request against its haptic can be read.

#include <optional>
#include <string>

namespace sim::scenario {

std::string recordsJson();

// The last address handed to the Settings URL manager; nothing when none was.
std::optional<std::string> lastOpenedURL();
// The last address the application was asked to open (openURL:options:completionHandler:); nothing when none was.
std::optional<std::string> lastApplicationOpen();
std::size_t applicationOpenCount();
std::size_t hapticCount();
// Posts of that name through any notification centre.
std::size_t notificationCount(const std::string& name);

// Forgets every record, as a fresh process starts with none. The device's history of started programs stays.
void clearRecords();
// Forgets the device's history of started programs too, as a run on a new device starts.
void clearDeviceRecords();

}  // namespace sim::scenario
