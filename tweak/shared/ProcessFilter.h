#pragma once

// The test the regrouping and root-page constructors apply before touching anything: the process's first argument
// must name an application ("/Application") or, failing that, SpringBoard ("SpringBoard.app").

#include <optional>
#include <string_view>

namespace vantile {

bool processNameQualifies(std::string_view firstArgument);
// The test applied to this process's own first argument; a process without arguments does not qualify.
bool processQualifies();

// Noted by the filtering constructors, so that start-up can report whether the filter let the process through.
void noteProcessFilter(bool qualified);
// The last noted verdict; nothing when no filtering constructor has run in this process.
std::optional<bool> notedProcessFilter();

}  // namespace vantile
