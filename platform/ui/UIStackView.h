#pragma once

// A stack of arranged subviews along one axis, laid out in layoutSubviews (frames, not constraints, so arranged
// views may be frame-set or constrained alike; their own constraints are not consulted for position).
//
// Along the axis: fill gives each view its own size (intrinsic, else its current size) and the last one the rest
// of the room; fill-equally gives every view (length − spacing × (n − 1)) / n; equal-spacing keeps own sizes and
// spreads the leftover room evenly between them (never less than `spacing`). Across the axis: fill stretches to
// the stack's thickness; leading/top, centre and trailing/bottom place each view's own size. Hidden arranged views
// take no room.

#include "platform/ui/UIView.h"

#include <vector>

enum UILayoutConstraintAxis : long { UILayoutConstraintAxisHorizontal = 0, UILayoutConstraintAxisVertical = 1 };

enum UIStackViewDistribution : long {
    UIStackViewDistributionFill = 0,
    UIStackViewDistributionFillEqually = 1,
    UIStackViewDistributionFillProportionally = 2,  // treated as fill
    UIStackViewDistributionEqualSpacing = 3,
    UIStackViewDistributionEqualCentering = 4,  // treated as equal spacing
};

enum UIStackViewAlignment : long {
    UIStackViewAlignmentFill = 0,
    UIStackViewAlignmentLeading = 1,
    UIStackViewAlignmentTop = 1,
    UIStackViewAlignmentFirstBaseline = 2,  // treated as leading
    UIStackViewAlignmentCenter = 3,
    UIStackViewAlignmentTrailing = 4,
    UIStackViewAlignmentBottom = 4,
    UIStackViewAlignmentLastBaseline = 5,  // treated as trailing
};

class UIStackView : public UIView {
    VT_OBJECT(UIStackView, UIView)
public:
    void initWithArrangedSubviews(const std::vector<Ref<UIView>>& views);

    const std::vector<Ref<UIView>>& arrangedSubviews() const { return m_arranged; }
    // Also adds the view as a subview (on top) when it is not one.
    void addArrangedSubview(const Ref<UIView>& view);
    void insertArrangedSubviewAtIndex(const Ref<UIView>& view, long index);
    // Stops arranging the view; it stays a subview, as on the device.
    void removeArrangedSubview(const Ref<UIView>& view);

    long axis() const { return m_axis; }
    void setAxis(long axis);
    long distribution() const { return m_distribution; }
    void setDistribution(long d);
    long alignment() const { return m_alignment; }
    void setAlignment(long a);
    CGFloat spacing() const { return m_spacing; }
    void setSpacing(CGFloat s);

    void layoutSubviews() override;
    void willRemoveSubview(const Ref<UIView>& subview) override;
    // Along the axis: the sum of own sizes and spacing; across: the largest own size.
    CGSize intrinsicContentSize() override;

private:
    std::vector<Ref<UIView>> m_arranged;
    long m_axis = UILayoutConstraintAxisHorizontal;
    long m_distribution = UIStackViewDistributionFill;
    long m_alignment = UIStackViewAlignmentFill;
    CGFloat m_spacing = 0;
};
