#include "sim/install/ControlFile.h"

#include <cctype>

namespace sim::install {
namespace {

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

bool isBlank(std::string_view line) { return line.find_first_not_of(" \t\r") == std::string_view::npos; }

std::string_view trimmedEnd(std::string_view s) {
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ')) s.remove_suffix(1);
    return s;
}

std::string_view trimmedStart(std::string_view s) {
    const auto first = s.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string_view() : s.substr(first);
}

// Calls `each` with every line of `text`, without its "\n"; a last line without one counts too.
template <typename Each>
void forEachLine(std::string_view text, Each&& each) {
    while (!text.empty()) {
        const auto end = text.find('\n');
        each(text.substr(0, end));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
}

}  // namespace

std::string Control::field(std::string_view name) const {
    for (const auto& [k, v] : fields)
        if (k == name) return v;
    return {};
}

ControlRead readControlText(std::string_view text) {
    ControlRead read;
    forEachLine(text, [&](std::string_view line) {
        if (read.error) return;
        if (!line.empty() && (line[0] == ' ' || line[0] == '\t')) {
            if (read.control.fields.empty()) return;
            auto& [name, value] = read.control.fields.back();
            if (isBlank(line)) {
                read.error = "blank line in value of field '" + name + "'";
                return;
            }
            value += "\n";
            value += line;
            return;
        }
        const auto colon = line.find(':');
        if (colon == std::string_view::npos) return;
        const std::string_view name = line.substr(0, colon);
        for (const auto& field : read.control.fields) {
            if (sameName(field.first, name)) {
                read.error = "duplicate value for field '" + std::string(name) + "'";
                return;
            }
        }
        read.control.fields.emplace_back(std::string(name),
                                         std::string(trimmedEnd(trimmedStart(line.substr(colon + 1)))));
    });
    return read;
}

std::string statusParagraph(const Control& control) {
    std::string text;
    for (const auto& [k, v] : control.fields) {
        // The record's status is the installer's to say; a package's own would stand beside it as a duplicate.
        if (sameName(k, "Status")) continue;
        text += k + ": " + v + "\n";
        if (k == "Package") text += "Status: install ok installed\n";
    }
    return text;
}

std::vector<std::pair<std::string, std::string>> statusParagraphs(std::string_view text) {
    std::vector<std::pair<std::string, std::string>> paragraphs;
    std::string current, name;
    auto flush = [&] {
        if (!current.empty()) paragraphs.emplace_back(name, current);
        current.clear();
        name.clear();
    };
    forEachLine(text, [&](std::string_view line) {
        if (trimmedEnd(line).empty()) {
            flush();
            return;
        }
        if (line.starts_with("Package:")) name = std::string(trimmedEnd(trimmedStart(line.substr(8))));
        current += line;
        current += "\n";
    });
    flush();
    return paragraphs;
}

}  // namespace sim::install
