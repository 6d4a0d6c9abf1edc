#include "sim/serve/Recording.h"

#include "platform/harness/JSONValue.h"
#include "sim/scenario/ScenarioCommand.h"
#include "sim/scenario/ScenarioErrors.h"
#include "sim/scenario/ScenarioScript.h"
#include "sim/scenario/ScenarioValues.h"

#include <charconv>
#include <cmath>
#include <stdexcept>

namespace sim::serve {

namespace {

// The first word of a scenario line; "" for a line the parser refuses or that holds no command.
std::string commandOf(const std::string& line) {
    try {
        auto script = scenario::parseScript(line, "recording");
        if (script.steps.size() == 1) return script.steps.front().words.front();
    } catch (const scenario::StepError&) {
    }
    return {};
}

bool isReplayedSetUp(const std::string& command) {
    // The phone process is given these as arguments; replaying them would move its clock back to the start.
    if (command == "device" || command == "date" || command == "seed") return false;
    for (const auto& c : scenario::setUpCommands())
        if (c.setup && command == c.info.name) return true;
    return false;
}

std::string dateLine(double clock) { return scenario::formatDateTime(clock, "date %Y-%m-%d %H:%M"); }

std::string shortestReal(double value) {
    char text[64];
    auto [end, ec] = std::to_chars(text, text + sizeof text, value);
    if (ec != std::errc()) throw std::logic_error("a double does not fit 64 characters");
    std::string out(text, end);
    // The language reads "3" as a real too, but a person reading the file should see one.
    if (out.find_first_of(".eE") == std::string::npos) out += ".0";
    return out;
}

// A word of a scenario line, quoted when it holds blanks, quotes, backslashes or "#", or is empty.
std::string quotedWord(const std::string& text) {
    bool plain = !text.empty() && text.find_first_of(" \t\"\\#") == std::string::npos;
    if (plain) return text;
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out.push_back('\\');
        out.push_back(c);
    }
    out.push_back('"');
    return out;
}

}  // namespace

std::optional<std::string> preferenceLine(const std::string& key, const Value& value) {
    // A line break ends a scenario line, and the parser has no escape for it.
    if (key.empty() || key.find_first_of("\r\n") != std::string::npos) return std::nullopt;
    std::string head = "pref " + quotedWord(key) + " ";
    if (auto b = value.asBoolean()) return head + "bool " + (*b ? "yes" : "no");
    if (auto i = value.asInteger()) return head + "int " + std::to_string(*i);
    if (auto r = value.asReal()) {
        if (!std::isfinite(*r)) return std::nullopt;
        return head + "real " + shortestReal(*r);
    }
    if (auto* s = value.asString()) {
        if (s->find_first_of("\r\n") != std::string::npos) return std::nullopt;
        return head + "string " + quotedWord(*s);
    }
    if (auto* a = value.asArray()) {
        for (const auto& item : *a)
            if (!item.isString()) return std::nullopt;
        return head + "strings " + toJSON(value);
    }
    return std::nullopt;
}

std::vector<std::string> waitLines(double seconds) {
    std::vector<std::string> lines;
    if (!(seconds > 0) || !std::isfinite(seconds)) return lines;
    long long hundredths = std::llround(seconds * 100);
    const long long maxStep = static_cast<long long>(scenario::kMaxWaitSeconds) * 100;
    while (hundredths > 0) {
        long long step = std::min(hundredths, maxStep);
        hundredths -= step;
        if (step % 100 == 0)
            lines.push_back("wait " + std::to_string(step / 100) + "s");
        else
            lines.push_back("wait " + std::to_string(step * 10) + "ms");
    }
    return lines;
}

Recording::Recording(RecordingStart start) : m_start(std::move(start)), m_replayClock(m_start.clock) {}

void Recording::setStartPreferences(const Value& domain) {
    if (m_preferencesSet) return;
    m_preferencesSet = true;
    if (auto* keys = domain.asDictionary())
        for (const auto& [key, value] : *keys)
            if (auto line = preferenceLine(key, value)) m_preferences.push_back(*line);
}

void Recording::add(double time, const std::vector<std::string>& lines, double duration) {
    std::vector<std::string> kept;
    for (const auto& line : lines)
        if (line.find_first_not_of(" \t") != std::string::npos) kept.push_back(line);
    if (kept.empty() || !std::isfinite(time)) return;
    if (time > m_replayClock) {
        // Rounding each wait on its own would let the replay's clock drift 5 ms per batch; rounding the running
        // total keeps it within 5 ms of the session's clock however long the session.
        double reached = std::round((m_replayClock - m_start.clock) * 100) / 100;
        double target = std::round((time - m_start.clock) * 100) / 100;
        for (auto& wait : waitLines(target - reached)) m_body.push_back(std::move(wait));
        m_replayClock = time;
    }
    if (std::isfinite(duration) && duration > 0) m_replayClock += duration;
    for (auto& line : kept) m_body.push_back(std::move(line));
}

std::string Recording::text(std::optional<double> now) const {
    std::string out;
    out += "device " + m_start.device + "\n";
    out += dateLine(m_start.clock) + "\n";
    out += "seed " + std::to_string(m_start.seed) + "\n";
    for (const auto& line : m_preferences) out += line + "\n";
    out += "launch settings\n";
    for (const auto& line : m_body) out += line + "\n";
    if (now && std::isfinite(*now) && *now > m_replayClock) {
        double reached = std::round((m_replayClock - m_start.clock) * 100) / 100;
        double target = std::round((*now - m_start.clock) * 100) / 100;
        for (const auto& wait : waitLines(target - reached)) out += wait + "\n";
    }
    return out;
}

std::vector<std::string> Recording::setUpLines() const {
    std::vector<std::string> lines;
    for (const auto& line : m_body)
        if (isReplayedSetUp(commandOf(line))) lines.push_back(line);
    return lines;
}

}  // namespace sim::serve
