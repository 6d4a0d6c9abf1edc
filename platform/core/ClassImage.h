#pragma once

// Which image (a loadable bundle's executable) defined each class, as the device's run-time knows the image every
// class came from. NSBundle marks its loads with these calls; everything else only reads them.

#include "platform/core/Object.h"

#include <string>
#include <string_view>
#include <vector>

namespace platform::runtime {

// The image whose load is running, by the name its loader gives (the executable's device path): every class
// defined until endImageLoad belongs to it. Loads do not nest; a class defined outside a load belongs to no image.
void beginImageLoad(std::string image);
void endImageLoad();
// The image a class was defined by; empty for a class defined outside a load, or a null class.
std::string imageOfClass(Class cls);
// The classes the image defined, in definition order; none for an empty name.
std::vector<Class> classesOfImage(std::string_view image);
// Records a class as defined by an image, for programs that link an image's code in and so define its classes at
// their own start (tests of a bundle's pages). Nothing for a null class.
void setImageOfClass(Class cls, std::string image);

}  // namespace platform::runtime
