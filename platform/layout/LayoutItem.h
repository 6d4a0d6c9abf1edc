#pragma once

// What the constraint solver sees of the things it places. The layout layer knows no views: the view tree offers
// its views as items and its constraints as relations, and the engine (LayoutEngine.h) only reads them, solves,
// and hands each placed item its frame back.
//
// An item is borrowed for one solve: the caller keeps the tree alive while LayoutEngine::solveAndApply runs, so the
// pointers handed out here stay valid for that call and are never kept after it.

#include "platform/gfx/Geometry.h"

#include <cstddef>
#include <cstdint>

namespace platform::layout {

class LayoutItem;

// One active equality  first.firstAttribute = multiplier × second.secondAttribute + constant, held by its first
// item. Attributes are NSLayoutAttribute numbers (LayoutAttribute.h); an unknown number contributes nothing.
class LayoutRelation {
public:
    virtual ~LayoutRelation() = default;
    // Null when the item was released; a relation without a first item is skipped.
    virtual LayoutItem* firstLayoutItem() const = 0;
    // Null for a constant relation (first = constant), and when the item was released.
    virtual LayoutItem* secondLayoutItem() const = 0;
    virtual long firstAttribute() const = 0;
    virtual long secondAttribute() const = 0;
    virtual CGFloat multiplier() const = 0;
    virtual CGFloat constant() const = 0;
    // 1…1000; stronger relations are taken first.
    virtual float priority() const = 0;
    // Among relations of equal priority, the earlier activated is taken first.
    virtual std::uint64_t activationOrder() const = 0;
    // The engine's verdict for this pass: true when the relation contradicted stronger or earlier ones and was
    // dropped. Every relation of the tree is told, false included, at the start of each solve.
    virtual void setDroppedInLastLayout(bool dropped) = 0;
};

class LayoutItem {
public:
    virtual ~LayoutItem() = default;

    // The item's frame in its parent's coordinates (for the root, only its size matters).
    virtual CGRect layoutFrame() const = 0;
    // The size of the item's own coordinate space (its bounds), which differs from the frame's under a transform.
    virtual CGSize layoutSize() const = 0;
    // True when the solution decides the item's frame; false when the frame set on it holds and the item is only a
    // fixed reference for others.
    virtual bool isPlacedByConstraints() const = 0;
    // The size the item wants from its content; a negative dimension means it has none in that direction.
    virtual CGSize intrinsicLayoutSize() = 0;

    // Children in order; the engine walks the whole tree below the root.
    virtual std::size_t layoutChildCount() const = 0;
    virtual LayoutItem& layoutChild(std::size_t index) const = 0;
    // The active relations this item holds as their first item, in activation order.
    virtual std::size_t layoutRelationCount() const = 0;
    virtual LayoutRelation& layoutRelation(std::size_t index) const = 0;

    // Gives a placed item the solved frame, in its parent's coordinates. Answers whether anything changed.
    virtual bool applyLayoutFrame(CGRect frame) = 0;
};

}  // namespace platform::layout
