#include "sim/scenario/Expectations.h"

#include "sim/scenario/PhotoCommands.h"
#include "sim/scenario/ChromaCommands.h"
#include "sim/scenario/Records.h"
#include "sim/scenario/ScenarioCommand.h"
#include "sim/scenario/ScenarioErrors.h"
#include "sim/scenario/ScenarioSession.h"
#include "sim/scenario/WheelCommands.h"
#include "sim/scenario/ScenarioValues.h"
#include "sim/scenario/StartupReport.h"
#include "sim/scenario/ViewFinder.h"

#include "platform/harness/JSONValue.h"

#include "platform/core/PreferenceDomain.h"
#include "platform/gfx/PaintColorOf.h"
#include "platform/gfx/UIColor.h"
#include "platform/system/DeviceRadios.h"
#include "sim/device/SimulatedDevice.h"
#include "platform/harness/EffectLog.h"
#include "platform/harness/JSONValue.h"
#include "platform/harness/Renderer.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UINavigationItem.h"
#include "platform/ui/UISegmentedControl.h"
#include "platform/ui/UISlider.h"
#include "platform/ui/UISwitch.h"
#include "platform/ui/UITextField.h"
#include "platform/ui/UITextView.h"
#include "platform/ui/UIViewController.h"
#include "platform/ui/UIWindow.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace sim::scenario {

