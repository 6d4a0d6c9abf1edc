#include "sim/scenario/RunCommand.h"

#include "sim/scenario/DevicePhone.h"
#include "sim/scenario/Expectations.h"
#include "sim/scenario/ScenarioErrors.h"
#include "sim/scenario/ScenarioRunner.h"
#include "sim/scenario/ScenarioScript.h"
#include "sim/scenario/ScenarioValues.h"

#include <unistd.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <optional>
#include <sstream>

namespace sim::scenario {

namespace {

namespace fs = std::filesystem;

// Where a scenario read from standard input is kept, so that the process that continues after a respring can read
// it again.
constexpr const char* kStdinCopy = ".stdin-scenario";
// A scenario is a page or two of text; more is not one (a device file such as /dev/zero given by mistake).
constexpr std::size_t kMaxScenarioBytes = 4u * 1024 * 1024;

struct Arguments {
    std::string file;
    std::optional<fs::path> root;
    fs::path out = "out";
    std::optional<fs::path> data;
    // Set only by the simulator itself when it continues a run in a fresh process.
    std::optional<std::size_t> resumeAt;
    double clock = 0;
    std::string process;
    bool removeRoot = false;
};

std::optional<Arguments> parseArguments(const std::vector<std::string>& args, std::string& problem) {
    Arguments a;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= args.size()) {
                problem = arg + " wants a value";
                return std::nullopt;
            }
            return args[++i];
        };
        if (arg == "--root") {
            auto v = value();
            if (!v) return std::nullopt;
            a.root = *v;
        } else if (arg == "--out") {
            auto v = value();
            if (!v) return std::nullopt;
            a.out = *v;
        } else if (arg == "--data") {
            auto v = value();
            if (!v) return std::nullopt;
            a.data = *v;
        } else if (arg == "--resume-at") {
            auto v = value();
            if (!v) return std::nullopt;
            std::size_t step = 0;
            auto [end, ec] = std::from_chars(v->data(), v->data() + v->size(), step);
            if (ec != std::errc() || end != v->data() + v->size()) {
                problem = "--resume-at wants a step number, not \"" + *v + "\"";
                return std::nullopt;
            }
            a.resumeAt = step;
        } else if (arg == "--clock") {
            auto v = value();
            if (!v) return std::nullopt;
            // The clock a respring hands on; anything the language itself cannot reach is refused, so a wrong
            // value cannot make the run loop spin over an endless stretch of time.
            auto clock = parseNumber(*v);
            if (!clock || *clock < 0 || *clock > kLatestClock) {
                problem = "--clock wants seconds since 1970 up to the end of 9999, not \"" + *v + "\"";
                return std::nullopt;
            }
            a.clock = *clock;
        } else if (arg == "--launch") {
            auto v = value();
            if (!v) return std::nullopt;
            a.process = *v;
        } else if (arg == "--remove-root") {
            a.removeRoot = true;
        } else if (a.file.empty() && (arg == "-" || !arg.starts_with("-"))) {
            a.file = arg;
        } else {
            problem = "unexpected argument \"" + arg + "\"";
            return std::nullopt;
        }
    }
    if (a.file.empty()) {
        problem = "no scenario file given";
        return std::nullopt;
    }
    return a;
}

// The whole stream, or nothing when it cannot be read or holds more than a scenario can (`tooLong` tells which).
std::optional<std::string> readAll(std::istream& in, bool& tooLong) {
    std::string text;
    char buffer[65536];
    tooLong = false;
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        text.append(buffer, static_cast<std::size_t>(in.gcount()));
        if (text.size() > kMaxScenarioBytes) {
            tooLong = true;
            return std::nullopt;
        }
    }
    if (in.bad()) return std::nullopt;
    return text;
}

// Nothing when `root` can be the device's file system (an existing folder this process may read and write, or
// one it can create), else what is wrong with it.
std::optional<std::string> rootProblem(const fs::path& root) {
    if (root.empty()) return std::string("--root wants a folder, not an empty name");
    std::error_code ec;
    auto status = fs::status(root, ec);
    if (fs::exists(status)) {
        if (!fs::is_directory(status)) return "--root " + root.string() + " is not a folder";
        if (access(root.c_str(), R_OK | W_OK | X_OK) != 0)
            return "--root " + root.string() + " cannot be read and written by this user";
        return std::nullopt;
    }
    fs::create_directories(root, ec);
    if (ec) return "--root " + root.string() + " cannot be created: " + ec.message();
    return std::nullopt;
}

fs::path freshRoot() {
    std::string pattern = (fs::temp_directory_path() / "vantile-sim-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a device root in the temporary folder");
    return pattern;
}

}  // namespace

