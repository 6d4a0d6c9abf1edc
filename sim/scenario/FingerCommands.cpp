// The finger group: one finger driven event by event, as a person's hand moves it, and the keyboard's keys that
// have no other command. A recorded session is written in these: its drags keep their own path and timing (with
// `wait` between the moves), which a straight `drag` from target to target would lose.

#include "sim/scenario/ScenarioCommand.h"
#include "sim/scenario/ScenarioErrors.h"
#include "sim/scenario/ScenarioSession.h"
#include "sim/scenario/ScenarioValues.h"

#include "platform/harness/TouchDriver.h"
#include "platform/ui/UITextField.h"
#include "platform/ui/UITextView.h"
#include "platform/ui/UIWindow.h"

#include <cmath>
#include <memory>

namespace sim::scenario {

namespace {

// The finger between `touch down` and `touch up`; it stays with the window it went down on.
std::unique_ptr<platform::TouchDriver>& finger() {
    static auto* held = new std::unique_ptr<platform::TouchDriver>();
    return *held;
}

bool isTouching() { return finger() && finger()->isTouching(); }

CGPoint pointOnScreen(ScenarioSession& s, const Step& step) {
    auto x = parseNumber(step.words[2]);
    auto y = parseNumber(step.words[3]);
    if (!x || !std::isfinite(*x)) throw StepError("wants X in points, not " + inQuotes(step.words[2]));
    if (!y || !std::isfinite(*y)) throw StepError("wants Y in points, not " + inQuotes(step.words[3]));
    CGPoint point = CGPointMake(*x, *y);
    if (!s.requireWindow()->bounds().contains(point))
        throw StepError(step.words[2] + "," + step.words[3] + " is outside the screen");
    return point;
}

void cmdTouch(ScenarioSession& s, const Step& step) {
    const std::string& phase = step.words[1];
    const bool withPoint = phase == "down" || phase == "move";
    if (!withPoint && phase != "up" && phase != "cancel")
        throw StepError("wants down X Y, move X Y, up or cancel, not " + inQuotes(phase));
    if (step.words.size() != (withPoint ? 4u : 2u))
        throw StepError(withPoint ? "touch " + phase + " wants X Y in points" : "touch " + phase + " takes no point");
    if (phase == "down") {
        CGPoint point = pointOnScreen(s, step);
        if (isTouching()) throw StepError("a finger is already down (touch up first)");
        finger() = std::make_unique<platform::TouchDriver>(s.requireWindow());
        finger()->down(point);
        return;
    }
    if (!isTouching()) throw StepError("no finger is down (touch down first)");
    if (phase == "move") {
        finger()->move(pointOnScreen(s, step));
        return;
    }
    if (phase == "up") finger()->up();
    else finger()->cancel();
    finger().reset();
}

void cmdDismissKeyboard(ScenarioSession& s, const Step&) {
    s.requireWindow();
    auto responder = UIResponder::currentFirstResponder();
    if (!cast<UITextField>(responder) && !cast<UITextView>(responder))
        throw StepError("the keyboard is not up: no text field or text view is being edited");
    responder->resignFirstResponder();
}

// The length of the last character of UTF-8 text, so a delete never splits one.
std::size_t lastCharacterLength(const std::string& text) {
    std::size_t n = 1;
    while (n < text.size() && (static_cast<unsigned char>(text[text.size() - n]) & 0xC0) == 0x80) ++n;
    return std::min(n, text.size());
}

void cmdBackspace(ScenarioSession& s, const Step&) {
    s.requireWindow();
    auto field = cast<UITextField>(UIResponder::currentFirstResponder());
    if (!field) throw StepError("no text field is being edited (tap one first)");
    std::string text = field->text();
    if (text.empty()) return;
    text.resize(text.size() - lastCharacterLength(text));
    // The field takes keyboard input only as typing, so its delegate sees the shorter text as the keyboard gives it.
    field->selectAll(nullptr);
    field->insertText(text);
}

}  // namespace

const std::vector<ScenarioCommand>& fingerCommands() {
    static const std::vector<ScenarioCommand> kRows = {
        {{"touch", "down X Y|move X Y|up|cancel", "one finger, event by event, at points of the screen: down, moves (with wait between them for their timing), then up or the system's cancel"}, 1, 3, cmdTouch},
        {{"dismiss-keyboard", "", "the keyboard's dismiss key: the text field or text view being edited ends editing"}, 0, 0, cmdDismissKeyboard},
        {{"backspace", "", "the keyboard's delete key, once: the text field being edited loses its last character"}, 0, 0, cmdBackspace},
    };
    return kRows;
}

}  // namespace sim::scenario
