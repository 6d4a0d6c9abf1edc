#include "platform/ui/UITouch.h"

#include "platform/core/Runtime.h"

#include "platform/ui/UIView.h"

VT_REGISTER_CLASS(UITouch)

CGPoint UITouch::locationInView(const Ref<UIView>& view) const {
    if (!view) return m_location;
    return view->convertPointFromView(m_location, m_window.lock());
}

CGPoint UITouch::previousLocationInView(const Ref<UIView>& view) const {
    if (!view) return m_previous;
    return view->convertPointFromView(m_previous, m_window.lock());
}

void UITouch::moveTo(CGPoint windowPoint) {
    m_previous = m_location;
    m_location = windowPoint;
}
