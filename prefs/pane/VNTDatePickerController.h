#pragma once

// The birthday card: a themed card over the lower half of the screen with day and month wheels ("dMMM" in the
// device's language), "Done" and "Cancel". Every wheel that comes to rest stores the birthday at once under
// `userBirthdayDate` as "dMMM" in the current language; "Done" stores the wheels' date once more and dismisses,
// "Cancel" only dismisses (what the wheels stored stays stored).
//
// Published: "datePicker:didSelectDate:" void (Ref<ZRVCDatePicker>, Ref<NSDate>), "doneWithVC" void (),
// "dismissVC" void ().
//
// Process-wide objects of this file (one card at a time): the picker shown, the last picked date, its formatter
// and string, and a preferences object with the theme flags bound.

#include "platform/ui/UIViewController.h"

class NSDate;
class UIButton;
class ZRVCDatePicker;

class VNTDatePickerController : public UIViewController {
    VT_OBJECT(VNTDatePickerController, UIViewController)
public:
    void viewDidLoad() override;
    void setupPicker();
    void datePickerDidSelectDate(Ref<ZRVCDatePicker> picker, Ref<NSDate> date);
    void doneWithVC();
    void dismissVC();

    Ref<UIView> baseView() const { return m_baseView; }
    Ref<UIButton> doneButton() const { return m_doneButton; }
    Ref<UIButton> closeButton() const { return m_closeButton; }
    // The picker of the card shown most recently; null before the first.
    static Ref<ZRVCDatePicker> datePicker();
    // "dMMM" of the date in the device's current language, as the birthday is stored.
    static std::string birthdayString(const Ref<NSDate>& date);

private:
    Ref<UIView> m_baseView;
    Ref<UIButton> m_doneButton;
    Ref<UIButton> m_closeButton;
};
