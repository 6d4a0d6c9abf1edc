#include "platform/core/Runtime.h"
#include "platform/system/BluetoothManager.h"
#include "platform/system/DeviceRadios.h"
#include "platform/system/RadiosPreferences.h"

#include <gtest/gtest.h>

namespace {

using platform::system::DeviceRadios;

class RadioServices : public testing::Test {
protected:
    void SetUp() override { DeviceRadios::reset(); }
    void TearDown() override {
        platform::runtime::disableAllClassGroups();
        DeviceRadios::reset();
    }
};

TEST_F(RadioServices, ClassesExistOnlyInProcessesThatHaveThem) {
    platform::runtime::disableAllClassGroups();
    EXPECT_EQ(objc_getClass("RadiosPreferences"), nullptr);
    EXPECT_EQ(objc_getClass("BluetoothManager"), nullptr);
    platform::runtime::enableClassGroup("RadiosPreferences");
    EXPECT_EQ(objc_getClass("RadiosPreferences"), RadiosPreferences::classObject());
    EXPECT_EQ(objc_getClass("BluetoothManager"), nullptr) << "each service has its own group";
}

TEST_F(RadioServices, GettersReportTheDeviceThroughTheRunTime) {
    platform::runtime::enableClassGroup("RadiosPreferences");
    platform::runtime::enableClassGroup("BluetoothManager");
    id radios = platform::runtime::createInstance(objc_getClass("RadiosPreferences"));
    ASSERT_TRUE(radios);
    for (bool on : {true, false}) {
        DeviceRadios::setAirplaneMode(on);
        DeviceRadios::setBluetoothPowered(!on);
        EXPECT_EQ(platform::msgSend<bool>(radios, sel("airplaneMode")), on);
        EXPECT_EQ(platform::msgSend<bool>(BluetoothManager::sharedInstance(), sel("powered")), !on);
    }
    EXPECT_EQ(DeviceRadios::airplaneModeQueries(), 2u);
    EXPECT_EQ(DeviceRadios::bluetoothQueries(), 2u);
    EXPECT_EQ(BluetoothManager::sharedInstance(), BluetoothManager::sharedInstance());
}

TEST_F(RadioServices, AirplaneModeRequestsSwitchAndAreRecorded) {
    platform::runtime::enableClassGroup("RadiosPreferences");
    id radios = platform::runtime::createInstance(objc_getClass("RadiosPreferences"));
    platform::msgSend<void>(radios, sel("setAirplaneMode:"), true);
    EXPECT_TRUE(DeviceRadios::airplaneMode());
    platform::msgSend<void>(radios, sel("setAirplaneMode:"), true);  // asking for the current state still counts
    platform::msgSend<void>(radios, sel("setAirplaneMode:"), false);
    EXPECT_FALSE(DeviceRadios::airplaneMode());
    EXPECT_EQ(DeviceRadios::airplaneModeRequests(), (std::vector<bool>{true, true, false}));
    EXPECT_THROW(platform::msgSend<void>(radios, sel("setAirplaneMode:"), 1L), platform::RuntimeError)
        << "the published signature takes a bool";
}

}  // namespace
