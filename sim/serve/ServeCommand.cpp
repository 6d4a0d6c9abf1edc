#include "sim/serve/ServeCommand.h"

#include "sim/device/DeviceProfile.h"
#include "sim/serve/HttpServer.h"

#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <charconv>
#include <filesystem>
#include <iostream>
#include <optional>

namespace sim::serve {

namespace {

namespace fs = std::filesystem;

constexpr int kExitOk = 0;
constexpr int kExitUsage = 2;

struct Arguments {
    std::optional<fs::path> root;
    std::uint16_t port = 8080;
    std::string profile;
};

std::optional<Arguments> parseArguments(const std::vector<std::string>& args, std::string& problem) {
    Arguments a;
    a.profile = defaultDeviceProfile().name;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg != "--root" && arg != "--port" && arg != "--profile") {
            problem = "unexpected argument \"" + arg + "\"";
            return std::nullopt;
        }
        if (i + 1 >= args.size()) {
            problem = arg + " wants a value";
            return std::nullopt;
        }
        const std::string& v = args[++i];
        if (arg == "--root") {
            if (v.empty()) {
                problem = "--root wants a folder, not an empty name";
                return std::nullopt;
            }
            a.root = v;
        } else if (arg == "--port") {
            unsigned port = 0;
            auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), port);
            if (ec != std::errc() || end != v.data() + v.size() || port > 65535) {
                problem = "--port wants a number from 0 (any free port) to 65535, not \"" + v + "\"";
                return std::nullopt;
            }
            a.port = static_cast<std::uint16_t>(port);
        } else {
            if (!deviceProfileNamed(v)) {
                problem = "--profile: no device profile \"" + v + "\" (vantile-sim --help lists them)";
                return std::nullopt;
            }
            a.profile = v;
        }
    }
    return a;
}

fs::path temporaryFolder(const char* name) {
    std::string pattern = (fs::temp_directory_path() / (std::string(name) + "-XXXXXX")).string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a folder in the temporary folder");
    return pattern;
}

}  // namespace

std::string serveUsage() {
    return "usage: vantile-sim serve [--root DIR] [--port N] [--profile NAME]\n"
           "\n"
           "Serves the simulated phone to a browser on this machine (127.0.0.1 only) and prints the address: the\n"
           "screen follows the phone live, the mouse and the keyboard are touches and typing, a side panel changes the\n"
           "device and the add-on's preferences, and what was done by hand can be saved as a scenario for\n"
           "`vantile-sim run`. Ctrl-C stops it.\n"
           "  --root DIR      the device's file system (default: a fresh temporary folder, removed afterwards)\n"
           "  --port N        the port to listen on (default 8080; 0 takes any free port)\n"
           "  --profile NAME  the device profile to start with (default: " +
           defaultDeviceProfile().name +
           ")\n"
           "\n"
           "Exit status: 0 when stopped; 2 when the port is taken or the command line is wrong.\n";
}

int runServeCommand(const std::vector<std::string>& arguments, const std::string& self) {
    for (const auto& a : arguments)
        if (a == "--help" || a == "-h") {
            std::cout << serveUsage();
            return kExitOk;
        }
    std::string problem;
    auto args = parseArguments(arguments, problem);
    if (!args) {
        std::cerr << "vantile-sim serve: " << problem << "\n" << serveUsage();
        return kExitUsage;
    }
    std::error_code ec;
    if (args->root) {
        fs::create_directories(*args->root, ec);
        if (ec || !fs::is_directory(*args->root) || access(args->root->c_str(), R_OK | W_OK | X_OK) != 0) {
            std::cerr << "vantile-sim serve: --root " << args->root->string()
                      << " is not a folder this user can read and write\n";
            return kExitUsage;
        }
    }
    // A browser that goes away mid-write must not end the server.
    signal(SIGPIPE, SIG_IGN);

    ServeOptions options;
    options.port = args->port;
    options.profile = args->profile;
    options.pageFolder = fs::path(self).parent_path() / "serve-page";
    options.phoneCommand = {self, "phone"};
    options.handleSignals = true;
    const bool ownRoot = !args->root;
    options.root = fs::absolute(ownRoot ? temporaryFolder("vantile-serve-root") : *args->root);
    options.workFolder = temporaryFolder("vantile-serve");
    auto cleanUp = [&] {
        fs::remove_all(options.workFolder, ec);
        if (ownRoot) fs::remove_all(options.root, ec);
    };
    if (!fs::is_regular_file(options.pageFolder / "index.html", ec))
        std::cerr << "vantile-sim serve: no page in " << options.pageFolder.string()
                  << " (build the simulator to copy it there); the address will answer 404\n";

    int status = kExitOk;
    try {
        HttpServer server(options);
        std::cout << "vantile-sim serve: http://127.0.0.1:" << server.port() << "/  (profile " << options.profile
                  << ", device root " << options.root.string() << "; Ctrl-C stops)" << std::endl;
        server.run();
        std::cout << "vantile-sim serve: stopped" << std::endl;
    } catch (const PortUnavailable& e) {
        std::cerr << "vantile-sim serve: " << e.what() << "; choose another with --port N (0 takes any free port)\n";
        status = kExitUsage;
    }
    cleanUp();
    return status;
}

}  // namespace sim::serve
