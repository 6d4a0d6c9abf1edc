#include "platform/system/BSDNetwork.h"

#include "platform/core/Runtime.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>

namespace platform::bsd {
namespace {

// One list handed out by getifaddrs: the entries, their names and addresses live in one owner, so freeing the head
// frees everything, and a list is a copy that later changes of the simulated interfaces cannot reach into.
struct Block {
    std::vector<IfAddrs> entries;
    std::vector<std::unique_ptr<char[]>> names;
    std::vector<std::unique_ptr<SockAddr>> addresses;
};

struct Entry {
    std::string name;
    std::optional<SockAddr> address;
};

struct State {
    std::mutex mutex;
    std::optional<std::vector<SimulatedInterface>> simulated;
    bool getifaddrsFails = false;
    bool ntopFails = false;
    bool conversionsThrow = false;
    std::size_t calls = 0;
    std::map<IfAddrs*, std::unique_ptr<Block>> outstanding;
};

State& state() {
    static State* s = new State;  // never destroyed: a probe may run during static destruction
    return *s;
}

SockAddr parseAddress(const SimulatedInterface& entry) {
    SockAddr address;
    address.sa_family = entry.family;
    if (entry.family == kAFInet) {
        in_addr parsed{};
        if (::inet_pton(AF_INET, entry.address->c_str(), &parsed) != 1)
            throw std::invalid_argument("not an IPv4 address: " + *entry.address);
        address.sin_addr.s_addr = parsed.s_addr;
    } else if (entry.family == kAFInet6) {
        in6_addr parsed{};
        if (::inet_pton(AF_INET6, entry.address->c_str(), &parsed) != 1)
            throw std::invalid_argument("not an IPv6 address: " + *entry.address);
        std::memcpy(address.sin6_addr, &parsed, sizeof address.sin6_addr);
    } else {
        throw std::invalid_argument("unsupported address family " + std::to_string(entry.family));
    }
    return address;
}

void checkEntries(const std::vector<SimulatedInterface>& interfaces) {
    for (const auto& entry : interfaces)
        if (entry.address) parseAddress(entry);
}

std::vector<Entry> simulatedEntries(const std::vector<SimulatedInterface>& interfaces) {
    std::vector<Entry> out;
    for (const auto& entry : interfaces) {
        Entry e{entry.name, std::nullopt};
        if (entry.address) e.address = parseAddress(entry);
        out.push_back(std::move(e));
    }
    return out;
}

// The machine's interfaces, translated at once so that the machine's list is freed before anyone sees ours.
std::optional<std::vector<Entry>> machineEntries() {
    ifaddrs* head = nullptr;
    if (::getifaddrs(&head) != 0) return std::nullopt;
    std::vector<Entry> out;
    for (ifaddrs* at = head; at; at = at->ifa_next) {
        Entry e{at->ifa_name ? at->ifa_name : "", std::nullopt};
        if (at->ifa_addr) {
            SockAddr address;
            const int family = at->ifa_addr->sa_family;
            if (family == AF_INET) {
                address.sa_family = kAFInet;
                address.sin_addr.s_addr = reinterpret_cast<const sockaddr_in*>(at->ifa_addr)->sin_addr.s_addr;
            } else if (family == AF_INET6) {
                address.sa_family = kAFInet6;
                std::memcpy(address.sin6_addr, &reinterpret_cast<const sockaddr_in6*>(at->ifa_addr)->sin6_addr,
                            sizeof address.sin6_addr);
            } else {
                address.sa_family = family;
            }
            e.address = address;
        }
        out.push_back(std::move(e));
    }
    ::freeifaddrs(head);
    return out;
}

void checkConversionFault() {
    bool throws;
    {
        std::lock_guard lock(state().mutex);
        throws = state().conversionsThrow;
    }
    if (throws) throw std::runtime_error("address conversion failed");
}

}  // namespace

int getifaddrs(IfAddrs** list) {
    State& s = state();
    std::optional<std::vector<SimulatedInterface>> simulated;
    {
        std::lock_guard lock(s.mutex);
        ++s.calls;
        if (s.getifaddrsFails) {
            errno = ENOMEM;
            return -1;
        }
        simulated = s.simulated;
    }
    std::optional<std::vector<Entry>> entries = simulated ? simulatedEntries(*simulated) : machineEntries();
    if (!entries) return -1;
    if (entries->empty()) {
        *list = nullptr;
        return 0;
    }

    auto block = std::make_unique<Block>();
    block->entries.resize(entries->size());
    for (std::size_t i = 0; i < entries->size(); ++i) {
        const Entry& e = (*entries)[i];
        auto name = std::make_unique<char[]>(e.name.size() + 1);
        std::memcpy(name.get(), e.name.c_str(), e.name.size() + 1);
        IfAddrs& out = block->entries[i];
        out.ifa_name = name.get();
        block->names.push_back(std::move(name));
        if (e.address) {
            block->addresses.push_back(std::make_unique<SockAddr>(*e.address));
            out.ifa_addr = block->addresses.back().get();
        }
        out.ifa_next = i + 1 < entries->size() ? &block->entries[i + 1] : nullptr;
    }
    IfAddrs* head = &block->entries.front();
    {
        std::lock_guard lock(s.mutex);
        s.outstanding.emplace(head, std::move(block));
    }
    *list = head;
    return 0;
}

void freeifaddrs(IfAddrs* list) {
    if (!list) return;
    std::lock_guard lock(state().mutex);
    if (state().outstanding.erase(list) == 0)
        throw RuntimeError("freeifaddrs with a list that getifaddrs did not hand out (or freed twice)");
}

const char* inet_ntop(int family, const void* src, char* dst, std::size_t size) {
    checkConversionFault();
    {
        std::lock_guard lock(state().mutex);
        if (state().ntopFails) {
            errno = ENOSPC;
            return nullptr;
        }
    }
    const int machineFamily = family == kAFInet ? AF_INET : family == kAFInet6 ? AF_INET6 : -1;
    if (machineFamily < 0 || !src || !dst) {
        errno = EAFNOSUPPORT;
        return nullptr;
    }
    return ::inet_ntop(machineFamily, src, dst, static_cast<socklen_t>(size));
}

char* inet_ntoa(InAddr address) {
    checkConversionFault();
    thread_local char buffer[INET_ADDRSTRLEN];
    in_addr machine{};
    machine.s_addr = address.s_addr;
    ::inet_ntop(AF_INET, &machine, buffer, sizeof buffer);
    return buffer;
}

void setSimulatedInterfaces(const std::vector<SimulatedInterface>& interfaces) {
    checkEntries(interfaces);
    std::lock_guard lock(state().mutex);
    state().simulated = interfaces;
}

std::optional<std::vector<SimulatedInterface>> simulatedInterfaces() {
    std::lock_guard lock(state().mutex);
    return state().simulated;
}

void setSimulatedIPv4Address(const std::string& name, const std::optional<std::string>& address) {
    if (address) checkEntries({{name, kAFInet, address}});
    std::lock_guard lock(state().mutex);
    auto& list = state().simulated;
    if (!list) list.emplace();
    std::vector<SimulatedInterface> kept;
    bool placed = false;
    for (auto& entry : *list) {
        if (entry.name == name && entry.family == kAFInet) {
            // The first IPv4 entry of the interface keeps its place with the new address; further ones go.
            if (address && !placed) {
                kept.push_back({name, kAFInet, address});
                placed = true;
            }
            continue;
        }
        kept.push_back(std::move(entry));
    }
    if (address && !placed) kept.push_back({name, kAFInet, address});
    *list = std::move(kept);
}

void useMachineInterfaces() {
    std::lock_guard lock(state().mutex);
    state().simulated.reset();
    state().getifaddrsFails = false;
    state().ntopFails = false;
    state().conversionsThrow = false;
}

void setGetifaddrsFails(bool fails) {
    std::lock_guard lock(state().mutex);
    state().getifaddrsFails = fails;
}

void setInetNtopFails(bool fails) {
    std::lock_guard lock(state().mutex);
    state().ntopFails = fails;
}

void setConversionsThrow(bool throws) {
    std::lock_guard lock(state().mutex);
    state().conversionsThrow = throws;
}

std::size_t getifaddrsCallCount() {
    std::lock_guard lock(state().mutex);
    return state().calls;
}

std::size_t outstandingListCount() {
    std::lock_guard lock(state().mutex);
    return state().outstanding.size();
}

void resetCounters() {
    std::lock_guard lock(state().mutex);
    state().calls = 0;
}

}  // namespace platform::bsd
