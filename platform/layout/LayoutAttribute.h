#pragma once

// The attributes an equation of the layout can name: the edges, centres and dimensions of an item, numbered as the
// device numbers NSLayoutAttribute, so constraints made by the add-on carry their numbers through unchanged.

// NSLayoutAttribute numbers of the device.
enum NSLayoutAttribute : long {
    NSLayoutAttributeNotAnAttribute = 0,
    NSLayoutAttributeLeft = 1,
    NSLayoutAttributeRight = 2,
    NSLayoutAttributeTop = 3,
    NSLayoutAttributeBottom = 4,
    NSLayoutAttributeLeading = 5,
    NSLayoutAttributeTrailing = 6,
    NSLayoutAttributeWidth = 7,
    NSLayoutAttributeHeight = 8,
    NSLayoutAttributeCenterX = 9,
    NSLayoutAttributeCenterY = 10,
};

// 0 for x positions, 1 for y positions, 2 for dimensions; −1 for NotAnAttribute and numbers outside the list.
int layoutAttributeAxis(long attribute);
// "left", "centerX", …; "none" for NotAnAttribute and "unknown" for numbers outside the list.
const char* layoutAttributeName(long attribute);
