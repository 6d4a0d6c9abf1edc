#pragma once

// The command line of `vantile-sim startup`.
//
//   --root DIR            device root (default: the device root inside the build tree)
//   --process ARGV0       the process's first argument (default: the Settings application)
//   --groups A,B          class groups present in the process, replacing the process's own (empty: none)
//   --airplane-mode on|off, --bluetooth on|off
//                         the device's radio state before the process starts (default off)
//   --corner-radius R     the radius the host asks of its search field background (default 10)
//   --language CODE       the device's language ("de"; default "en")
//   --library PATH        the tweak library to load (default: the build's libVantile.so)
//   --no-tweak            play the process without loading the tweak
//   --profile NAME        play the simulated phone of that profile instead (sim/device/SimulatedDevice.h): its
//                         Settings application starts, settles for a second, and the report adds "rootList"
//   --open URL            with --profile: opens that address afterwards ("visibleTitle", "visibleList")
//   --pretty              indented JSON

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace sim {

struct StartupOptions {
    std::optional<std::filesystem::path> root;
    std::string process;
    std::optional<std::vector<std::string>> groups;
    bool airplaneMode = false;
    bool bluetooth = false;
    double cornerRadius = 10.0;
    std::string language = "en";
    std::optional<std::filesystem::path> library;
    bool loadTweak = true;
    std::optional<std::string> profile;
    std::optional<std::string> openURL;
    bool pretty = false;
};

// The options, or a message that says which argument was wrong and why.
std::variant<StartupOptions, std::string> parseStartupOptions(std::span<const std::string> arguments);

extern const char* const kStartupUsage;

}  // namespace sim
