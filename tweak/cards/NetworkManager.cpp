#include "tweak/cards/NetworkManager.h"

#include "platform/core/Runtime.h"
#include "platform/system/BSDNetwork.h"
#include "platform/system/CTCarrier.h"
#include "platform/system/CTTelephonyNetworkInfo.h"

#include <memory>

VT_REGISTER_CLASS(NetworkManager)

namespace {

namespace bsd = platform::bsd;

// Frees the list however the walk ends, an exception from a conversion included.
struct ListOwner {
    bsd::IfAddrs* head = nullptr;
    ~ListOwner() { bsd::freeifaddrs(head); }
};

std::optional<std::string> nonEmpty(std::optional<std::string> text) {
    if (text && text->empty()) return std::nullopt;
    return text;
}

// Walks every entry to the end so that the last matching AF_INET entry of `name` decides; `convert` answers the
// text for one entry's address, or nothing when its conversion failed.
template <class Convert>
std::optional<std::string> addressOf(std::string_view name, Convert convert) {
    try {
        ListOwner list;
        if (bsd::getifaddrs(&list.head) != 0) return std::nullopt;
        std::optional<std::string> result;
        for (bsd::IfAddrs* entry = list.head; entry; entry = entry->ifa_next) {
            if (!entry->ifa_addr || entry->ifa_addr->sa_family != bsd::kAFInet) continue;
            const std::string entryName = entry->ifa_name ? entry->ifa_name : "";
            if (entryName == name) result = convert(*entry->ifa_addr);
        }
        return nonEmpty(std::move(result));
    } catch (...) {
        return std::nullopt;
    }
}

}  // namespace

std::optional<std::string> NetworkManager::wiFiIPAddress() {
    return addressOf("en0", [](const bsd::SockAddr& address) -> std::optional<std::string> {
        const char* text = bsd::inet_ntoa(address.sin_addr);
        return text ? std::optional<std::string>(text) : std::nullopt;
    });
}

std::optional<std::string> NetworkManager::cellIPAddress() {
    return addressOf("pdp_ip0", [](const bsd::SockAddr& address) -> std::optional<std::string> {
        char buffer[64];
        const char* text = bsd::inet_ntop(address.sa_family, &address.sin_addr, buffer, sizeof buffer);
        return text ? std::optional<std::string>(text) : std::nullopt;
    });
}

bool NetworkManager::connectedToWiFi() { return wiFiIPAddress().has_value(); }

bool NetworkManager::connectedToCellNetwork() { return cellIPAddress().has_value(); }

std::optional<std::string> NetworkManager::carrierName() {
    try {
        auto info = alloc<CTTelephonyNetworkInfo>();
        info->init();
        const Ref<CTCarrier> provider = info->subscriberCellularProvider();
        if (!provider) return std::nullopt;
        return nonEmpty(provider->carrierName());
    } catch (...) {
        return std::nullopt;
    }
}
