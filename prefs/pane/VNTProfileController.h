#pragma once

// The profile page of the pane: the rows of the "Profile" list (name, birthday, questions), no large titles, and
// the current theme's profile icon as its title, set once when the view loads.
//
// Published: "displayBirthdayDatePicker" void (), the action of the birthday row.

#include "platform/host/HBRootListController.h"

class VNTProfileController : public HBRootListController {
    VT_OBJECT(VNTProfileController, HBRootListController)
public:
    Ref<NSMutableArray> specifiers() override;
    void viewDidLoad() override;
    // The birthday row's action. The birthday card is not part of the pane yet, so it presents nothing.
    void displayBirthdayDatePicker();
};
