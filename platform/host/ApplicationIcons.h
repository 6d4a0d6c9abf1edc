#pragma once

// Application icons as the Settings framework hands them out. Published on UIImage (the run-time has no class
// messages, so callers send it to any UIImage instance):
//   "_applicationIconImageForBundleIdentifier:format:scale:"   Ref<UIImage> (std::string, long, CGFloat)
// The icon file of the application (InstalledApplications.h), or null when the application is unknown or its icon
// file is missing (UIImage counts the missing file). At a scale of 3 the "@3x" file is preferred to the listed
// "@2x" one when it exists; the format does not change the image.

#include "platform/core/Object.h"
#include "platform/gfx/Geometry.h"

#include <string>

class UIImage;

namespace platform::host {

Ref<UIImage> applicationIconImage(const std::string& bundleIdentifier, long format, CGFloat scale);

}  // namespace platform::host
