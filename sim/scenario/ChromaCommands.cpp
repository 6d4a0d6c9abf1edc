// The colour picker's group: a finger drags the saturation/brightness square, the hue bar or the alpha bar from
// where its indicator stands to a value, and the general pasteboard is filled as another application would.

#include "sim/scenario/ChromaCommands.h"

#include "sim/scenario/ScenarioCommand.h"
#include "sim/scenario/ScenarioErrors.h"
#include "sim/scenario/ScenarioSession.h"
#include "sim/scenario/ScenarioValues.h"
#include "sim/scenario/ViewFinder.h"

#include "platform/gfx/PaintColorOf.h"
#include "platform/gfx/UIColor.h"
#include "platform/harness/TouchDriver.h"
#include "platform/ui/UIPasteboard.h"
#include "platform/ui/UITableViewCell.h"
#include "platform/ui/UITextField.h"
#include "platform/ui/UIWindow.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace sim::scenario {

namespace {

constexpr double kDragSeconds = 0.6;
constexpr int kDragSteps = 12;
// Channels may differ this much (in 255ths) unless the step gives its own tolerance.
constexpr double kDefaultTolerance = 2;

double fraction(const std::string& text) {
    auto value = parseNumber(text);
    // Values past 0..1 are allowed: the finger then leaves the control, which clamps.
    if (!value || !std::isfinite(*value) || std::fabs(*value) > 10)
        throw StepError("wants a fraction such as 0.5 (from -10 to 10), not " + inQuotes(text));
    return *value;
}

// The front-most control of the class, or a clear message.
Ref<UIView> pickerControl(ScenarioSession& s, const char* className, const char* what) {
    auto found = findFrontmostOfClass(s.requireWindow(), className);
    if (!found) throw StepError("no " + std::string(what) + " is on screen (open a colour row's picker first)");
    return found->view;
}

// A finger from the control's indicator (its first subview that is no image, else its centre) to `to`, in the
// control's points.
void dragOn(ScenarioSession& s, const Ref<UIView>& control, CGPoint to) {
    auto window = s.requireWindow();
    CGPoint from = CGPointMake(control->bounds().midX(), control->bounds().midY());
    for (const auto& sub : control->subviews())
        if (sub->className() == "ChromaIndicatorView") from = sub->center();
    // A finger starting exactly on the edge would miss the control; start just inside.
    from.x = std::clamp<CGFloat>(from.x, 1, std::max<CGFloat>(1, control->bounds().width() - 1));
    from.y = std::clamp<CGFloat>(from.y, 1, std::max<CGFloat>(1, control->bounds().height() - 1));
    std::vector<CGPoint> path;
    for (int i = 0; i <= kDragSteps; ++i) {
        const double t = static_cast<double>(i) / kDragSteps;
        path.push_back(control->convertPointToView(
            CGPointMake(from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t), window));
    }
    platform::TouchDriver(window).drag(path, kDragSeconds, CGPointMake(0, 0));
}

void cmdSquare(ScenarioSession& s, const Step& step) {
    const double saturation = fraction(step.words[1]);
    const double brightness = fraction(step.words[2]);
    auto square = pickerControl(s, "ChromaPickerView", "saturation/brightness square");
    const CGRect b = square->bounds();
    dragOn(s, square, CGPointMake(saturation * b.width(), b.height() - brightness * b.height()));
}

void cmdBar(ScenarioSession& s, const Step& step, const char* className, const char* what) {
    const double value = fraction(step.words[1]);
    auto bar = pickerControl(s, className, what);
    dragOn(s, bar, CGPointMake(value * bar->bounds().width(), bar->bounds().height() / 2));
}

// The delete key held down: the field being edited is emptied, as a person clears it before typing anew.
void cmdClear(ScenarioSession& s, const Step&) {
    s.requireWindow();
    auto field = cast<UITextField>(UIResponder::currentFirstResponder());
    if (!field) throw StepError("no text field is being edited (tap one first)");
    field->selectAll(nullptr);
    field->insertText("");
}

void cmdPasteboard(ScenarioSession& s, const Step& step) {
    UIPasteboard::generalPasteboard()->setString(step.words[1]);
}

struct Channels {
    double r, g, b, a;
};

// "RRGGBB" or "RRGGBBAA", in 255ths.
Channels wanted(const std::string& text) {
    const bool hex = std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isxdigit(c) != 0; });
    if (!hex || (text.size() != 6 && text.size() != 8))
        throw StepError("wants a colour as RRGGBB or RRGGBBAA, not " + inQuotes(text));
    auto channel = [&](std::size_t i) { return static_cast<double>(std::stoul(text.substr(i, 2), nullptr, 16)); };
    return {channel(0), channel(2), channel(4), text.size() == 8 ? channel(6) : 255};
}

