#pragma once

// One linear equality between two view attributes (or one attribute and a constant):
//     first.attribute = multiplier × second.attribute + constant
// Items are held weakly; an active constraint is kept alive by its first item's view. Priorities run 1…1000
// (1000 = required). Only equalities exist in the stand-in, because that is what the system uses.
//
// Conflicts: the layout solves constraints in order of priority (higher first), then of activation (earlier
// first), and a constraint that contradicts those already taken is dropped for that pass (counted, see
// LayoutEngine::lastDroppedCount) — never a crash. See LayoutEngine.h for under-determined values.

#include "platform/core/Object.h"
#include "platform/gfx/Geometry.h"
#include "platform/layout/LayoutItem.h"
#include "platform/ui/NSLayoutAnchor.h"

#include <cstdint>
#include <string>
#include <vector>

using UILayoutPriority = float;
inline constexpr UILayoutPriority UILayoutPriorityRequired = 1000;
inline constexpr UILayoutPriority UILayoutPriorityDefaultHigh = 750;
inline constexpr UILayoutPriority UILayoutPriorityDefaultLow = 250;

// A constraint is the solver's relation (platform/layout/LayoutItem.h) between the items its views are.
class NSLayoutConstraint : public NSObject, public platform::layout::LayoutRelation {
    VT_OBJECT(NSLayoutConstraint, NSObject)
public:
    // The general form. `second` may be null (a constant constraint; attribute NotAnAttribute).
    static Ref<NSLayoutConstraint> constraintWithItem(const Ref<UIView>& first, long firstAttribute,
                                                      const Ref<UIView>& second, long secondAttribute,
                                                      CGFloat multiplier, CGFloat constant);
    // Activates or deactivates every constraint of the list.
    static void activateConstraints(const std::vector<Ref<NSLayoutConstraint>>& constraints);
    static void deactivateConstraints(const std::vector<Ref<NSLayoutConstraint>>& constraints);

    bool isActive() const { return m_active; }
    // Activating installs the constraint on its first item and marks the tree for layout; a constraint whose
    // first item was released does nothing.
    void setActive(bool active);

    Ref<UIView> firstItem() const { return m_first.lock(); }
    Ref<UIView> secondItem() const { return m_second.lock(); }
    long firstAttribute() const override { return m_firstAttribute; }
    long secondAttribute() const override { return m_secondAttribute; }
    CGFloat multiplier() const override { return m_multiplier; }
    CGFloat constant() const override { return m_constant; }
    // Changing the constant of an active constraint marks the tree for layout.
    void setConstant(CGFloat constant);
    UILayoutPriority priority() const override { return m_priority; }
    void setPriority(UILayoutPriority priority);
    // The order of activation (process-wide); 0 while never active.
    std::uint64_t activationOrder() const override { return m_order; }
    // True when the last layout pass dropped this constraint as contradictory.
    bool wasDroppedInLastLayout() const { return m_dropped; }
    void setDroppedInLastLayout(bool d) override { m_dropped = d; }
    const std::string& identifier() const { return m_identifier; }
    void setIdentifier(std::string id) { m_identifier = std::move(id); }

    std::string description() const override;

private:
    platform::layout::LayoutItem* firstLayoutItem() const override;
    platform::layout::LayoutItem* secondLayoutItem() const override;

    Weak<UIView> m_first, m_second;
    long m_firstAttribute = 0, m_secondAttribute = 0;
    CGFloat m_multiplier = 1, m_constant = 0;
    UILayoutPriority m_priority = UILayoutPriorityRequired;
    std::uint64_t m_order = 0;
    bool m_active = false;
    bool m_dropped = false;
    std::string m_identifier;
};
