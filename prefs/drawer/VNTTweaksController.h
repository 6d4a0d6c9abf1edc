#pragma once

// The maker's package catalogue as a modal page: a catalogue table 20 points below the top, 50 above the bottom.
//
// Published: "viewDidLoad" (as every controller).

#include "platform/ui/UIViewController.h"

class VNTTweaksTableView;

class VNTTweaksController : public UIViewController {
    VT_OBJECT(VNTTweaksController, UIViewController)
public:
    void viewDidLoad() override;

    // The catalogue table of the controller loaded last; null before.
    static Ref<VNTTweaksTableView> tweakTableView();
};
