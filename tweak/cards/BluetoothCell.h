#pragma once

// The Bluetooth card: a narrow status pill showing the last Bluetooth power state that the host process read
// (isBluetoothOn), once a second. The card never asks the service itself.
//
// Published: "checkBluetoothStatus"  void checkBluetoothStatus()   (the poll, sent by the card's timer)

#include "tweak/cards/VantileStatusCell.h"

class BluetoothCell : public VantileStatusCell {
    VT_OBJECT(BluetoothCell, VantileStatusCell)
public:
    virtual void checkBluetoothStatus();

protected:
    void finishBuilding() override;
};
