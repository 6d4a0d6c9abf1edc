#pragma once

// Geometry values, in points, as UIKit and CoreGraphics use them. Values by value; no invariants are enforced
// (a rectangle may have a negative size, as on the device).

#include <cmath>
#include <ostream>

using CGFloat = double;

struct CGPoint {
    CGFloat x = 0, y = 0;
    friend bool operator==(const CGPoint&, const CGPoint&) = default;
};

struct CGSize {
    CGFloat width = 0, height = 0;
    friend bool operator==(const CGSize&, const CGSize&) = default;
};

struct CGRect {
    CGPoint origin;
    CGSize size;

    CGFloat minX() const { return origin.x; }
    CGFloat minY() const { return origin.y; }
    CGFloat maxX() const { return origin.x + size.width; }
    CGFloat maxY() const { return origin.y + size.height; }
    CGFloat midX() const { return origin.x + size.width / 2; }
    CGFloat midY() const { return origin.y + size.height / 2; }
    CGFloat width() const { return size.width; }
    CGFloat height() const { return size.height; }
    bool isEmpty() const { return size.width <= 0 || size.height <= 0; }
    // Half-open on the far edges, as CGRectContainsPoint.
    bool contains(CGPoint p) const { return p.x >= minX() && p.x < maxX() && p.y >= minY() && p.y < maxY(); }
    CGRect offsetBy(CGFloat dx, CGFloat dy) const { return {{origin.x + dx, origin.y + dy}, size}; }
    CGRect insetBy(CGFloat dx, CGFloat dy) const {
        return {{origin.x + dx, origin.y + dy}, {size.width - 2 * dx, size.height - 2 * dy}};
    }
    CGRect intersection(const CGRect& o) const {
        CGFloat x0 = std::fmax(minX(), o.minX()), y0 = std::fmax(minY(), o.minY());
        CGFloat x1 = std::fmin(maxX(), o.maxX()), y1 = std::fmin(maxY(), o.maxY());
        if (x1 <= x0 || y1 <= y0) return {};
        return {{x0, y0}, {x1 - x0, y1 - y0}};
    }
    friend bool operator==(const CGRect&, const CGRect&) = default;
};

inline CGRect CGRectMake(CGFloat x, CGFloat y, CGFloat w, CGFloat h) { return {{x, y}, {w, h}}; }
inline CGPoint CGPointMake(CGFloat x, CGFloat y) { return {x, y}; }
inline CGSize CGSizeMake(CGFloat w, CGFloat h) { return {w, h}; }
inline constexpr CGRect CGRectZero{};

struct UIEdgeInsets {
    CGFloat top = 0, left = 0, bottom = 0, right = 0;
    friend bool operator==(const UIEdgeInsets&, const UIEdgeInsets&) = default;
};
inline UIEdgeInsets UIEdgeInsetsMake(CGFloat t, CGFloat l, CGFloat b, CGFloat r) { return {t, l, b, r}; }

// An affine transform [a b 0; c d 0; tx ty 1], applied as CoreGraphics does: x' = a x + c y + tx.
struct CGAffineTransform {
    CGFloat a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;
    bool isIdentity() const { return a == 1 && b == 0 && c == 0 && d == 1 && tx == 0 && ty == 0; }
    CGPoint apply(CGPoint p) const { return {a * p.x + c * p.y + tx, b * p.x + d * p.y + ty}; }
    friend bool operator==(const CGAffineTransform&, const CGAffineTransform&) = default;
};
inline constexpr CGAffineTransform CGAffineTransformIdentity{};
inline CGAffineTransform CGAffineTransformMakeRotation(CGFloat angle) {
    return {std::cos(angle), std::sin(angle), -std::sin(angle), std::cos(angle), 0, 0};
}

inline std::ostream& operator<<(std::ostream& os, const CGPoint& p) { return os << "(" << p.x << ", " << p.y << ")"; }
inline std::ostream& operator<<(std::ostream& os, const CGSize& s) {
    return os << "(" << s.width << " x " << s.height << ")";
}
inline std::ostream& operator<<(std::ostream& os, const CGRect& r) {
    return os << "(" << r.origin.x << ", " << r.origin.y << ", " << r.size.width << ", " << r.size.height << ")";
}
