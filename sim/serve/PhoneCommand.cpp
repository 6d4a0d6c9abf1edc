#include "sim/serve/PhoneCommand.h"

#include "sim/device/DeviceProfile.h"
#include "sim/scenario/ScenarioValues.h"
#include "sim/serve/PhoneSession.h"

#include <fcntl.h>

#include <charconv>
#include <fstream>
#include <iostream>
#include <sstream>

namespace sim::serve {

namespace {

// Set-up lines are a page at most; more is a wrong file.
constexpr std::size_t kMaxSetupBytes = 1u << 20;

template <class T>
std::optional<T> wholeNumber(const std::string& text) {
    T value{};
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace

int runPhoneCommand(const std::vector<std::string>& arguments) {
    PhoneOptions options;
    std::optional<int> channel;
    bool haveRoot = false;
    auto fail = [](const std::string& problem) {
        std::cerr << "vantile-sim phone: " << problem << "\n"
                  << "usage: vantile-sim phone --channel FD --root DIR --profile NAME [--clock SECONDS] [--seed N] "
                     "[--setup FILE]\n";
        return 2;
    };
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        if (i + 1 >= arguments.size()) return fail(arg + " wants a value");
        const std::string& value = arguments[++i];
        if (arg == "--channel") {
            channel = wholeNumber<int>(value);
            if (!channel || *channel < 0 || fcntl(*channel, F_GETFD) < 0)
                return fail("--channel wants an open descriptor, not \"" + value + "\"");
        } else if (arg == "--root") {
            if (value.empty()) return fail("--root wants a folder");
            options.root = value;
            haveRoot = true;
        } else if (arg == "--profile") {
            if (!deviceProfileNamed(value)) return fail("unknown device profile \"" + value + "\"");
            options.profile = value;
        } else if (arg == "--clock") {
            auto clock = scenario::parseNumber(value);
            if (!clock || *clock < 0 || *clock > scenario::kLatestClock)
                return fail("--clock wants seconds since 1970, not \"" + value + "\"");
            options.clock = *clock;
        } else if (arg == "--seed") {
            auto seed = wholeNumber<std::uint64_t>(value);
            if (!seed) return fail("--seed wants a whole number from 0, not \"" + value + "\"");
            options.seed = *seed;
        } else if (arg == "--setup") {
            std::ifstream in(value);
            if (!in) return fail("cannot read the set-up file " + value);
            std::ostringstream text;
            text << in.rdbuf();
            if (text.str().size() > kMaxSetupBytes) return fail("the set-up file " + value + " is too long");
            options.setupLines = text.str();
        } else {
            return fail("unexpected argument \"" + arg + "\"");
        }
    }
    if (!channel) return fail("--channel is missing");
    if (!haveRoot) return fail("--root is missing");
    std::error_code ec;
    std::filesystem::create_directories(options.root, ec);
    if (ec) return fail("--root " + options.root.string() + " cannot be created: " + ec.message());
    PhoneSession session(*channel, std::move(options));
    return session.run();
}

}  // namespace sim::serve
