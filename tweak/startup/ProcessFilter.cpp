#include "tweak/startup/ProcessFilter.h"

#include "platform/core/NSProcessInfo.h"

namespace vantile {

bool processNameQualifies(std::string_view firstArgument) {
    return firstArgument.find("/Application") != std::string_view::npos ||
           firstArgument.find("SpringBoard.app") != std::string_view::npos;
}

bool processQualifies() {
    const auto arguments = NSProcessInfo::processInfo()->arguments();
    return !arguments.empty() && processNameQualifies(arguments.front());
}

}  // namespace vantile
