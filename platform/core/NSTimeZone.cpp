#include "platform/core/NSTimeZone.h"

#include "platform/core/Runtime.h"

#include <array>
#include <charconv>
#include <utility>

VT_REGISTER_CLASS(NSTimeZone)

namespace {

constexpr long kHour = 3600;

std::optional<long> namedOffset(std::string_view name) {
    static constexpr std::array<std::pair<std::string_view, long>, 15> kZones{{
        {"UTC", 0},
        {"Europe/London", 0},
        {"Europe/Berlin", 1 * kHour},
        {"Europe/Moscow", 3 * kHour},
        {"Asia/Dubai", 4 * kHour},
        {"Asia/Kolkata", 5 * kHour + 1800},
        {"Asia/Shanghai", 8 * kHour},
        {"Asia/Tokyo", 9 * kHour},
        {"Australia/Sydney", 10 * kHour},
        {"America/Sao_Paulo", -3 * kHour},
        {"America/New_York", -5 * kHour},
        {"America/Chicago", -6 * kHour},
        {"America/Denver", -7 * kHour},
        {"America/Los_Angeles", -8 * kHour},
        {"GMT", 0},
    }};
    for (const auto& [zone, offset] : kZones)
        if (zone == name) return offset;
    return std::nullopt;
}

std::optional<long> parseNumber(std::string_view text) {
    long value = 0;
    if (text.empty() || text.size() > 2) return std::nullopt;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// "GMT+2", "GMT-05", "GMT+05:30".
std::optional<long> gmtOffset(std::string_view name) {
    if (name.size() < 5 || name.substr(0, 3) != "GMT" || (name[3] != '+' && name[3] != '-')) return std::nullopt;
    const long sign = name[3] == '-' ? -1 : 1;
    std::string_view rest = name.substr(4);
    std::string_view hours = rest;
    std::string_view minutes;
    if (auto colon = rest.find(':'); colon != std::string_view::npos) {
        hours = rest.substr(0, colon);
        minutes = rest.substr(colon + 1);
        if (minutes.size() != 2) return std::nullopt;
    }
    auto h = parseNumber(hours);
    auto m = minutes.empty() ? std::optional<long>(0) : parseNumber(minutes);
    if (!h || !m || *h > 14 || *m > 59 || (*h == 14 && *m > 0)) return std::nullopt;
    return sign * (*h * kHour + *m * 60);
}

Ref<NSTimeZone>& local() {
    static auto* zone = new Ref<NSTimeZone>(NSTimeZone::timeZoneWithName("UTC"));
    return *zone;
}

}  // namespace

Ref<NSTimeZone> NSTimeZone::timeZoneWithName(std::string_view name) {
    auto offset = namedOffset(name);
    if (!offset) offset = gmtOffset(name);
    if (!offset) return nullptr;
    auto zone = alloc<NSTimeZone>();
    zone->m_name = std::string(name);
    zone->m_offset = *offset;
    return zone;
}

Ref<NSTimeZone> NSTimeZone::localTimeZone() { return local(); }

bool NSTimeZone::setLocalTimeZoneName(std::string_view name) {
    auto zone = timeZoneWithName(name);
    if (!zone) return false;
    local() = std::move(zone);
    return true;
}
