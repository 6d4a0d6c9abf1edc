#include "platform/gfx/GraphicsContext.h"

namespace {
thread_local Painter* g_current = nullptr;
}

Painter* UIGraphicsGetCurrentContext() { return g_current; }

namespace platform::gfx {

CurrentContextScope::CurrentContextScope(Painter* painter) : m_previous(g_current) { g_current = painter; }
CurrentContextScope::~CurrentContextScope() { g_current = m_previous; }

}  // namespace platform::gfx
