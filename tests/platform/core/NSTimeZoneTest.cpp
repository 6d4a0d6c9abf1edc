#include "platform/core/NSTimeZone.h"

#include <gtest/gtest.h>

namespace {

TEST(NSTimeZone, NamesGiveTheirOffsetAndBadNamesNothing) {
    const std::pair<const char*, std::optional<long>> cases[] = {
        {"UTC", 0},
        {"Europe/Berlin", 3600},
        {"Asia/Kolkata", 19800},
        {"America/Los_Angeles", -28800},
        {"GMT+2", 7200},
        {"GMT-05", -18000},
        {"GMT+05:45", 20700},
        {"GMT+14", 50400},
        {"GMT+14:30", std::nullopt},
        {"GMT+15", std::nullopt},
        {"GMT+5:7", std::nullopt},
        {"GMT+", std::nullopt},
        {"GMT2", std::nullopt},
        {"europe/berlin", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [name, offset] : cases) {
        auto zone = NSTimeZone::timeZoneWithName(name);
        EXPECT_EQ(zone ? std::optional<long>(zone->secondsFromGMT()) : std::nullopt, offset) << name;
    }
}

TEST(NSTimeZone, TheDevicesZoneChangesOnlyToKnownZones) {
    EXPECT_TRUE(NSTimeZone::setLocalTimeZoneName("Asia/Tokyo"));
    EXPECT_FALSE(NSTimeZone::setLocalTimeZoneName("Mars/Olympus"));
    EXPECT_EQ(NSTimeZone::localTimeZone()->name(), "Asia/Tokyo");
    EXPECT_EQ(NSTimeZone::localTimeZone()->secondsFromGMT(), 9 * 3600);
    EXPECT_TRUE(NSTimeZone::setLocalTimeZoneName("UTC"));
}

}  // namespace
