#include "sim/StartupOptions.h"

#include "sim/device/DeviceProfile.h"

#include "sim/ProcessProfile.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace sim {

const char* const kStartupUsage =
    "usage: vantile-sim startup [--root DIR] [--process ARGV0] [--groups A,B] [--airplane-mode on|off]\n"
    "                           [--bluetooth on|off] [--corner-radius R] [--language CODE] [--library PATH]\n"
    "                           [--no-tweak] [--profile NAME] [--pretty]\n"
    "  --profile NAME starts the simulated phone of that profile (iphone-8, iphone-8-plus, iphone-x, iphone-xr,\n"
    "                 iphone-12) with its Settings application, and reports its root list once it settled\n"
    "  --open URL     with --profile: then opens that Settings address and reports the page shown\n";

namespace {

std::optional<bool> parseSwitch(const std::string& text) {
    if (text == "on" || text == "yes" || text == "true" || text == "1") return true;
    if (text == "off" || text == "no" || text == "false" || text == "0") return false;
    return std::nullopt;
}

std::vector<std::string> splitList(const std::string& text) {
    std::vector<std::string> parts;
    std::string current;
    for (char c : text) {
        if (c == ',') {
            if (!current.empty()) parts.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) parts.push_back(current);
    return parts;
}

}  // namespace

std::variant<StartupOptions, std::string> parseStartupOptions(std::span<const std::string> arguments) {
    StartupOptions options;
    options.process = std::string(kSettingsProcess);
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        auto operand = [&]() -> std::optional<std::string> {
            if (i + 1 >= arguments.size()) return std::nullopt;
            return arguments[++i];
        };
        auto missing = [&] { return "option " + arg + " needs a value"; };
        if (arg == "--pretty") {
            options.pretty = true;
        } else if (arg == "--no-tweak") {
            options.loadTweak = false;
        } else if (arg == "--root") {
            auto v = operand();
            if (!v) return missing();
            if (v->empty()) return std::string("option --root needs a folder, not an empty name");
            options.root = *v;
        } else if (arg == "--process") {
            auto v = operand();
            if (!v) return missing();
            if (v->empty()) return std::string("option --process needs the process's first argument, not empty");
            options.process = *v;
        } else if (arg == "--groups") {
            auto v = operand();
            if (!v) return missing();
            options.groups = splitList(*v);
        } else if (arg == "--airplane-mode" || arg == "--bluetooth") {
            auto v = operand();
            if (!v) return missing();
            auto on = parseSwitch(*v);
            if (!on) return "option " + arg + ": \"" + *v + "\" is not on or off";
            (arg == "--bluetooth" ? options.bluetooth : options.airplaneMode) = *on;
        } else if (arg == "--corner-radius") {
            auto v = operand();
            if (!v) return missing();
            errno = 0;
            char* end = nullptr;
            const double r = std::strtod(v->c_str(), &end);
            if (v->empty() || *end || errno == ERANGE || !std::isfinite(r))
                return "option --corner-radius: \"" + *v + "\" is not a number";
            options.cornerRadius = r;
        } else if (arg == "--profile") {
            auto v = operand();
            if (!v) return missing();
            if (!deviceProfileNamed(*v)) return "option --profile: unknown profile \"" + *v + "\"";
            options.profile = *v;
        } else if (arg == "--open") {
            auto v = operand();
            if (!v) return missing();
            options.openURL = *v;
        } else if (arg == "--language") {
            auto v = operand();
            if (!v) return missing();
            if (v->empty()) return std::string("option --language needs a language code such as en or de");
            options.language = *v;
        } else if (arg == "--library") {
            auto v = operand();
            if (!v) return missing();
            options.library = *v;
        } else {
            return "unknown argument \"" + arg + "\"";
        }
    }
    return options;
}

}  // namespace sim
