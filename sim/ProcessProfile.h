#pragma once

// What the simulated device has in a process, chosen from its first argument as the device's launcher gives it.
//
//   Settings   "/Applications/Preferences.app/Preferences": the Settings framework classes (group "Preferences"),
//              the application workspace (group "LSApplicationWorkspace")
//              and the two system services (groups "RadiosPreferences", "BluetoothManager").
//   SpringBoard "/System/Library/CoreServices/SpringBoard.app/SpringBoard": the system services, no Settings classes.
//   any other process: the system services only. They are frameworks every process of the device can reach, which
//              is why the add-on's radio recorders are installed in every process.

#include <string>
#include <string_view>
#include <vector>

namespace sim {

inline constexpr std::string_view kSettingsProcess = "/Applications/Preferences.app/Preferences";
inline constexpr std::string_view kSpringBoardProcess = "/System/Library/CoreServices/SpringBoard.app/SpringBoard";

enum class ProcessKind { Settings, SpringBoard, Other };

struct ProcessProfile {
    ProcessKind kind = ProcessKind::Other;
    std::vector<std::string> classGroups;
};

// Settings is recognised by its executable inside "Preferences.app", SpringBoard by "SpringBoard.app".
ProcessProfile profileForProcess(std::string_view firstArgument);
std::string_view kindName(ProcessKind kind);

}  // namespace sim