namespace {

std::size_t hapticsOfStyle(long style) {
    std::size_t n = 0;
    for (const auto& e : platform::effectsOfKind("impact")) n += e.value == style;
    return n;
}

std::size_t urlOpenCount() { return platform::effectsOfKind("openURL").size(); }

std::size_t count(const std::string& text) {
    auto n = parseInteger(text);
    if (!n || *n < 0) throw StepError("not a count: " + inQuotes(text));
    return static_cast<std::size_t>(*n);
}

void expectCount(std::size_t expected, std::size_t actual, const std::string& what) {
    if (actual != expected) throw ExpectationFailed(what, std::to_string(expected), std::to_string(actual));
}

// Stored and expected values compare as JSON text, so that 1 and 1.0 or key order in a dictionary do not matter
// more than the JSON writer lets them.
std::string expectedJson(const std::string& text) {
    if (text == "absent") return "absent";
    auto parsed = parseJSON(text);
    if (!parsed || parsed->isNone()) throw StepError("not JSON (or absent): " + text);
    return toJSON(*parsed);
}

// The title of a page as its navigation bar shows it.
std::string pageTitle(const Ref<UIViewController>& controller) {
    if (!controller) return {};
    if (auto item = controller->navigationItem(); item && !item->title().empty()) return item->title();
    return controller->title();
}

Ref<UIViewController> topPage(Ref<UIViewController> visible) {
    if (auto nav = cast<UINavigationController>(visible)) return nav->topViewController();
    return visible;
}

void text(ScenarioSession& s, const Step& step, bool wanted) {
    // A process without an interface shows nothing, which is something to expect too.
    auto texts = visibleTexts(s.phone().window());
    bool shown = std::find(texts.begin(), texts.end(), step.words[2]) != texts.end();
    if (shown != wanted)
        throw ExpectationFailed(wanted ? "the text is not on screen" : "the text is on screen",
                                (wanted ? "" : "no ") + inQuotes(step.words[2]), joined(texts, 40));
}

void visible(ScenarioSession& s, const Step& step, bool wanted) {
    const std::string& target = step.words[2];
    if (target.starts_with("@")) throw StepError("a point is always there; name what it should show");
    auto window = s.phone().window();
    bool shown = window && findTarget(window, target);
    if (shown != wanted)
        throw ExpectationFailed(wanted ? "nothing visible shows it" : "something visible shows it",
                                (wanted ? "" : "nothing showing ") + inQuotes(target),
                                window ? joined(visibleTexts(window), 40) : "no window");
}

void page(ScenarioSession& s, const Step& step) {
    auto shown = topPage(s.phone().visibleController());
    if (!shown) throw StepError("no page is shown (launch settings first)");
    std::string title = pageTitle(shown);
    if (title != step.words[2])
        throw ExpectationFailed("another page is on top", inQuotes(step.words[2]),
                                inQuotes(title) + " (" + std::string(shown->className()) + ")");
}

void pref(ScenarioSession&, const Step& step) {
    const std::string& key = step.words[2];
    std::string expected = expectedJson(step.rest(3));
    Value stored = addOnDomain()->value(key);
    std::string actual = stored.isNone() ? "absent" : toJSON(stored);
    if (actual != expected) throw ExpectationFailed("the stored value of " + key + " differs", expected, actual);
}

void url(ScenarioSession&, const Step& step) {
    auto last = lastOpenedURL();
    if (last != step.words[2])
        throw ExpectationFailed("another address was opened last", inQuotes(step.words[2]),
                                last ? inQuotes(*last) : "none opened");
}

void noURL(ScenarioSession&, const Step&) {
    if (auto last = lastOpenedURL())
        throw ExpectationFailed("an address was opened since the process started", "none opened",
                                std::to_string(urlOpenCount()) + " opened, the last " + inQuotes(*last));
}

void opened(ScenarioSession&, const Step& step) {
    auto last = lastApplicationOpen();
    if (last != step.words[2])
        throw ExpectationFailed("the application opened another address last", inQuotes(step.words[2]),
                                last ? inQuotes(*last) : "none opened");
}

void noOpened(ScenarioSession&, const Step&) {
    if (auto last = lastApplicationOpen())
        throw ExpectationFailed("the application opened an address since the process started", "none opened",
                                std::to_string(applicationOpenCount()) + " opened, the last " + inQuotes(*last));
}

// The device's starts survive the restarts they cause, so these read its history rather than the process's.
void spawn(ScenarioSession&, const Step& step) {
    const auto history = sim::SimulatedDevice::spawnHistory();
    const std::string actual =
        history.empty() ? "none started" : inQuotes(platform::posix::commandLine(history.back().arguments));
    if (actual != inQuotes(step.words[2]))
        throw ExpectationFailed("the device was last asked to start another program", inQuotes(step.words[2]), actual);
}

void spawnCount(ScenarioSession&, const Step& step) {
    expectCount(count(step.words[2]), sim::SimulatedDevice::spawnHistory().size(),
                "the device was asked for another number of program starts");
}

void safeMode(ScenarioSession& s, const Step& step) {
    const bool wanted = onOff(step, 2);
    const bool actual = s.phone().isInSafeMode();
    if (actual != wanted)
        throw ExpectationFailed("the home screen is " + std::string(actual ? "" : "not ") + "in safe mode",
                                wanted ? "on" : "off", actual ? "on" : "off");
}

// The impact styles by the names UIImpactFeedbackStyle gives them.
long impactStyle(const std::string& text) {
    static const char* const kNames[] = {"light", "medium", "heavy", "soft", "rigid"};
    for (long i = 0; i < 5; ++i)
        if (text == kNames[i]) return i;
    throw StepError("not an impact style (light, medium, heavy, soft, rigid): " + inQuotes(text));
}

void haptics(ScenarioSession&, const Step& step) {
    std::size_t n = count(step.words[2]);
    if (step.words.size() == 3) {
        expectCount(n, hapticCount(), "another number of haptics since the process started");
        return;
    }
    expectCount(n, hapticsOfStyle(impactStyle(step.words[3])),
                "another number of " + step.words[3] + " haptics since the process started");
}

void notification(ScenarioSession&, const Step& step) {
    std::size_t n = count(step.words[3]);
    expectCount(n, notificationCount(step.words[2]),
                "another number of " + inQuotes(step.words[2]) + " posts since the process started");
}

std::string onOffList(const std::vector<bool>& requests) {
    std::string out;
    for (bool on : requests) out += (out.empty() ? "" : " ") + std::string(on ? "on" : "off");
    return out.empty() ? "none" : out;
}

void airplaneRequests(ScenarioSession&, const Step& step) {
    std::vector<bool> expected;
    bool none = step.words.size() == 3 && step.words[2] == "none";
    for (std::size_t i = 2; i < step.words.size() && !none; ++i) {
        if (step.words[i] != "on" && step.words[i] != "off")
            throw StepError("wants on and off in the order asked, or none, not " + inQuotes(step.words[i]));
        expected.push_back(step.words[i] == "on");
    }
    const auto& actual = platform::system::DeviceRadios::airplaneModeRequests();
    if (actual != expected)
        throw ExpectationFailed("the radio service was asked for other airplane-mode switches", onOffList(expected),
                                onOffList(actual));
}

void statusBar(ScenarioSession& s, const Step& step) {
    if (!s.phone().window()) throw StepError("nothing is on screen (launch settings first)");
    std::string shown = platform::harness::statusBarTime();
    if (shown != step.words[2])
        throw ExpectationFailed("the status bar shows another time", inQuotes(step.words[2]), inQuotes(shown));
}

std::vector<std::string> hookList() {
    std::vector<std::string> hooks;
    const Value report = startupReport();
    if (const auto* list = report.find("hooks"); list && list->asArray())
        for (const auto& h : *list->asArray())
            if (const auto* text = h.asString()) hooks.push_back(*text);
    return hooks;
}

void hook(ScenarioSession&, const Step& step, bool wanted) {
    auto hooks = hookList();
    bool installed = std::find(hooks.begin(), hooks.end(), step.words[2]) != hooks.end();
    if (installed != wanted)
        throw ExpectationFailed(wanted ? "the process's start-up did not install that hook"
                                       : "the process's start-up installed that hook",
                                (wanted ? "" : "no ") + inQuotes(step.words[2]), joined(hooks, 40));
}

void hookCount(ScenarioSession&, const Step& step) {
    expectCount(count(step.words[2]), hookList().size(), "the process's start-up installed another number of hooks");
}

void startup(ScenarioSession&, const Step& step) {
    const std::string& key = step.words[2];
    std::string expected = expectedJson(step.rest(3));
    Value report = startupReport();
    const Value* found = report.find(key);
    std::string actual = found ? toJSON(*found) : "absent";
    if (actual != expected)
        throw ExpectationFailed("the start-up report's " + key + " differs", expected, actual);
}

// ----- controls -----

// The control of a class that belongs to a target, or a StepError naming what is on screen.
template <class T>
Ref<T> controlFor(ScenarioSession& s, const std::string& target, const char* className, const char* what) {
    auto window = s.phone().window();
    if (!window) throw StepError("nothing is on screen (launch settings first)");
    auto found = findControlFor(window, target, className);
    if (!found)
        throw StepError("no " + std::string(what) + " on screen belongs to " + inQuotes(target) + "; on screen: " +
                        joined(visibleTexts(window)));
    return cast<T>(found->view);
}

// A colour as #RRGGBB in the light appearance; "default" for none (the system's own colour shows).
std::string hexColour(const Ref<UIColor>& colour) {
    if (!colour) return "default";
    const PaintColor c = platform::gfx::paintColor(colour, 1);
    char buffer[8];
    auto channel = [](double v) { return static_cast<int>(std::lround(std::clamp(v, 0.0, 1.0) * 255)); };
    std::snprintf(buffer, sizeof buffer, "#%02X%02X%02X", channel(c.r), channel(c.g), channel(c.b));
    return buffer;
}

// RRGGBB (any case, "#RRGGBB" when quoted: a bare # starts a comment) as #RRGGBB in upper case, or "default"; a
// StepError for anything else.
std::string wantedColour(const std::string& text) {
    if (text == "default") return text;
    const std::string digits = text.starts_with("#") ? text.substr(1) : text;
    const bool shape = digits.size() == 6 && std::all_of(digits.begin(), digits.end(), [](char c) {
                           return std::isxdigit(static_cast<unsigned char>(c));
                       });
    if (!shape) throw StepError("wants a colour as RRGGBB or default, not " + inQuotes(text));
    std::string upper = "#" + digits;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

// `expect switch TARGET on|off [enabled|disabled] [RRGGBB|default]`: the state, and when given the enabled flag
// and the on-tint.
void switchState(ScenarioSession& s, const Step& step) {
    auto toggle = controlFor<UISwitch>(s, step.words[2], "UISwitch", "switch");
    const bool on = onOff(step, 3);
    std::string expected = on ? "on" : "off";
    std::string actual = toggle->isOn() ? "on" : "off";
    for (std::size_t i = 4; i < step.words.size(); ++i) {
        const std::string& word = step.words[i];
        if (word == "enabled" || word == "disabled") {
            expected += " " + word;
            actual += toggle->isEnabled() ? " enabled" : " disabled";
        } else {
            expected += " " + wantedColour(word);
            actual += " " + hexColour(toggle->onTintColor());
        }
    }
    if (expected != actual) throw ExpectationFailed("the switch of " + inQuotes(step.words[2]) + " differs", expected, actual);
}

std::string numberText(double v) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", v);
    return buffer;
}

void sliderValue(ScenarioSession& s, const Step& step) {
    auto slider = controlFor<UISlider>(s, step.words[2], "UISlider", "slider");
    auto wanted = parseNumber(step.words[3]);
    if (!wanted) throw StepError("wants a number, not " + inQuotes(step.words[3]));
    // A slider holds a float: a hundredth of a per cent of its range is the same place on the track.
    const double tolerance = std::max(1e-6, 1e-4 * (slider->maximumValue() - slider->minimumValue()));
    if (std::fabs(slider->value() - *wanted) > tolerance)
        throw ExpectationFailed("the slider of " + inQuotes(step.words[2]) + " is elsewhere", numberText(*wanted),
                                numberText(slider->value()));
}

void fieldText(ScenarioSession& s, const Step& step) {
    auto window = s.phone().window();
    if (!window) throw StepError("nothing is on screen (launch settings first)");
    std::string actual;
    if (auto field = findControlFor(window, step.words[2], "UITextField")) {
        actual = cast<UITextField>(field->view)->text();
    } else if (auto textView = findControlFor(window, step.words[2], "UITextView")) {
        actual = cast<UITextView>(textView->view)->text();
    } else {
        throw StepError("no text field or text view on screen belongs to " + inQuotes(step.words[2]) +
                        "; on screen: " + joined(visibleTexts(window)));
    }
    if (actual != step.words[3])
        throw ExpectationFailed("the text of " + inQuotes(step.words[2]) + " differs", inQuotes(step.words[3]),
                                inQuotes(actual));
}

void segment(ScenarioSession& s, const Step& step) {
    auto control = controlFor<UISegmentedControl>(s, step.words[2], "UISegmentedControl", "segmented control");
    const long index = control->selectedSegmentIndex();
    const bool none = index < 0 || index >= control->numberOfSegments();
    const std::string actual = none ? "none" : inQuotes(control->titleForSegmentAtIndex(index));
    const std::string expected = step.words[3] == "none" ? "none" : inQuotes(step.words[3]);
    if (actual != expected) throw ExpectationFailed("another segment is chosen", expected, actual);
}

// The tint a view draws its tinted parts in: its own or the nearest ancestor's.
void tint(ScenarioSession& s, const Step& step) {
    auto window = s.phone().window();
    if (!window) throw StepError("nothing is on screen (launch settings first)");
    auto found = step.words[2] == "bar" ? findFrontmostOfClass(window, "UINavigationBar") : findTarget(window, step.words[2]);
    if (!found) throw StepError("nothing visible shows " + inQuotes(step.words[2]) + "; on screen: " + joined(visibleTexts(window)));
    const std::string expected = wantedColour(step.words[3]);
    const std::string actual = hexColour(found->view->tintColor());
    if (actual != expected) throw ExpectationFailed("the tint of " + inQuotes(step.words[2]) + " differs", expected, actual);
}

constexpr std::size_t kRest = kAnyNumberOfArguments;

}  // namespace

