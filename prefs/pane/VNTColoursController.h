#pragma once

// The card colours page of the pane, opened from the root page: the rows of the "Colours" list, no large titles, and the
// pane's appearance image as its title on every appearance.

#include "platform/host/HBRootListController.h"

class VNTColoursController : public HBRootListController {
    VT_OBJECT(VNTColoursController, HBRootListController)
public:
    Ref<NSMutableArray> specifiers() override;
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
};
