#pragma once

// The dashboard laid over the Settings root list when its view loads: the root table pinned at its top, a
// full-screen `settingBaseView` over its rows and the dashboard (`vantileBaseView`) inside, both coloured by the
// interface style.

#include "platform/core/Object.h"

class UIColor;
class UIViewController;

namespace vantile::rootpage {

// Black in dark mode; a light grey (0.95, 0.95, 0.96) in any other style.
Ref<UIColor> overlayColorForStyle(long interfaceStyle);

// Builds the overlay on `root`'s loaded view and remembers it in state(); the previous overlay is let go.
void layDashboardOver(UIViewController& root);

// Pins `root`'s table again (first row at the top of the area below the bars), when the overlay lies on it: the
// host sets the bars' insets only once the page is laid out on screen, after its view loaded.
void repinTable(UIViewController& root);

// Colours the remembered overlay for the style `root` shows now. Nothing happens before an overlay exists.
void recolourOverlay(UIViewController& root);

}  // namespace vantile::rootpage
