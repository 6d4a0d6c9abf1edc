#pragma once

// Page and target classes the host tests open by name.

#include "platform/host/PSListController.h"

#include <string>
#include <vector>

class HostTestPage : public PSListController {
    VT_OBJECT(HostTestPage, PSListController)
};

// A page at regular width, as a tablet's (or a page whose width question is answered YES by a replacement).
class HostRegularWidthPage : public PSListController {
    VT_OBJECT(HostRegularWidthPage, PSListController)
public:
    bool _isRegularWidth() override { return true; }
};

// A page that refuses edge-to-edge cells whatever it is asked.
class HostInsetPage : public PSListController {
    VT_OBJECT(HostInsetPage, PSListController)
public:
    void setEdgeToEdgeCells(bool) override { PSListController::setEdgeToEdgeCells(false); }
};

class HostTestTarget : public NSObject {
    VT_OBJECT(HostTestTarget, NSObject)
public:
    void buttonPressed() { presses.push_back("buttonPressed"); }
    void buttonPressedBy(id sender);
    Value readValue(Ref<PSSpecifier> specifier);
    void writeValue(Value value, Ref<PSSpecifier> specifier) { written.push_back(value); }

    std::vector<std::string> presses;
    std::vector<Value> written;
};
