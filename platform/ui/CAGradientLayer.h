#pragma once

// An axial gradient filling the layer's bounds. Points are in the unit square of the layer ((0,0) top left,
// (1,1) bottom right); locations, when empty, spread the colours evenly.

#include "platform/ui/CALayer.h"

class UIImage;

class CAGradientLayer : public CALayer {
    VT_OBJECT(CAGradientLayer, CALayer)
public:
    static Ref<CAGradientLayer> layer();

    const std::vector<CGColorRef>& colors() const { return m_colors; }
    void setColors(std::vector<CGColorRef> colors) { m_colors = std::move(colors); }
    const std::vector<double>& locations() const { return m_locations; }
    void setLocations(std::vector<double> locations) { m_locations = std::move(locations); }
    // Default (0.5, 0) → (0.5, 1): top to bottom.
    CGPoint startPoint() const { return m_start; }
    void setStartPoint(CGPoint p) { m_start = p; }
    CGPoint endPoint() const { return m_end; }
    void setEndPoint(CGPoint p) { m_end = p; }

    // The gradient drawn over (0, 0, size) as a new image at the screen's scale, which is what rendering the layer
    // into an image context gives on the device. Nothing for an empty size.
    Ref<UIImage> renderedImageOfSize(CGSize size) const;

private:
    std::vector<CGColorRef> m_colors;
    std::vector<double> m_locations;
    CGPoint m_start{0.5, 0};
    CGPoint m_end{0.5, 1};
};
