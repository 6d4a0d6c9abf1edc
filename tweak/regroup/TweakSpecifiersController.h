#pragma once

// The sub-page of the tweak entries the regrouping took off the Settings root list.
// Its page shows the process-wide list itself, so later refreshes of the list show on it too.

#include "platform/host/PSListController.h"

class TweakSpecifiersController : public PSListController {
    VT_OBJECT(TweakSpecifiersController, PSListController)
public:
    // While the page has no entries it takes the list (null before the regrouping ran), then answers its own.
    Ref<NSMutableArray> specifiers() override;
};
