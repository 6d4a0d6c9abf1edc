#pragma once

// A wheel picker: one wheel per component, side by side and centred, each turning under a vertical drag or flick
// and coming to rest on a row, which sits in the selection band across the middle. Rows are drawn as on a drum:
// rows away from the band shrink and fade towards the wheel's rim. Only the rows on screen have views, asked from
// the delegate as they come into view (reusing views that left it).
//
// Data source (required; published members must have exactly these signatures):
//   "numberOfComponentsInPickerView:"        long (Ref<UIPickerView>)
//   "pickerView:numberOfRowsInComponent:"    long (Ref<UIPickerView>, long component)
// Delegate (optional):
//   "pickerView:viewForRow:forComponent:reusingView:"  Ref<UIView> (Ref<UIPickerView>, long row, long component,
//                                                                  Ref<UIView> reusing)
//   "pickerView:titleForRow:forComponent:"   std::string (Ref<UIPickerView>, long row, long component)
//                                            (used when there is no view method; a label in the system font of 20)
//   "pickerView:widthForComponent:"          CGFloat (Ref<UIPickerView>, long component)
//                                            (without it the width is shared out evenly)
//   "pickerView:rowHeightForComponent:"      CGFloat (Ref<UIPickerView>, long component)   (default kRowHeight)
//   "pickerView:didSelectRow:inComponent:"   void (Ref<UIPickerView>, long row, long component)
//
// "pickerView:didSelectRow:inComponent:" is sent when a wheel that a finger turned has come to rest, as on the
// device; selecting a row in code tells nobody. Rest takes virtual time: a released wheel glides to the row the
// flick carries it to, on the main run loop.

#include "platform/ui/UIView.h"

#include <map>
#include <vector>

class UIPickerView : public UIView {
    VT_OBJECT(UIPickerView, UIView)
public:
    static constexpr CGFloat kRowHeight = 32;
    // Space between two wheels.
    static constexpr CGFloat kComponentSpacing = 5;
    // Seconds per unit of flick speed a released wheel keeps moving: a flick of v points per second travels about
    // v * kGlideFactor points.
    static constexpr double kGlideFactor = 0.4;
    // A released wheel settles within this many seconds at most.
    static constexpr double kMaxGlideSeconds = 1.2;

    void initWithFrame(CGRect frame) override;

    // Both held weakly; null when none or released.
    id dataSource() const { return m_dataSource.lock(); }
    void setDataSource(const id& dataSource) { m_dataSource = dataSource; }
    id delegate() const { return m_delegate.lock(); }
    void setDelegate(const id& delegate) { m_delegate = delegate; }

    // As the data source answered at the last reload (0 without a data source).
    long numberOfComponents() const { return static_cast<long>(m_wheels.size()); }
    long numberOfRowsInComponent(long component) const;
    // -1 for a component that does not exist or has no rows.
    long selectedRowInComponent(long component) const;
    // Puts the row in the band at once (the virtual clock has no in-between for code-driven moves), clamped to the
    // rows there are; a component that does not exist is ignored. Published as "selectRow:inComponent:animated:",
    // so a subclass's override is what the run-time and its own code call.
    virtual void selectRowInComponentAnimated(long row, long component, bool animated);
    // Asks the data source again for components and rows, keeping the selections that still exist.
    void reloadAllComponents();
    void reloadComponent(long component);

    // The width the delegate gives (or the even share) and the row height.
    CGSize rowSizeForComponent(long component) const;
    // The view shown for that row, or null when the row is not on screen.
    Ref<UIView> viewForRowForComponent(long row, long component) const;
    // The wheel's frame in the picker's coordinates; zero for a component that does not exist.
    CGRect frameForComponent(long component) const;
    // Where the wheel stands, in rows (the row in the band, fractional while it turns).
    double wheelPosition(long component) const;
    // True while a finger holds the wheel or it glides to rest.
    bool isWheelMoving(long component) const;

    // The band across the middle that marks the selection.
    Ref<UIView> selectionIndicator() const { return m_band; }

    void layoutSubviews() override;
    void touchesBeganWithEvent(UITouchSet touches, id event) override;
    void touchesMovedWithEvent(UITouchSet touches, id event) override;
    void touchesEndedWithEvent(UITouchSet touches, id event) override;
    void touchesCancelledWithEvent(UITouchSet touches, id event) override;

private:
    struct Wheel {
        long rows = 0;
        long selected = 0;
        double position = 0;
        Ref<UIView> clip;                     // the wheel's column; rows are its subviews
        std::map<long, Ref<UIView>> shown;    // row → view on screen
        std::vector<Ref<UIView>> reusable;
        bool moving = false;
        std::uint64_t glide = 0;              // the current glide; a newer touch or glide outdates it
    };

    long componentAt(CGPoint point) const;
    void placeRows(long component);
    void placeWheels();
    void glideTo(long component, double target, double seconds);
    void comeToRest(long component, long row, bool tell);
    long askRows(long component) const;
    CGFloat widthOf(long component) const;
    CGFloat rowHeightOf(long component) const;

    Weak<NSObject> m_dataSource;
    Weak<NSObject> m_delegate;
    std::vector<Wheel> m_wheels;
    Ref<UIView> m_band;
    bool m_loaded = false;

    long m_touchComponent = -1;
    CGFloat m_touchStartY = 0;
    double m_positionAtStart = 0;
    bool m_touchMoved = false;
    std::uint64_t m_glideSerial = 0;
};
