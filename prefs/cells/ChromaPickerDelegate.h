#pragma once

// What the picker's three controls tell their owner. A delegate publishes both selectors:
//   "updateColor"        void ()                 a control's value changed: rebuild, store and announce the colour
//   "updateWithColor:"   void (Ref<UIColor>)     set every control from a colour, then as updateColor
// Delegates are held weakly; a control whose delegate is gone tells nobody.

#include "platform/core/Object.h"
#include "platform/core/Runtime.h"

#include <string_view>

class UIColor;

namespace chroma {

inline constexpr std::string_view kUpdateColor = "updateColor";
inline constexpr std::string_view kUpdateWithColor = "updateWithColor:";

// Sends "updateColor" to the delegate; nothing for a null one.
inline void tellUpdateColor(const id& delegate) {
    if (delegate) platform::msgSend<void>(delegate.get(), sel(kUpdateColor));
}

}  // namespace chroma
