// The airplane mode card, its start-up state and the recorder of the airplane mode state.
#include "tweak/cards/AirplaneCell.h"

#include "tweak/cards/CardStartup.h"
#include "tweak/cards/RadioFlags.h"

#include "platform/core/NSTimer.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/UIColor.h"
#include "platform/ui/NSLayoutConstraint.h"
#include "platform/ui/UIButton.h"

VT_REGISTER_CLASS(AirplaneCell, [](Class c) {
    using platform::runtime::addMethod;
    addMethod<&AirplaneCell::checkAirplaneModeStatus>(c, "checkAirplaneModeStatus");
    addMethod<&AirplaneCell::toggleAirplaneModeON>(c, "toggleAirplaneModeON");
    addMethod<&AirplaneCell::toggleAirplaneModeOFF>(c, "toggleAirplaneModeOFF");
})

namespace vantile {
std::atomic<bool> isAirplaneModeOn{false};
Ref<NSTimer> refreshAirplaneModeTimer;
}  // namespace vantile

void AirplaneCell::finishBuilding() {
    m_toggleONButton = makeToggleButton("toggleAirplaneModeON");
    m_toggleOFFButton = makeToggleButton("toggleAirplaneModeOFF");
    vantile::refreshAirplaneModeTimer = schedulePollTimer("checkAirplaneModeStatus");
    sendFetchColourOptions();
}

Ref<UIButton> AirplaneCell::makeToggleButton(std::string_view action) {
    auto button = alloc<UIButton>();
    button->initWithFrame(CGRectZero);
    button->setTitleForState("", UIControlStateNormal);
    button->setBackgroundColor(UIColor::clearColor());
    button->setTitleColorForState(UIColor::whiteColor(), UIControlStateNormal);
    button->addTargetActionForControlEvents(self(), sel(action), UIControlEventTouchUpInside);
    const Ref<UIView>& base = cellBaseView();
    button->setTranslatesAutoresizingMaskIntoConstraints(false);
    base->addSubview(button);
    button->topAnchor().constraintEqualToAnchorConstant(base->topAnchor(), 0)->setActive(true);
    button->leadingAnchor().constraintEqualToAnchorConstant(base->leadingAnchor(), 0)->setActive(true);
    button->trailingAnchor().constraintEqualToAnchorConstant(base->trailingAnchor(), 0)->setActive(true);
    button->bottomAnchor().constraintEqualToAnchorConstant(base->bottomAnchor(), 0)->setActive(true);
    return button;
}

void AirplaneCell::checkAirplaneModeStatus() {
    const bool on = vantile::isAirplaneModeOn.load(std::memory_order_relaxed);
    showStatus(on);
    // Only the button asking for the opposite of the shown state stays reachable.
    m_toggleONButton->setHidden(on);
    m_toggleOFFButton->setHidden(!on);
}

void AirplaneCell::toggleAirplaneModeON() { requestAirplaneMode(true); }

void AirplaneCell::toggleAirplaneModeOFF() { requestAirplaneMode(false); }

void AirplaneCell::requestAirplaneMode(bool on) {
    // Looked up at every request: a process without the service gets no switch, only the haptic.
    if (Class radios = objc_getClass("RadiosPreferences")) {
        id service = platform::runtime::createInstance(radios);
        platform::msgSend<void, bool>(service, sel("setAirplaneMode:"), on);
    }
    fireLightHaptic();
}

namespace vantile::cards {

CardSettings& airplaneCellSettings() {
    static CardSettings settings("AirplaneCell");
    return settings;
}

void airplaneCellStartup() { airplaneCellSettings().load({"airplaneMODE", "statusON", "statusOFF"}); }

namespace {

bool (*g_previousAirplaneMode)(NSObject*, SEL) = nullptr;

// Records what the host learnt and hands it the system's own answer unchanged.
bool recordAirplaneMode(NSObject* self, SEL cmd) {
    const bool on = g_previousAirplaneMode(self, cmd);
    isAirplaneModeOn.store(on, std::memory_order_relaxed);
    return on;
}

}  // namespace

// Installed in every process, whatever the master switch says: the card shows the state even in a process where
// the Settings hooks are off. A process without the class gets no hook (the run-time counts the refusal).
void airplaneCellRecorderStartup() {
    MSHookMessageEx(objc_getClass("RadiosPreferences"), sel("airplaneMode"), &recordAirplaneMode,
                    &g_previousAirplaneMode);
}

}  // namespace vantile::cards
