#pragma once

// The pane's drawer: the sliding frame as it is, under the name the pane creates.

#include "prefs/drawer/VNTDrawerFrameView.h"

class VNTDrawerView : public VNTDrawerFrameView {
    VT_OBJECT(VNTDrawerView, VNTDrawerFrameView)
};
