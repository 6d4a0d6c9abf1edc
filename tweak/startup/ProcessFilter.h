#pragma once

// The test the regrouping and root-page constructors apply before touching anything: the process's first argument
// must name an application ("/Application") or, failing that, SpringBoard ("SpringBoard.app").

#include <string_view>

namespace vantile {

bool processNameQualifies(std::string_view firstArgument);
// The test applied to this process's own first argument; a process without arguments does not qualify.
bool processQualifies();

}  // namespace vantile
