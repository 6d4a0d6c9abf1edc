#include "sim/serve/GestureRecorder.h"

#include "sim/scenario/ViewFinder.h"

#include "platform/ui/UITableViewCell.h"
#include "platform/ui/UIView.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace sim::serve {

namespace {

std::string millisecondsText(double seconds) {
    // Microseconds are kept, so the waits of a replayed drag add up to the live one's timing.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.3f", seconds * 1000);
    std::string text = buffer;
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text + "ms";
}

bool isPlainWord(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](unsigned char c) {
        return c > ' ' && c != '"' && c != '#' && c != '\\' && c < 0x7F;
    });
}

std::vector<std::string> namesShownBy(const Ref<UIView>& view) {
    std::vector<std::string> names;
    for (auto name : {scenario::shownText(view), scenario::shownSymbol(view), scenario::shownImageFile(view)})
        if (name && !name->empty()) names.push_back(*name);
    return names;
}

bool hasControlCharacters(const std::string& text) {
    return std::any_of(text.begin(), text.end(), [](unsigned char c) { return c < ' ' || c == 0x7F; });
}

}  // namespace

std::string scenarioWord(const std::string& text) {
    if (isPlainWord(text)) return text;
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out.push_back('\\');
        out.push_back(c);
    }
    return out + "\"";
}

std::string pointsText(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.2f", std::round(value * 100) / 100);
    std::string text = buffer;
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text == "-0" ? "0" : text;
}

CGPoint roundedPoint(CGPoint point) {
    return CGPointMake(std::round(point.x * 100) / 100, std::round(point.y * 100) / 100);
}

std::string tapTarget(const Ref<UIView>& window, CGPoint point) {
    const std::string byPoint = "@" + pointsText(point.x) + "," + pointsText(point.y);
    if (!window) return byPoint;
    auto hit = window->hitTest(point);
    if (!hit) return byPoint;
    auto views = scenario::visibleViews(window);
    // How many visible views show each name: a name shown twice would make the tap's choice a guess.
    auto timesShown = [&](const std::string& name) {
        return std::count_if(views.begin(), views.end(), [&](const scenario::VisibleView& v) {
            auto names = namesShownBy(v.view);
            return std::find(names.begin(), names.end(), name) != names.end();
        });
    };
    // Where in a row the finger lands does not matter (the row is the button); elsewhere a tap by name lands at
    // the named view's centre, so the finger must have been on that view (a bar's title is not its back button).
    Ref<UIView> row;
    for (auto v = hit; v && !row; v = v->superview())
        if (cast<UITableViewCell>(v)) row = v;
    for (auto it = views.rbegin(); it != views.rend(); ++it) {
        if (it->view != hit && !it->view->isDescendantOfView(hit)) continue;
        for (const auto& name : namesShownBy(it->view)) {
            if (hasControlCharacters(name) || timesShown(name) != 1) continue;
            auto found = scenario::findTarget(window, name);
            if (!found || window->hitTest(found->centre()) != hit) continue;
            if (found->rect.contains(point) || (row && found->view->isDescendantOfView(row))) return scenarioWord(name);
        }
    }
    return byPoint;
}

void GestureRecorder::down(CGPoint point, double time, std::string target) {
    m_touching = true;
    m_target = std::move(target);
    m_events.assign(1, {point, time});
}

void GestureRecorder::move(CGPoint point, double time) {
    if (m_touching) m_events.push_back({point, time});
}

std::optional<RecordedBatch> GestureRecorder::up(double time) { return finish(time, false); }

std::optional<RecordedBatch> GestureRecorder::cancel(double time) { return finish(time, true); }

std::optional<RecordedBatch> GestureRecorder::finish(double time, bool cancelled) {
    if (!m_touching) return std::nullopt;
    m_touching = false;
    const Event start = m_events.front();
    double farthest = 0;
    for (const auto& e : m_events)
        farthest = std::max(farthest, std::hypot(e.point.x - start.point.x, e.point.y - start.point.y));
    RecordedBatch batch;
    batch.time = start.time;
    if (!cancelled && farthest < kTapSlop && time - start.time < kLongPressSeconds) {
        batch.duration = kTapPressSeconds;
        batch.lines.push_back("tap " + m_target);
        return batch;
    }
    batch.lines.push_back("touch down " + pointsText(start.point.x) + " " + pointsText(start.point.y));
    double last = start.time;
    auto waitUntil = [&](double when) {
        if (when > last) batch.lines.push_back("wait " + millisecondsText(when - last));
        last = std::max(last, when);
    };
    for (std::size_t i = 1; i < m_events.size(); ++i) {
        waitUntil(m_events[i].time);
        batch.lines.push_back("touch move " + pointsText(m_events[i].point.x) + " " + pointsText(m_events[i].point.y));
    }
    waitUntil(time);
    batch.lines.push_back(cancelled ? "touch cancel" : "touch up");
    batch.duration = last - start.time;
    return batch;
}

}  // namespace sim::serve