std::string runUsage() {
    std::ostringstream u;
    u << "usage: vantile-sim run FILE [--root DIR] [--out DIR] [--data DIR]\n"
         "\n"
         "Plays a scenario on the simulated phone. FILE - reads it from standard input.\n"
         "  --root DIR   the device's file system (default: a fresh temporary folder, removed afterwards)\n"
         "  --out DIR    screenshots, dumps and the gallery index.html (default: out)\n"
         "  --data DIR   a folder `pref KEY data FILE` may also read from (default: only the scenario's folder)\n"
         "\n"
         "A scenario has one command per line; # starts a comment; arguments are words or \"double-quoted\n"
         "strings\". Comment lines directly above a screenshot caption it in the gallery.\n"
         "\n"
         "commands:\n";
    for (const auto& c : ScenarioRunner::commands()) {
        std::string head = std::string(c.name) + (*c.usage ? " " : "") + c.usage;
        u << "  " << head << "\n      " << c.meaning << "\n";
    }
    u << "\nexpectations:\n";
    for (const auto& e : expectations()) {
        std::string head = std::string("expect ") + e.name + (*e.usage ? " " : "") + e.usage;
        u << "  " << head << "\n      " << e.meaning << "\n";
    }
    u << "\n"
         "A respring, or a launch of another process, with the add-on loaded continues the run in a fresh simulator\n"
         "process (the add-on's start-up runs once per process); the set-up commands above it are applied again, the\n"
         "clock is kept.\n"
         "\n"
         "Exit status: 0 all steps ran and held; 1 an expectation failed (file, line, expected and actual are\n"
         "printed); 2 a step could not be carried out (unknown command, no such target, bad value, not available).\n"
         "Progress: a line per step when standard output is a terminal.\n";
    return u.str();
}

int runScenarioCommand(const std::vector<std::string>& arguments, const std::string& self) {
    std::string problem;
    auto args = parseArguments(arguments, problem);
    if (!args) {
        std::cerr << "vantile-sim run: " << problem << "\n" << runUsage();
        return kExitStepError;
    }

    std::error_code ec;
    fs::create_directories(args->out, ec);
    if (ec) {
        std::cerr << "vantile-sim run: cannot create " << args->out << ": " << ec.message() << "\n";
        return kExitStepError;
    }

    std::optional<std::string> text;
    bool tooLong = false;
    std::string name = args->file;
    fs::path scriptFile = args->file;
    if (args->file == "-") {
        if (args->resumeAt) {
            scriptFile = args->out / kStdinCopy;
            std::ifstream in(scriptFile);
            text = readAll(in, tooLong);
        } else {
            text = readAll(std::cin, tooLong);
            scriptFile = args->out / kStdinCopy;
            std::ofstream copy(scriptFile, std::ios::trunc);
            copy << text.value_or("");
        }
    } else {
        if (fs::is_directory(scriptFile, ec)) {
            std::cerr << "vantile-sim run: " << name << " is a folder; give a scenario file\n";
            return kExitStepError;
        }
        std::ifstream in(scriptFile);
        if (in) text = readAll(in, tooLong);
    }
    if (!text) {
        std::cerr << "vantile-sim run: cannot read " << name
                  << (tooLong ? " (a scenario is at most " + std::to_string(kMaxScenarioBytes) + " bytes)" : "")
                  << "\n";
        return kExitStepError;
    }
    if (args->root)
        if (auto problem = rootProblem(*args->root)) {
            std::cerr << "vantile-sim run: " << *problem << "\n";
            return kExitStepError;
        }
    if (args->data && !fs::is_directory(*args->data, ec)) {
        std::cerr << "vantile-sim run: --data " << args->data->string() << " is not a folder\n";
        return kExitStepError;
    }

    bool ownRoot = args->removeRoot || !args->root;
    fs::path root = args->root ? *args->root : freshRoot();
    fs::path base = args->file == "-" ? fs::current_path() : fs::absolute(scriptFile).parent_path();

    int status;
    {
        Script script;
        try {
            script = parseScript(*text, name);
        } catch (const StepError& e) {
            std::cerr << name << ": " << e.what() << "\n";
            return kExitStepError;
        }

        RunnerOptions options;
        options.root = fs::absolute(root);
        options.out = fs::absolute(args->out);
        options.baseFolder = base;
        if (args->data) options.dataFolder = fs::absolute(*args->data);
        options.progress = isatty(STDOUT_FILENO) ? &std::cout : nullptr;
        options.freshGallery = !args->resumeAt;
        options.restart = [&](std::size_t nextStep, double clock, const std::string& process) {
            std::vector<std::string> argv = {self, "run", args->file, "--root", options.root.string(), "--out",
                                             options.out.string(), "--resume-at", std::to_string(nextStep)};
            std::ostringstream c;
            c << std::setprecision(17) << clock;
            argv.insert(argv.end(), {"--clock", c.str(), "--launch", process});
            if (args->data) argv.insert(argv.end(), {"--data", options.dataFolder.string()});
            if (ownRoot) argv.push_back("--remove-root");
            std::vector<char*> raw;
            for (auto& a : argv) raw.push_back(a.data());
            raw.push_back(nullptr);
            std::cout.flush();
            std::cerr.flush();
            // The fresh process keeps this one's id, output and exit status; only the loaded code is new.
            execv(self.c_str(), raw.data());
        };

        auto phone = makeDevicePhone(options.root);
        ScenarioRunner runner(*phone, options);
        const std::string process = args->process.empty() ? ScenarioRunner::settingsProcess() : args->process;
        status = args->resumeAt ? runner.resume(script, *args->resumeAt, args->clock, process, std::cerr)
                                : runner.run(script, std::cerr);
    }
    if (fs::exists(args->out / "index.html")) std::cout << "gallery: " << fs::absolute(args->out / "index.html").string() << "\n";
    if (ownRoot) fs::remove_all(root, ec);
    return status;
}

}  // namespace sim::scenario
