#include "sim/scenario/ScenarioRunner.h"

#include "sim/ProcessProfile.h"
#include "sim/scenario/Records.h"
#include "sim/scenario/ScenarioErrors.h"

#include <algorithm>
#include <iostream>

namespace sim::scenario {

namespace {

// Every group's rows, in the order --help lists them.
const std::vector<const ScenarioCommand*>& allCommands() {
    static const std::vector<const ScenarioCommand*> kAll = [] {
        std::vector<const ScenarioCommand*> all;
        for (const auto* group : {&setUpCommands(), &processCommands(), &touchCommands(), &fingerCommands(), &wheelCommands(),
                                  &drawerCommands(), &photoCommands(), &chromaCommands(), &outputCommands(),
                                  &expectationCommands()})
            for (const auto& c : *group) all.push_back(&c);
        return all;
    }();
    return kAll;
}

const ScenarioCommand* commandNamed(const std::string& name) {
    const auto& all = allCommands();
    auto it = std::find_if(all.begin(), all.end(), [&](const ScenarioCommand* c) { return name == c->info.name; });
    return it == all.end() ? nullptr : *it;
}

}  // namespace

const std::vector<CommandInfo>& ScenarioRunner::commands() {
    static const std::vector<CommandInfo> kInfos = [] {
        std::vector<CommandInfo> out;
        for (const auto* c : allCommands()) out.push_back(c->info);
        return out;
    }();
    return kInfos;
}

ScenarioRunner::ScenarioRunner(Phone& phone, RunnerOptions options) : m_session(phone, std::move(options)) {}

ScenarioRunner::~ScenarioRunner() = default;

const char* ScenarioRunner::settingsProcess() { return sim::kSettingsProcess.data(); }

int ScenarioRunner::run(const Script& script, std::ostream& errors) {
    m_session.setGallery(std::make_unique<Gallery>(m_session.options().out, "Scenario " + script.name,
                                                   m_session.options().freshGallery));
    // A run starts on a device that has run nothing yet; a resumed run keeps what its restart was caused by.
    clearDeviceRecords();
    return play(script, 0, errors);
}

int ScenarioRunner::resume(const Script& script, std::size_t nextStep, double clock, const std::string& process,
                           std::ostream& errors) {
    m_session.setGallery(std::make_unique<Gallery>(m_session.options().out, "Scenario " + script.name, false));
    try {
        m_session.setReplaying(true);
        for (std::size_t i = 0; i < nextStep && i < script.steps.size(); ++i) {
            const Step& step = script.steps[i];
            const ScenarioCommand* command = commandNamed(step.words[0]);
            if (command && command->setup) {
                m_session.setStepIndex(i);
                command->run(m_session, step);
            }
        }
        m_session.setReplaying(false);
        m_session.phone().setDate(clock);
        m_session.launchProcess(process);
    } catch (const std::exception& e) {
        m_session.setReplaying(false);
        errors << script.name << ": the run could not continue after its respring: " << e.what() << "\n";
        return kExitStepError;
    }
    return play(script, nextStep, errors);
}

int ScenarioRunner::play(const Script& script, std::size_t first, std::ostream& errors) {
    std::ostream* progress = m_session.options().progress;
    for (std::size_t i = first; i < script.steps.size(); ++i) {
        const Step& step = script.steps[i];
        m_session.setStepIndex(i);
        if (progress) *progress << "[" << (i + 1) << "/" << script.steps.size() << "] " << step.text << std::endl;
        try {
            execute(step);
        } catch (const ExpectationFailed& e) {
            errors << script.name << ":" << step.line << ": " << e.what() << "\n  expected: " << e.expected()
                   << "\n  actual:   " << e.actual() << "\n";
            return kExitExpectationFailed;
        } catch (const StepError& e) {
            errors << script.name << ":" << step.line << ": " << step.words[0] << ": " << e.what() << "\n";
            return kExitStepError;
        } catch (const std::exception& e) {
            // The platform's loud errors (misuse caught in the frameworks) stop the run as a step that failed.
            errors << script.name << ":" << step.line << ": " << step.words[0] << " failed: " << e.what() << "\n";
            return kExitStepError;
        }
    }
    return 0;
}

void ScenarioRunner::execute(const Step& step) {
    const ScenarioCommand* command = commandNamed(step.words[0]);
    if (!command) throw StepError("unknown command (vantile-sim --help lists them)");
    std::size_t args = step.words.size() - 1;
    if (args < command->minArgs || args > command->maxArgs)
        throw StepError(std::string("wants ") + (*command->info.usage ? command->info.usage : "no arguments"));
    command->run(m_session, step);
    if (m_session.isReplaying()) return;
    m_session.phone().settle();
    // A restart asked for on the phone itself (not by `respring`) continues the run as `respring` does.
    if (m_session.phone().takeRequestedFreshProcess()) m_session.restartWith(std::string(sim::kSettingsProcess));
}

}  // namespace sim::scenario
