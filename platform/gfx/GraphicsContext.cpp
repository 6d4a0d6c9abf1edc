#include "platform/gfx/GraphicsContext.h"

namespace {
thread_local Painter* g_currentPainter = nullptr;
}

Painter* UIGraphicsGetCurrentContext() { return g_currentPainter; }

namespace platform::gfx {

CurrentContextScope::CurrentContextScope(Painter* painter) : m_previous(g_currentPainter) { g_currentPainter = painter; }
CurrentContextScope::~CurrentContextScope() { g_currentPainter = m_previous; }

}  // namespace platform::gfx
