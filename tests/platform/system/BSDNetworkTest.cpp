// The interface seam: simulated lists as the device would report them, their changes while running, the faults,
// and that every list handed out is accounted for.
#include "platform/system/BSDNetwork.h"

#include "platform/core/Runtime.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

namespace bsd = platform::bsd;

struct Seen {
    std::string name;
    int family;
    std::string address;  // "" for an entry without an address
    friend bool operator==(const Seen&, const Seen&) = default;
};

// The list as a reader walks it, converted with the machine's own inet_ntop as an independent check.
std::vector<Seen> walk() {
    bsd::IfAddrs* head = nullptr;
    EXPECT_EQ(bsd::getifaddrs(&head), 0);
    std::vector<Seen> out;
    for (auto* e = head; e; e = e->ifa_next) {
        Seen s{e->ifa_name, 0, ""};
        if (e->ifa_addr) {
            s.family = e->ifa_addr->sa_family;
            char text[64] = {};
            if (s.family == bsd::kAFInet) ::inet_ntop(AF_INET, &e->ifa_addr->sin_addr, text, sizeof text);
            else ::inet_ntop(AF_INET6, e->ifa_addr->sin6_addr, text, sizeof text);
            s.address = text;
        }
        out.push_back(s);
    }
    bsd::freeifaddrs(head);
    return out;
}

class BSDNetwork : public ::testing::Test {
protected:
    void SetUp() override {
        bsd::useMachineInterfaces();
        bsd::resetCounters();
    }
    void TearDown() override {
        EXPECT_EQ(bsd::outstandingListCount(), 0u) << "a list was not freed";
        bsd::useMachineInterfaces();
    }
};

TEST_F(BSDNetwork, SimulatedListKeepsOrderDuplicatesAndFamilies) {
    bsd::setSimulatedInterfaces({{"lo0", bsd::kAFInet, "127.0.0.1"},
                                 {"en0", bsd::kAFInet6, "fe80::1"},
                                 {"en0", bsd::kAFInet, "192.168.1.20"},
                                 {"en0", bsd::kAFInet, "192.168.1.21"},
                                 {"pdp_ip0", bsd::kAFInet, std::nullopt}});
    const std::vector<Seen> expected{{"lo0", 2, "127.0.0.1"},
                                     {"en0", 30, "fe80::1"},
                                     {"en0", 2, "192.168.1.20"},
                                     {"en0", 2, "192.168.1.21"},
                                     {"pdp_ip0", 0, ""}};
    EXPECT_EQ(walk(), expected);
    EXPECT_EQ(bsd::getifaddrsCallCount(), 1u);
}

TEST_F(BSDNetwork, EmptySimulatedListIsSuccessWithoutEntries) {
    bsd::setSimulatedInterfaces({});
    bsd::IfAddrs* head = reinterpret_cast<bsd::IfAddrs*>(0x1);
    EXPECT_EQ(bsd::getifaddrs(&head), 0);
    EXPECT_EQ(head, nullptr);
    bsd::freeifaddrs(head);
}

TEST_F(BSDNetwork, AddressChangesReachTheNextListOnly) {
    bsd::setSimulatedIPv4Address("en0", "10.0.0.2");
    bsd::IfAddrs* before = nullptr;
    ASSERT_EQ(bsd::getifaddrs(&before), 0);
    bsd::setSimulatedIPv4Address("pdp_ip0", "100.64.0.9");
    bsd::setSimulatedIPv4Address("en0", "10.0.0.3");
    EXPECT_EQ(std::string(bsd::inet_ntoa(before->ifa_addr->sin_addr)), "10.0.0.2") << "a list handed out is a copy";
    bsd::freeifaddrs(before);
    EXPECT_EQ(walk(), (std::vector<Seen>{{"en0", 2, "10.0.0.3"}, {"pdp_ip0", 2, "100.64.0.9"}}));
    bsd::setSimulatedIPv4Address("en0", std::nullopt);
    EXPECT_EQ(walk(), (std::vector<Seen>{{"pdp_ip0", 2, "100.64.0.9"}}));
}

