#include "sim/scenario/ScenarioValues.h"

#include "platform/core/NSString.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <ctime>

namespace sim::scenario {

namespace {

template <typename T>
std::optional<T> fullNumber(std::string_view text) {
    if (text.empty()) return std::nullopt;
    if (text.front() == '+') text.remove_prefix(1);
    T value{};
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// Days from 1970-01-01 to a civil date of the proleptic Gregorian calendar.
long long daysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

bool isLeap(long long y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

}  // namespace

std::optional<double> parseDuration(std::string_view text) {
    double unit = 1;
    if (text.ends_with("ms")) {
        unit = 0.001;
        text.remove_suffix(2);
    } else if (text.ends_with("s")) {
        text.remove_suffix(1);
    } else if (text.ends_with("m")) {
        unit = 60;
        text.remove_suffix(1);
    }
    auto n = fullNumber<double>(text);
    if (!n || *n < 0 || !std::isfinite(*n) || !std::isfinite(*n * unit)) return std::nullopt;
    return *n * unit;
}

std::optional<double> parseDateTime(std::string_view date, std::string_view time) {
    if (date.size() != 10 || date[4] != '-' || date[7] != '-') return std::nullopt;
    auto y = fullNumber<int>(date.substr(0, 4));
    auto mo = fullNumber<int>(date.substr(5, 2));
    auto d = fullNumber<int>(date.substr(8, 2));
    if (!y || !mo || !d || *y < 1970 || *mo < 1 || *mo > 12 || *d < 1) return std::nullopt;
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int monthDays = kDays[*mo - 1] + (*mo == 2 && isLeap(*y) ? 1 : 0);
    if (*d > monthDays) return std::nullopt;

    if ((time.size() != 5 && time.size() != 8) || time[2] != ':' || (time.size() == 8 && time[5] != ':'))
        return std::nullopt;
    auto h = fullNumber<int>(time.substr(0, 2));
    auto mi = fullNumber<int>(time.substr(3, 2));
    std::optional<int> s = time.size() == 8 ? fullNumber<int>(time.substr(6, 2)) : std::optional<int>(0);
    if (!h || !mi || !s || *h > 23 || *mi > 59 || *s > 59 || *h < 0 || *mi < 0 || *s < 0) return std::nullopt;
    long long days = daysFromCivil(*y, static_cast<unsigned>(*mo), static_cast<unsigned>(*d));
    return static_cast<double>(days * 86400 + *h * 3600 + *mi * 60 + *s);
}

std::optional<bool> parseBool(std::string_view text) {
    if (text == "true" || text == "yes" || text == "on" || text == "1") return true;
    if (text == "false" || text == "no" || text == "off" || text == "0") return false;
    return std::nullopt;
}

std::optional<long long> parseInteger(std::string_view text) { return fullNumber<long long>(text); }

std::optional<double> parseNumber(std::string_view text) {
    auto n = fullNumber<double>(text);
    if (!n || !std::isfinite(*n)) return std::nullopt;
    return n;
}

std::optional<std::pair<double, double>> parsePoint(std::string_view text) {
    auto comma = text.find(',');
    if (comma == std::string_view::npos) return std::nullopt;
    auto x = parseNumber(text.substr(0, comma));
    auto y = parseNumber(text.substr(comma + 1));
    if (!x || !y) return std::nullopt;
    return std::pair{*x, *y};
}

std::string formatDateTime(double seconds, const char* format) {
    const auto whole = static_cast<std::time_t>(std::floor(seconds));
    std::tm utc{};
    gmtime_r(&whole, &utc);
    char text[64];
    return std::strftime(text, sizeof text, format, &utc) ? text : "";
}

}  // namespace sim::scenario
