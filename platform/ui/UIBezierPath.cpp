#include "platform/ui/UIBezierPath.h"

#include "platform/core/Runtime.h"

#include <algorithm>
#include <cmath>
#include <limits>

VT_REGISTER_CLASS(UIBezierPath)

namespace {
// Control-point distance of a cubic that approximates a quarter ellipse.
constexpr CGFloat kKappa = 0.5522847498307936;
}

Ref<UIBezierPath> UIBezierPath::bezierPath() { return alloc<UIBezierPath>(); }

Ref<UIBezierPath> UIBezierPath::bezierPathWithRect(CGRect r) {
    auto p = bezierPath();
    p->moveToPoint({r.minX(), r.minY()});
    p->addLineToPoint({r.maxX(), r.minY()});
    p->addLineToPoint({r.maxX(), r.maxY()});
    p->addLineToPoint({r.minX(), r.maxY()});
    p->closePath();
    return p;
}

Ref<UIBezierPath> UIBezierPath::bezierPathWithOvalInRect(CGRect r) {
    auto p = bezierPath();
    CGFloat rx = r.width() / 2, ry = r.height() / 2, cx = r.midX(), cy = r.midY();
    CGFloat kx = rx * kKappa, ky = ry * kKappa;
    p->moveToPoint({cx + rx, cy});
    p->addCurveToPointControlPoint1ControlPoint2({cx, cy + ry}, {cx + rx, cy + ky}, {cx + kx, cy + ry});
    p->addCurveToPointControlPoint1ControlPoint2({cx - rx, cy}, {cx - kx, cy + ry}, {cx - rx, cy + ky});
    p->addCurveToPointControlPoint1ControlPoint2({cx, cy - ry}, {cx - rx, cy - ky}, {cx - kx, cy - ry});
    p->addCurveToPointControlPoint1ControlPoint2({cx + rx, cy}, {cx + kx, cy - ry}, {cx + rx, cy - ky});
    p->closePath();
    return p;
}

Ref<UIBezierPath> UIBezierPath::bezierPathWithRoundedRectCornerRadius(CGRect rect, CGFloat radius) {
    return bezierPathWithRoundedRectByRoundingCornersCornerRadii(rect, UIRectCornerAllCorners, {radius, radius});
}

Ref<UIBezierPath> UIBezierPath::bezierPathWithRoundedRectByRoundingCornersCornerRadii(CGRect r, unsigned long corners,
                                                                                       CGSize radii) {
    auto p = bezierPath();
    p->m_rect = r;
    p->m_corners = corners & UIRectCornerAllCorners;
    p->m_radii = radii;
    CGFloat rx = std::clamp(radii.width, CGFloat(0), std::fabs(r.width()) / 2);
    CGFloat ry = std::clamp(radii.height, CGFloat(0), std::fabs(r.height()) / 2);
    auto has = [&](unsigned long c) { return (corners & c) != 0 && rx > 0 && ry > 0; };
    CGFloat kx = rx * kKappa, ky = ry * kKappa;
    CGFloat x0 = r.minX(), y0 = r.minY(), x1 = r.maxX(), y1 = r.maxY();

    // Clockwise from the top-left corner, as UIKit builds it.
    p->moveToPoint({has(UIRectCornerTopLeft) ? x0 + rx : x0, y0});
    if (has(UIRectCornerTopRight)) {
        p->addLineToPoint({x1 - rx, y0});
        p->addCurveToPointControlPoint1ControlPoint2({x1, y0 + ry}, {x1 - rx + kx, y0}, {x1, y0 + ry - ky});
    } else {
        p->addLineToPoint({x1, y0});
    }
    if (has(UIRectCornerBottomRight)) {
        p->addLineToPoint({x1, y1 - ry});
        p->addCurveToPointControlPoint1ControlPoint2({x1 - rx, y1}, {x1, y1 - ry + ky}, {x1 - rx + kx, y1});
    } else {
        p->addLineToPoint({x1, y1});
    }
    if (has(UIRectCornerBottomLeft)) {
        p->addLineToPoint({x0 + rx, y1});
        p->addCurveToPointControlPoint1ControlPoint2({x0, y1 - ry}, {x0 + rx - kx, y1}, {x0, y1 - ry + ky});
    } else {
        p->addLineToPoint({x0, y1});
    }
    if (has(UIRectCornerTopLeft)) {
        p->addLineToPoint({x0, y0 + ry});
        p->addCurveToPointControlPoint1ControlPoint2({x0 + rx, y0}, {x0, y0 + ry - ky}, {x0 + rx - kx, y0});
    }
    p->closePath();
    return p;
}

void UIBezierPath::moveToPoint(CGPoint p) { m_elements.push_back({UIBezierPathElement::Kind::MoveTo, {p, {}, {}}}); }

