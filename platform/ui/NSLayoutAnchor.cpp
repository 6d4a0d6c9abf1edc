#include "platform/ui/NSLayoutAnchor.h"

#include "platform/core/Runtime.h"
#include "platform/ui/NSLayoutConstraint.h"
#include "platform/ui/UIView.h"

#include <string>

namespace {
void requireSameAxis(long a, long b) {
    if (layoutAttributeAxis(a) != layoutAttributeAxis(b) || layoutAttributeAxis(a) < 0)
        throw platform::RuntimeError(std::string("a constraint cannot relate the ") + layoutAttributeName(a) +
                                     " anchor to the " + layoutAttributeName(b) + " anchor");
}
void requireDimension(long a, const char* what) {
    if (layoutAttributeAxis(a) != 2)
        throw platform::RuntimeError(std::string(what) + " needs a width or height anchor, not " +
                                     layoutAttributeName(a));
}
}  // namespace

Ref<NSLayoutConstraint> NSLayoutAnchor::constraintEqualToAnchor(const NSLayoutAnchor& other) const {
    return constraintEqualToAnchorConstant(other, 0);
}

Ref<NSLayoutConstraint> NSLayoutAnchor::constraintEqualToAnchorConstant(const NSLayoutAnchor& other,
                                                                        CGFloat constant) const {
    requireSameAxis(m_attribute, other.m_attribute);
    return NSLayoutConstraint::constraintWithItem(view(), m_attribute, other.view(), other.m_attribute, 1, constant);
}

Ref<NSLayoutConstraint> NSLayoutAnchor::constraintEqualToConstant(CGFloat constant) const {
    requireDimension(m_attribute, "constraintEqualToConstant:");
    return NSLayoutConstraint::constraintWithItem(view(), m_attribute, nullptr, NSLayoutAttributeNotAnAttribute, 1,
                                                  constant);
}

Ref<NSLayoutConstraint> NSLayoutAnchor::constraintEqualToAnchorMultiplier(const NSLayoutAnchor& other,
                                                                          CGFloat multiplier) const {
    return constraintEqualToAnchorMultiplierConstant(other, multiplier, 0);
}

Ref<NSLayoutConstraint> NSLayoutAnchor::constraintEqualToAnchorMultiplierConstant(const NSLayoutAnchor& other,
                                                                                  CGFloat multiplier,
                                                                                  CGFloat constant) const {
    requireDimension(m_attribute, "a multiplier");
    requireDimension(other.m_attribute, "a multiplier");
    return NSLayoutConstraint::constraintWithItem(view(), m_attribute, other.view(), other.m_attribute, multiplier,
                                                  constant);
}
