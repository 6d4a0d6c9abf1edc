#pragma once

// The Apple account signed in on the simulated phone: its name (the title of the first root row) and its picture,
// which the Settings root page fetches shortly after it loaded. No picture by default.

#include "platform/core/Object.h"

#include <string>

class UIImage;

namespace platform::host {

class AppleAccount {
public:
    static const std::string& name();
    static void setName(std::string name);
    // Null when the account has no picture.
    static Ref<UIImage> picture();
    static void setPicture(Ref<UIImage> picture);
    static void reset();
};

}  // namespace platform::host
