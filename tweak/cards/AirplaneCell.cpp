#include "tweak/cards/AirplaneCell.h"

#include "tweak/cards/CardTable.h"
#include "tweak/cards/RadioFlags.h"

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

// Its class is its own, not one made from the table; the table's row must still name it.
static_assert(vantile::cards::cardClassHasShape(AirplaneCell::kClassName, vantile::cards::CardShape::Airplane),
              "the airplane row names this class");

void AirplaneCell::finishBuilding() {
    m_toggleONButton = makeToggleButton("toggleAirplaneModeON");
    m_toggleOFFButton = makeToggleButton("toggleAirplaneModeOFF");
    startPolling();
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
