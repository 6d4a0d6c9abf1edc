#pragma once

// A path as a list of drawing elements, readable by tests and replayable by the renderer. Rounded rectangles also
// keep the rectangle, corners and radii they were made from, so a test can read "top-left and top-right, 30 x 30".

#include "platform/core/Object.h"
#include "platform/gfx/Geometry.h"

#include <vector>

// UIRectCorner bits.
enum UIRectCorner : unsigned long {
    UIRectCornerTopLeft = 1,
    UIRectCornerTopRight = 2,
    UIRectCornerBottomLeft = 4,
    UIRectCornerBottomRight = 8,
    UIRectCornerAllCorners = 15,
};

struct UIBezierPathElement {
    enum class Kind { MoveTo, LineTo, CurveTo, Close } kind;
    // MoveTo/LineTo: points[0]; CurveTo: control 1, control 2, end.
    CGPoint points[3];
};

class UIBezierPath : public NSObject {
    VT_OBJECT(UIBezierPath, NSObject)
public:
    static Ref<UIBezierPath> bezierPath();
    static Ref<UIBezierPath> bezierPathWithRect(CGRect rect);
    static Ref<UIBezierPath> bezierPathWithOvalInRect(CGRect rect);
    static Ref<UIBezierPath> bezierPathWithRoundedRectCornerRadius(CGRect rect, CGFloat radius);
    // Rounds only `corners` with elliptical radii (clamped to half the rectangle's sides); the other corners are
    // square.
    static Ref<UIBezierPath> bezierPathWithRoundedRectByRoundingCornersCornerRadii(CGRect rect, unsigned long corners,
                                                                                    CGSize radii);

    void moveToPoint(CGPoint p);
    void addLineToPoint(CGPoint p);
    void addCurveToPointControlPoint1ControlPoint2(CGPoint end, CGPoint c1, CGPoint c2);
    // Approximated by cubic curves; angles in radians, clockwise as UIKit's y-down coordinates show it.
    void addArcWithCenterRadiusStartAngleEndAngleClockwise(CGPoint center, CGFloat radius, CGFloat start, CGFloat end,
                                                           bool clockwise);
    void closePath();

    const std::vector<UIBezierPathElement>& elements() const { return m_elements; }
    // The smallest rectangle holding every point of the elements (control points included); zero when empty.
    CGRect bounds() const;
    bool isEmpty() const { return m_elements.empty(); }
    // Even-odd-free hit test by winding number of the flattened path.
    bool containsPoint(CGPoint p) const;

    // For rounded rectangles: what they were made from. Corners 0 and radii zero for other paths.
    CGRect roundedRect() const { return m_rect; }
    unsigned long roundedCorners() const { return m_corners; }
    CGSize cornerRadii() const { return m_radii; }

    CGFloat lineWidth() const { return m_lineWidth; }
    void setLineWidth(CGFloat w) { m_lineWidth = w; }

private:
    std::vector<UIBezierPathElement> m_elements;
    CGRect m_rect;
    unsigned long m_corners = 0;
    CGSize m_radii;
    CGFloat m_lineWidth = 1;
};
