#include "sim/scenario/ScenarioRunner.h"

#include "sim/Json.h"
#include "sim/scenario/Records.h"
#include "sim/scenario/ScenarioErrors.h"
#include "sim/scenario/ScenarioValues.h"
#include "platform/harness/JSONValue.h"
#include "sim/scenario/ViewFinder.h"

#include "common/Keys.h"
#include "platform/core/Clock.h"
#include "platform/core/DeviceRoot.h"
#include "platform/core/PreferenceDomain.h"
#include "platform/system/DeviceRadios.h"
#include "platform/ui/NSIndexPath.h"
#include "platform/harness/Renderer.h"
#include "platform/harness/TouchDriver.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UINavigationBar.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UINavigationItem.h"
#include "platform/ui/UIScrollView.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UITableViewCell.h"
#include "platform/ui/UIViewController.h"
#include "platform/ui/UIWindow.h"
#include "platform/harness/ViewDump.h"

#include <algorithm>
#include <fstream>
#include <iostream>
#include <iterator>

namespace sim::scenario {

namespace {

constexpr const char* kSettingsProcess = "/Applications/Preferences.app/Preferences";
constexpr const char* kSpringBoardProcess = "/System/Library/CoreServices/SpringBoard.app/SpringBoard";

// A drag lasts long enough for the grid's and the table's animations to be seen moving, in enough steps that a
// recogniser sees a gesture rather than a jump.
constexpr double kDragSeconds = 0.6;
constexpr int kDragSteps = 12;

std::string inQuotes(const std::string& s) { return "\"" + s + "\""; }

std::string joined(const std::vector<std::string>& items, std::size_t limit = 12) {
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

std::vector<CGPoint> straightPath(CGPoint from, CGPoint to) {
    std::vector<CGPoint> path;
    for (int i = 0; i <= kDragSteps; ++i) {
        double t = static_cast<double>(i) / kDragSteps;
        path.push_back(CGPointMake(from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t));
    }
    return path;
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

}  // namespace

struct ScenarioRunner::Command {
    CommandInfo info;
    std::size_t minArgs, maxArgs;
    void (ScenarioRunner::*run)(const Step&);
    // Set-up commands are replayed when a run continues in a fresh process.
    bool setup;
};

const std::vector<ScenarioRunner::Command>& ScenarioRunner::table() {
    using R = ScenarioRunner;
    static const std::vector<Command> kTable = {
        {{"device", "NAME", "device profile: iphone-8, iphone-8-plus, iphone-x, iphone-xr, iphone-12 (before launch)"}, 1, 1, &R::cmdDevice, true},
        {{"appearance", "light|dark", "interface style; switches live while a process runs"}, 1, 1, &R::cmdAppearance, true},
        {{"locale", "ID", "the device language (en, de, fr, ...), before launch"}, 1, 1, &R::cmdLocale, true},
        {{"timezone", "ID", "the device's time zone (UTC, Europe/Berlin, ...)"}, 1, 1, &R::cmdTimezone, true},
        {{"date", "YYYY-MM-DD HH:MM", "the virtual clock's now, UTC (the status bar shows UTC)"}, 2, 2, &R::cmdDate, true},
        {{"pref", "KEY bool|int|real|string|strings|data VALUE", "store a value in the add-on's domain (strings: a JSON array; data: a file, relative to the scenario)"}, 3, 32, &R::cmdPref, false},
        {{"pref-remove", "KEY", "remove a key from the add-on's domain"}, 1, 1, &R::cmdPrefRemove, false},
        {{"pref-delete-file", "", "delete the domain's backing file"}, 0, 0, &R::cmdPrefDeleteFile, false},
        {{"wifi", "on [ADDRESS]|off", "the Wi-Fi interface, also while running"}, 1, 2, &R::cmdWifi, true},
        {{"cellular", "on [ADDRESS]|off", "the cellular data interface, also while running"}, 1, 2, &R::cmdCellular, true},
        {{"airplane", "on|off", "airplane mode, also while running"}, 1, 1, &R::cmdAirplane, true},
        {{"bluetooth", "on|off", "Bluetooth power, also while running"}, 1, 1, &R::cmdBluetooth, true},
        {{"carrier", "NAME|none", "the cellular carrier; none for no SIM"}, 1, 1, &R::cmdCarrier, true},
        {{"launch", "settings|springboard|ARGV0", "start that process (ending any running one) with the add-on injected by the loader"}, 1, 1, &R::cmdLaunch, false},
        {{"respring", "", "end the processes and start Settings again"}, 0, 0, &R::cmdRespring, false},
        {{"open", "URL", "open a Settings address (prefs:root=WIFI) through the Settings URL manager, as a card does"}, 1, 1, &R::cmdOpen, false},
        {{"tap", "TARGET", "tap the front-most visible view showing TARGET: a text (label, button title, card title), a system symbol's name (gear), an image file's name (done.png), or @X,Y in points"}, 1, 1, &R::cmdTap, false},
        {{"drag", "TARGET TARGET", "a drag through the touch driver from one target to another"}, 2, 2, &R::cmdDrag, false},
        {{"reorder", "\"TITLE\" selected|available INDEX", "in the card editor, drag that card's row by its handle to that section at position INDEX (0 is the top)"}, 3, 3, &R::cmdReorder, false},
        {{"scroll", "DY", "scroll the front-most scrollable view by DY points (positive: further down the content)"}, 1, 1, &R::cmdScroll, false},
        {{"back", "", "press the back button of the front-most navigation bar"}, 0, 0, &R::cmdBack, false},
        {{"wait", "DURATION", "advance the virtual clock (1s, 250ms, 2m); timers, animations and deferred work run"}, 1, 1, &R::cmdWait, false},
        {{"screenshot", "NAME", "write NAME.png and NAME.json (the view tree) to the output folder and add the picture to the gallery"}, 1, 1, &R::cmdScreenshot, false},
        {{"dump", "prefs|records NAME", "write NAME.json: the add-on's domain, or the records (URL opens, haptics, notifications, spawns, airplane-mode requests)"}, 2, 2, &R::cmdDump, false},
        {{"expect", "WHAT ...", "check: text \"T\", no-text \"T\", visible TARGET, no-visible TARGET, page \"TITLE\", pref KEY JSON|absent, url \"URL\", haptics N, notification \"NAME\" N"}, 1, 32, &R::cmdExpect, false},
    };
    return kTable;
}

const std::vector<CommandInfo>& ScenarioRunner::commands() {
    static const std::vector<CommandInfo> kInfos = [] {
        std::vector<CommandInfo> out;
        for (const auto& c : table()) out.push_back(c.info);
        return out;
    }();
    return kInfos;
}

ScenarioRunner::ScenarioRunner(Phone& phone, RunnerOptions options) : m_phone(phone), m_options(std::move(options)) {
    std::error_code ec;
    std::filesystem::create_directories(m_options.out, ec);
    if (ec) throw StepError("cannot create the output folder " + m_options.out.string() + ": " + ec.message());
    if (!platform::deviceRoot() || *platform::deviceRoot() != m_options.root) platform::setDeviceRoot(m_options.root);
}

ScenarioRunner::~ScenarioRunner() = default;

int ScenarioRunner::run(const Script& script, std::ostream& errors) {
    m_gallery = std::make_unique<Gallery>(m_options.out, "Scenario " + script.name, m_options.freshGallery);
    return play(script, 0, errors);
}

const char* ScenarioRunner::settingsProcess() { return kSettingsProcess; }

int ScenarioRunner::resume(const Script& script, std::size_t nextStep, double clock, const std::string& process,
                           std::ostream& errors) {
    m_gallery = std::make_unique<Gallery>(m_options.out, "Scenario " + script.name, false);
    m_script = &script;
    try {
        m_replaying = true;
        for (std::size_t i = 0; i < nextStep && i < script.steps.size(); ++i) {
            const Step& step = script.steps[i];
            auto it = std::find_if(table().begin(), table().end(),
                                   [&](const Command& c) { return step.words[0] == c.info.name; });
            if (it != table().end() && it->setup) {
                m_stepIndex = i;
                (this->*(it->run))(step);
            }
        }
        m_replaying = false;
        m_phone.setDate(clock);
        launchProcess(process);
    } catch (const std::exception& e) {
        errors << script.name << ": the run could not continue after its respring: " << e.what() << "\n";
        return kExitStepError;
    }
    return play(script, nextStep, errors);
}

int ScenarioRunner::play(const Script& script, std::size_t first, std::ostream& errors) {
    m_script = &script;
    for (std::size_t i = first; i < script.steps.size(); ++i) {
        const Step& step = script.steps[i];
        m_stepIndex = i;
        if (m_options.progress)
            *m_options.progress << "[" << (i + 1) << "/" << script.steps.size() << "] " << step.text << std::endl;
        try {
            execute(step);
        } catch (const ExpectationFailed& e) {
            errors << script.name << ":" << step.line << ": " << e.what() << "\n  expected: " << e.expected()
                   << "\n  actual:   " << e.actual() << "\n";
            return kExitExpectationFailed;
        } catch (const StepError& e) {
            errors << script.name << ":" << step.line << ": " << step.words[0] << ": " << e.what() << "\n";
            return kExitStepError;
        } catch (const std::exception& e) {
            // The platform's loud errors (misuse caught in the frameworks) stop the run as a step that failed.
            errors << script.name << ":" << step.line << ": " << step.words[0] << " failed: " << e.what() << "\n";
            return kExitStepError;
        }
    }
    return 0;
}

void ScenarioRunner::execute(const Step& step) {
    const auto& commands = table();
    auto it = std::find_if(commands.begin(), commands.end(),
                           [&](const Command& c) { return step.words[0] == c.info.name; });
    if (it == commands.end()) throw StepError("unknown command (vantile-sim --help lists them)");
    std::size_t args = step.words.size() - 1;
    if (args < it->minArgs || args > it->maxArgs)
        throw StepError(std::string("wants ") + (*it->info.usage ? it->info.usage : "no arguments"));
    (this->*(it->run))(step);
    if (!m_replaying) m_phone.settle();
}

// ----- set-up -----

void ScenarioRunner::cmdDevice(const Step& step) {
    if (!m_phone.setProfile(step.words[1]))
        throw StepError("unknown device profile " + inQuotes(step.words[1]) + ", or a process is already running");
}

void ScenarioRunner::cmdAppearance(const Step& step) {
    const std::string& s = step.words[1];
    if (s != "light" && s != "dark") throw StepError("wants light or dark, not " + inQuotes(s));
    m_phone.setAppearance(s == "light" ? 1 : 2);
}

void ScenarioRunner::cmdLocale(const Step& step) {
    const std::string& id = step.words[1];
    bool ok = !id.empty() && std::all_of(id.begin(), id.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_';
    });
    if (!ok) throw StepError("not a language identifier: " + inQuotes(id));
    m_phone.setLanguage(id);
}

void ScenarioRunner::cmdTimezone(const Step& step) {
    if (!m_phone.setTimeZone(step.words[1])) throw StepError("unknown time zone " + inQuotes(step.words[1]));
}

void ScenarioRunner::cmdDate(const Step& step) {
    auto when = parseDateTime(step.words[1], step.words[2]);
    if (!when) throw StepError("wants YYYY-MM-DD HH:MM, not " + inQuotes(step.words[1] + " " + step.words[2]));
    m_phone.setDate(*when);
}

// ----- preferences -----

void ScenarioRunner::cmdPref(const Step& step) {
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
        // The array keeps its own quotes, so it is read from the raw line.
        auto parsed = parseJSON(step.rest(3));
        bool ok = parsed && parsed->isArray() &&
                  std::all_of(parsed->asArray()->begin(), parsed->asArray()->end(),
                              [](const Value& v) { return v.isString(); });
        if (!ok) throw StepError("strings wants a JSON array of strings, not " + step.rest(3));
        value = std::move(*parsed);
    } else if (type == "data") {
        std::filesystem::path file = text;
        if (file.is_relative()) file = m_options.baseFolder / file;
        std::ifstream in(file, std::ios::binary);
        if (!in) throw StepError("cannot read " + file.string());
        value = Value::Data(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    } else {
        throw StepError("unknown type " + inQuotes(type) + " (bool, int, real, string, strings, data)");
    }
    if (!addOnDomain()->write({{key, std::move(value)}})) throw StepError("the domain's file could not be written");
}

void ScenarioRunner::cmdPrefRemove(const Step& step) {
    if (!addOnDomain()->write({{step.words[1], Value()}})) throw StepError("the domain's file could not be written");
}

void ScenarioRunner::cmdPrefDeleteFile(const Step&) {
    auto domain = addOnDomain();
    std::error_code ec;
    std::filesystem::remove(domain->file(), ec);
    if (ec) throw StepError("cannot delete " + domain->file().string() + ": " + ec.message());
}

// ----- radios -----

void ScenarioRunner::cmdWifi(const Step& step) {
    bool on = onOff(step, 1);
    if (!on && step.words.size() > 2) throw StepError("wifi off takes no address");
    m_phone.setWifi(on, step.words.size() > 2 ? std::optional(step.words[2]) : std::nullopt);
}

void ScenarioRunner::cmdCellular(const Step& step) {
    bool on = onOff(step, 1);
    if (!on && step.words.size() > 2) throw StepError("cellular off takes no address");
    m_phone.setCellular(on, step.words.size() > 2 ? std::optional(step.words[2]) : std::nullopt);
}

void ScenarioRunner::cmdAirplane(const Step& step) {
    m_airplane = onOff(step, 1);
    platform::host::DeviceRadios::setAirplaneMode(*m_airplane);
}

void ScenarioRunner::cmdBluetooth(const Step& step) {
    m_bluetooth = onOff(step, 1);
    platform::host::DeviceRadios::setBluetoothPowered(*m_bluetooth);
}

void ScenarioRunner::cmdCarrier(const Step& step) {
    const std::string& name = step.words[1];
    m_phone.setCarrier(name == "none" ? std::nullopt : std::optional(name));
}

void ScenarioRunner::applyRadios() {
    if (m_airplane) platform::host::DeviceRadios::setAirplaneMode(*m_airplane);
    if (m_bluetooth) platform::host::DeviceRadios::setBluetoothPowered(*m_bluetooth);
}

// ----- processes -----

void ScenarioRunner::launchProcess(const std::string& process) {
    // Counts are "since the process started".
    clearRecords();
    if (auto failure = m_phone.launch(process)) throw StepError("cannot launch " + process + ": " + *failure);
    applyRadios();
    m_phone.settle();
}

void ScenarioRunner::cmdLaunch(const Step& step) {
    const std::string& which = step.words[1];
    std::string process = which == "settings" ? kSettingsProcess : which == "springboard" ? kSpringBoardProcess : which;
    if (process.empty() || process.front() != '/')
        throw StepError("wants settings, springboard or an absolute first argument, not " + inQuotes(which));
    if (m_phone.isRunning() && m_phone.launchNeedsFreshProcess()) restartWith(process);
    launchProcess(process);
}

void ScenarioRunner::cmdRespring(const Step&) {
    if (!m_phone.isRunning()) throw StepError("nothing is running");
    if (!m_phone.respring()) {
        clearRecords();
        applyRadios();
        return;
    }
    restartWith(kSettingsProcess);
}

void ScenarioRunner::restartWith(const std::string& process) {
    if (!m_options.restart)
        throw StepError("with the add-on loaded this needs a fresh simulator process, which this run cannot start");
    m_options.restart(m_stepIndex + 1, platform::Clock::now(), process);
    throw StepError("the simulator could not restart itself");
}

void ScenarioRunner::cmdOpen(const Step& step) {
    const std::string& url = step.words[1];
    if (url.find(':') == std::string::npos) throw StepError("not an address: " + inQuotes(url));
    if (!m_phone.isRunning()) throw StepError("nothing is running");
    m_phone.openURL(url);
}

// ----- touches -----

Ref<UIWindow> ScenarioRunner::requireWindow(const Step&) const {
    auto window = m_phone.window();
    if (!window) throw StepError("nothing is on screen (launch settings first)");
    return window;
}

CGPoint ScenarioRunner::targetPoint(const Step& step, const std::string& target) const {
    auto window = requireWindow(step);
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

void ScenarioRunner::cmdTap(const Step& step) {
    CGPoint point = targetPoint(step, step.words[1]);
    platform::TouchDriver(requireWindow(step)).tap(point);
}

void ScenarioRunner::cmdDrag(const Step& step) {
    CGPoint from = targetPoint(step, step.words[1]);
    CGPoint to = targetPoint(step, step.words[2]);
    platform::TouchDriver(requireWindow(step)).drag(straightPath(from, to), kDragSeconds, CGPointMake(0, 0));
}

void ScenarioRunner::cmdReorder(const Step& step) {
    auto window = requireWindow(step);
    const std::string& title = step.words[1];
    const std::string& sectionName = step.words[2];
    if (sectionName != "selected" && sectionName != "available")
        throw StepError("wants selected or available, not " + inQuotes(sectionName));
    long section = sectionName == "selected" ? 0 : 1;
    auto index = parseInteger(step.words[3]);
    if (!index || *index < 0) throw StepError("wants a position from 0, not " + inQuotes(step.words[3]));

    auto visibleTable = findFrontmostOfClass(window, "UITableView");
    auto table = visibleTable ? cast<UITableView>(visibleTable->view) : nullptr;
    if (!table) throw StepError("no table is on screen (open the card editor first)");
    if (table->numberOfSections() <= section) throw StepError("the table on screen has no " + sectionName + " section");

    // The row of that card among the rows on screen; when it is not there, the table is scrolled through from the
    // top, as the user would look for it.
    auto rowOnScreen = [&]() -> Ref<UITableViewCell> {
        auto shown = visibleViews(window);
        for (const auto& c : table->visibleCells())
            for (const auto& v : shown)
                if (v.view->isDescendantOfView(c) && shownText(v.view) == title) return c;
        return nullptr;
    };
    Ref<UITableViewCell> cell = rowOnScreen();
    if (!cell && table->isScrollEnabled()) {
        const CGPoint start = table->contentOffset();
        const CGFloat lo = table->minimumContentOffset().y, hi = table->maximumContentOffset().y;
        const CGFloat page = std::max<CGFloat>(table->bounds().height() * 0.75, 44);
        for (CGFloat y = lo; !cell; y = std::min(y + page, hi)) {
            table->setContentOffset(CGPointMake(start.x, y));
            window->layoutIfNeeded();
            cell = rowOnScreen();
            if (y >= hi) break;
        }
        if (!cell) table->setContentOffset(start);
    }
    if (!cell) throw StepError("the table has no row " + inQuotes(title) + " on screen or further along");
    // The handle is grabbed at the row's middle, so a row cut by the table's edge is scrolled fully into view.
    CGRect shownPart = table->bounds();
    if (table->isScrollEnabled() && (cell->frame().minY() < shownPart.minY() || cell->frame().maxY() > shownPart.maxY())) {
        CGFloat lo = table->minimumContentOffset().y, hi = std::max(lo, table->maximumContentOffset().y);
        table->setContentOffset(
            CGPointMake(shownPart.origin.x, std::clamp(cell->frame().midY() - shownPart.height() / 2, lo, hi)));
        window->layoutIfNeeded();
    }
    auto sourcePath = table->indexPathForRowAtPoint(CGPointMake(cell->frame().midX(), cell->frame().midY()));
    auto handle = cell->reorderControl();
    if (!sourcePath || !handle) throw StepError("the row " + inQuotes(title) + " cannot be dragged (no reorder handle)");

    // The slot to drop into, as the table measures it: the top of the row that will follow, or the end of the
    // section, with the dragged row itself left out. Grabbing the handle at the row's middle puts the row's centre
    // under the finger, so releasing on the slot drops it there.
    std::vector<long> rows;
    for (long r = 0; r < table->numberOfRowsInSection(section); ++r)
        if (!(section == sourcePath->section && r == sourcePath->row)) rows.push_back(r);
    if (*index > static_cast<long long>(rows.size()))
        throw StepError("position " + std::to_string(*index) + " is past the end of " + sectionName + " (" +
                        std::to_string(rows.size()) + " other rows)");
    CGFloat slotY;
    if (*index < static_cast<long long>(rows.size()))
        slotY = table->rectForRowAtIndexPath({section, rows[static_cast<std::size_t>(*index)]}).minY();
    else if (!rows.empty())
        slotY = table->rectForRowAtIndexPath({section, rows.back()}).maxY();
    else
        slotY = table->rectForHeaderInSection(section).maxY();

    CGRect handleRect = handle->convertRectToView(handle->bounds(), window);
    CGPoint from = CGPointMake(handleRect.midX(), cell->convertPointToView(CGPointMake(0, cell->bounds().height() / 2), window).y);
    platform::TouchDriver finger(window);
    finger.down(from);
    // A slot off screen is brought into view while the row is held, as the table scrolls under a finger that
    // waits at its edge; the row then travels the rest of the way on screen.
    CGRect visible = table->bounds();
    if (slotY < visible.minY() || slotY > visible.maxY()) {
        CGFloat lo = table->minimumContentOffset().y, hi = std::max(lo, table->maximumContentOffset().y);
        table->setContentOffset(CGPointMake(visible.origin.x, std::clamp(slotY - visible.height() / 2, lo, hi)));
        finger.wait(kDragSeconds / 2);
    }
    CGPoint to = table->convertPointToView(CGPointMake(0, slotY), window);
    to.x = from.x;
    auto path = straightPath(from, to);
    for (std::size_t i = 1; i < path.size(); ++i) {
        finger.wait(kDragSeconds / kDragSteps);
        finger.move(path[i], CGPointMake(0, 0));
    }
    finger.up();
}

void ScenarioRunner::cmdScroll(const Step& step) {
    auto dy = parseNumber(step.words[1]);
    if (!dy) throw StepError("wants a number of points, not " + inQuotes(step.words[1]));
    auto window = requireWindow(step);
    Ref<UIScrollView> scroller;
    auto views = visibleViews(window);
    for (auto it = views.rbegin(); it != views.rend() && !scroller; ++it)
        if (auto s = cast<UIScrollView>(it->view); s && s->isScrollEnabled()) scroller = s;
    if (!scroller) throw StepError("nothing on screen scrolls");
    CGPoint offset = scroller->contentOffset();
    CGPoint lo = scroller->minimumContentOffset(), hi = scroller->maximumContentOffset();
    offset.y = std::clamp(offset.y + *dy, lo.y, std::max(lo.y, hi.y));
    scroller->setContentOffset(offset);
}

void ScenarioRunner::cmdBack(const Step& step) {
    auto found = findFrontmostOfClass(requireWindow(step), "UINavigationBar");
    auto bar = found ? cast<UINavigationBar>(found->view) : nullptr;
    if (!bar || !bar->tapBackButton()) throw StepError("there is no back button on screen");
}

void ScenarioRunner::cmdWait(const Step& step) {
    auto seconds = parseDuration(step.words[1]);
    if (!seconds) throw StepError("wants a duration such as 1s or 250ms, not " + inQuotes(step.words[1]));
    m_phone.advance(*seconds);
}

// ----- output -----

std::filesystem::path ScenarioRunner::outputFile(const std::string& name, const char* extension) {
    bool ok = !name.empty() && name.front() != '.' && std::all_of(name.begin(), name.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == '.';
    });
    if (!ok) throw StepError("a name of letters, digits, '-', '_' and '.', not " + inQuotes(name));
    return m_options.out / (name + extension);
}

void ScenarioRunner::cmdScreenshot(const Step& step) {
    auto window = requireWindow(step);
    auto png = outputFile(step.words[1], ".png");
    if (!platform::ui::writeViewPNG(window, png)) throw StepError("cannot write " + png.string());
    std::ofstream json(outputFile(step.words[1], ".json"), std::ios::trunc);
    json << platform::ui::dumpViewTree(window);
    if (!json) throw StepError("cannot write the view dump of " + step.words[1]);
    m_gallery->add({step.words[1], step.note.empty() ? step.text : step.note, step.line});
}

void ScenarioRunner::cmdDump(const Step& step) {
    const std::string& what = step.words[1];
    std::string text;
    if (what == "prefs") text = sim::toJson(Value(*addOnDomain()->snapshot()), 2) + "\n";
    else if (what == "records") text = recordsJson();
    else throw StepError("wants prefs or records, not " + inQuotes(what));
    auto file = outputFile(step.words[2], ".json");
    std::ofstream out(file, std::ios::trunc);
    out << text;
    if (!out) throw StepError("cannot write " + file.string());
}

void ScenarioRunner::cmdExpect(const Step& step) {
    const std::string& what = step.words[1];
    auto wants = [&](std::size_t n, const char* usage) {
        if (step.words.size() != n + 2) throw StepError("expect " + what + " wants " + usage);
    };
    auto count = [&](const std::string& text) {
        auto n = parseInteger(text);
        if (!n || *n < 0) throw StepError("not a count: " + inQuotes(text));
        return static_cast<std::size_t>(*n);
    };

    if (what == "text" || what == "no-text") {
        wants(1, "\"T\"");
        // A process without an interface shows nothing, which is something to expect too.
        auto texts = visibleTexts(m_phone.window());
        bool shown = std::find(texts.begin(), texts.end(), step.words[2]) != texts.end();
        if (shown != (what == "text"))
            throw ExpectationFailed(what == "text" ? "the text is not on screen" : "the text is on screen",
                                    (what == "text" ? "" : "no ") + inQuotes(step.words[2]), joined(texts, 40));
    } else if (what == "visible" || what == "no-visible") {
        wants(1, "TARGET");
        const std::string& target = step.words[2];
        if (target.starts_with("@")) throw StepError("a point is always there; name what it should show");
        bool shown = m_phone.window() && findTarget(m_phone.window(), target);
        if (shown != (what == "visible"))
            throw ExpectationFailed(what == "visible" ? "nothing visible shows it" : "something visible shows it",
                                    (what == "visible" ? "" : "nothing showing ") + inQuotes(target),
                                    m_phone.window() ? joined(visibleTexts(m_phone.window()), 40) : "no window");
    } else if (what == "page") {
        wants(1, "\"TITLE\"");
        auto page = topPage(m_phone.visibleController());
        if (!page) throw StepError("no page is shown (launch settings first)");
        std::string title = pageTitle(page);
        if (title != step.words[2])
            throw ExpectationFailed("another page is on top", inQuotes(step.words[2]),
                                    inQuotes(title) + " (" + std::string(page->className()) + ")");
    } else if (what == "pref") {
        if (step.words.size() < 4) throw StepError("expect pref wants KEY JSON or KEY absent");
        const std::string& key = step.words[2];
        Value stored = addOnDomain()->value(key);
        std::string actual = stored.isNone() ? "absent" : sim::toJson(stored);
        std::string expectedText = step.rest(3);
        std::string expected;
        if (expectedText == "absent") {
            expected = "absent";
        } else {
            auto parsed = parseJSON(expectedText);
            if (!parsed || parsed->isNone()) throw StepError("not JSON (or absent): " + expectedText);
            expected = sim::toJson(*parsed);
        }
        if (actual != expected) throw ExpectationFailed("the stored value of " + key + " differs", expected, actual);
    } else if (what == "url") {
        wants(1, "\"URL\"");
        auto url = lastOpenedURL();
        if (url != step.words[2])
            throw ExpectationFailed("another address was opened last", inQuotes(step.words[2]),
                                    url ? inQuotes(*url) : "none opened");
    } else if (what == "haptics") {
        wants(1, "N");
        std::size_t n = count(step.words[2]), actual = hapticCount();
        if (actual != n)
            throw ExpectationFailed("another number of haptics since the process started", std::to_string(n),
                                    std::to_string(actual));
    } else if (what == "notification") {
        wants(2, "\"NAME\" N");
        std::size_t n = count(step.words[3]), actual = notificationCount(step.words[2]);
        if (actual != n)
            throw ExpectationFailed("another number of " + inQuotes(step.words[2]) + " posts since the process started",
                                    std::to_string(n), std::to_string(actual));
    } else {
        throw StepError("unknown expectation " + inQuotes(what) + " (text, no-text, visible, no-visible, page, pref, url, haptics, notification)");
    }
}

}  // namespace sim::scenario
