#pragma once

// A scenario as text: one command per line, words separated by blanks, double-quoted strings for words with
// blanks ("Sounds & Haptics", with \" and \\ inside), and "#" outside a string starting a comment that runs to the
// end of the line. Blank and comment-only lines are no steps, but the comment lines directly above a step are its
// note: the gallery captions a screenshot with it.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace sim::scenario {

struct Step {
    std::size_t line = 0;             // 1-based line in the file
    std::vector<std::string> words;   // the command name first; quotes removed
    std::string text;                 // the line without its comment, trimmed
    std::string note;                 // the comment lines directly above, joined by a blank; "" when none
    // The raw text from the start of word `index` to the end of the line (comment removed, trimmed), for
    // arguments that are JSON and keep their own quotes; "" past the last word.
    std::string rest(std::size_t index) const;
    std::vector<std::size_t> offsets;  // where each word starts in `text`
};

struct Script {
    std::string name;  // what error messages call the file ("tour", "-" for standard input)
    std::vector<Step> steps;
};

// Reads a whole scenario. An unterminated string is a StepError naming its line.
Script parseScript(std::string_view text, std::string name);

}  // namespace sim::scenario
