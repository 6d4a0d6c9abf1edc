#pragma once

// The constraint half of the layout pass: builds one linear system for a view tree and gives constrained views
// their frames.
//
// Every view of the tree that takes part (a view with translatesAutoresizingMaskIntoConstraints off, a view named
// by an active constraint, and their ancestors) has four variables: x, y, width and height in the coordinates of
// the tree's root, adding up frame origins (bounds origins and transforms are ignored, so a scroll view's subviews
// are constrained in content coordinates, as on the device). In order:
//   1. the root is fixed at (0, 0, its bounds size); frame-set views are fixed relative to their superview by their
//      current frame (required);
//   2. the active constraints of the tree by priority (higher first), then activation order (earlier first); one
//      naming a view outside the tree is skipped; a contradictory one is dropped for this pass;
//   3. for constrained views, their own size (intrinsic width and height, where they have one);
//   4. what is still free keeps the view's current value: width and height first, then x and y.
// Each step's equation that contradicts earlier ones is dropped, so steps 3 and 4 only fill what 1 and 2 leave
// open. Then each constrained view's frame is set (through "setFrame:") relative to its superview.

#include "platform/core/Object.h"

#include <cstddef>

class UIView;

namespace platform::layout {

class LayoutEngine {
public:
    // Solves and applies the constraints of the tree rooted at `root`. Answers the number of views whose frame
    // changed.
    static std::size_t solveAndApply(const Ref<UIView>& root);
    // Constraints dropped as contradictory in the last solve.
    static std::size_t lastDroppedCount();
    // Variables in the last solve (4 per participating view).
    static std::size_t lastVariableCount();
};

}  // namespace platform::layout
