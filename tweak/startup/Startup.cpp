#include "tweak/startup/Startup.h"

namespace vantile {
void runStartupConstructors() {}
}  // namespace vantile
