// The set-up group: what the phone is and how it is set before (and, for some, while) a process runs. Every row
// marked as set-up is replayed in a fresh simulator process after a respring, before its launch.

#include "sim/scenario/ScenarioCommand.h"
#include "sim/scenario/ScenarioErrors.h"
#include "sim/scenario/ScenarioSession.h"
#include "sim/scenario/ScenarioValues.h"

#include "platform/core/NSLocale.h"
#include "platform/core/PreferenceDomain.h"
#include "platform/system/DeviceRadios.h"
#include "platform/harness/JSONValue.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace sim::scenario {

namespace {

namespace fs = std::filesystem;

// A data preference is an image or a movie at most; more than this is a mistake in the scenario (a device file
// such as /dev/zero, or the wrong file), refused before it is read.
constexpr std::uintmax_t kMaxDataFileBytes = 16u * 1024 * 1024;

void cmdDevice(ScenarioSession& s, const Step& step) {
    if (auto failure = s.phone().setProfile(step.words[1])) throw StepError(*failure);
}

void cmdAppearance(ScenarioSession& s, const Step& step) {
    const std::string& style = step.words[1];
    if (style != "light" && style != "dark") throw StepError("wants light or dark, not " + inQuotes(style));
    s.phone().setAppearance(style == "light" ? 1 : 2);
}

void cmdLocale(ScenarioSession& s, const Step& step) {
    const std::string& id = step.words[1];
    bool ok = !id.empty() && std::all_of(id.begin(), id.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_';
    });
    if (!ok) throw StepError("not a language identifier: " + inQuotes(id));
    if (!NSLocale::isKnownLocaleIdentifier(id))
        throw StepError("the phone knows no locale " + inQuotes(id) + " (en, en-GB, de, fr, ja, ...)");
    s.phone().setLanguage(id);
}

void cmdTimezone(ScenarioSession& s, const Step& step) {
    if (!s.phone().setTimeZone(step.words[1])) throw StepError("unknown time zone " + inQuotes(step.words[1]));
}

void cmdDate(ScenarioSession& s, const Step& step) {
    auto when = parseDateTime(step.words[1], step.words[2]);
    if (!when)
        throw StepError("wants YYYY-MM-DD HH:MM (years 1970 to 9999), not " +
                        inQuotes(step.words[1] + " " + step.words[2]));
    s.phone().setDate(*when);
}

// `path` inside `folder` once both are resolved (links followed, ".." taken out).
bool isInside(const fs::path& path, const fs::path& folder) {
    if (folder.empty()) return false;
    std::error_code ec;
    fs::path base = fs::weakly_canonical(folder, ec);
    if (ec) return false;
    auto rel = path.lexically_relative(base);
    return !rel.empty() && *rel.begin() != "..";
}

