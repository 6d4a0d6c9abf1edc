#pragma once

// A row of segments of which one is selected. A tap on a segment selects it and sends value-changed when the
// selection changed.
//
// selectedSegmentIndex keeps any value it is given: -1 (none) or an index outside the segments leaves every
// segment unselected, as a caller that stores its own index may produce.

#include "platform/ui/UIControl.h"

#include <string>
#include <vector>

class UIColor;
class UILabel;

class UISegmentedControl : public UIControl {
    VT_OBJECT(UISegmentedControl, UIControl)
public:
    static constexpr long kNoSegment = -1;
    static constexpr CGFloat kHeight = 32;

    void initWithItems(std::vector<std::string> items);
    void initWithFrame(CGRect frame) override;

    long numberOfSegments() const { return static_cast<long>(m_titles.size()); }
    // Empty for an index outside the segments.
    std::string titleForSegmentAtIndex(long index) const;
    void setTitleForSegmentAtIndex(std::string title, long index);
    // An index past the end appends.
    void insertSegmentWithTitleAtIndexAnimated(std::string title, long index, bool animated);
    void removeAllSegments();

    long selectedSegmentIndex() const { return m_selected; }
    void setSelectedSegmentIndex(long index);

    // Null means the system's white (light) / grey (dark) selection.
    Ref<UIColor> selectedSegmentTintColor() const { return m_selectedTint; }
    void setSelectedSegmentTintColor(Ref<UIColor> color);

    // The segment under a point of the control, or -1.
    long segmentAtPoint(CGPoint point) const;
    // The frame of a segment in the control; zero for an index outside.
    CGRect frameOfSegment(long index) const;
    // The selection plate view (hidden when no segment is selected) and the segment labels.
    Ref<UIView> selectionView() const { return m_plate; }
    const std::vector<Ref<UILabel>>& segmentLabels() const { return m_labels; }

    void endTrackingAt(CGPoint point) override;
    CGSize intrinsicContentSize() override;
    void layoutSubviews() override;

private:
    void rebuild();

    std::vector<std::string> m_titles;
    long m_selected = kNoSegment;
    Ref<UIColor> m_selectedTint;
    Ref<UIView> m_plate;
    std::vector<Ref<UILabel>> m_labels;
    std::vector<Ref<UIView>> m_dividers;
};