void UIBezierPath::addLineToPoint(CGPoint p) {
    m_elements.push_back({UIBezierPathElement::Kind::LineTo, {p, {}, {}}});
}

void UIBezierPath::addCurveToPointControlPoint1ControlPoint2(CGPoint end, CGPoint c1, CGPoint c2) {
    m_elements.push_back({UIBezierPathElement::Kind::CurveTo, {c1, c2, end}});
}

void UIBezierPath::addArcWithCenterRadiusStartAngleEndAngleClockwise(CGPoint c, CGFloat radius, CGFloat start,
                                                                     CGFloat end, bool clockwise) {
    // In y-down coordinates "clockwise" means increasing angles.
    CGFloat sweep = end - start;
    if (clockwise && sweep < 0) sweep += 2 * M_PI * std::ceil(-sweep / (2 * M_PI));
    if (!clockwise && sweep > 0) sweep -= 2 * M_PI * std::ceil(sweep / (2 * M_PI));
    CGPoint first{c.x + radius * std::cos(start), c.y + radius * std::sin(start)};
    if (m_elements.empty()) moveToPoint(first);
    else addLineToPoint(first);
    int pieces = std::max(1, static_cast<int>(std::ceil(std::fabs(sweep) / (M_PI / 2))));
    CGFloat step = sweep / pieces;
    CGFloat k = 4.0 / 3.0 * std::tan(step / 4);
    for (int i = 0; i < pieces; ++i) {
        CGFloat a0 = start + step * i, a1 = a0 + step;
        CGPoint p0{c.x + radius * std::cos(a0), c.y + radius * std::sin(a0)};
        CGPoint p1{c.x + radius * std::cos(a1), c.y + radius * std::sin(a1)};
        CGPoint c1{p0.x - k * radius * std::sin(a0), p0.y + k * radius * std::cos(a0)};
        CGPoint c2{p1.x + k * radius * std::sin(a1), p1.y - k * radius * std::cos(a1)};
        addCurveToPointControlPoint1ControlPoint2(p1, c1, c2);
    }
}

void UIBezierPath::closePath() { m_elements.push_back({UIBezierPathElement::Kind::Close, {}}); }

CGRect UIBezierPath::bounds() const {
    if (m_elements.empty()) return CGRectZero;
    CGFloat inf = std::numeric_limits<CGFloat>::infinity();
    CGFloat x0 = inf, y0 = inf, x1 = -inf, y1 = -inf;
    for (const auto& e : m_elements) {
        int n = e.kind == UIBezierPathElement::Kind::CurveTo ? 3 : e.kind == UIBezierPathElement::Kind::Close ? 0 : 1;
        for (int i = 0; i < n; ++i) {
            x0 = std::min(x0, e.points[i].x), y0 = std::min(y0, e.points[i].y);
            x1 = std::max(x1, e.points[i].x), y1 = std::max(y1, e.points[i].y);
        }
    }
    if (x0 > x1) return CGRectZero;
    return {{x0, y0}, {x1 - x0, y1 - y0}};
}

bool UIBezierPath::containsPoint(CGPoint p) const {
    // Flatten curves into short lines and count the winding number around p.
    std::vector<std::vector<CGPoint>> polygons;
    CGPoint current{};
    for (const auto& e : m_elements) {
        switch (e.kind) {
        case UIBezierPathElement::Kind::MoveTo:
            polygons.push_back({e.points[0]});
            current = e.points[0];
            break;
        case UIBezierPathElement::Kind::LineTo:
            if (polygons.empty()) polygons.push_back({current});
            polygons.back().push_back(e.points[0]);
            current = e.points[0];
            break;
        case UIBezierPathElement::Kind::CurveTo:
            if (polygons.empty()) polygons.push_back({current});
            for (int i = 1; i <= 16; ++i) {
                CGFloat t = i / 16.0, u = 1 - t;
                CGPoint q{u * u * u * current.x + 3 * u * u * t * e.points[0].x + 3 * u * t * t * e.points[1].x +
                              t * t * t * e.points[2].x,
                          u * u * u * current.y + 3 * u * u * t * e.points[0].y + 3 * u * t * t * e.points[1].y +
                              t * t * t * e.points[2].y};
                polygons.back().push_back(q);
            }
            current = e.points[2];
            break;
        case UIBezierPathElement::Kind::Close:
            break;
        }
    }
    int winding = 0;
    for (const auto& poly : polygons) {
        for (std::size_t i = 0; i < poly.size(); ++i) {
            CGPoint a = poly[i], b = poly[(i + 1) % poly.size()];
            CGFloat cross = (b.x - a.x) * (p.y - a.y) - (p.x - a.x) * (b.y - a.y);
            if (a.y <= p.y) {
                if (b.y > p.y && cross > 0) ++winding;
            } else if (b.y <= p.y && cross < 0) {
                --winding;
            }
        }
    }
    return winding != 0;
}
