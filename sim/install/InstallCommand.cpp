#include "sim/install/InstallCommand.h"

#include "platform/harness/JSONValue.h"
#include "sim/Loader.h"
#include "sim/install/PackageInstaller.h"

#include <filesystem>
#include <iostream>
#include <optional>

namespace sim::install {

const char* const kInstallUsage =
    "usage: vantile-sim install [--root DIR] [--package FILE]\n"
    "  Installs the add-on's Debian package into a device root as the phone's package manager would: its files\n"
    "  unpacked below the root, the previous installation replaced (files the new package lacks are removed).\n"
    "  --root DIR      the device root (default: the build's device root; created when missing)\n"
    "  --package FILE  the package (default: the build's Vantile.deb)\n"
    "  Prints a JSON report. Exit status 0; 1 when the package is missing or broken (the root stays as it was);\n"
    "  2 for a bad command line.\n";

int runInstallCommand(std::span<const std::string> arguments) {
    std::optional<std::filesystem::path> root, package;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << kInstallUsage;
            return 0;
        }
        auto& target = arg == "--root" ? root : package;
        if ((arg != "--root" && arg != "--package") || i + 1 >= arguments.size() || target) {
            std::cerr << "vantile-sim install: unexpected \"" << arg << "\"\n" << kInstallUsage;
            return 2;
        }
        target = std::filesystem::path(arguments[++i]);
    }
    if (!package) package = defaultPackage();
    if (!package) {
        std::cerr << "vantile-sim install: no package: the build made no Vantile.deb; name one with --package\n";
        return 1;
    }
    const std::filesystem::path where = root ? *root : defaultDeviceRoot();
    const InstallResult result = installPackage(*package, where);
    if (!result) {
        std::cerr << "vantile-sim install: " << *result.error << "\n";
        return 1;
    }
    auto list = [](const std::vector<std::string>& paths) {
        Value::Array a;
        for (const auto& p : paths) a.emplace_back(p);
        return Value(std::move(a));
    };
    Value::Dictionary report{{"package", result.package}, {"version", result.version}, {"root", where.string()},
                             {"installed", list(result.installed)}, {"removed", list(result.removed)}};
    std::cout << toJSON(Value(std::move(report)), 2) << "\n";
    return 0;
}

}  // namespace sim::install
