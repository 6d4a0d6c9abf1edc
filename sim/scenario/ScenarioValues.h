#pragma once

// The argument forms of scenario commands. Each answers nothing for text that is not of its form, so the command
// can say which argument was wrong.


#include <optional>
#include <string>
#include <string_view>

namespace sim::scenario {

// "1s", "250ms", "1.5s", "2m", or a bare number of seconds; never negative, never infinite.
std::optional<double> parseDuration(std::string_view text);
// The longest `wait` of a scenario. Time on the virtual clock costs work for every timer that falls due on the
// way (a card polling every second fires 86,400 times a day), so the language refuses what would not finish.
inline constexpr double kMaxWaitSeconds = 24 * 3600;
inline constexpr const char* kMaxWaitText = "24 hours (1440m)";
// The clock a scenario may set or reach: 1970-01-01 up to the end of 9999, the years `date` can write.
inline constexpr double kLatestClock = 253402300799.0;
// "YYYY-MM-DD" and "HH:MM" (or "HH:MM:SS") as seconds since 1970, read as UTC, the zone of the device's clock.
std::optional<double> parseDateTime(std::string_view date, std::string_view time);
// The other way: whole seconds since 1970 as UTC text in strftime's `format`.
std::string formatDateTime(double seconds, const char* format);
// true/false, yes/no, on/off, 1/0.
std::optional<bool> parseBool(std::string_view text);
// A whole decimal number, optionally signed, nothing else.
std::optional<long long> parseInteger(std::string_view text);
// A number ("12", "-3.5").
std::optional<double> parseNumber(std::string_view text);
// "X,Y" in points.
std::optional<std::pair<double, double>> parsePoint(std::string_view text);

}  // namespace sim::scenario
