#include "sim/serve/PhoneSession.h"

#include "sim/ProcessProfile.h"
#include "sim/device/DeviceProfile.h"
#include "sim/scenario/DevicePhone.h"
#include "sim/scenario/ScenarioErrors.h"
#include "sim/scenario/ScenarioSession.h"
#include "sim/scenario/ScenarioValues.h"

#include "common/Keys.h"
#include "platform/core/Clock.h"
#include "platform/core/NotificationRecords.h"
#include "platform/core/PreferenceDomain.h"
#include "platform/core/RunLoop.h"
#include "platform/harness/EffectLog.h"
#include "platform/harness/JSONValue.h"
#include "platform/harness/Renderer.h"
#include "platform/system/DeviceRadios.h"
#include "platform/system/DeviceTelephony.h"
#include "platform/system/ProcessSpawn.h"
#include "platform/ui/AnimationCenter.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UITextField.h"
#include "platform/ui/UITextView.h"
#include "platform/ui/UIWindow.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <set>
#include <sstream>

namespace sim::serve {

namespace {

namespace fs = std::filesystem;

// The server went away while the session wrote to it: nothing is left to serve.
struct ChannelGone {};

// The panel's lines: what a person changes on the device from outside the add-on.
const std::set<std::string, std::less<>> kPanelCommands = {"appearance", "locale",  "timezone", "date",
                                                            "wifi",       "cellular", "carrier", "airplane",
                                                            "bluetooth",  "pref",    "pref-remove", "respring"};

// A stall of the loop (a slow frame, the machine busy) slows the phone's time down instead of jumping it ahead.
constexpr double kLongestTick = 0.25;
// How far one pointer event may move the clock to keep its gesture's timing.
constexpr double kLongestGap = 10;
// The domain and the device's state are looked at this often (wall seconds) besides after every input.
constexpr double kSlowCheckSeconds = 0.25;

std::string isoTime(double seconds) { return scenario::formatDateTime(seconds, "%Y-%m-%dT%H:%M:%SZ"); }

std::optional<double> finiteNumber(const Value& message, std::string_view key) {
    const Value* v = message.find(key);
    if (!v || !(v->isInteger() || v->isReal())) return std::nullopt;
    auto n = v->numberValue();
    if (!n || !std::isfinite(*n)) return std::nullopt;
    return n;
}

const std::string* stringField(const Value& message, std::string_view key) {
    const Value* v = message.find(key);
    return v ? v->asString() : nullptr;
}

fs::path freshFolder() {
    std::string pattern = (fs::temp_directory_path() / "vantile-phone-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a folder in the temporary folder");
    return pattern;
}

}  // namespace

PhoneSession::PhoneSession(int channel, PhoneOptions options)
    : m_channel(channel), m_options(std::move(options)), m_out(freshFolder()) {
    m_phone = scenario::makeDevicePhone(m_options.root);
    scenario::RunnerOptions runner;
    runner.root = fs::absolute(m_options.root);
    runner.out = m_out;
    // Panel lines may not read files: their folder is the session's own, empty one.
    runner.baseFolder = m_out;
    runner.freshGallery = true;
    runner.restart = [](std::size_t, double clock, const std::string&) { throw RespringNeeded{clock}; };
    m_runner = std::make_unique<scenario::ScenarioRunner>(*m_phone, std::move(runner));
}

PhoneSession::~PhoneSession() {
    m_runner.reset();
    m_phone.reset();
    std::error_code ec;
    fs::remove_all(m_out, ec);
}

std::optional<std::string> PhoneSession::boot() {
    std::string text = "device " + scenarioWord(m_options.profile) + "\n";
    if (m_options.seed) text += "seed " + std::to_string(*m_options.seed) + "\n";
    text += m_options.setupLines;
    scenario::Script script;
    try {
        script = scenario::parseScript(text, "set-up");
    } catch (const std::exception& e) {
        return std::string(e.what());
    }
    std::optional<double> clock = m_options.clock;
    for (const auto& step : script.steps) {
        noteSetting(step.words);
        // The domain is no set-up a respring replays (it lives in the root), but lines that store keys before
        // the first launch are played here, as a scenario plays them before its own.
        if (step.words[0] == "pref" || step.words[0] == "pref-remove") {
            try {
                m_runner->execute(step);
            } catch (const std::exception& e) {
                return step.text + ": " + e.what();
            }
        }
        if (!clock && step.words[0] == "date" && step.words.size() == 3) {
            if (auto when = scenario::parseDateTime(step.words[1], step.words[2])) m_options.clock = *when;
        }
    }
    std::ostringstream errors;
    const double start = m_options.clock.value_or(platform::Clock::now());
    if (m_runner->resume(script, script.steps.size(), start, scenario::ScenarioRunner::settingsProcess(), errors) != 0)
        return errors.str();
    m_phone->settle();
    return std::nullopt;
}

int PhoneSession::run() {
    std::signal(SIGPIPE, SIG_IGN);
    try {
        if (auto failure = boot()) {
            sendError("the phone could not start: " + *failure);
            return 1;
        }
        sendHello();
        publish(true);
        MessageReader reader;
        auto last = std::chrono::steady_clock::now();
        std::array<char, 65536> buffer;
        for (;;) {
            pollfd wanted{m_channel, POLLIN, 0};
            // About a display refresh: the clock moves and the screen is looked at this often while idle.
            const int ready = ::poll(&wanted, 1, 16);
            if (ready < 0 && errno != EINTR) return 1;
            if (ready > 0) {
                const ssize_t n = ::read(m_channel, buffer.data(), buffer.size());
                if (n == 0) return 0;
                if (n < 0 && errno != EINTR && errno != EAGAIN) return 1;
                if (n > 0 && !reader.feed(std::string_view(buffer.data(), static_cast<std::size_t>(n)))) return 1;
                while (auto message = reader.next())
                    if (!handle(*message)) return 0;
            }
            const auto now = std::chrono::steady_clock::now();
            tick(std::chrono::duration<double>(now - last).count());
            last = now;
            publish();
        }
    } catch (const RespringNeeded& respring) {
        Value::Dictionary d{{"type", "respring"}, {"clock", respring.clock}};
        writeMessage(m_channel, MessageKind::Json, toJSON(Value(std::move(d))));
        return 0;
    } catch (const ChannelGone&) {
        return 0;
    }
}

void PhoneSession::send(const std::string& json) {
    if (!writeMessage(m_channel, MessageKind::Json, json)) throw ChannelGone{};
}

void PhoneSession::sendError(const std::string& message) {
    send(toJSON(Value(Value::Dictionary{{"type", "error"}, {"message", message}})));
}

void PhoneSession::sendRecorded(const RecordedBatch& batch) {
    Value::Array lines;
    for (const auto& line : batch.lines) lines.push_back(line);
    Value::Dictionary d;
    d["type"] = "recorded";
    d["time"] = batch.time;
    d["duration"] = batch.duration;
    d["lines"] = std::move(lines);
    send(toJSON(Value(std::move(d))));
}

bool PhoneSession::play(const std::string& line) {
    try {
        auto script = scenario::parseScript(line, "input");
        if (script.steps.size() != 1) throw scenario::StepError("wants one command line");
        m_runner->execute(script.steps.front());
        m_changedSinceFrame = true;
        return true;
    } catch (const scenario::ExpectationFailed& e) {
        sendError(line + ": " + e.what());
    } catch (const std::exception& e) {
        // The platform's loud errors are reported like a step that could not be played; the phone goes on.
        sendError(line + ": " + e.what());
    }
    m_changedSinceFrame = true;
    return false;
}

bool PhoneSession::handle(const ChannelMessage& message) {
    if (message.kind != MessageKind::Json) {
        sendError("the phone takes only JSON messages");
        return true;
    }
    auto value = parseJSON(message.payload, 8);
    if (!value || !value->isDictionary()) {
        sendError("not a JSON object");
        return true;
    }
    const std::string* type = stringField(*value, "type");
    if (type && *type == "quit") return false;
    handleJson(*value);
    return true;
}

void PhoneSession::handleJson(const Value& message) {
    const std::string* typeField = stringField(message, "type");
    const std::string type = typeField ? *typeField : "";
    if (type == "pointer") {
        handlePointer(message);
    } else if (type == "wheel") {
        auto dx = finiteNumber(message, "dx"), dy = finiteNumber(message, "dy");
        if (!dx || !dy) return sendError("wheel wants dx and dy in points");
        const std::string line = "scroll " + pointsText(*dx) + " " + pointsText(*dy);
        if (pointsText(*dx) == "0" && pointsText(*dy) == "0") return;
        const double time = platform::Clock::now();
        // A wheel over a screen without a list is no mistake worth a message on every turn of the wheel.
        auto script = scenario::parseScript(line, "input");
        try {
            m_runner->execute(script.steps.front());
        } catch (const scenario::StepError&) {
            return;
        }
        m_changedSinceFrame = true;
        sendRecorded({time, 0, {line}});
    } else if (type == "text") {
        const std::string* text = stringField(message, "text");
        if (!text) return sendError("text wants a string");
        if (text->empty()) return;
        if (std::any_of(text->begin(), text->end(), [](unsigned char c) { return c < ' ' || c == 0x7F; }))
            return sendError("text takes printable characters; Return and Backspace are keys");
        const double time = platform::Clock::now();
        const std::string line = "type " + scenarioWord(*text);
        if (play(line)) sendRecorded({time, 0, {line}});
    } else if (type == "key") {
        const std::string* key = stringField(message, "key");
        std::string line;
        if (key && *key == "Return") line = "return";
        else if (key && *key == "Escape") line = "dismiss-keyboard";
        else if (key && *key == "Backspace") line = "backspace";
        else return sendError("key wants Return, Escape or Backspace");
        const double time = platform::Clock::now();
        if (play(line)) sendRecorded({time, 0, {line}});
    } else if (type == "command") {
        const std::string* line = stringField(message, "line");
        if (!line) return sendError("command wants a line");
        handleCommand(*line);
    } else if (type == "hello") {
        sendHello();
        if (auto whole = m_frames.wholeFrame())
            if (!writeMessage(m_channel, MessageKind::Frame, *whole)) throw ChannelGone{};
        publishRecords(true);
        publishState(true);
        publishPrefs(true);
    } else if (type == "screenshot") {
        auto png = m_frames.screenshot(m_phone->window());
        if (!png) return sendError("nothing is on screen");
        if (!writeMessage(m_channel, MessageKind::Screenshot, *png)) throw ChannelGone{};
    } else if (type == "pause" || type == "resume") {
        m_paused = type == "pause";
        publishState(true);
    } else if (type == "step") {
        auto seconds = finiteNumber(message, "seconds");
        if (!seconds || *seconds <= 0 || *seconds > kLongestStep)
            return sendError("step wants seconds above 0, at most 60");
        m_phone->advance(*seconds);
        m_changedSinceFrame = true;
        checkRespring();
    } else if (type == "profile") {
        sendError("a profile is chosen by the server for the next boot");
    } else {
        sendError("unknown message type \"" + type + "\"");
    }
}

void PhoneSession::handlePointer(const Value& message) {
    const std::string* phase = stringField(message, "phase");
    auto x = finiteNumber(message, "x"), y = finiteNumber(message, "y"), t = finiteNumber(message, "t");
    if (!phase || (*phase != "down" && *phase != "move" && *phase != "up" && *phase != "cancel"))
        return sendError("pointer wants a phase: down, move, up or cancel");
    if (!t) return sendError("pointer wants t, the page's time in milliseconds");
    auto window = m_phone->window();
    if (!window) return sendError("nothing is on screen");
    if (*phase == "down") {
        if (!x || !y) return sendError("pointer wants x and y in points");
        CGPoint point = roundedPoint(CGPointMake(*x, *y));
        if (!window->bounds().contains(point)) return sendError("the pointer went down outside the screen");
        // A down while a finger is held: the page lost the touch's end, which the system sees as a cancel.
        if (m_recorder.isTouching()) {
            if (auto batch = m_recorder.cancel(platform::Clock::now())) sendRecorded(*batch);
            play("touch cancel");
        }
        const std::string target = tapTarget(window, point);
        const double time = platform::Clock::now();
        if (!play("touch down " + pointsText(point.x) + " " + pointsText(point.y))) return;
        m_recorder.down(point, time, target);
        m_gesturePageStart = *t;
        m_gestureClockStart = time;
        return;
    }
    // Moves without a finger down are the mouse passing over the page.
    if (!m_recorder.isTouching()) return;
    // The event happens at its own time in the gesture, unless the clock has already passed that.
    const double due = m_gestureClockStart + (*t - m_gesturePageStart) / 1000;
    const double gap = std::min(due - platform::Clock::now(), kLongestGap);
    if (gap > 0) {
        m_phone->advance(gap);
        checkRespring();
    }
    const double now = platform::Clock::now();
    if (*phase == "move") {
        if (!x || !y) return sendError("pointer wants x and y in points");
        // The finger cannot leave the glass: a pointer dragged past the screen's edge stays on it.
        const CGRect bounds = window->bounds();
        CGPoint point = roundedPoint(CGPointMake(std::clamp<double>(*x, bounds.minX(), bounds.maxX() - 0.01),
                                                 std::clamp<double>(*y, bounds.minY(), bounds.maxY() - 0.01)));
        if (play("touch move " + pointsText(point.x) + " " + pointsText(point.y))) m_recorder.move(point, now);
        return;
    }
    const bool cancelled = *phase == "cancel";
    auto batch = cancelled ? m_recorder.cancel(now) : m_recorder.up(now);
    // Sent before the touch ends: lifting the finger may respring the phone, which ends this process.
    if (batch) sendRecorded(*batch);
    play(cancelled ? "touch cancel" : "touch up");
}

void PhoneSession::handleCommand(const std::string& line) {
    scenario::Script script;
    try {
        script = scenario::parseScript(line, "panel");
    } catch (const std::exception& e) {
        return sendError(e.what());
    }
    if (script.steps.size() != 1) return sendError("command wants one line");
    const auto& step = script.steps.front();
    if (!kPanelCommands.contains(step.words[0]))
        return sendError("the panel does not change \"" + step.words[0] + "\"");
    const double time = platform::Clock::now();
    if (step.words[0] == "respring") {
        if (!m_phone->isRunning()) return sendError("respring: nothing is running");
        // Recorded first: the respring ends this process.
        sendRecorded({time, 0, {step.text}});
    }
    if (!play(step.text)) return;
    noteSetting(step.words);
    if (step.words[0] != "respring") sendRecorded({time, 0, {step.text}});
    publishState(false);
    publishPrefs(false);
}

void PhoneSession::noteSetting(const std::vector<std::string>& words) {
    if (words.size() < 2) return;
    if (words[0] == "appearance") m_appearance = words[1];
    else if (words[0] == "locale") m_locale = words[1];
    else if (words[0] == "timezone") m_timezone = words[1];
    else if (words[0] == "wifi") m_wifi = words[1] == "on";
    else if (words[0] == "cellular") m_cellular = words[1] == "on";
}

void PhoneSession::tick(double seconds) {
    if (m_paused || seconds <= 0) return;
    m_sinceSlowChecks += seconds;
    const std::uint64_t before = platform::RunLoop::main().turnCount();
    m_phone->advance(std::min(seconds, kLongestTick));
    // An advance with nothing due runs one idle turn; more means timers or deferred work ran and may have drawn.
    if (platform::RunLoop::main().turnCount() - before > 1) m_changedSinceFrame = true;
    checkRespring();
}

void PhoneSession::checkRespring() {
    if (m_phone->takeRequestedFreshProcess()) throw RespringNeeded{platform::Clock::now()};
}

void PhoneSession::sendHello() {
    auto profile = deviceProfileNamed(m_options.profile).value_or(defaultDeviceProfile());
    auto screen = UIScreen::mainScreen();
    const CGRect bounds = screen->bounds();
    Value::Dictionary device;
    device["name"] = profile.name;
    device["width"] = static_cast<double>(bounds.width());
    device["height"] = static_cast<double>(bounds.height());
    device["scale"] = static_cast<double>(screen->scale());
    device["faceID"] = profile.biometry == "face-id";
    Value::Array profiles;
    for (const auto& p : deviceProfiles()) profiles.push_back(p.name);
    Value::Dictionary d;
    d["type"] = "hello";
    d["device"] = std::move(device);
    d["profiles"] = std::move(profiles);
    d["clock"] = platform::Clock::now();
    d["paused"] = m_paused;
    send(toJSON(Value(std::move(d))));
}

bool PhoneSession::publishFrame() {
    // A rendering at full scale is the loop's dearest work: it is done only when the screen may have changed, that
    // is after input or work that ran, while animations are in flight (drawn at their presentation values), or
    // when the status bar's minute turned.
    const std::string statusTime = platform::harness::statusBarTime();
    if (!m_changedSinceFrame && platform::AnimationCenter::shared().inFlightCount() == 0 &&
        statusTime == m_renderedStatusTime)
        return false;
    m_changedSinceFrame = false;
    m_renderedStatusTime = statusTime;
    auto frame = m_frames.nextFrame(m_phone->window());
    if (!frame) return false;
    if (!writeMessage(m_channel, MessageKind::Frame, *frame)) throw ChannelGone{};
    return true;
}

void PhoneSession::publish(bool force) {
    const bool changed = publishFrame();
    publishRecords(false);
    if (force || changed || m_sinceSlowChecks >= kSlowCheckSeconds) {
        m_sinceSlowChecks = 0;
        publishState(force);
        publishPrefs(force);
    }
}

void PhoneSession::publishRecords(bool all) {
    if (all) m_sentEffects = m_sentNotifications = m_sentSpawns = m_sentAirplane = 0;
    const std::string time = isoTime(platform::Clock::now());
    auto record = [&](const char* kind, const std::string& text) {
        send(toJSON(Value(Value::Dictionary{{"type", "record"}, {"kind", kind}, {"text", text}, {"time", time}})));
    };
    // A launch clears the records, and the counts start again with it.
    const auto& effects = platform::effectLog();
    if (effects.size() < m_sentEffects) m_sentEffects = 0;
    for (; m_sentEffects < effects.size(); ++m_sentEffects) {
        const auto& e = effects[m_sentEffects];
        if (e.kind == "openURL") record("url", e.detail);
        else if (e.kind == "applicationOpenURL") record("opened", e.detail);
        else if (e.kind == "impact") record("haptic", "style " + std::to_string(e.value));
    }
    const auto notifications = platform::notificationRecords();
    if (notifications.size() < m_sentNotifications) m_sentNotifications = 0;
    for (; m_sentNotifications < notifications.size(); ++m_sentNotifications)
        record("notification", notifications[m_sentNotifications].name);
    const auto spawns = platform::posix::spawnRecords();
    if (spawns.size() < m_sentSpawns) m_sentSpawns = 0;
    for (; m_sentSpawns < spawns.size(); ++m_sentSpawns)
        record("spawn", platform::posix::commandLine(spawns[m_sentSpawns].arguments));
    const auto& airplane = platform::system::DeviceRadios::airplaneModeRequests();
    if (airplane.size() < m_sentAirplane) m_sentAirplane = 0;
    for (; m_sentAirplane < airplane.size(); ++m_sentAirplane) record("airplane", airplane[m_sentAirplane] ? "on" : "off");
}

void PhoneSession::publishState(bool force) {
    using platform::system::DeviceRadios;
    Value::Dictionary d;
    d["type"] = "state";
    d["paused"] = m_paused;
    d["appearance"] = m_appearance;
    d["locale"] = m_locale;
    d["timezone"] = m_timezone;
    d["wifi"] = m_wifi;
    d["cellular"] = m_cellular;
    d["bluetooth"] = DeviceRadios::bluetoothPowered();
    d["airplane"] = DeviceRadios::airplaneMode();
    auto carrier = platform::system::DeviceTelephony::carrierName();
    d["carrier"] = carrier ? Value(*carrier) : Value();
    // Whether typing has somewhere to go: the page's keys and a test's typing wait for it rather than guess.
    const auto responder = UIResponder::currentFirstResponder();
    d["editing"] = static_cast<bool>(cast<UITextField>(responder) || cast<UITextView>(responder));
    // The clock to the minute the status bar shows: its seconds alone are no change worth a message.
    d["clock"] = isoTime(std::floor(platform::Clock::now() / 60) * 60);
    std::string text = toJSON(Value(d));
    if (!force && text == m_lastState) return;
    m_lastState = text;
    d["clock"] = isoTime(platform::Clock::now());
    send(toJSON(Value(std::move(d))));
}

void PhoneSession::publishPrefs(bool force) {
    auto domain = platform::PreferenceDomain::named(vantile::kDomain);
    if (!domain) return;
    std::string text = toJSON(Value(*domain->snapshot()));
    if (!force && text == m_lastPrefs) return;
    m_lastPrefs = text;
    send("{\"type\":\"prefs\",\"domain\":" + text + "}");
}

}  // namespace sim::serve
