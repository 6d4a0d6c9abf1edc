// The network probe over simulated interface lists (the shapes a device reports, the faults of the BSD calls),
// over the machine's own interfaces in a private network namespace, and the carrier question.
#include "tweak/cards/NetworkManager.h"
#include "tweak/cards/VantileManager.h"

#include "platform/core/Runtime.h"
#include "platform/system/BSDNetwork.h"
#include "platform/system/DeviceTelephony.h"

#include <gtest/gtest.h>

#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

namespace bsd = platform::bsd;
using Interfaces = std::vector<bsd::SimulatedInterface>;
using Text = std::optional<std::string>;

class NetworkProbe : public ::testing::Test {
protected:
    void SetUp() override { bsd::useMachineInterfaces(); }
    void TearDown() override {
        EXPECT_EQ(bsd::outstandingListCount(), 0u) << "the probe did not free a list";
        bsd::useMachineInterfaces();
        platform::system::DeviceTelephony::reset();
    }
};

struct ListCase {
    const char* what;
    Interfaces interfaces;
    Text wifi;
    Text cell;
};

TEST_F(NetworkProbe, AddressesFromTheInterfaceList) {
    const ListCase cases[] = {
        {"both connected", {{"en0", bsd::kAFInet, "192.168.1.20"}, {"pdp_ip0", bsd::kAFInet, "10.64.3.7"}},
         "192.168.1.20", "10.64.3.7"},
        {"no interfaces", {}, std::nullopt, std::nullopt},
        {"IPv6 only", {{"en0", bsd::kAFInet6, "fe80::1c2a:3bff:fe4d:5e6f"}, {"pdp_ip0", bsd::kAFInet6, "2001:db8::7"}},
         std::nullopt, std::nullopt},
        {"IPv6 after IPv4 does not hide it",
         {{"en0", bsd::kAFInet, "192.168.1.20"}, {"en0", bsd::kAFInet6, "fe80::1"}}, "192.168.1.20", std::nullopt},
        {"last en0 wins", {{"en0", bsd::kAFInet, "10.0.0.1"}, {"lo0", bsd::kAFInet, "127.0.0.1"},
                           {"en0", bsd::kAFInet, "10.0.0.2"}}, "10.0.0.2", std::nullopt},
        {"last pdp_ip0 wins", {{"pdp_ip0", bsd::kAFInet, "100.64.0.1"}, {"pdp_ip0", bsd::kAFInet, "100.64.0.2"}},
         std::nullopt, "100.64.0.2"},
        {"names compare with case", {{"EN0", bsd::kAFInet, "10.0.0.1"}, {"en0 ", bsd::kAFInet, "10.0.0.2"},
                                     {"PDP_IP0", bsd::kAFInet, "10.0.0.3"}}, std::nullopt, std::nullopt},
        {"other interfaces only", {{"lo0", bsd::kAFInet, "127.0.0.1"}, {"en1", bsd::kAFInet, "10.1.1.1"},
                                   {"pdp_ip1", bsd::kAFInet, "10.2.2.2"}}, std::nullopt, std::nullopt},
        {"entry without address", {{"en0", bsd::kAFInet, std::nullopt}, {"pdp_ip0", bsd::kAFInet, std::nullopt}},
         std::nullopt, std::nullopt},
        {"zero address is still an address", {{"en0", bsd::kAFInet, "0.0.0.0"}}, "0.0.0.0", std::nullopt},
    };
    for (const ListCase& c : cases) {
        SCOPED_TRACE(c.what);
        bsd::setSimulatedInterfaces(c.interfaces);
        EXPECT_EQ(NetworkManager::wiFiIPAddress(), c.wifi);
        EXPECT_EQ(NetworkManager::cellIPAddress(), c.cell);
        EXPECT_EQ(NetworkManager::connectedToWiFi(), c.wifi.has_value());
        EXPECT_EQ(NetworkManager::connectedToCellNetwork(), c.cell.has_value());
    }
}

TEST_F(NetworkProbe, EveryQuestionWalksAFreshList) {
    bsd::setSimulatedIPv4Address("en0", "192.168.1.20");
    bsd::resetCounters();
    EXPECT_TRUE(NetworkManager::connectedToWiFi());
    bsd::setSimulatedIPv4Address("en0", std::nullopt);
    EXPECT_FALSE(NetworkManager::connectedToWiFi());
    EXPECT_EQ(bsd::getifaddrsCallCount(), 2u) << "no caching between questions";
}

TEST_F(NetworkProbe, FailedListingAnswersNothing) {
    bsd::setSimulatedInterfaces({{"en0", bsd::kAFInet, "10.0.0.1"}, {"pdp_ip0", bsd::kAFInet, "10.0.0.2"}});
    bsd::setGetifaddrsFails(true);
    EXPECT_EQ(NetworkManager::wiFiIPAddress(), std::nullopt);
    EXPECT_EQ(NetworkManager::cellIPAddress(), std::nullopt);
    EXPECT_FALSE(NetworkManager::connectedToWiFi());
    EXPECT_FALSE(NetworkManager::connectedToCellNetwork());
}

