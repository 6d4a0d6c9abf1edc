#include "platform/ui/UICollectionViewFlowLayout.h"

#include "platform/core/Runtime.h"

#include <algorithm>

VT_REGISTER_CLASS(UICollectionViewFlowLayout)

void UICollectionViewFlowLayout::setScrollDirection(UICollectionViewScrollDirection direction) {
    if (direction == UICollectionViewScrollDirectionVertical || direction == UICollectionViewScrollDirectionHorizontal)
        m_direction = direction;
}

namespace {

// The layout is written once for the vertical direction, in "across" (a) and "along" (b) coordinates; the
// horizontal direction swaps them.
struct Axis {
    bool vertical;
    CGFloat across(CGSize s) const { return vertical ? s.width : s.height; }
    CGFloat along(CGSize s) const { return vertical ? s.height : s.width; }
    CGRect rect(CGFloat a, CGFloat b, CGFloat sa, CGFloat sb) const {
        return vertical ? CGRect{{a, b}, {sa, sb}} : CGRect{{b, a}, {sb, sa}};
    }
};

}  // namespace

UICollectionViewFlowLayout::Result UICollectionViewFlowLayout::layout(
    CGSize viewport, const std::vector<std::vector<CGSize>>& sizes) const {
    const Axis ax{m_direction == UICollectionViewScrollDirectionVertical};
    const CGFloat leadA = ax.vertical ? m_inset.left : m_inset.top;
    const CGFloat trailA = ax.vertical ? m_inset.right : m_inset.bottom;
    const CGFloat leadB = ax.vertical ? m_inset.top : m_inset.left;
    const CGFloat trailB = ax.vertical ? m_inset.bottom : m_inset.right;
    const CGFloat available = ax.across(viewport) - leadA - trailA;
    // Rounding in callers' arithmetic (W * 0.5 - 10) must not push an item that fits onto the next line.
    const CGFloat epsilon = 1e-6;

    Result result;
    CGFloat b = 0;
    for (const auto& section : sizes) {
        std::vector<CGRect> frames(section.size());
        b += leadB;
        std::size_t i = 0;
        bool firstLine = true;
        while (i < section.size()) {
            // Collect one line.
            std::size_t end = i;
            CGFloat used = 0;
            CGFloat thickness = 0;
            while (end < section.size()) {
                CGFloat w = ax.across(section[end]);
                CGFloat need = (end == i) ? w : used + m_interitem + w;
                if (end > i && need > available + epsilon) break;
                used = need;
                thickness = std::max(thickness, ax.along(section[end]));
                ++end;
            }
            if (!firstLine) b += m_line;
            firstLine = false;
            const std::size_t count = end - i;
            if (count == 1) {
                CGSize s = section[i];
                CGFloat a = leadA + std::max<CGFloat>(0, (available - ax.across(s)) / 2);
                frames[i] = ax.rect(a, b + (thickness - ax.along(s)) / 2, ax.across(s), ax.along(s));
            } else {
                CGFloat widths = 0;
                for (std::size_t k = i; k < end; ++k) widths += ax.across(section[k]);
                CGFloat gap = (available - widths) / static_cast<CGFloat>(count - 1);
                CGFloat a = leadA;
                for (std::size_t k = i; k < end; ++k) {
                    CGSize s = section[k];
                    frames[k] = ax.rect(a, b + (thickness - ax.along(s)) / 2, ax.across(s), ax.along(s));
                    a += ax.across(s) + gap;
                }
            }
            b += thickness;
            i = end;
        }
        b += trailB;
        result.frames.push_back(std::move(frames));
    }
    CGFloat across = ax.across(viewport);
    result.contentSize = ax.vertical ? CGSize{across, b} : CGSize{b, across};
    return result;
}
