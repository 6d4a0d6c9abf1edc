#pragma once

// What the user can see in a window, and where to put a finger to touch it.
//
// A view is visible when neither it nor an ancestor is hidden or transparent (alpha below 0.01), when some of it
// lies inside the window and inside every ancestor that clips, and when it is not covered: no view painted after
// it and not inside it lies over the centre of its visible part with a mostly opaque background or a blur (the
// editor's sheet over the dashboard, the navigation bar over rows scrolled under it). Views that only draw text
// or images over it, or that are clear, leave it visible, as the eye would.
//
// A view shows a text when it is a label with that text (button titles, table rows, navigation titles and card
// titles are labels too) or a text field holding it; it shows a system symbol NAME when it is an image view whose
// image came from systemImageNamed(NAME), and an image file ("done.png") when it shows an image read from a file
// of that name (the button's own image view counts for the button).

#include "platform/core/Object.h"
#include "platform/gfx/Geometry.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class UIView;

namespace sim::scenario {

struct VisibleView {
    Ref<UIView> view;
    CGRect rect;  // its visible part, in window coordinates
    CGPoint centre() const { return CGPointMake(rect.midX(), rect.midY()); }
};

// Every visible view of the window, back to front (drawing order). Empty for a null window.
std::vector<VisibleView> visibleViews(const Ref<UIView>& window);

// The texts visible views show, back to front, without repeats.
std::vector<std::string> visibleTexts(const Ref<UIView>& window);

// The front-most visible view that shows `target` as text, as a system symbol's name or as an image file's name;
// nothing when none does.
std::optional<VisibleView> findTarget(const Ref<UIView>& window, std::string_view target);

// The front-most visible view of class `className` or a subclass (by the run-time's class names), or nothing.
std::optional<VisibleView> findFrontmostOfClass(const Ref<UIView>& window, std::string_view className);

// The control of class `className` (or a subclass) that belongs to what `target` names, as a person reads a row:
// the target's view itself when it is one, else the front-most visible one inside the nearest ancestor of it that
// holds one, looking no further out than the row, sheet or bar the target is in (the first scrolling view or the
// window stops the search). The target "bar" names the front-most navigation bar, for the controls in it. Nothing
// when the target is not on screen or has no such control.
std::optional<VisibleView> findControlFor(const Ref<UIView>& window, std::string_view target,
                                          std::string_view className);

// The text a view shows (label text, text field text), or nothing.
std::optional<std::string> shownText(const Ref<UIView>& view);
// The system symbol a view shows, or nothing.
std::optional<std::string> shownSymbol(const Ref<UIView>& view);
// The file name (last path component) of the image file a view shows, or nothing.
std::optional<std::string> shownImageFile(const Ref<UIView>& view);

}  // namespace sim::scenario
