#pragma once

// The pixels per point of the device's screen, as the image loader needs it to pick a file's "@2x"/"@3x" variant.
// The screen (platform/ui/UIScreen) keeps it current whenever its profile changes; graphics code below the views
// reads it here.

namespace platform {

// 2 (the default profile's) until the screen sets another.
double displayScale();
// Values below 1 count as 1.
void setDisplayScale(double scale);

}  // namespace platform
