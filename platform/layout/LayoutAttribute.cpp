#include "platform/layout/LayoutAttribute.h"

int layoutAttributeAxis(long attribute) {
    switch (attribute) {
    case NSLayoutAttributeLeft:
    case NSLayoutAttributeRight:
    case NSLayoutAttributeLeading:
    case NSLayoutAttributeTrailing:
    case NSLayoutAttributeCenterX:
        return 0;
    case NSLayoutAttributeTop:
    case NSLayoutAttributeBottom:
    case NSLayoutAttributeCenterY:
        return 1;
    case NSLayoutAttributeWidth:
    case NSLayoutAttributeHeight:
        return 2;
    default:
        return -1;
    }
}

const char* layoutAttributeName(long attribute) {
    static const char* names[] = {"none",  "left",     "right", "top",    "bottom",  "leading",
                                  "trailing", "width", "height", "centerX", "centerY"};
    return attribute >= 0 && attribute <= 10 ? names[attribute] : "unknown";
}
