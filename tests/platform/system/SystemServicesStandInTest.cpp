// The telephony and workspace stand-ins: what the device's SIM and installed applications make them answer.
#include "platform/system/CTCarrier.h"
#include "platform/system/CTTelephonyNetworkInfo.h"
#include "platform/system/DeviceTelephony.h"
#include "platform/system/LSApplicationProxy.h"
#include "platform/system/LSApplicationWorkspace.h"

#include "platform/core/Runtime.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using platform::msgSend;
using platform::system::DeviceTelephony;

TEST(Telephony, ProviderFollowsTheSIM) {
    struct Case {
        std::optional<std::string> sim;
        bool provider;
        std::optional<std::string> name;
    };
    const Case cases[] = {
        {std::nullopt, false, std::nullopt},
        {"", true, ""},
        {"Carrier One", true, "Carrier One"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sim.value_or("(no SIM)"));
        DeviceTelephony::setCarrierName(c.sim);
        id info = platform::runtime::createInstance(objc_getClass("CTTelephonyNetworkInfo"));
        msgSend(info, sel("init"));
        const auto carrier = msgSend<Ref<CTCarrier>>(info, sel("subscriberCellularProvider"));
        EXPECT_EQ(carrier != nullptr, c.provider);
        if (carrier) {
            EXPECT_EQ(msgSend<std::optional<std::string>>(carrier, sel("carrierName")), c.name);
        }
    }
    DeviceTelephony::setFailing(true);
    EXPECT_THROW(alloc<CTTelephonyNetworkInfo>()->subscriberCellularProvider(), std::runtime_error);
    DeviceTelephony::reset();
    EXPECT_FALSE(DeviceTelephony::hasSIM());
    EXPECT_FALSE(alloc<CTTelephonyNetworkInfo>()->subscriberCellularProvider());
}

class Workspace : public ::testing::Test {
protected:
    void TearDown() override {
        platform::system::resetApplicationRecords();
        platform::runtime::disableAllClassGroups();
    }
};

TEST_F(Workspace, PresentOnlyWithItsClassGroup) {
    EXPECT_EQ(objc_getClass("LSApplicationWorkspace"), nullptr);
    platform::runtime::enableClassGroup("LSApplicationWorkspace");
    EXPECT_EQ(objc_getClass("LSApplicationWorkspace"), LSApplicationWorkspace::classObject());
}

TEST_F(Workspace, ListsTheDeviceRecordsFreshAtEveryCall) {
    platform::runtime::enableClassGroup("LSApplicationWorkspace");
    platform::system::setApplicationRecords({{"com.example.notes", "Notes Plus"}, {"com.apple.camera", std::nullopt}});
    id source = platform::runtime::createInstance(objc_getClass("LSApplicationWorkspace"));
    const id workspace = msgSend<id>(source, sel("defaultWorkspace"));
    EXPECT_EQ(workspace, LSApplicationWorkspace::defaultWorkspace()) << "every instance answers the one workspace";
    auto names = [&] {
        std::vector<std::optional<std::string>> out;
        for (const id& record : msgSend<std::vector<id>>(workspace, sel("allApplications")))
            out.push_back(msgSend<std::optional<std::string>>(record, sel("itemName")));
        return out;
    };
    EXPECT_EQ(names(), (std::vector<std::optional<std::string>>{"Notes Plus", std::nullopt}));
    platform::system::setApplicationRecords({{"com.example.maps", "Maps Pro"}});
    EXPECT_EQ(names(), (std::vector<std::optional<std::string>>{"Maps Pro"}));
    EXPECT_EQ(LSApplicationWorkspace::enumerationCount(), 2u);
}

}  // namespace
