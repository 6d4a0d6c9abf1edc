#pragma once

// The profile page of the pane: the rows of the "Profile" list (name, birthday, questions), no large titles, and
// the current theme's profile icon as its title, set once when the view loads.
//
// Published: "displayBirthdayDatePicker" void (), the action of the birthday row.

#include "platform/host/HBRootListController.h"

class VNTDatePickerController;

class VNTProfileController : public HBRootListController {
    VT_OBJECT(VNTProfileController, HBRootListController)
public:
    Ref<NSMutableArray> specifiers() override;
    void viewDidLoad() override;
    // The birthday row's action: presents a fresh birthday card over the page.
    void displayBirthdayDatePicker();
    // The card presented most recently; null before the first.
    static Ref<VNTDatePickerController> datePickerController();
};
