#include "platform/gfx/Appearance.h"

namespace platform {
namespace {
// Main-thread state, like everything of the interface.
int g_style = 1;
}  // namespace

int currentInterfaceStyle() { return g_style; }
void setCurrentInterfaceStyle(int style) { g_style = style; }

}  // namespace platform
