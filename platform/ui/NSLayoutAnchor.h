#pragma once

// Layout anchors: an edge, centre or dimension of a view, from which constraints are made.
//
// An anchor is a small value holding its view weakly. Constraints relate anchors of the same axis (x: leading,
// trailing, left, right, centerX; y: top, bottom, centerY) or two dimensions (width, height). Relating anchors of
// different axes, or asking a position anchor for a constant constraint, is misuse: platform::RuntimeError, as the
// device raises.

#include "platform/core/Object.h"
#include "platform/gfx/Geometry.h"
#include "platform/layout/LayoutAttribute.h"

class UIView;
class NSLayoutConstraint;

class NSLayoutAnchor {
public:
    NSLayoutAnchor() = default;
    NSLayoutAnchor(Weak<UIView> view, long attribute) : m_view(std::move(view)), m_attribute(attribute) {}

    // New, inactive constraints: self = other (+ constant), self = constant. Activate them with setActive(true).
    Ref<NSLayoutConstraint> constraintEqualToAnchor(const NSLayoutAnchor& other) const;
    Ref<NSLayoutConstraint> constraintEqualToAnchorConstant(const NSLayoutAnchor& other, CGFloat constant) const;
    // Width and height only.
    Ref<NSLayoutConstraint> constraintEqualToConstant(CGFloat constant) const;
    // Width and height only: self = multiplier × other (+ constant).
    Ref<NSLayoutConstraint> constraintEqualToAnchorMultiplier(const NSLayoutAnchor& other, CGFloat multiplier) const;
    Ref<NSLayoutConstraint> constraintEqualToAnchorMultiplierConstant(const NSLayoutAnchor& other, CGFloat multiplier,
                                                                      CGFloat constant) const;

    // Null when the view was released.
    Ref<UIView> view() const { return m_view.lock(); }
    long attribute() const { return m_attribute; }

private:
    Weak<UIView> m_view;
    long m_attribute = NSLayoutAttributeNotAnAttribute;
};
