#pragma once

// Runs a program of the machine to its end with an argument vector (no shell, so paths with spaces or quotes pass
// unchanged) and collects what it printed. Tests build their packages with it (dpkg-deb --build, tar, ar).

#include <string>
#include <vector>

namespace testing_support {

struct ProgramOutput {
    // The exit status; -1 when the program could not be started or ended by a signal.
    int status = -1;
    std::string out;
    std::string err;

    bool succeeded() const { return status == 0; }
};

// `argv[0]` is looked up in PATH.
ProgramOutput runProgram(const std::vector<std::string>& argv);

}  // namespace testing_support
