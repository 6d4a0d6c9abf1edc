#pragma once

// The layout options page of the pane, opened from the root page: the rows of the "Options" list, no large titles, and the
// pane's appearance image as its title on every appearance.

#include "platform/host/HBRootListController.h"

class VNTOptionsController : public HBRootListController {
    VT_OBJECT(VNTOptionsController, HBRootListController)
public:
    Ref<NSMutableArray> specifiers() override;
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
};
