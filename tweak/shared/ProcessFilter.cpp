#include "tweak/shared/ProcessFilter.h"

#include "platform/core/NSProcessInfo.h"

namespace vantile {
namespace {

std::optional<bool>& noted() {
    static std::optional<bool> verdict;
    return verdict;
}

}  // namespace

bool processNameQualifies(std::string_view firstArgument) {
    return firstArgument.find("/Application") != std::string_view::npos ||
           firstArgument.find("SpringBoard.app") != std::string_view::npos;
}

bool processQualifies() {
    const auto arguments = NSProcessInfo::processInfo()->arguments();
    return !arguments.empty() && processNameQualifies(arguments.front());
}

void noteProcessFilter(bool qualified) { noted() = qualified; }

std::optional<bool> notedProcessFilter() { return noted(); }

}  // namespace vantile
