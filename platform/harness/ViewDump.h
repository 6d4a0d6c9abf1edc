#pragma once

// The JSON dump of a view tree, the readable twin of a rendering. The format is documented in docs/view-dump.md;
// the layout pass runs first, so frames are those of the screen.

#include "platform/ui/UIView.h"

#include <string>

class JSONWriter;

namespace platform::harness {

// The whole document for `root` (normally a window): the screen, then the tree. "" for a null root.
std::string dumpViewTree(const Ref<UIView>& root);
// One view and its subtree as a JSON object, frames in `root`'s coordinates.
void dumpView(JSONWriter& writer, const Ref<UIView>& view, const Ref<UIView>& root);

}  // namespace platform::harness
