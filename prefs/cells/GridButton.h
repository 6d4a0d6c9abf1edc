#pragma once

// A button of the pane's grid (VNTZRVCGridCustomCella): a UIButton that carries the class name of the page it
// opens. The root controller's "openController:" reads it from the sender.
//
// Published:
//   "identifier"     std::string ()      empty until set
//   "setIdentifier:" void (std::string)

#include "platform/ui/UIButton.h"

#include <string>

class GridButton : public UIButton {
    VT_OBJECT(GridButton, UIButton)
public:
    // A custom-type button with a zero frame, as UIButton's buttonWithType makes one.
    static Ref<GridButton> button();

    std::string identifier() const { return m_identifier; }
    void setIdentifier(std::string identifier) { m_identifier = std::move(identifier); }

private:
    std::string m_identifier;
};