TEST_F(NetworkProbe, FailedNtopDropsTheCellularAddressOnly) {
    bsd::setSimulatedInterfaces({{"pdp_ip0", bsd::kAFInet, "10.0.0.2"}, {"en0", bsd::kAFInet, "10.0.0.1"},
                                 {"pdp_ip0", bsd::kAFInet, "10.0.0.3"}});
    bsd::setInetNtopFails(true);
    EXPECT_EQ(NetworkManager::cellIPAddress(), std::nullopt) << "the failed last entry drops the earlier match";
    EXPECT_FALSE(NetworkManager::connectedToCellNetwork());
    EXPECT_EQ(NetworkManager::wiFiIPAddress(), "10.0.0.1") << "Wi-Fi converts with inet_ntoa";
}

TEST_F(NetworkProbe, ExceptionsDuringTheWalkAnswerNothingAndFreeTheList) {
    bsd::setSimulatedInterfaces({{"en0", bsd::kAFInet, "10.0.0.1"}, {"pdp_ip0", bsd::kAFInet, "10.0.0.2"}});
    bsd::setConversionsThrow(true);
    EXPECT_EQ(NetworkManager::wiFiIPAddress(), std::nullopt);
    EXPECT_EQ(NetworkManager::cellIPAddress(), std::nullopt);
    EXPECT_FALSE(NetworkManager::connectedToWiFi());
    EXPECT_EQ(bsd::outstandingListCount(), 0u);
}

TEST_F(NetworkProbe, CarrierName) {
    using platform::system::DeviceTelephony;
    const std::pair<std::optional<std::string>, Text> cases[] = {
        {std::nullopt, std::nullopt},  // no SIM
        {"", std::nullopt},            // a SIM without a name gives nothing, not ""
        {"Carrier One", "Carrier One"},
    };
    for (const auto& [sim, expected] : cases) {
        DeviceTelephony::setCarrierName(sim);
        EXPECT_EQ(NetworkManager::carrierName(), expected) << sim.value_or("(no SIM)");
    }
    DeviceTelephony::setFailing(true);
    EXPECT_EQ(NetworkManager::carrierName(), std::nullopt) << "a throwing telephony call is caught";
}

TEST_F(NetworkProbe, SharedManagerForwardsByName) {
    bsd::setSimulatedInterfaces({{"en0", bsd::kAFInet, "192.168.7.7"}, {"pdp_ip0", bsd::kAFInet, "10.9.9.9"}});
    platform::system::DeviceTelephony::setCarrierName("Carrier Two");
    id source = platform::runtime::createInstance(objc_getClass("VantileManager"));
    const id manager = platform::msgSend<id>(source, sel("sharedManager"));
    ASSERT_EQ(manager, VantileManager::sharedManager());
    EXPECT_EQ(platform::msgSend<Text>(manager, sel("wiFiIPAddress")), "192.168.7.7");
    EXPECT_EQ(platform::msgSend<Text>(manager, sel("cellIPAddress")), "10.9.9.9");
    EXPECT_TRUE(platform::msgSend<bool>(manager, sel("connectedToWiFi")));
    EXPECT_TRUE(platform::msgSend<bool>(manager, sel("connectedToCellNetwork")));
    EXPECT_EQ(platform::msgSend<Text>(manager, sel("carrierName")), "Carrier Two");
}

// The machine's own getifaddrs: a child process enters a network namespace of its own, gives it an interface
// named "en0" (and a decoy "EN0") with IPv4 addresses, and reports what the probe finds.
TEST_F(NetworkProbe, FindsEn0OnTheMachine) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to create a network namespace";
    if (std::system("command -v ip >/dev/null 2>&1") != 0) GTEST_SKIP() << "the ip tool is not installed";
    int channel[2];
    ASSERT_EQ(::pipe(channel), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(channel[0]);
        auto report = [&](const std::string& text, int code) {
            [[maybe_unused]] auto written = ::write(channel[1], text.data(), text.size());
            ::_exit(code);
        };
        if (::unshare(CLONE_NEWNET) != 0) report("", 2);
        // A dummy interface where the kernel has the module, a veth pair otherwise.
        const char* makeLinks =
            "{ ip link add en0 type dummy && ip link add EN0 type dummy; } 2>/dev/null || "
            "{ ip link add en0 type veth peer name peer0 && ip link add EN0 type veth peer name peer1; } 2>/dev/null";
        if (std::system(makeLinks) != 0) report("", 3);
        if (std::system("ip addr add 10.77.0.5/24 dev en0 && ip addr add 10.88.0.9/24 dev EN0 && "
                        "ip -6 addr add 2001:db8::5/64 dev en0 nodad 2>/dev/null; true") != 0)
            report("", 3);
        report(NetworkManager::wiFiIPAddress().value_or("(nothing)") + "|" +
                   (NetworkManager::connectedToCellNetwork() ? "cell" : "nocell"),
               0);
    }
    ::close(channel[1]);
    std::string got;
    std::array<char, 128> buffer{};
    for (ssize_t n; (n = ::read(channel[0], buffer.data(), buffer.size())) > 0;) got.append(buffer.data(), n);
    ::close(channel[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 2) GTEST_SKIP() << "network namespaces are not available here";
    if (WEXITSTATUS(status) == 3) GTEST_SKIP() << "the kernel offers neither dummy nor veth interfaces";
    ASSERT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(got, "10.77.0.5|nocell");
}

}  // namespace
