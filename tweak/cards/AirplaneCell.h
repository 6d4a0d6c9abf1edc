#pragma once

// The airplane mode card: a narrow status pill showing the last airplane mode state that the host process read
// (isAirplaneModeOn), once a second, and two transparent buttons over the whole tile that switch the mode. The
// poll shows only the button that asks for the opposite of the shown state; before the first poll both are
// visible and the OFF button, added last, takes the tap. The card has no tap recogniser and opens no page.
//
// Published: "checkAirplaneModeStatus"  void checkAirplaneModeStatus()   (the poll, sent by the card's timer)
//            "toggleAirplaneModeON"     void toggleAirplaneModeON()      (touch-up-inside of toggleONButton)
//            "toggleAirplaneModeOFF"    void toggleAirplaneModeOFF()     (touch-up-inside of toggleOFFButton)

#include "tweak/cards/VantileStatusCell.h"

class UIButton;

class AirplaneCell : public VantileStatusCell {
    VT_OBJECT(AirplaneCell, VantileStatusCell)
public:
    virtual void checkAirplaneModeStatus();
    // Ask the system service, found by name at each tap, to switch the mode; then the light haptic. The display
    // follows only when the host reads the new state and the next poll runs.
    virtual void toggleAirplaneModeON();
    virtual void toggleAirplaneModeOFF();

    const Ref<UIButton>& toggleONButton() const { return m_toggleONButton; }
    const Ref<UIButton>& toggleOFFButton() const { return m_toggleOFFButton; }

protected:
    void finishBuilding() override;

private:
    Ref<UIButton> makeToggleButton(std::string_view action);
    void requestAirplaneMode(bool on);

    Ref<UIButton> m_toggleONButton;
    Ref<UIButton> m_toggleOFFButton;
};
