#include "platform/gfx/DisplayScale.h"

#include <atomic>

namespace platform {
namespace {
std::atomic<double> g_scale{2.0};
}

double displayScale() { return g_scale.load(); }
void setDisplayScale(double scale) { g_scale.store(scale < 1 ? 1.0 : scale); }

}  // namespace platform