Value::Data readDataFile(const ScenarioSession& s, const std::string& name) {
    fs::path file = name;
    if (file.is_relative()) file = s.options().baseFolder / file;
    std::error_code ec;
    fs::path resolved = fs::weakly_canonical(file, ec);
    if (ec || !fs::exists(resolved, ec)) throw StepError("cannot read " + file.string() + ": no such file");
    if (!isInside(resolved, s.options().baseFolder) && !isInside(resolved, s.options().dataFolder))
        throw StepError(inQuotes(name) + " is not beside the scenario (data files come from its folder" +
                        (s.options().dataFolder.empty() ? std::string(", or from one named with --data DIR)")
                                                        : " or from " + s.options().dataFolder.string() + ")"));
    if (!fs::is_regular_file(resolved, ec))
        throw StepError("cannot read " + file.string() + ": not a regular file");
    auto size = fs::file_size(resolved, ec);
    if (ec) throw StepError("cannot read " + file.string() + ": " + ec.message());
    if (size > kMaxDataFileBytes)
        throw StepError(file.string() + " holds " + std::to_string(size) + " bytes, more than the " +
                        std::to_string(kMaxDataFileBytes) + " a data preference may hold");
    std::ifstream in(resolved, std::ios::binary);
    if (!in) throw StepError("cannot read " + file.string());
    return Value::Data(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void cmdPref(ScenarioSession& s, const Step& step) {
    const std::string& key = step.words[1];
    const std::string& type = step.words[2];
    const std::string& text = step.words[3];
    if (type != "strings" && step.words.size() != 4)
        throw StepError("wants KEY " + type + " VALUE (quote a value with blanks)");
    Value value;
    if (type == "bool") {
        auto b = parseBool(text);
        if (!b) throw StepError("not a bool: " + inQuotes(text));
        value = *b;
    } else if (type == "int") {
        auto i = parseInteger(text);
        if (!i) throw StepError("not an integer: " + inQuotes(text));
        value = *i;
    } else if (type == "real") {
        auto d = parseNumber(text);
        if (!d) throw StepError("not a number: " + inQuotes(text));
        value = *d;
    } else if (type == "string") {
        value = text;
    } else if (type == "strings") {
        // The array keeps its own quotes, so it is read from the raw line, however many words it spans.
        auto parsed = parseJSON(step.rest(3));
        bool ok = parsed && parsed->isArray() &&
                  std::all_of(parsed->asArray()->begin(), parsed->asArray()->end(),
                              [](const Value& v) { return v.isString(); });
        if (!ok) throw StepError("strings wants a JSON array of strings, not " + step.rest(3));
        value = std::move(*parsed);
    } else if (type == "data") {
        value = readDataFile(s, text);
    } else {
        throw StepError("unknown type " + inQuotes(type) + " (bool, int, real, string, strings, data)");
    }
    if (!addOnDomain()->write({{key, std::move(value)}})) throw StepError("the domain's file could not be written");
}

void cmdPrefRemove(ScenarioSession&, const Step& step) {
    if (!addOnDomain()->write({{step.words[1], Value()}})) throw StepError("the domain's file could not be written");
}

void cmdPrefDeleteFile(ScenarioSession&, const Step&) {
    auto domain = addOnDomain();
    std::error_code ec;
    std::filesystem::remove(domain->file(), ec);
    if (ec) throw StepError("cannot delete " + domain->file().string() + ": " + ec.message());
}

// `NAME on [ADDRESS ...]` or `NAME off` from word `first` on: the addresses, none for the profile's, or nothing
// for off.
std::optional<std::vector<std::string>> interfaceState(const Step& step, std::size_t first) {
    bool on = onOff(step, first);
    std::vector<std::string> addresses(step.words.begin() + static_cast<long>(first) + 1, step.words.end());
    if (!on && !addresses.empty()) throw StepError(step.words[0] + " off takes no address");
    if (!on) return std::nullopt;
    return addresses;
}

void cmdWifi(ScenarioSession& s, const Step& step) { s.phone().setInterface("en0", interfaceState(step, 1)); }

void cmdCellular(ScenarioSession& s, const Step& step) { s.phone().setInterface("pdp_ip0", interfaceState(step, 1)); }

void cmdInterface(ScenarioSession& s, const Step& step) {
    const std::string& name = step.words[1];
    bool ok = !name.empty() && name.size() <= 15 && std::all_of(name.begin(), name.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-';
    });
    if (!ok) throw StepError("not an interface name (up to 15 letters, digits, '_' or '-'): " + inQuotes(name));
    auto state = interfaceState(step, 2);
    if (state && state->empty() && name != "en0" && name != "pdp_ip0")
        throw StepError("interface " + name + " on wants at least one address");
    s.phone().setInterface(name, state);
}

void cmdAirplane(ScenarioSession& s, const Step& step) {
    bool on = onOff(step, 1);
    s.rememberAirplane(on);
    platform::system::DeviceRadios::setAirplaneMode(on);
}

void cmdBluetooth(ScenarioSession& s, const Step& step) {
    bool on = onOff(step, 1);
    s.rememberBluetooth(on);
    platform::system::DeviceRadios::setBluetoothPowered(on);
}

void cmdCarrier(ScenarioSession& s, const Step& step) {
    const std::string& name = step.words[1];
    s.phone().setCarrier(name == "none" ? std::nullopt : std::optional(name));
}

// The platform's random draws (the cards' random colours) start from fresh entropy in every process unless the
// environment names a seed; the variable is read at a process's first draw and handed on to the fresh simulator
// process a respring starts, so one `seed` before the launch fixes the colours of the whole run.
constexpr const char* kRandomSeedVariable = "VANTILE_RANDOM_SEED";

void cmdSeed(ScenarioSession&, const Step& step) {
    auto seed = parseInteger(step.words[1]);
    if (!seed || *seed < 0) throw StepError("wants a whole number from 0, not " + inQuotes(step.words[1]));
    if (setenv(kRandomSeedVariable, std::to_string(*seed).c_str(), 1) != 0)
        throw StepError("cannot set the random seed");
}

bool isBundleIdentifier(const std::string& id) {
    return !id.empty() && id.front() != '.' && std::all_of(id.begin(), id.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '_';
    });
}

