#include "tweak/startup/Startup.h"

#include "tweak/cards/CardStartup.h"
#include "tweak/cards/RadioFlags.h"
#include "tweak/dashboard/GridPreferences.h"
#include "tweak/regroup/RegroupHooks.h"
#include "tweak/startup/Bindings.h"
#include "tweak/startup/RootPageHooks.h"

#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vantile {
namespace {

struct Constructor {
    const char* name;
    void (*run)();
};

// The order is part of the behaviour: the regrouping and root-page constructors decide on the hooks first, the
// grid binds its direction, then every card file binds its keys (cardFileStartups()), the Airplane and Bluetooth
// files each adding their recorder right after their first constructor.
constexpr Constructor kLeadingConstructors[] = {
    {"SettingsRegrouping", regroup::startup},
    {"RootPage", rootpage::startup},
    {"DashboardGrid", dashboard::startup},
};

struct StartupLog {
    bool ran = false;
    std::vector<std::string> constructors;
    std::optional<bool> filter;
};

StartupLog& log() {
    static StartupLog l;
    return l;
}

// Every card file, for the report of the texts each fetched.
cards::CardSettings* const* cardFiles(std::size_t& count) {
    static cards::CardSettings* const files[] = {
        &cards::accessibilityCellSettings(), &cards::airplaneCellSettings(),    &cards::batteryCellSettings(),
        &cards::bluetoothCellSettings(),     &cards::cellularCellSettings(),    &cards::controlCenterCellSettings(),
        &cards::dNDCellSettings(),           &cards::developerCellSettings(),   &cards::displayCellSettings(),
        &cards::emergencyCellSettings(),     &cards::generalCellSettings(),     &cards::hotspotCellSettings(),
        &cards::notificationsCellSettings(), &cards::passcodeCellSettings(),    &cards::privacyCellSettings(),
        &cards::screenTimeCellSettings(),    &cards::siriCellSettings(),        &cards::soundsCellSettings(),
        &cards::stockAppsCellSettings(),     &cards::thirdPartyAppsCellSettings(), &cards::tweaksCellSettings(),
        &cards::wallpaperCellSettings(),     &cards::wifiCellSettings(),
    };
    count = std::size(files);
    return files;
}

}  // namespace

void runStartupConstructors() {
    StartupLog& l = log();
    if (l.ran) return;
    l.ran = true;
    for (const Constructor& c : kLeadingConstructors) {
        c.run();
        l.constructors.emplace_back(c.name);
    }
    for (const cards::CardFileStartup& card : cards::cardFileStartups()) {
        card.run();
        l.constructors.emplace_back(card.name);
        if (!card.recorder) continue;
        card.recorder();
        l.constructors.emplace_back(std::string(card.name) + " recorder");
    }
}

void noteProcessFilter(bool qualified) { log().filter = qualified; }

Value startupReport() {
    Value::Dictionary report;
    Value::Array ran;
    for (const auto& name : log().constructors) ran.emplace_back(name);
    report["constructors"] = std::move(ran);
    if (log().filter) report["filter"] = *log().filter;

    Value::Dictionary bound, counts;
    Value::Array disagreeing;
    for (const Binding& b : bindings()) {
        const Value now = b.current();
        auto [it, fresh] = bound.try_emplace(b.key, now);
        if (!fresh && it->second != now) {
            bool listed = false;
            for (const Value& k : disagreeing) listed = listed || k == Value(b.key);
            if (!listed) disagreeing.emplace_back(b.key);
        }
        auto& n = counts[b.key];
        n = Value(n.asInteger().value_or(0) + 1);
    }
    report["bound"] = std::move(bound);
    report["bindingCounts"] = std::move(counts);
    report["disagreeing"] = std::move(disagreeing);

    report["radios"] = Value::Dictionary{{"isAirplaneModeOn", isAirplaneModeOn.load()},
                                         {"isBluetoothOn", isBluetoothOn.load()}};

    Value::Dictionary texts;
    std::size_t count = 0;
    cards::CardSettings* const* files = cardFiles(count);
    for (std::size_t i = 0; i < count; ++i) {
        Value::Dictionary own;
        for (const auto& [k, text] : files[i]->texts()) own[k] = text;
        texts[files[i]->cardClass()] = std::move(own);
    }
    report["texts"] = std::move(texts);

    const auto& root = rootpage::state();
    report["rootPage"] = Value::Dictionary{{"accountRemembered", root.account != nullptr},
                                           {"accountIconRemembered", root.accountIcon.has_value()}};
    report["regroup"] = Value::Dictionary{{"completions", static_cast<long>(regroup::settings().completions)}};
    return report;
}

}  // namespace vantile

extern "C" void vantileStartupReport(Value* out) {
    if (out) *out = vantile::startupReport();
}
