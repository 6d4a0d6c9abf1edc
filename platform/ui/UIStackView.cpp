#include "platform/ui/UIStackView.h"

#include "platform/core/Runtime.h"
#include "platform/ui/NSLayoutConstraint.h"

#include <algorithm>

VT_REGISTER_CLASS(UIStackView)

namespace {
// A view's own length along one dimension (0 width, 1 height): a constant constraint on it, else its intrinsic
// size, else its current size.
CGFloat ownLength(UIView* view, int dimension) {
    long attribute = dimension == 0 ? NSLayoutAttributeWidth : NSLayoutAttributeHeight;
    for (const auto& c : view->constraints())
        if (c->firstAttribute() == attribute && !c->secondItem()) return c->constant();
    CGSize own = platform::msgSend<CGSize>(view, sel("intrinsicContentSize"));
    CGFloat value = dimension == 0 ? own.width : own.height;
    if (value >= 0) return value;
    return dimension == 0 ? view->bounds().width() : view->bounds().height();
}
}  // namespace

void UIStackView::initWithArrangedSubviews(const std::vector<Ref<UIView>>& views) {
    initWithFrame(CGRectZero);
    for (const auto& v : views) addArrangedSubview(v);
}

void UIStackView::addArrangedSubview(const Ref<UIView>& view) {
    insertArrangedSubviewAtIndex(view, static_cast<long>(m_arranged.size()));
}

void UIStackView::insertArrangedSubviewAtIndex(const Ref<UIView>& view, long index) {
    if (!view || view.get() == this) return;
    std::erase(m_arranged, view);
    index = std::clamp<long>(index, 0, static_cast<long>(m_arranged.size()));
    m_arranged.insert(m_arranged.begin() + index, view);
    if (view->superview().get() != this) addSubview(view);
    invalidateIntrinsicContentSize();
    setNeedsLayout();
}

void UIStackView::removeArrangedSubview(const Ref<UIView>& view) {
    std::erase(m_arranged, view);
    invalidateIntrinsicContentSize();
    setNeedsLayout();
}

void UIStackView::willRemoveSubview(const Ref<UIView>& subview) {
    // A view that leaves the stack stops being arranged, as on the device.
    std::erase(m_arranged, subview);
    setNeedsLayout();
}

void UIStackView::setAxis(long axis) {
    m_axis = axis;
    invalidateIntrinsicContentSize();
}

void UIStackView::setDistribution(long d) {
    m_distribution = d;
    setNeedsLayout();
}

void UIStackView::setAlignment(long a) {
    m_alignment = a;
    setNeedsLayout();
}

void UIStackView::setSpacing(CGFloat s) {
    m_spacing = s;
    invalidateIntrinsicContentSize();
}

CGSize UIStackView::intrinsicContentSize() {
    int along = m_axis == UILayoutConstraintAxisVertical ? 1 : 0;
    CGFloat length = 0, thickness = 0;
    std::size_t count = 0;
    for (const auto& v : m_arranged) {
        if (v->isHidden()) continue;
        length += ownLength(v.get(), along);
        thickness = std::max(thickness, ownLength(v.get(), 1 - along));
        ++count;
    }
    if (count > 1) length += m_spacing * static_cast<CGFloat>(count - 1);
    return along == 0 ? CGSize{length, thickness} : CGSize{thickness, length};
}

void UIStackView::layoutSubviews() {
    UIView::layoutSubviews();
    int along = m_axis == UILayoutConstraintAxisVertical ? 1 : 0;
    std::vector<UIView*> shown;
    for (const auto& v : m_arranged)
        if (!v->isHidden()) shown.push_back(v.get());
    if (shown.empty()) return;

    CGFloat length = along == 0 ? bounds().width() : bounds().height();
    CGFloat thickness = along == 0 ? bounds().height() : bounds().width();
    std::size_t n = shown.size();
    std::vector<CGFloat> sizes(n);
    for (std::size_t i = 0; i < n; ++i) sizes[i] = ownLength(shown[i], along);
    CGFloat gap = m_spacing;
    CGFloat sum = 0;
    for (CGFloat s : sizes) sum += s;

    switch (m_distribution) {
    case UIStackViewDistributionFillEqually: {
        CGFloat each = (length - m_spacing * static_cast<CGFloat>(n - 1)) / static_cast<CGFloat>(n);
        std::fill(sizes.begin(), sizes.end(), std::max<CGFloat>(0, each));
        break;
    }
    case UIStackViewDistributionEqualSpacing:
    case UIStackViewDistributionEqualCentering:
        if (n > 1) gap = std::max(m_spacing, (length - sum) / static_cast<CGFloat>(n - 1));
        break;
    default:
        // Fill: the last view takes up (or gives back) the room left over.
        sizes.back() = std::max<CGFloat>(0, sizes.back() + length - sum - m_spacing * static_cast<CGFloat>(n - 1));
        break;
    }

    CGFloat position = 0;
    for (std::size_t i = 0; i < n; ++i) {
        UIView* v = shown[i];
        CGFloat across = ownLength(v, 1 - along);
        CGFloat offset = 0;
        switch (m_alignment) {
        case UIStackViewAlignmentFill:
            across = thickness;
            break;
        case UIStackViewAlignmentCenter:
            offset = (thickness - across) / 2;
            break;
        case UIStackViewAlignmentTrailing:
        case UIStackViewAlignmentLastBaseline:
            offset = thickness - across;
            break;
        default:
            break;
        }
        CGRect f = along == 0 ? CGRect{{position, offset}, {sizes[i], across}}
                              : CGRect{{offset, position}, {across, sizes[i]}};
        if (v->frame() != f) platform::msgSend<void>(v, sel("setFrame:"), f);
        position += sizes[i] + gap;
    }
}
