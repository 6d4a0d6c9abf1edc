#pragma once

// The section titles page of the pane, opened from the root page: the rows of the "Sections" list, no large titles, and the
// pane's appearance image as its title on every appearance.

#include "platform/host/HBRootListController.h"

class VNTSectionsController : public HBRootListController {
    VT_OBJECT(VNTSectionsController, HBRootListController)
public:
    Ref<NSMutableArray> specifiers() override;
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
};
