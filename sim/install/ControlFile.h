#pragma once

// The package manager's control format: a paragraph of "Name: value" fields, a value going on over continuation
// lines that start with a space or a tab. The installer reads a package's control file in it and keeps every
// installed package's paragraph in the status file, one paragraph after another with a blank line between them.
//
// A line of only spaces and tabs ends a paragraph, so a value may not hold one: the package manager refuses such a
// control file ("blank line in value of field"), and so does the reader here, for once written into the status file
// the line would split the package's paragraph in two.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace sim::install {

struct Control {
    // In file order; a value keeps its continuation lines, each after a "\n", with their leading blank.
    std::vector<std::pair<std::string, std::string>> fields;

    // The first field of that name; empty when there is none.
    std::string field(std::string_view name) const;
};

struct ControlRead {
    Control control;
    // Nothing when the text is a control paragraph, else what is wrong with it.
    std::optional<std::string> error;
};

// Reads one paragraph. Lines without a colon are skipped, as is a continuation line before the first field. A
// continuation line of only blanks is refused, and so is a field given twice (names compared without case, as the
// package manager does): the status file would otherwise credit the paragraph to the second "Package".
[[nodiscard]] ControlRead readControlText(std::string_view text);

// The installed package's paragraph for the status file: its fields in order, "Status: install ok installed" after
// "Package" in place of any status the package gives itself, ending with a line break.
std::string statusParagraph(const Control& control);

// The status file's paragraphs in order, each with the package its "Package" field names (empty when none) and
// its text, lines ending in "\n".
std::vector<std::pair<std::string, std::string>> statusParagraphs(std::string_view text);

}  // namespace sim::install