std::string describe(const Channels& c) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02X%02X%02X%02X", int(std::lround(c.r)), int(std::lround(c.g)),
                  int(std::lround(c.b)), int(std::lround(c.a)));
    return buffer;
}

double tolerance(const Step& step, std::size_t index) {
    if (step.words.size() <= index) return kDefaultTolerance;
    auto t = parseNumber(step.words[index]);
    if (!t || *t < 0 || *t > 255) throw StepError("wants a tolerance from 0 to 255, not " + inQuotes(step.words[index]));
    return *t;
}

void compare(const std::string& what, const Ref<UIColor>& color, const Step& step, std::size_t colourIndex) {
    const Channels expected = wanted(step.words[colourIndex]);
    const double allowed = tolerance(step, colourIndex + 1);
    if (!color) throw ExpectationFailed(what + " has no colour", describe(expected), "none");
    const auto p = platform::gfx::paintColor(color);
    const Channels actual{p.r * 255, p.g * 255, p.b * 255, p.a * 255};
    const double off = std::max({std::fabs(actual.r - expected.r), std::fabs(actual.g - expected.g),
                                 std::fabs(actual.b - expected.b), std::fabs(actual.a - expected.a)});
    if (off > allowed) throw ExpectationFailed(what + " has another colour", describe(expected), describe(actual));
}

}  // namespace

void expectPasteboard(ScenarioSession&, const Step& step) {
    const auto text = UIPasteboard::generalPasteboard()->string();
    if (text != step.words[2])
        throw ExpectationFailed("the pasteboard holds something else", inQuotes(step.words[2]),
                                text ? inQuotes(*text) : std::string("nothing"));
}

// The background of the view at the target, or of the nearest view around it that has one.
void expectColour(ScenarioSession& s, const Step& step) {
    auto window = s.requireWindow();
    const CGPoint point = s.targetPoint(step.words[2]);
    window->layoutIfNeeded();
    for (auto v = window->hitTest(point); v; v = v->superview())
        if (auto background = v->backgroundColor(); background && background->rgba().alpha > 0) {
            compare("the view at " + inQuotes(step.words[2]), background, step, 3);
            return;
        }
    compare("the view at " + inQuotes(step.words[2]), nullptr, step, 3);
}

// The background of the accessory view of the row showing TITLE: a colour row's preview.
void expectPreview(ScenarioSession& s, const Step& step) {
    auto window = s.requireWindow();
    auto found = findTarget(window, step.words[2]);
    if (!found) throw StepError("nothing visible shows " + inQuotes(step.words[2]) + "; on screen: " +
                                joined(visibleTexts(window)));
    Ref<UITableViewCell> row;
    for (auto v = found->view; v && !row; v = v->superview()) row = cast<UITableViewCell>(v);
    if (!row || !row->accessoryView())
        throw StepError("the row showing " + inQuotes(step.words[2]) + " has no preview");
    const auto color = row->accessoryView()->backgroundColor();
    if (step.words[3] == "none") {
        if (color) throw ExpectationFailed("the preview has a colour", "none", describe({color->rgba().red * 255,
                                           color->rgba().green * 255, color->rgba().blue * 255, color->rgba().alpha * 255}));
        return;
    }
    compare("the preview of " + inQuotes(step.words[2]), color, step, 3);
}

const std::vector<ScenarioCommand>& chromaCommands() {
    static const std::vector<ScenarioCommand> kRows = {
        {{"square", "S B", "drag on the colour picker's square from its indicator to saturation S and brightness B (fractions; past 0..1 the finger leaves the square)"}, 2, 2, cmdSquare},
        {{"hue", "H", "drag on the colour picker's hue bar from its indicator to hue H (a fraction; past 0..1 the finger leaves the bar)"}, 1, 1,
         [](ScenarioSession& s, const Step& st) { cmdBar(s, st, "ChromaHueView", "hue bar"); }},
        {{"alpha", "A", "drag on the colour picker's alpha bar from its indicator to alpha A (a fraction; past 0..1 the finger leaves the bar)"}, 1, 1,
         [](ScenarioSession& s, const Step& st) { cmdBar(s, st, "ChromaAlphaView", "alpha bar"); }},
        {{"clear", "", "hold the keyboard's delete key: the text field being edited is emptied (tap it first)"}, 0, 0, cmdClear},
        {{"pasteboard", "\"TEXT\"", "put TEXT on the general pasteboard, as copying in another application does"}, 1, 1, cmdPasteboard},
    };
    return kRows;
}

}  // namespace sim::scenario
