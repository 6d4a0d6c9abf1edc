#include "platform/ui/UIActivityIndicatorView.h"

#include "platform/core/Runtime.h"
#include "platform/gfx/GraphicsContext.h"
#include "platform/gfx/PaintColorOf.h"
#include "platform/gfx/Painter.h"
#include "platform/gfx/UIColor.h"

#include <cmath>
#include <numbers>

VT_REGISTER_CLASS(UIActivityIndicatorView, [](Class c) {
    using platform::runtime::addMethod;
    addMethod<&UIActivityIndicatorView::startAnimating>(c, "startAnimating");
    addMethod<&UIActivityIndicatorView::stopAnimating>(c, "stopAnimating");
    addMethod<&UIActivityIndicatorView::isAnimating>(c, "isAnimating");
})

namespace {

constexpr int kSpokes = 12;

}  // namespace

void UIActivityIndicatorView::initWithFrame(CGRect frame) {
    UIView::initWithFrame(frame);
    setHidden(m_hidesWhenStopped && !m_animating);
}

void UIActivityIndicatorView::initWithActivityIndicatorStyle(UIActivityIndicatorViewStyle style) {
    m_style = style;
    const CGFloat side = spinnerDiameter();
    initWithFrame(CGRectMake(0, 0, side, side));
}

Ref<UIColor> UIActivityIndicatorView::color() const {
    if (m_color) return m_color;
    const bool white = m_style == UIActivityIndicatorViewStyleWhiteLarge || m_style == UIActivityIndicatorViewStyleWhite;
    return white ? UIColor::whiteColor() : UIColor::colorWithWhiteAlpha(0.5, 1);
}

void UIActivityIndicatorView::setHidesWhenStopped(bool hides) {
    m_hidesWhenStopped = hides;
    if (!m_animating) setHidden(hides);
}

void UIActivityIndicatorView::startAnimating() {
    m_animating = true;
    setHidden(false);
}

void UIActivityIndicatorView::stopAnimating() {
    m_animating = false;
    if (m_hidesWhenStopped) setHidden(true);
}

CGFloat UIActivityIndicatorView::spinnerDiameter() const {
    return m_style == UIActivityIndicatorViewStyleWhiteLarge || m_style == UIActivityIndicatorViewStyleLarge ? 37 : 20;
}

void UIActivityIndicatorView::drawRect(CGRect rect) {
    Painter* painter = UIGraphicsGetCurrentContext();
    if (!painter) return;
    const CGFloat radius = spinnerDiameter() / 2;
    const CGPoint centre{rect.midX(), rect.midY()};
    const CGFloat width = radius * 0.22;
    const auto base = platform::gfx::paintColor(color());
    // The spokes fade round the circle from the leading one, as a still frame of the spinning indicator does.
    for (int i = 0; i < kSpokes; ++i) {
        const double angle = 2 * std::numbers::pi * i / kSpokes - std::numbers::pi / 2;
        const double alpha = 0.25 + 0.75 * (kSpokes - i) / kSpokes;
        const CGPoint inner{centre.x + radius * 0.45 * std::cos(angle), centre.y + radius * 0.45 * std::sin(angle)};
        const CGPoint outer{centre.x + (radius - width / 2) * std::cos(angle),
                            centre.y + (radius - width / 2) * std::sin(angle)};
        painter->beginPath();
        painter->moveTo(inner);
        painter->lineTo(outer);
        painter->strokePath(base.withAlpha(base.a * alpha), width);
    }
}
