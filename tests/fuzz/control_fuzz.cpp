// The package manager's control paragraphs: a package's control file as the installer reads it, and the status
// file it keeps. An accepted control file becomes one status paragraph that reads back as the same package with
// the same fields, whatever other paragraphs stand around it; a refused one is refused again on a second read.

#include "sim/install/ControlFile.h"
#include "tests/fuzz/FuzzValue.h"

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using sim::install::Control;
using sim::install::readControlText;

bool isStatus(const std::string& name) {
    static constexpr std::string_view kStatus = "status";
    if (name.size() != kStatus.size()) return false;
    for (std::size_t i = 0; i < name.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(name[i])) != kStatus[i]) return false;
    return true;
}

// The status record holds the control's fields but its own status, with the installer's "Status" line after
// "Package".
bool sameFieldsBesidesStatus(const Control& read, const Control& given) {
    std::vector<std::pair<std::string, std::string>> expected;
    for (const auto& field : given.fields) {
        if (isStatus(field.first)) continue;
        expected.push_back(field);
        if (field.first == "Package") expected.emplace_back("Status", "install ok installed");
    }
    return read.fields == expected;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto first = readControlText(text);
    const auto second = readControlText(text);
    fuzz::require(first.error == second.error && first.control.fields == second.control.fields,
                  "a control file read twice differs");
    if (first.error) return 0;
    const Control& control = first.control;
    // The installer writes a record only for a control that names its package.
    if (control.field("Package").empty()) return 0;
    // A field whose first line would itself be taken for a paragraph break or a continuation never makes it into a
    // record that reads back; those are the ones the reader must not produce.
    for (const auto& [name, value] : control.fields) {
        fuzz::require(name.find('\n') == std::string::npos, "a field name holds a line break");
        fuzz::require(name.empty() || (name[0] != ' ' && name[0] != '\t'), "a continuation line became a field");
    }

    const std::string neighbour = "Package: com.example.neighbour\nStatus: install ok installed\nVersion: 1\n";
    const std::string status = neighbour + "\n" + sim::install::statusParagraph(control) + "\n" + neighbour;
    const auto paragraphs = sim::install::statusParagraphs(status);
    fuzz::require(paragraphs.size() == 3, "a package's status record split or swallowed a neighbour");
    fuzz::require(paragraphs[0].second == neighbour && paragraphs[2].second == neighbour,
                  "a neighbouring status record changed");
    // The installer refuses a package name over several lines before it writes any record.
    const std::string package = control.field("Package");
    if (package.find('\n') == std::string::npos)
        fuzz::require(paragraphs[1].first == package, "the status record names another package");

    const auto back = readControlText(paragraphs[1].second);
    fuzz::require(!back.error, "a status record the installer wrote does not read back");
    fuzz::require(sameFieldsBesidesStatus(back.control, control), "a status record reads back with other fields");
    return 0;
}
