#pragma once

// How the pane's pages dress their navigation bar: no large titles on systems that have them, and an image as
// the title view.

#include "platform/core/Object.h"

#include <string>

class NSMutableArray;
class PSListController;
class UIImage;
class UIViewController;

namespace vnt {

// From 11.0.0 on the bar stops preferring large titles and the page's item never shows one; below 11 the system
// has none and the bar is left as the host set it.
void turnOffLargeTitles(UIViewController& page);

// Makes an image view of `image` the page's title view. A null image (a missing file) gives an empty title view.
void setTitleImage(UIViewController& page, Ref<UIImage> image);

// The specifiers of the bundle's plist `name` with the page as target, asked by name so that the host's loader
// (and anything hooked on it) runs. Pages fill their `_specifiers` with it while that is empty.
Ref<NSMutableArray> loadPageList(PSListController& page, const std::string& name);

}  // namespace vnt
