#pragma once

// A colour as the painter takes it: straight (not premultiplied) components 0..1 in device RGB. Dynamic colours
// are resolved to one of these before they reach the painter.

#include <ostream>

struct PaintColor {
    double r = 0, g = 0, b = 0, a = 0;

    bool isClear() const { return a <= 0; }
    PaintColor withAlpha(double alpha) const { return {r, g, b, alpha}; }
    friend bool operator==(const PaintColor&, const PaintColor&) = default;

    static constexpr PaintColor black() { return {0, 0, 0, 1}; }
    static constexpr PaintColor white() { return {1, 1, 1, 1}; }
    static constexpr PaintColor clear() { return {0, 0, 0, 0}; }
};

inline std::ostream& operator<<(std::ostream& os, const PaintColor& c) {
    return os << "rgba(" << c.r << ", " << c.g << ", " << c.b << ", " << c.a << ")";
}
