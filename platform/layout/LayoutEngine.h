#pragma once

// The constraint half of the layout pass: builds one linear system for a tree of items (LayoutItem.h; the view tree
// is one) and gives the items that constraints place their frames.
//
// Every item of the tree that takes part (an item placed by constraints, an item named by an active relation, and
// their ancestors) has four variables: x, y, width and height in the coordinates of
// the tree's root, adding up frame origins (bounds origins and transforms are ignored, so a scroll view's subviews
// are constrained in content coordinates, as on the device). In order:
//   1. the root is fixed at (0, 0, its size); frame-set items are fixed relative to their parent by their current
//      frame (required);
//   2. the active relations of the tree by priority (higher first), then activation order (earlier first); one
//      naming an item outside the tree is skipped; a contradictory one is dropped for this pass;
//   3. for placed items, their own size (intrinsic width and height, where they have one);
//   4. what is still free keeps the item's current value: width and height first, then x and y.
// Each step's equation that contradicts earlier ones is dropped, so steps 3 and 4 only fill what 1 and 2 leave
// open. Then each placed item gets its frame relative to its parent (LayoutItem::applyLayoutFrame).

#include "platform/layout/LayoutItem.h"

#include <cstddef>

namespace platform::layout {

class LayoutEngine {
public:
    // Solves and applies the relations of the tree rooted at `root`. Answers the number of items whose frame
    // changed; 0 when no item of the tree takes part.
    static std::size_t solveAndApply(LayoutItem& root);
    // Constraints dropped as contradictory in the last solve.
    static std::size_t lastDroppedCount();
    // Variables in the last solve (4 per participating item).
    static std::size_t lastVariableCount();
};

}  // namespace platform::layout