const std::vector<Expectation>& expectations() {
    static const std::vector<Expectation> kRows = {
        {"text", "\"T\"", "T is shown by a visible view", 1, 1, [](ScenarioSession& s, const Step& st) { text(s, st, true); }},
        {"no-text", "\"T\"", "T is not shown by any visible view", 1, 1, [](ScenarioSession& s, const Step& st) { text(s, st, false); }},
        {"visible", "TARGET", "a visible view shows that tap target (gear)", 1, 1, [](ScenarioSession& s, const Step& st) { visible(s, st, true); }},
        {"no-visible", "TARGET", "no visible view shows that tap target", 1, 1, [](ScenarioSession& s, const Step& st) { visible(s, st, false); }},
        {"page", "\"TITLE\"", "the top page of the navigation stack (or the presented one) has that title", 1, 1, page},
        {"pref", "KEY JSON|absent", "the stored value equals JSON (data as base-64 text); absent for none", 2, kRest, pref},
        {"url", "\"URL\"", "the last address the Settings URL manager was asked to open", 1, 1, url},
        {"no-url", "", "the Settings URL manager opened no address since the process started", 0, 0, noURL},
        {"opened", "\"URL\"", "the last address the application was asked to open (a page outside Settings)", 1, 1, opened},
        {"no-opened", "", "the application was asked to open no address since the process started", 0, 0, noOpened},
        {"spawn", "\"COMMAND LINE\"", "the last program the device was asked to start had these arguments (killall -9 backboardd), across the restarts it caused", 1, 1, spawn},
        {"spawns", "N", "the device was asked for N program starts since the run began", 1, 1, spawnCount},
        {"safe-mode", "on|off", "the home screen is (or is not) in the loader's safe mode, in which no add-on is injected", 1, 1, safeMode},
        {"haptics", "N [light|medium|heavy|soft|rigid]", "N haptics (of that impact style) since the process started", 1, 2, haptics},
        {"notification", "\"NAME\" N", "N posts of NAME, through any centre, since the process started", 2, 2, notification},
        {"airplane-requests", "on|off ...|none", "the airplane-mode switches the radio service was asked for, in order, since this simulator process started", 1, kRest, airplaneRequests},
        {"status-bar", "\"H:MM\"", "the status bar shows that time (the virtual clock, UTC, hours 1-12)", 1, 1, statusBar},
        {"hook", "\"CLASS SELECTOR\"", "the running process's start-up installed that hook", 1, 1, [](ScenarioSession& s, const Step& st) { hook(s, st, true); }},
        {"no-hook", "\"CLASS SELECTOR\"", "the running process's start-up did not install that hook", 1, 1, [](ScenarioSession& s, const Step& st) { hook(s, st, false); }},
        {"hooks", "N", "the running process's start-up installed N hooks", 1, 1, hookCount},
        {"switch", "TARGET on|off [enabled|disabled] [RRGGBB|default]", "the switch of the row showing TARGET (bar: of the navigation bar) is on or off, and when given enabled or not and of that on-tint (default: the system green)", 2, 4, switchState},
        {"slider", "TARGET VALUE", "the slider of the row showing TARGET stands at VALUE", 2, 2, sliderValue},
        {"field", "TARGET \"TEXT\"", "the text field (or text view) of the row showing TARGET holds TEXT", 2, 2, fieldText},
        {"segment", "TARGET \"TITLE\"|none", "the segmented control showing TARGET (a row title or one of its segments) has TITLE chosen", 2, 2, segment},
        {"tint", "TARGET RRGGBB|default", "the view showing TARGET (bar: the navigation bar) draws its tinted parts in that colour (default: nobody set one)", 2, 2, tint},
        {"picture", "KEY jpeg|png|gif|original NAME|absent [WxH]", "the domain holds a picture of that format under KEY (original: the library item NAME's own bytes), of that decoded size when given", 2, 4, expectPicture},
        {"movie", "PATH quicktime|mpeg4|absent", "the device file at PATH is a movie in that container (read from the file) with a readable first frame, or there is none", 2, 2, expectMovie},
        {"pasteboard", "\"TEXT\"", "the general pasteboard holds TEXT", 1, 1, expectPasteboard},
        {"colour", "TARGET RRGGBB[AA] [TOLERANCE]", "the view at TARGET (or the nearest around it with a background) has that background colour, each channel within TOLERANCE 255ths (default 2)", 2, 3, expectColour},
        {"preview", "\"TITLE\" RRGGBB[AA]|none [TOLERANCE]", "the preview of the colour row showing TITLE has that colour (none: no colour), within TOLERANCE 255ths (default 2)", 2, 3, expectPreview},
        {"wheel", "COLUMN \"TITLE\"", "column COLUMN of the front-most wheel picker shows TITLE in its band", 2, 2, expectWheel},
        {"startup", "KEY JSON|absent", "that key of the running process's start-up report (dump startup) equals JSON", 2, kRest, startup},
    };
    return kRows;
}

namespace {

void cmdExpect(ScenarioSession& s, const Step& step) {
    const std::string& kind = step.words[1];
    const auto& rows = expectations();
    auto it = std::find_if(rows.begin(), rows.end(), [&](const Expectation& e) { return kind == e.name; });
    if (it == rows.end()) {
        std::string names;
        for (const auto& e : rows) names += (names.empty() ? "" : ", ") + std::string(e.name);
        throw StepError("unknown expectation " + inQuotes(kind) + " (" + names + ")");
    }
    std::size_t args = step.words.size() - 2;
    if (args < it->minArgs || args > it->maxArgs)
        throw StepError("expect " + kind + " wants " + (*it->usage ? it->usage : "no more arguments"));
    it->check(s, step);
}

}  // namespace

const std::vector<ScenarioCommand>& expectationCommands() {
    static const std::vector<ScenarioCommand> kRows = {
        {{"expect", "WHAT ...", "check what the phone shows or did (the expectations below)"}, 1, kAnyNumberOfArguments, cmdExpect},
    };
    return kRows;
}

}  // namespace sim::scenario
