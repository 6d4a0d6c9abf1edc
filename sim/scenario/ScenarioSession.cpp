#include "sim/scenario/ScenarioSession.h"

#include "sim/scenario/Records.h"
#include "sim/scenario/ScenarioErrors.h"
#include "sim/scenario/ScenarioValues.h"
#include "sim/scenario/ViewFinder.h"

#include "common/Keys.h"
#include "platform/core/Clock.h"
#include "platform/core/DeviceRoot.h"
#include "platform/core/PreferenceDomain.h"
#include "platform/system/DeviceRadios.h"
#include "platform/ui/UIWindow.h"

#include <algorithm>
#include <cctype>

namespace sim::scenario {

ScenarioSession::ScenarioSession(Phone& phone, RunnerOptions options) : m_phone(phone), m_options(std::move(options)) {
    std::error_code ec;
    std::filesystem::create_directories(m_options.out, ec);
    if (ec) throw StepError("cannot create the output folder " + m_options.out.string() + ": " + ec.message());
    if (!platform::deviceRoot() || *platform::deviceRoot() != m_options.root) platform::setDeviceRoot(m_options.root);
}

Gallery& ScenarioSession::gallery() {
    if (!m_gallery) throw StepError("no gallery: the run has not started");
    return *m_gallery;
}

Ref<UIWindow> ScenarioSession::requireWindow() const {
    auto window = m_phone.window();
    if (!window) throw StepError("nothing is on screen (launch settings first)");
    return window;
}

CGPoint ScenarioSession::targetPoint(const std::string& target) const {
    auto window = requireWindow();
    if (target.starts_with("@")) {
        auto p = parsePoint(std::string_view(target).substr(1));
        if (!p) throw StepError("wants @X,Y in points, not " + inQuotes(target));
        CGPoint point = CGPointMake(p->first, p->second);
        if (!window->bounds().contains(point)) throw StepError(inQuotes(target) + " is outside the screen");
        return point;
    }
    auto found = findTarget(window, target);
    if (!found) throw StepError("nothing visible shows " + inQuotes(target) + "; on screen: " + joined(visibleTexts(window)));
    return found->centre();
}

std::filesystem::path ScenarioSession::outputFile(const std::string& name, const char* extension) const {
    bool ok = !name.empty() && name.front() != '.' && std::all_of(name.begin(), name.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == '.';
    });
    if (!ok) throw StepError("a name of letters, digits, '-', '_' and '.', not " + inQuotes(name));
    return m_options.out / (name + extension);
}

void ScenarioSession::launchProcess(const std::string& process) {
    // Counts are "since the process started".
    clearRecords();
    if (auto failure = m_phone.launch(process)) throw StepError("cannot launch " + process + ": " + *failure);
    applyRadios();
    m_phone.settle();
}

void ScenarioSession::restartWith(const std::string& process) {
    if (!m_options.restart)
        throw StepError("with the add-on loaded this needs a fresh simulator process, which this run cannot start");
    m_options.restart(m_stepIndex + 1, platform::Clock::now(), process);
    throw StepError("the simulator could not restart itself");
}

void ScenarioSession::applyRadios() const {
    if (m_airplane) platform::system::DeviceRadios::setAirplaneMode(*m_airplane);
    if (m_bluetooth) platform::system::DeviceRadios::setBluetoothPowered(*m_bluetooth);
}

std::string inQuotes(const std::string& s) { return "\"" + s + "\""; }

std::string joined(const std::vector<std::string>& items, std::size_t limit) {
    std::string out;
    for (std::size_t i = 0; i < items.size() && i < limit; ++i) out += (i ? ", " : "") + inQuotes(items[i]);
    if (items.size() > limit) out += ", …";
    return out.empty() ? "nothing" : out;
}

bool onOff(const Step& step, std::size_t index) {
    auto v = index < step.words.size() ? parseBool(step.words[index]) : std::nullopt;
    if (!v || (step.words[index] != "on" && step.words[index] != "off"))
        throw StepError(step.words[0] + " wants on or off");
    return *v;
}

std::shared_ptr<platform::PreferenceDomain> addOnDomain() {
    auto domain = platform::PreferenceDomain::named(vantile::kDomain);
    if (!domain) throw StepError("the add-on's preference domain is not reachable (no device root)");
    return domain;
}

}  // namespace sim::scenario
