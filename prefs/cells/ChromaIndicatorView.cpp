#include "prefs/cells/ChromaIndicatorView.h"

#include "platform/core/Runtime.h"
#include "platform/gfx/GraphicsContext.h"
#include "platform/gfx/PaintColorOf.h"
#include "platform/gfx/Painter.h"
#include "platform/gfx/UIColor.h"

VT_REGISTER_CLASS(ChromaIndicatorView)

void ChromaIndicatorView::initWithFrame(CGRect frame) {
    UIView::initWithFrame(frame);
    setOpaque(false);
    setUserInteractionEnabled(false);
}

void ChromaIndicatorView::setColor(Ref<UIColor> color) {
    const bool same = m_color && color ? m_color->rgba() == color->rgba() : m_color == color;
    if (same) return;
    m_color = std::move(color);
    setNeedsDisplay();
}

void ChromaIndicatorView::drawRect(CGRect) {
    Painter* p = UIGraphicsGetCurrentContext();
    if (!p) return;
    const CGRect b = bounds();
    const CGPoint centre{b.midX(), b.midY()};
    const CGFloat r = b.midX();
    auto circle = [&](CGFloat radius) {
        return CGRectMake(centre.x - radius, centre.y - radius, 2 * radius, 2 * radius);
    };
    if (r <= 2) return;
    p->fillEllipse(circle(r - 1), platform::gfx::paintColor(m_color));
    p->strokeEllipse(circle(r - 1), PaintColor{0, 0, 0, 0.5}, 2);
    p->strokeEllipse(circle(r - 2), PaintColor::white(), 2);
}
