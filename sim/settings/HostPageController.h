#pragma once

// A page of the simulated Settings application itself (Wi-Fi, General, an installed application's page, ...):
// titled with the row that opened it, showing the rows the Settings data file lists under that row's "items".
// A page opened from a row without items shows its title over an empty list.

#include "platform/host/PSListController.h"

class HostPageController : public PSListController {
    VT_OBJECT(HostPageController, PSListController)
public:
    Ref<NSMutableArray> specifiers() override;
};
