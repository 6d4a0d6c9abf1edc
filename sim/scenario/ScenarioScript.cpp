#include "sim/scenario/ScenarioScript.h"

#include "sim/scenario/ScenarioErrors.h"

namespace sim::scenario {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string trimmed(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && isBlank(s[b])) ++b;
    while (e > b && isBlank(s[e - 1])) --e;
    return std::string(s.substr(b, e - b));
}

// Where the comment of a line starts ("#" at the start or after a blank, outside a string), or npos. Quotes inside
// bare words count too, so that a JSON argument such as ["#fff"] keeps its "#".
std::size_t commentStart(std::string_view line) {
    bool inString = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (inString) {
            if (c == '\\') ++i;
            else if (c == '"') inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '#' && (i == 0 || isBlank(line[i - 1]))) {
            return i;
        }
    }
    return std::string_view::npos;
}

}  // namespace

std::string Step::rest(std::size_t index) const {
    if (index >= offsets.size()) return {};
    return trimmed(std::string_view(text).substr(offsets[index]));
}

Script parseScript(std::string_view text, std::string name) {
    Script script{std::move(name), {}};
    std::string note;
    std::size_t lineNumber = 0;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view raw = text.substr(pos, end - pos);
        ++lineNumber;
        pos = end + 1;

        std::size_t hash = commentStart(raw);
        std::string body = trimmed(raw.substr(0, hash));
        if (body.empty()) {
            if (hash != std::string_view::npos) {
                std::string comment = trimmed(raw.substr(hash + 1));
                if (!comment.empty()) note += (note.empty() ? "" : " ") + comment;
            } else {
                note.clear();  // a blank line parts a comment from the step below it
            }
            if (end == text.size()) break;
            continue;
        }

        Step step;
        step.line = lineNumber;
        step.text = body;
        step.note = std::move(note);
        note.clear();
        std::size_t i = 0;
        while (i < body.size()) {
            if (isBlank(body[i])) {
                ++i;
                continue;
            }
            step.offsets.push_back(i);
            std::string word;
            if (body[i] == '"') {
                ++i;
                bool closed = false;
                while (i < body.size()) {
                    char c = body[i++];
                    if (c == '\\' && i < body.size()) {
                        word += body[i++];
                    } else if (c == '"') {
                        closed = true;
                        break;
                    } else {
                        word += c;
                    }
                }
                if (!closed)
                    throw StepError("line " + std::to_string(lineNumber) + ": the string is not closed");
            } else {
                while (i < body.size() && !isBlank(body[i])) word += body[i++];
            }
            step.words.push_back(std::move(word));
        }
        script.steps.push_back(std::move(step));
        if (end == text.size()) break;
    }
    return script;
}

}  // namespace sim::scenario
