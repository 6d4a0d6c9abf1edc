#pragma once

// Runs the built simulator as a fresh process (the tweak's constructors run once per process) and collects what it
// printed, inside a device root of its own that the fixture creates and removes.

#include "platform/core/Value.h"
#include "tests/support/TemporaryRoot.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace simtest {

struct Run {
    int status = -1;
    std::string out;
    std::string err;
    // The standard output read as JSON; nothing when it is not one JSON value.
    std::optional<Value> json() const;
};

// A report of the simulator read as JSON. View dumps nest two levels per view, deeper than scenario arguments may.
std::optional<Value> readReport(std::string_view text);

// vantile-sim of the build, with `arguments` after the program name.
Run runSimulator(const std::vector<std::string>& arguments);

// A device root in the system's temporary folder, removed with the object.
class TempDeviceRoot : public testing_support::TemporaryRoot {
public:
    TempDeviceRoot() : TemporaryRoot("sim-test") {}
    // Writes the preference domain's backing file with these keys, as the pane would have stored them.
    void writePreferences(const Value::Dictionary& keys) const;
};

// Member access for reports: the value at a "/"-separated path of dictionary keys, or nullptr.
const Value* at(const Value& root, std::string_view path);
std::vector<std::string> stringList(const Value* array);

}  // namespace simtest
