#pragma once

// `vantile-sim phone`: one boot of the phone for `vantile-sim serve`, which starts it and speaks to it over a
// socket (PhoneSession.h). Not for people: the usage text leaves it out.
//
//   vantile-sim phone --channel FD --root DIR --profile NAME [--clock SECONDS] [--seed N] [--setup FILE]

#include <string>
#include <vector>

namespace sim::serve {

// The exit status: 0 when the server said quit, went away or the phone resprung; 1 a damaged channel or a boot
// that failed; 2 bad arguments.
int runPhoneCommand(const std::vector<std::string>& arguments);

}  // namespace sim::serve
