#include "sim/scenario/Phone.h"

#include "sim/scenario/ScenarioErrors.h"

#include "platform/core/RunLoop.h"

namespace sim::scenario {

namespace {
[[noreturn]] void unavailable(std::string_view what) {
    throw StepError(std::string(what) + " is not available in this simulator build");
}
}  // namespace

std::optional<std::string> Phone::setProfile(std::string_view) { unavailable("choosing a device profile"); }
void Phone::setLanguage(const std::string&) { unavailable("setting the device language"); }
bool Phone::setTimeZone(std::string_view) { unavailable("setting the time zone"); }
void Phone::setDate(double) { unavailable("setting the date"); }
void Phone::setAppearance(long) { unavailable("switching the appearance"); }
void Phone::setInterface(const std::string&, const std::optional<std::vector<std::string>>&) {
    unavailable("switching network interfaces");
}
void Phone::installApplication(const std::string&, const std::string&) { unavailable("installing applications"); }
bool Phone::removeApplication(const std::string&) { unavailable("removing applications"); }
void Phone::installPreferenceBundle(const std::string&, const std::string&) {
    unavailable("installing preference bundles");
}
std::optional<std::string> Phone::removePreferenceBundle(const std::string&) {
    unavailable("removing preference bundles");
}
void Phone::setCarrier(const std::optional<std::string>&) { unavailable("setting the carrier"); }
std::optional<std::string> Phone::launch(const std::string&) { unavailable("launching a process"); }
bool Phone::respring() { unavailable("respringing"); }
void Phone::openURL(const std::string&) { unavailable("opening a Settings address"); }
void Phone::setSpawnFailure(int) { unavailable("making program starts fail"); }
bool Phone::isInSafeMode() const { unavailable("reading the safe mode"); }
// The clock is the platform's own, so every phone can move it.
void Phone::advance(double seconds) { platform::RunLoop::main().advance(seconds); }
void Phone::settle() { platform::RunLoop::main().drain(); }

}  // namespace sim::scenario
