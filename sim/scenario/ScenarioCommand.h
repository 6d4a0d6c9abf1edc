#pragma once

// One row of the scenario language: a command's name, the arguments it takes, what it means (for --help), and the
// function that carries it out. The rows live with their group, one file each; the runner plays the groups'
// rows in the order below, which is also the order --help lists them in.
//
// Adding a command is adding a row (and its function) to the group it belongs to; the runner checks the argument
// count before the function runs, so a function may index the words it was promised.

#include "sim/scenario/ScenarioScript.h"

#include <cstddef>
#include <limits>
#include <vector>

namespace sim::scenario {

class ScenarioSession;

struct CommandInfo {
    const char* name;
    const char* usage;     // the arguments, as --help shows them
    const char* meaning;
};

struct ScenarioCommand {
    CommandInfo info;
    std::size_t minArgs, maxArgs;
    // Throws StepError when the step cannot be carried out (before changing anything), ExpectationFailed when an
    // expectation does not hold.
    void (*run)(ScenarioSession&, const Step&);
    // Set-up commands are replayed when a run continues in a fresh process, before its launch.
    bool setup = false;
};

inline constexpr std::size_t kAnyNumberOfArguments = std::numeric_limits<std::size_t>::max();

// device, appearance, locale, zone, date, preferences, radios and interfaces, installed applications and bundles.
const std::vector<ScenarioCommand>& setUpCommands();
// launch, respring, open.
const std::vector<ScenarioCommand>& processCommands();
// tap, drag, reorder, scroll, back, wait.
const std::vector<ScenarioCommand>& touchCommands();
// touch down/move/up/cancel (one finger event by event), dismiss-keyboard, backspace.
const std::vector<ScenarioCommand>& fingerCommands();
// drag-drawer, flick-drawer, cancel-drawer-drag, tap-drawer, segment, spawn-fails.
const std::vector<ScenarioCommand>& drawerCommands();
// square, hue, alpha (the colour picker's drags), clear (the delete key), pasteboard.
const std::vector<ScenarioCommand>& chromaCommands();
// screenshot, dump.
const std::vector<ScenarioCommand>& outputCommands();
// photo: the photo library and its picker.
const std::vector<ScenarioCommand>& photoCommands();
// spin, flick, pick (the wheels of a picker); pull, lift (a held finger on a list).
const std::vector<ScenarioCommand>& wheelCommands();
// expect (its kinds are the table in Expectations.h).
const std::vector<ScenarioCommand>& expectationCommands();

}  // namespace sim::scenario
