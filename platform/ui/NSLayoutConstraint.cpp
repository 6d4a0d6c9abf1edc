#include "platform/ui/NSLayoutConstraint.h"

#include "platform/core/Runtime.h"
#include "platform/ui/UIView.h"

#include <sstream>

VT_REGISTER_CLASS(NSLayoutConstraint)

namespace {
std::uint64_t g_activationCounter = 0;
}

Ref<NSLayoutConstraint> NSLayoutConstraint::constraintWithItem(const Ref<UIView>& first, long firstAttribute,
                                                               const Ref<UIView>& second, long secondAttribute,
                                                               CGFloat multiplier, CGFloat constant) {
    auto c = alloc<NSLayoutConstraint>();
    c->m_first = first;
    c->m_second = second;
    c->m_firstAttribute = firstAttribute;
    c->m_secondAttribute = second ? secondAttribute : NSLayoutAttributeNotAnAttribute;
    c->m_multiplier = multiplier;
    c->m_constant = constant;
    return c;
}

void NSLayoutConstraint::activateConstraints(const std::vector<Ref<NSLayoutConstraint>>& constraints) {
    for (const auto& c : constraints)
        if (c) c->setActive(true);
}

void NSLayoutConstraint::deactivateConstraints(const std::vector<Ref<NSLayoutConstraint>>& constraints) {
    for (const auto& c : constraints)
        if (c) c->setActive(false);
}

void NSLayoutConstraint::setActive(bool active) {
    if (active == m_active) return;
    auto first = firstItem();
    if (!first) return;
    m_active = active;
    if (active) {
        m_order = ++g_activationCounter;
        first->installConstraint(self<NSLayoutConstraint>());
    } else {
        m_dropped = false;
        first->uninstallConstraint(this);
    }
    if (auto second = secondItem()) second->setNeedsLayout();
}

void NSLayoutConstraint::setConstant(CGFloat constant) {
    if (constant == m_constant) return;
    m_constant = constant;
    if (m_active) {
        UIView::bumpLayoutGeneration();
        if (auto first = firstItem()) first->setNeedsLayout();
    }
}

void NSLayoutConstraint::setPriority(UILayoutPriority priority) {
    m_priority = priority < 1 ? 1 : priority > 1000 ? 1000 : priority;
    if (m_active) UIView::bumpLayoutGeneration();
}

std::string NSLayoutConstraint::description() const {
    std::ostringstream out;
    auto first = firstItem();
    auto second = secondItem();
    out << "<NSLayoutConstraint " << (first ? first->className() : "nil") << "." << layoutAttributeName(m_firstAttribute)
        << " == ";
    if (second) {
        if (m_multiplier != 1) out << m_multiplier << " * ";
        out << second->className() << "." << layoutAttributeName(m_secondAttribute);
        if (m_constant != 0) out << (m_constant > 0 ? " + " : " - ") << (m_constant > 0 ? m_constant : -m_constant);
    } else {
        out << m_constant;
    }
    if (m_priority != UILayoutPriorityRequired) out << " @" << m_priority;
    out << ">";
    return out.str();
}

// The views are held weakly; while a solve runs the tree holds them, so the raw item outlives the lock.
platform::layout::LayoutItem* NSLayoutConstraint::firstLayoutItem() const { return m_first.lock().get(); }
platform::layout::LayoutItem* NSLayoutConstraint::secondLayoutItem() const { return m_second.lock().get(); }