void cmdInstall(ScenarioSession& s, const Step& step) {
    const std::string& what = step.words[1];
    if (what != "app" && what != "bundle") throw StepError("wants app or bundle, not " + inQuotes(what));
    if (step.words.size() != 4) throw StepError("wants " + what + (what == "app" ? " ID \"NAME\"" : " NAME \"LABEL\""));
    const std::string& id = step.words[2];
    if (!isBundleIdentifier(id))
        throw StepError("not a bundle " + std::string(what == "app" ? "identifier" : "name") + ": " + inQuotes(id));
    if (step.words[3].empty()) throw StepError("an empty " + std::string(what == "app" ? "name" : "label"));
    // A bundle is a file in the device root, which a fresh process finds again; only applications, which the
    // profile lists, are replayed.
    if (what == "app") s.phone().installApplication(id, step.words[3]);
    else if (!s.isReplaying()) s.phone().installPreferenceBundle(id, step.words[3]);
}

void cmdRemove(ScenarioSession& s, const Step& step) {
    const std::string& what = step.words[1];
    if (what != "app" && what != "bundle") throw StepError("wants app or bundle, not " + inQuotes(what));
    const std::string& id = step.words[2];
    if (what == "app") {
        if (!s.phone().removeApplication(id)) throw StepError("no installed application " + inQuotes(id));
    } else if (!s.isReplaying()) {
        if (auto failure = s.phone().removePreferenceBundle(id)) throw StepError(*failure);
    }
}

}  // namespace

const std::vector<ScenarioCommand>& setUpCommands() {
    static const std::vector<ScenarioCommand> kRows = {
        {{"device", "NAME", "device profile: iphone-8, iphone-8-plus, iphone-x, iphone-xr, iphone-12 (before launch)"}, 1, 1, cmdDevice, true},
        {{"appearance", "light|dark", "interface style (light unless a scenario says dark); switches live while a process runs"}, 1, 1, cmdAppearance, true},
        {{"locale", "ID", "the device language (en, en-GB, de, fr, ja, ...); while a process runs it changes as in Settings and the current-locale-did-change notification is posted"}, 1, 1, cmdLocale, true},
        {{"timezone", "ID", "the device's time zone (UTC, Europe/Berlin, ...); while a process runs the system-time-zone-did-change notification is posted"}, 1, 1, cmdTimezone, true},
        {{"date", "YYYY-MM-DD HH:MM", "the virtual clock's now, UTC (the status bar shows UTC)"}, 2, 2, cmdDate, true},
        {{"pref", "KEY bool|int|real|string|strings|data VALUE", "store a value in the add-on's domain (strings: a JSON array; data: a regular file of at most 16 MiB beside the scenario)"}, 3, kAnyNumberOfArguments, cmdPref, false},
        {{"pref-remove", "KEY", "remove a key from the add-on's domain"}, 1, 1, cmdPrefRemove, false},
        {{"pref-delete-file", "", "delete the domain's backing file"}, 0, 0, cmdPrefDeleteFile, false},
        {{"wifi", "on [ADDRESS ...]|off", "the Wi-Fi interface en0 with IPv4 and IPv6 addresses, also while running"}, 1, kAnyNumberOfArguments, cmdWifi, true},
        {{"cellular", "on [ADDRESS ...]|off", "the cellular data interface pdp_ip0, also while running"}, 1, kAnyNumberOfArguments, cmdCellular, true},
        {{"interface", "NAME on ADDRESS ...|off", "any network interface by its exact name (EN0 is not en0), also while running"}, 2, kAnyNumberOfArguments, cmdInterface, true},
        {{"airplane", "on|off", "airplane mode, also while running"}, 1, 1, cmdAirplane, true},
        {{"bluetooth", "on|off", "Bluetooth power, also while running"}, 1, 1, cmdBluetooth, true},
        {{"carrier", "NAME|none", "the cellular carrier; none for no SIM"}, 1, 1, cmdCarrier, true},
        {{"seed", "N", "fix the random draws (the cards' random colours) of every process from the next launch on; without it each process draws anew"}, 1, 1, cmdSeed, true},
        {{"install", "app ID \"NAME\"|bundle NAME \"LABEL\"", "install a store application (Settings running loads its list again) or a preference bundle's pane entry (seen from the next launch)"}, 3, 3, cmdInstall, true},
        {{"remove", "app ID|bundle NAME", "remove an installed application or a preference bundle's pane entry"}, 2, 2, cmdRemove, true},
    };
    return kRows;
}

}  // namespace sim::scenario
