#pragma once

// The two ways a scenario stops early. A step that cannot be carried out (unknown command, missing target, bad
// value, a part of the device that is not available) is the author's or the device's problem: exit status 2. An
// expectation that does not hold is what the scenario exists to find: exit status 1 with what was expected and
// what was found.

#include <stdexcept>
#include <string>

namespace sim::scenario {

class StepError : public std::runtime_error {
public:
    explicit StepError(const std::string& message) : std::runtime_error(message) {}
};

class ExpectationFailed : public std::runtime_error {
public:
    ExpectationFailed(std::string what, std::string expected, std::string actual)
        : std::runtime_error(what), m_expected(std::move(expected)), m_actual(std::move(actual)) {}
    const std::string& expected() const { return m_expected; }
    const std::string& actual() const { return m_actual; }

private:
    std::string m_expected;
    std::string m_actual;
};

inline constexpr int kExitExpectationFailed = 1;
inline constexpr int kExitStepError = 2;

}  // namespace sim::scenario
