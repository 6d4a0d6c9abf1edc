#pragma once

// The BSD interface calls as the add-on sees them: getifaddrs / freeifaddrs / inet_ntop / inet_ntoa with the
// device's structures, so the add-on never includes a system header.
//
// By default the calls go to the C library of the machine (its real interfaces). A host or test may instead give
// the process a simulated list of interfaces (name, family, address) and change it while the process runs; every
// getifaddrs builds a fresh list from the entries current at that moment. Faults can be injected into either mode.
// All state is guarded, so the calls may come from any thread.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform::bsd {

// Address families as the device numbers them. The machine's own IPv6 family is reported as kAFInet6.
inline constexpr int kAFInet = 2;
inline constexpr int kAFInet6 = 30;

struct InAddr {
    std::uint32_t s_addr = 0;  // network byte order
};

// The part of a socket address the add-on reads: the family and, for kAFInet, the IPv4 address.
struct SockAddr {
    int sa_family = 0;
    InAddr sin_addr;                    // meaningful for kAFInet
    std::uint8_t sin6_addr[16] = {};    // meaningful for kAFInet6
};

struct IfAddrs {
    IfAddrs* ifa_next = nullptr;
    char* ifa_name = nullptr;
    SockAddr* ifa_addr = nullptr;  // null for an interface without an address
};

// 0 and the head of a new list (null when there is no interface) on success; -1 with `*list` untouched on failure.
int getifaddrs(IfAddrs** list);
// Frees a list from getifaddrs; null is ignored. A pointer that getifaddrs did not give is a RuntimeError.
void freeifaddrs(IfAddrs* list);
// The textual address written into `dst`, or null when the family is unknown or `size` is too small.
const char* inet_ntop(int family, const void* src, char* dst, std::size_t size);
// Dotted-decimal text in a buffer of the calling thread, overwritten by the next call on that thread.
char* inet_ntoa(InAddr address);

// One simulated interface entry. `address` is the text of an IPv4 or IPv6 address; nothing gives an entry without
// an address. An address that does not parse for its family is a std::invalid_argument when the list is set.
struct SimulatedInterface {
    std::string name;
    int family = kAFInet;
    std::optional<std::string> address;
};

// Replaces the machine's interfaces by `interfaces`, in this order (duplicates kept), from the next getifaddrs on.
void setSimulatedInterfaces(const std::vector<SimulatedInterface>& interfaces);
// The simulated list in force; nothing while the machine's own interfaces are used.
std::optional<std::vector<SimulatedInterface>> simulatedInterfaces();
// Sets the IPv4 address of the simulated interface `name` (replacing its IPv4 entries, appending one when there
// is none), or removes its IPv4 entries when `address` is nothing. Switches to a simulated list (empty at first)
// when the machine's interfaces were in use. The address text is checked as setSimulatedInterfaces does.
void setSimulatedIPv4Address(const std::string& name, const std::optional<std::string>& address);
// Back to the machine's own interfaces, with no faults.
void useMachineInterfaces();

// Injected faults, in both modes. getifaddrs fails with -1; inet_ntop answers null; with `conversionsThrow` both
// conversions throw std::runtime_error, as a failing string operation inside a caller's walk would.
void setGetifaddrsFails(bool fails);
void setInetNtopFails(bool fails);
void setConversionsThrow(bool throws);

// Calls of getifaddrs since the last reset (failed ones included), and lists handed out but not yet freed.
std::size_t getifaddrsCallCount();
std::size_t outstandingListCount();
void resetCounters();

}  // namespace platform::bsd
