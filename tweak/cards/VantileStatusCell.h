#pragma once

// What the four live status cards (airplane mode, Bluetooth, Wi-Fi, cellular data) share: the subtitle turned into
// a small rounded pill of fixed size, the poll timer and the display of one on/off state in it. The pill's two texts
// and the poll's selector come from the card's row; each card class says where its state comes from, when its
// timer starts and what else a poll changes.
//
// The pill shows nothing until the first poll. Its colours are read at every poll from the stored status colours
// (fallbacks "35C759" on, "FE3B30" off) through the card colour reader; its text is white unless the user's text
// colour is on, in which case it keeps what the colour pass gave it.

#include "tweak/cards/VantileCardCell.h"

#include <string_view>

class NSTimer;

class VantileStatusCell : public VantileCardCell {
    VT_OBJECT(VantileStatusCell, VantileCardCell)
public:
    static constexpr CGFloat kPillCornerRadius = 5;
    static constexpr CGFloat kPillHeight = 10;
    static constexpr CGFloat kNarrowPill = 40;  // "ON" / "OFF"
    static constexpr CGFloat kWidePill = 65;    // "Connected" / "Disconnected"
    static constexpr double kPollInterval = 1.0;

protected:
    virtual CGFloat pillWidth() const { return kNarrowPill; }

    void constrainSubtitle(const Ref<UILabel>& subtitle) override;
    // A repeating 1-second timer on the main run loop sending the row's poll selector to this card, kept as the
    // kind's last timer; the timer keeps the card alive. Nothing for a card without a row.
    void startPolling();
    // Text and background of the pill for the state, then its text colour.
    void showStatus(bool on);
};
