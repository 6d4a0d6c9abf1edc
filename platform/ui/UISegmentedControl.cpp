#include "platform/ui/UISegmentedControl.h"

#include "platform/core/Runtime.h"

#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIFont.h"
#include "platform/ui/CALayer.h"
#include "platform/ui/UILabel.h"

#include <algorithm>

VT_REGISTER_CLASS(UISegmentedControl, [](Class c) {
    platform::runtime::addMethod<&UISegmentedControl::selectedSegmentIndex>(c, "selectedSegmentIndex");
    platform::runtime::addMethod<&UISegmentedControl::setSelectedSegmentIndex>(c, "setSelectedSegmentIndex:");
})

namespace {
constexpr CGFloat kPlateInset = 2;
constexpr CGFloat kCornerRadius = 8;
}  // namespace

void UISegmentedControl::initWithFrame(CGRect frame) {
    UIControl::initWithFrame(frame);
    static Ref<UIColor> track = UIColor::systemGrayColor()->colorWithAlphaComponent(0.16);
    setBackgroundColor(track);
    layer()->setCornerRadius(kCornerRadius);
    m_plate = alloc<UIView>();
    m_plate->initWithFrame(CGRectZero);
    m_plate->setUserInteractionEnabled(false);
    m_plate->layer()->setCornerRadius(kCornerRadius - 1);
    addSubview(m_plate);
    rebuild();
}

void UISegmentedControl::initWithItems(std::vector<std::string> items) {
    m_titles = std::move(items);
    initWithFrame(CGRectZero);
    setFrame({{0, 0}, intrinsicContentSize()});
}

std::string UISegmentedControl::titleForSegmentAtIndex(long index) const {
    if (index < 0 || index >= numberOfSegments()) return {};
    return m_titles[static_cast<std::size_t>(index)];
}

void UISegmentedControl::setTitleForSegmentAtIndex(std::string title, long index) {
    if (index < 0 || index >= numberOfSegments()) return;
    m_titles[static_cast<std::size_t>(index)] = std::move(title);
    rebuild();
}

void UISegmentedControl::insertSegmentWithTitleAtIndexAnimated(std::string title, long index, bool) {
    index = std::clamp<long>(index, 0, numberOfSegments());
    m_titles.insert(m_titles.begin() + index, std::move(title));
    if (m_selected >= index) ++m_selected;
    rebuild();
}

void UISegmentedControl::removeAllSegments() {
    m_titles.clear();
    m_selected = kNoSegment;
    rebuild();
}

void UISegmentedControl::setSelectedSegmentIndex(long index) {
    if (m_selected == index) return;
    m_selected = index;
    setNeedsLayout();
    rebuild();
}

void UISegmentedControl::setSelectedSegmentTintColor(Ref<UIColor> color) {
    m_selectedTint = std::move(color);
    rebuild();
}

CGRect UISegmentedControl::frameOfSegment(long index) const {
    long n = numberOfSegments();
    if (index < 0 || index >= n) return CGRectZero;
    CGFloat w = bounds().width() / static_cast<CGFloat>(n);
    return CGRectMake(w * static_cast<CGFloat>(index), 0, w, bounds().height());
}

long UISegmentedControl::segmentAtPoint(CGPoint point) const {
    for (long i = 0; i < numberOfSegments(); ++i)
        if (frameOfSegment(i).contains(point)) return i;
    return kNoSegment;
}

void UISegmentedControl::endTrackingAt(CGPoint point) {
    long hit = segmentAtPoint(point);
    if (hit != kNoSegment && hit != m_selected) {
        setSelectedSegmentIndex(hit);
        sendActionsForControlEvents(UIControlEventValueChanged);
    }
    UIControl::endTrackingAt(point);
}

CGSize UISegmentedControl::intrinsicContentSize() {
    CGFloat widest = 0;
    for (auto& l : m_labels) widest = std::max(widest, l->intrinsicContentSize().width);
    return {(widest + 16) * static_cast<CGFloat>(std::max<long>(1, numberOfSegments())), kHeight};
}

void UISegmentedControl::rebuild() {
    if (!m_plate) return;
    for (auto& l : m_labels) l->removeFromSuperview();
    for (auto& d : m_dividers) d->removeFromSuperview();
    m_labels.clear();
    m_dividers.clear();
    static Ref<UIColor> plate = UIColor::tertiarySystemBackgroundColor();
    m_plate->setBackgroundColor(m_selectedTint ? m_selectedTint : plate);
    for (long i = 0; i < numberOfSegments(); ++i) {
        auto label = alloc<UILabel>();
        label->initWithFrame(CGRectZero);
        label->setText(m_titles[static_cast<std::size_t>(i)]);
        label->setTextAlignment(NSTextAlignmentCenter);
        label->setFont(i == m_selected ? UIFont::boldSystemFontOfSize(13) : UIFont::systemFontOfSize(13));
        label->setTextColor(UIColor::labelColor());
        label->setUserInteractionEnabled(false);
        addSubview(label);
        m_labels.push_back(label);
        if (i > 0) {
            auto divider = alloc<UIView>();
            divider->initWithFrame(CGRectZero);
            divider->setBackgroundColor(UIColor::separatorColor());
            divider->setUserInteractionEnabled(false);
            addSubview(divider);
            m_dividers.push_back(divider);
        }
    }
    setNeedsLayout();
}

void UISegmentedControl::layoutSubviews() {
    UIControl::layoutSubviews();
    bool selected = m_selected >= 0 && m_selected < numberOfSegments();
    m_plate->setHidden(!selected);
    if (selected) m_plate->setFrame(frameOfSegment(m_selected).insetBy(kPlateInset, kPlateInset));
    for (long i = 0; i < numberOfSegments(); ++i) m_labels[static_cast<std::size_t>(i)]->setFrame(frameOfSegment(i));
    for (std::size_t d = 0; d < m_dividers.size(); ++d) {
        long right = static_cast<long>(d) + 1;
        CGRect f = frameOfSegment(right);
        // The divider next to the selection disappears under the plate, as on the device.
        bool nextToSelection = selected && (right == m_selected || right - 1 == m_selected);
        m_dividers[d]->setHidden(nextToSelection);
        m_dividers[d]->setFrame(CGRectMake(f.minX() - 0.5, 8, 1, std::max<CGFloat>(0, f.height() - 16)));
    }
}
