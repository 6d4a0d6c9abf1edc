// vantile-sim: the simulated device. Each command plays a part of it; see the usage text.
#include "sim/StartupCommand.h"
#include "sim/StartupOptions.h"
#include "sim/device/DeviceProfile.h"
#include "sim/install/InstallCommand.h"
#include "sim/scenario/RunCommand.h"
#include "sim/serve/PhoneCommand.h"
#include "sim/serve/ServeCommand.h"

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage =
    "usage: vantile-sim COMMAND [OPTIONS]\n"
    "\n"
    "commands:\n"
    "  startup   play one process of the device: load the tweak library and print, as JSON, what its start-up did\n"
    "            (vantile-sim startup --help for its options)\n"
    "  run       play a scenario on the simulated phone: vantile-sim run FILE [--root DIR] [--out DIR]\n"
    "            (vantile-sim run --help for the commands, expectations and exit statuses)\n"
    "  install   install the add-on's package into a device root: vantile-sim install [--root DIR] [--package FILE]\n"
    "            (vantile-sim install --help; docs/package.md)\n"
    "  serve     the phone in a browser, recorded as a scenario: vantile-sim serve [--root DIR] [--port N]\n"
    "            [--profile NAME] (vantile-sim serve --help; docs/serve.md)\n";

// The usage with the device profiles, so that what sets them apart is never a surprise.
std::string usage() {
    std::string text = std::string(kUsage) + "\ndevice profiles (scenario command `device NAME`; all start in light mode):\n";
    for (const auto& profile : sim::deviceProfiles()) {
        text += "  " + profile.name + (profile.name == sim::defaultDeviceProfile().name ? " (default)" : "") + "\n";
        text += "      " + sim::profileSummary(profile) + "\n";
    }
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::cout << usage();
        return 0;
    }
    const std::string command = args.front();
    std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "-h" || command == "--help" || command == "help") {
        std::cout << usage();
        return 0;
    }
    try {
        if (command == "startup") {
            if (!rest.empty() && (rest.front() == "--help" || rest.front() == "-h")) {
                std::cout << sim::kStartupUsage;
                return 0;
            }
            return sim::runStartupCommand(rest);
        }
        if (command == "install") return sim::install::runInstallCommand(rest);
        if (command == "serve") {
            std::error_code ec;
            auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
            return sim::serve::runServeCommand(rest, ec ? std::string(argv[0]) : self.string());
        }
        // One boot of the phone under `serve`, started by the server itself; not in the usage.
        if (command == "phone") return sim::serve::runPhoneCommand(rest);
        if (command == "run") {
            if (!rest.empty() && (rest.front() == "--help" || rest.front() == "-h")) {
                std::cout << sim::scenario::runUsage();
                return 0;
            }
            std::error_code ec;
            auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
            return sim::scenario::runScenarioCommand(rest, ec ? std::string(argv[0]) : self.string());
        }
    } catch (const std::exception& e) {
        // Misuse of the platform by our own code is loud: say what and stop.
        std::cerr << "vantile-sim " << command << ": " << e.what() << "\n";
        return 1;
    }
    std::cerr << "vantile-sim: unknown command \"" << command << "\"\n" << kUsage;
    return 2;
}
