#include "tweak/startup/Startup.h"

#include "tweak/cards/CardKind.h"
#include "tweak/cards/CardStartup.h"
#include "tweak/cards/RadioFlags.h"
#include "tweak/dashboard/GridPreferences.h"
#include "tweak/regroup/RegroupHooks.h"
#include "tweak/shared/Bindings.h"
#include "tweak/shared/ProcessFilter.h"
#include "tweak/startup/RootPageHooks.h"

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
// grid binds its direction, then every card class binds its keys in the order of cardFileStartups(), the airplane
// and Bluetooth classes each adding their recorder right after their first constructor.
constexpr Constructor kLeadingConstructors[] = {
    {"SettingsRegrouping", regroup::startup},
    {"RootPage", rootpage::startup},
    {"DashboardGrid", dashboard::startup},
};

struct StartupLog {
    bool ran = false;
    std::vector<std::string> constructors;
};

StartupLog& log() {
    static StartupLog l;
    return l;
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
        l.constructors.emplace_back(card.name());
        if (!card.hasRecorder()) continue;
        card.runRecorder();
        l.constructors.emplace_back(std::string(card.name()) + " recorder");
    }
}

Value startupReport() {
    Value::Dictionary report;
    Value::Array ran;
    for (const auto& name : log().constructors) ran.emplace_back(name);
    report["constructors"] = std::move(ran);
    if (const std::optional<bool> filter = notedProcessFilter()) report["filter"] = *filter;

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
    for (const cards::CardFileStartup& card : cards::cardFileStartups()) {
        const cards::CardSettings& settings = cards::cardKindForClass(card.name())->settings;
        Value::Dictionary own;
        for (const auto& [k, text] : settings.texts()) own[k] = text;
        texts[settings.cardClass()] = std::move(own);
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
