// The device's radio-change observers, which the Settings host uses to read the radios again: asynchronous like
// the device's notification, only for real changes, and never for an observer removed before it would run.
#include "platform/system/DeviceRadios.h"

#include "platform/core/RunLoop.h"
#include "platform/core/Runtime.h"
#include "platform/harness/EffectLog.h"
#include "platform/system/RadiosPreferences.h"

#include <gtest/gtest.h>

namespace {

using platform::system::DeviceRadios;

class RadioObservers : public ::testing::Test {
protected:
    void SetUp() override {
        platform::resetRunLoop();
        DeviceRadios::reset();
    }
    void TearDown() override {
        DeviceRadios::reset();
        platform::resetRunLoop();
        platform::runtime::disableAllClassGroups();
    }
};

TEST_F(RadioObservers, CalledInALaterTurnForChangesOnly) {
    int calls = 0;
    DeviceRadios::addChangeObserver([&] { ++calls; });
    DeviceRadios::setAirplaneMode(false);
    DeviceRadios::setBluetoothPowered(false);
    platform::RunLoop::main().drain();
    EXPECT_EQ(calls, 0) << "nothing changed";

    DeviceRadios::setAirplaneMode(true);
    EXPECT_EQ(calls, 0) << "not from inside the setter";
    platform::RunLoop::main().drain();
    EXPECT_EQ(calls, 1);
    DeviceRadios::setBluetoothPowered(true);
    platform::RunLoop::main().drain();
    EXPECT_EQ(calls, 2);

    // A request through the service that changes the mode notifies; one that repeats the state does not.
    platform::runtime::enableClassGroup("RadiosPreferences");
    id service = platform::runtime::createInstance(objc_getClass("RadiosPreferences"));
    platform::msgSend<void, bool>(service, sel("setAirplaneMode:"), true);
    platform::RunLoop::main().drain();
    EXPECT_EQ(calls, 2);
    platform::msgSend<void, bool>(service, sel("setAirplaneMode:"), false);
    platform::RunLoop::main().drain();
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(DeviceRadios::airplaneModeRequests(), (std::vector<bool>{true, false}));
    EXPECT_EQ(platform::effectsOfKind("airplaneMode").back(), (platform::EffectRecord{"airplaneMode", "off", 0}));
}

TEST_F(RadioObservers, RemovedObserverIsNotCalledEvenWhenAlreadyQueued) {
    int first = 0, second = 0;
    const std::size_t a = DeviceRadios::addChangeObserver([&] { ++first; });
    DeviceRadios::addChangeObserver([&] { ++second; });
    DeviceRadios::setAirplaneMode(true);
    DeviceRadios::removeChangeObserver(a);
    platform::RunLoop::main().drain();
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 1);
    DeviceRadios::reset();
    DeviceRadios::setAirplaneMode(true);
    platform::RunLoop::main().drain();
    EXPECT_EQ(second, 1) << "reset drops the observers";
}

TEST_F(RadioObservers, HostReadAsksOnlyTheServicesThatExist) {
    DeviceRadios::readStatesAsHost();
    EXPECT_EQ(DeviceRadios::airplaneModeQueries(), 0u);
    EXPECT_EQ(DeviceRadios::bluetoothQueries(), 0u);
    platform::runtime::enableClassGroup("BluetoothManager");
    DeviceRadios::readStatesAsHost();
    EXPECT_EQ(DeviceRadios::airplaneModeQueries(), 0u);
    EXPECT_EQ(DeviceRadios::bluetoothQueries(), 1u);
    platform::runtime::enableClassGroup("RadiosPreferences");
    DeviceRadios::readStatesAsHost();
    EXPECT_EQ(DeviceRadios::airplaneModeQueries(), 1u);
    EXPECT_EQ(DeviceRadios::bluetoothQueries(), 2u);
}

}  // namespace
