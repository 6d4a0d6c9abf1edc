#pragma once

// The flow layout: items in lines across the scroll direction, lines one after another along it.
//
// As on the device, each line is filled while the next item still fits between the section insets with at least
// minimumInteritemSpacing before it; the leftover space of a line is then shared out evenly between its gaps (so
// the first item touches the leading inset and the last the trailing one), and a line holding a single item
// centres it. Items are centred across their line's thickness; lines are minimumLineSpacing apart.

#include "platform/core/Object.h"
#include "platform/gfx/Geometry.h"

#include <vector>

using UICollectionViewScrollDirection = long;
inline constexpr UICollectionViewScrollDirection UICollectionViewScrollDirectionVertical = 0;
inline constexpr UICollectionViewScrollDirection UICollectionViewScrollDirectionHorizontal = 1;

class UICollectionViewFlowLayout : public NSObject {
    VT_OBJECT(UICollectionViewFlowLayout, NSObject)
public:
    // The platform's defaults.
    static constexpr CGFloat kDefaultSpacing = 10;
    static constexpr CGSize kDefaultItemSize{50, 50};

    void init() {}

    UICollectionViewScrollDirection scrollDirection() const { return m_direction; }
    // Values other than 0 and 1 are ignored (the direction stays as it was).
    void setScrollDirection(UICollectionViewScrollDirection direction);
    CGSize itemSize() const { return m_itemSize; }
    void setItemSize(CGSize size) { m_itemSize = size; }
    CGFloat minimumInteritemSpacing() const { return m_interitem; }
    void setMinimumInteritemSpacing(CGFloat spacing) { m_interitem = spacing; }
    CGFloat minimumLineSpacing() const { return m_line; }
    void setMinimumLineSpacing(CGFloat spacing) { m_line = spacing; }
    UIEdgeInsets sectionInset() const { return m_inset; }
    void setSectionInset(UIEdgeInsets inset) { m_inset = inset; }

    struct Result {
        std::vector<std::vector<CGRect>> frames;  // per section, per item, in content coordinates
        CGSize contentSize;
    };
    // Lays out sections of items of the given sizes in a viewport of `viewport` (the collection view's bounds
    // size less its content insets). Sections follow each other along the scroll direction.
    Result layout(CGSize viewport, const std::vector<std::vector<CGSize>>& sizes) const;

private:
    UICollectionViewScrollDirection m_direction = UICollectionViewScrollDirectionVertical;
    CGSize m_itemSize = kDefaultItemSize;
    CGFloat m_interitem = kDefaultSpacing;
    CGFloat m_line = kDefaultSpacing;
    UIEdgeInsets m_inset;
};
