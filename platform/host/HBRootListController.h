#pragma once

// Cephei's base class of a preference bundle's pages: a PSListController that honours appearance settings
// (HBAppearanceSettings.h), so its pages look like the page that pushed them.

#include "platform/host/PSListController.h"

class HBRootListController : public PSListController {
    VT_OBJECT(HBRootListController, PSListController)
};
