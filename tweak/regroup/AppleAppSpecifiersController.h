#pragma once

// The sub-page of Apple's applications the regrouping took off the Settings root list, with the Apple
// applications the host shows among the installed ones.
// Its page shows the process-wide list itself, so later refreshes of the list show on it too.

#include "platform/host/PSListController.h"

class AppleAppSpecifiersController : public PSListController {
    VT_OBJECT(AppleAppSpecifiersController, PSListController)
public:
    // While the page has no entries it takes the list (null before the regrouping ran), then answers its own.
    Ref<NSMutableArray> specifiers() override;
};