TEST_F(BSDNetwork, SettingAnAddressReplacesEveryIPv4EntryButKeepsIPv6) {
    bsd::setSimulatedInterfaces({{"en0", bsd::kAFInet, "10.0.0.1"},
                                 {"en0", bsd::kAFInet6, "fe80::2"},
                                 {"en0", bsd::kAFInet, "10.0.0.9"}});
    bsd::setSimulatedIPv4Address("en0", "172.16.0.4");
    EXPECT_EQ(walk(), (std::vector<Seen>{{"en0", 2, "172.16.0.4"}, {"en0", 30, "fe80::2"}}));
}

TEST_F(BSDNetwork, BadAddressTextIsRefusedAndChangesNothing) {
    bsd::setSimulatedIPv4Address("en0", "10.0.0.1");
    EXPECT_THROW(bsd::setSimulatedInterfaces({{"en0", bsd::kAFInet, "10.0.0.256"}}), std::invalid_argument);
    EXPECT_THROW(bsd::setSimulatedInterfaces({{"en0", bsd::kAFInet, "fe80::1"}}), std::invalid_argument);
    EXPECT_THROW(bsd::setSimulatedIPv4Address("en0", "wifi"), std::invalid_argument);
    EXPECT_EQ(walk(), (std::vector<Seen>{{"en0", 2, "10.0.0.1"}}));
}

TEST_F(BSDNetwork, InjectedFaults) {
    bsd::setSimulatedIPv4Address("en0", "10.0.0.1");
    bsd::setGetifaddrsFails(true);
    bsd::IfAddrs* head = nullptr;
    EXPECT_EQ(bsd::getifaddrs(&head), -1);
    EXPECT_EQ(head, nullptr) << "a failed call leaves the output alone";
    bsd::setGetifaddrsFails(false);

    const bsd::InAddr address{htonl(0x0A000001)};
    char buffer[64];
    EXPECT_STREQ(bsd::inet_ntop(bsd::kAFInet, &address, buffer, sizeof buffer), "10.0.0.1");
    bsd::setInetNtopFails(true);
    EXPECT_EQ(bsd::inet_ntop(bsd::kAFInet, &address, buffer, sizeof buffer), nullptr);
    EXPECT_STREQ(bsd::inet_ntoa(address), "10.0.0.1") << "only inet_ntop fails";
    bsd::setInetNtopFails(false);
    bsd::setConversionsThrow(true);
    EXPECT_THROW(bsd::inet_ntoa(address), std::runtime_error);
    EXPECT_THROW(bsd::inet_ntop(bsd::kAFInet, &address, buffer, sizeof buffer), std::runtime_error);
    bsd::useMachineInterfaces();
    EXPECT_STREQ(bsd::inet_ntoa(address), "10.0.0.1") << "the machine's mode clears the faults";
    EXPECT_EQ(bsd::getifaddrsCallCount(), 1u);
}

TEST_F(BSDNetwork, NtopRefusesSmallBuffersAndUnknownFamilies) {
    const bsd::InAddr address{htonl(0xC0A80114)};
    char small[8];
    EXPECT_EQ(bsd::inet_ntop(bsd::kAFInet, &address, small, sizeof small), nullptr);
    char buffer[64];
    EXPECT_EQ(bsd::inet_ntop(17, &address, buffer, sizeof buffer), nullptr);
}

TEST_F(BSDNetwork, FreeingAListTwiceIsMisuse) {
    bsd::setSimulatedIPv4Address("en0", "10.0.0.1");
    bsd::IfAddrs* head = nullptr;
    ASSERT_EQ(bsd::getifaddrs(&head), 0);
    EXPECT_EQ(bsd::outstandingListCount(), 1u);
    bsd::freeifaddrs(head);
    EXPECT_THROW(bsd::freeifaddrs(head), platform::RuntimeError);
}

TEST_F(BSDNetwork, MachineModeReportsTheLoopback) {
    // Every Linux network namespace has "lo" with 127.0.0.1 unless someone took it down and away.
    const std::vector<Seen> seen = walk();
    const bool loopback = std::any_of(seen.begin(), seen.end(), [](const Seen& s) {
        return s.name == "lo" && s.family == bsd::kAFInet && s.address == "127.0.0.1";
    });
    if (seen.empty()) GTEST_SKIP() << "the machine reports no interfaces";
    EXPECT_TRUE(loopback);
    EXPECT_FALSE(bsd::simulatedInterfaces().has_value());
}

}  // namespace
