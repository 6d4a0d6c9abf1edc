#include "sim/ProcessProfile.h"

namespace sim {

ProcessProfile profileForProcess(std::string_view firstArgument) {
    ProcessProfile profile;
    if (firstArgument.find("/Preferences.app/") != std::string_view::npos) {
        profile.kind = ProcessKind::Settings;
        profile.classGroups = {"Preferences", "RadiosPreferences", "BluetoothManager", "LSApplicationWorkspace"};
    } else if (firstArgument.find("/SpringBoard.app/") != std::string_view::npos) {
        profile.kind = ProcessKind::SpringBoard;
        profile.classGroups = {"RadiosPreferences", "BluetoothManager"};
    } else {
        profile.kind = ProcessKind::Other;
        profile.classGroups = {"RadiosPreferences", "BluetoothManager"};
    }
    return profile;
}

std::string_view kindName(ProcessKind kind) {
    switch (kind) {
    case ProcessKind::Settings: return "Settings";
    case ProcessKind::SpringBoard: return "SpringBoard";
    case ProcessKind::Other: return "other";
    }
    return "other";
}

}  // namespace sim
