// The scenario script parser. It either reads the text or throws a StepError naming a line of it; every step it
// makes is one its own text parses back to, since error messages and the gallery quote that text as the step.

#include "sim/scenario/ScenarioErrors.h"
#include "sim/scenario/ScenarioScript.h"
#include "tests/fuzz/FuzzValue.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::size_t lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
    sim::scenario::Script script;
    try {
        script = sim::scenario::parseScript(text, "fuzz");
    } catch (const sim::scenario::StepError& error) {
        fuzz::require(std::string_view(error.what()).starts_with("line "), "a parse error names no line");
        return 0;
    }
    std::size_t previous = 0;
    for (const sim::scenario::Step& step : script.steps) {
        fuzz::require(step.line > previous && step.line <= lines, "steps out of line order");
        previous = step.line;
        fuzz::require(!step.words.empty() && step.words.size() == step.offsets.size(), "a step without its words");
        for (std::size_t i = 0; i < step.offsets.size(); ++i) {
            fuzz::require(step.offsets[i] < step.text.size(), "a word starts outside its step");
            fuzz::require(!step.rest(i).empty(), "the rest of a line from a word is empty");
        }
        fuzz::require(step.rest(step.words.size()).empty(), "text past the last word");
        const sim::scenario::Script again = sim::scenario::parseScript(step.text, "again");
        fuzz::require(again.steps.size() == 1 && again.steps[0].words == step.words,
                      "a step's text does not parse back to the step");
    }
    return 0;
}
