#pragma once

// A layer that fills (and optionally strokes) a path. As a mask, the filled area is what stays visible.

#include "platform/ui/CALayer.h"
#include "platform/ui/UIBezierPath.h"

class CAShapeLayer : public CALayer {
    VT_OBJECT(CAShapeLayer, CALayer)
public:
    static Ref<CAShapeLayer> layer();

    // Null when no path was set (a mask without a path hides everything, as on the device).
    const Ref<UIBezierPath>& path() const { return m_path; }
    void setPath(Ref<UIBezierPath> path) { m_path = std::move(path); }
    // Opaque black by default when null.
    const CGColorRef& fillColor() const { return m_fillColor; }
    void setFillColor(CGColorRef c) { m_fillColor = std::move(c); }
    const CGColorRef& strokeColor() const { return m_strokeColor; }
    void setStrokeColor(CGColorRef c) { m_strokeColor = std::move(c); }
    CGFloat lineWidth() const { return m_lineWidth; }
    void setLineWidth(CGFloat w) { m_lineWidth = w; }

private:
    Ref<UIBezierPath> m_path;
    CGColorRef m_fillColor;
    CGColorRef m_strokeColor;
    CGFloat m_lineWidth = 1;
};
