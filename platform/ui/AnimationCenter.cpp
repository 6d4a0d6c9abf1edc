#include "platform/ui/AnimationCenter.h"

#include "platform/core/Clock.h"
#include "platform/core/RunLoop.h"
#include "platform/core/Runtime.h"
#include "platform/ui/CABasicAnimation.h"
#include "platform/ui/CALayer.h"
#include "platform/ui/UIView.h"

#include <algorithm>

namespace platform {

struct AnimationCenter::Group {
    double duration = 0;
    double delay = 0;
    long curve = 0;
    std::function<void(bool)> completion;
    std::size_t pending = 0;
    bool interrupted = false;
    struct Change {
        Ref<CALayer> layer;
        std::string keyPath;
        std::vector<double> from, to;
    };
    std::vector<Change> changes;
};

namespace {
struct Record {
    std::uint64_t serial = 0;
    Weak<CALayer> layer;
    const CALayer* layerPtr = nullptr;
    std::string keyPath, key;
    std::vector<double> from, to;
    double begin = 0, duration = 0, delay = 0;
    long curve = 0;
    std::shared_ptr<AnimationCenter::Group> group;
    Ref<CABasicAnimation> basic;
    RunLoop::Token token = 0;
};

std::vector<double> interpolate(const Record& r, double now) {
    double t = r.duration > 0 ? (now - r.begin - r.delay) / r.duration : 1;
    if (t <= 0) return r.from;
    double p = animationCurveProgress(r.curve, t);
    std::vector<double> out(r.to.size());
    for (std::size_t i = 0; i < out.size(); ++i) {
        double from = i < r.from.size() ? r.from[i] : r.to[i];
        out[i] = from + (r.to[i] - from) * p;
    }
    return out;
}
}  // namespace

struct AnimationCenter::State {
    std::vector<std::shared_ptr<Group>> open;
    std::vector<Record> records;  // in flight, in the order they began
    std::uint64_t serial = 0;

    void finish(std::uint64_t serial, bool finished, bool deferCompletion) {
        auto it = std::find_if(records.begin(), records.end(), [&](const Record& r) { return r.serial == serial; });
        if (it == records.end()) return;
        Record r = std::move(*it);
        records.erase(it);
        if (r.token) RunLoop::main().cancel(r.token);
        if (r.basic) {
            Ref<CABasicAnimation> anim = r.basic;
            auto run = [anim, finished] {
                auto delegate = anim->delegate();
                SEL stop = sel("animationDidStop:finished:");
                if (delegate && delegate->respondsToSelector(stop))
                    msgSend<void>(delegate.get(), stop, anim, finished);
            };
            if (deferCompletion) RunLoop::main().scheduleAfter(0, run);
            else run();
        }
        if (auto g = r.group) {
            if (!finished) g->interrupted = true;
            if (g->pending > 0 && --g->pending == 0 && g->completion) {
                auto done = std::move(g->completion);
                bool ok = !g->interrupted;
                if (deferCompletion) RunLoop::main().scheduleAfter(0, [done, ok] { done(ok); });
                else done(ok);
            }
        }
    }

    Record* find(const CALayer* layer, std::string_view key) {
        for (auto& r : records)
            if (r.layerPtr == layer && r.key == key) return &r;
        return nullptr;
    }

    void start(Record r) {
        std::uint64_t id = r.serial;
        // The clock counts seconds since 1970 in a double, so "begin + 0.2" and two advances of 0.1 can differ in
        // the last bit; ending a microsecond early keeps the end inside the advance that reaches it.
        constexpr double kClockSlack = 1e-6;
        double end = r.begin + r.delay + r.duration - kClockSlack;
        r.token = RunLoop::main().scheduleAt(end, [this, id] { finish(id, true, false); });
        records.push_back(std::move(r));
    }
};

AnimationCenter::AnimationCenter() : m_state(std::make_unique<State>()) {}
AnimationCenter::~AnimationCenter() = default;

AnimationCenter& AnimationCenter::shared() {
    static AnimationCenter* center = new AnimationCenter();  // outlives every static that might animate at exit
    return *center;
}

std::vector<AnimationInfo> AnimationCenter::inFlight() const {
    std::vector<AnimationInfo> out;
    for (const auto& r : m_state->records) {
        AnimationInfo info;
        info.keyPath = r.keyPath;
        info.key = r.key;
        info.duration = r.duration;
        info.delay = r.delay;
        info.curve = r.curve;
        info.beginTime = r.begin;
        info.layer = r.layer.lock();
        info.view = info.layer ? info.layer->delegateView() : nullptr;
        info.from = r.from;
        info.to = r.to;
        info.basic = r.basic;
        out.push_back(std::move(info));
    }
    return out;
}

std::size_t AnimationCenter::inFlightCount() const { return m_state->records.size(); }

std::optional<std::vector<double>> AnimationCenter::presentation(const CALayer* layer,
                                                                 std::string_view keyPath) const {
    const Record* found = nullptr;
    for (const auto& r : m_state->records)
        if (r.layerPtr == layer && r.keyPath == keyPath) found = &r;
    if (!found) return std::nullopt;
    return interpolate(*found, Clock::now());
}

void AnimationCenter::beginCapture(double duration, double delay, long curve, std::function<void(bool)> completion) {
    auto g = std::make_shared<Group>();
    g->duration = duration;
    g->delay = delay;
    g->curve = curve;
    g->completion = std::move(completion);
    m_state->open.push_back(std::move(g));
}

void AnimationCenter::updateOpenGroup(double duration, double delay, long curve) {
    if (m_state->open.empty()) return;
    auto& g = m_state->open.back();
    g->duration = duration;
    g->delay = delay;
    g->curve = curve;
}

void AnimationCenter::setOpenGroupCompletion(std::function<void(bool)> completion) {
    if (!m_state->open.empty()) m_state->open.back()->completion = std::move(completion);
}

bool AnimationCenter::isCapturing() const { return !m_state->open.empty(); }

void AnimationCenter::recordChange(const Ref<CALayer>& layer, std::string_view keyPath, std::vector<double> from,
                                   std::vector<double> to) {
    if (m_state->open.empty() || !layer || from == to) return;
    auto& changes = m_state->open.back()->changes;
    for (auto& c : changes) {
        if (c.layer == layer && c.keyPath == keyPath) {
            c.to = std::move(to);  // the first old value and the last new one
            return;
        }
    }
    changes.push_back({layer, std::string(keyPath), std::move(from), std::move(to)});
}

void AnimationCenter::endCapture() {
    if (m_state->open.empty()) return;
    auto g = m_state->open.back();
    m_state->open.pop_back();
    double now = Clock::now();
    auto changes = std::move(g->changes);
    g->changes.clear();
    std::vector<Record> starting;
    for (auto& c : changes) {
        // An animation already running on the same property gives way; the new one starts from what is on screen.
        std::vector<double> from = c.from;
        if (Record* old = m_state->find(c.layer.get(), c.keyPath)) {
            from = interpolate(*old, now);
            m_state->finish(old->serial, false, true);
        }
        if (g->duration <= 0 && g->delay <= 0) continue;
        Record r;
        r.serial = ++m_state->serial;
        r.layer = c.layer;
        r.layerPtr = c.layer.get();
        r.keyPath = c.keyPath;
        r.key = c.keyPath;
        r.from = std::move(from);
        r.to = std::move(c.to);
        r.begin = now;
        r.duration = g->duration;
        r.delay = g->delay;
        r.curve = g->curve;
        r.group = g;
        starting.push_back(std::move(r));
    }
    g->pending = starting.size();
    if (starting.empty()) {
        if (g->completion) {
            auto done = std::move(g->completion);
            RunLoop::main().scheduleAfter(0, [done] { done(true); });
        }
        return;
    }
    for (auto& r : starting) m_state->start(std::move(r));
}

void AnimationCenter::addBasic(const Ref<CALayer>& layer, const Ref<CABasicAnimation>& animation, std::string_view key,
                               std::vector<double> from, std::vector<double> to) {
    if (!layer || !animation) return;
    std::string k = key.empty() ? "animation-" + std::to_string(m_state->serial + 1) : std::string(key);
    if (Record* old = m_state->find(layer.get(), k)) m_state->finish(old->serial, false, true);
    Record r;
    r.serial = ++m_state->serial;
    r.layer = layer;
    r.layerPtr = layer.get();
    r.keyPath = animation->keyPath();
    r.key = k;
    r.from = std::move(from);
    r.to = std::move(to);
    r.begin = Clock::now();
    r.duration = animation->effectiveDuration();
    r.curve = animation->timingCurve();
    r.basic = animation;
    m_state->start(std::move(r));
}

bool AnimationCenter::remove(const CALayer* layer, std::string_view key) {
    Record* r = m_state->find(layer, key);
    if (!r) return false;
    m_state->finish(r->serial, false, true);
    return true;
}

void AnimationCenter::removeAll(const CALayer* layer) {
    std::vector<std::uint64_t> serials;
    for (const auto& r : m_state->records)
        if (r.layerPtr == layer) serials.push_back(r.serial);
    for (auto s : serials) m_state->finish(s, false, true);
}

std::vector<std::string> AnimationCenter::keys(const CALayer* layer) const {
    std::vector<std::string> out;
    for (const auto& r : m_state->records)
        if (r.layerPtr == layer) out.push_back(r.key);
    return out;
}

Ref<CABasicAnimation> AnimationCenter::basicForKey(const CALayer* layer, std::string_view key) const {
    for (const auto& r : m_state->records)
        if (r.layerPtr == layer && r.key == key) return r.basic;
    return nullptr;
}

void AnimationCenter::reset() {
    for (const auto& r : m_state->records)
        if (r.token) RunLoop::main().cancel(r.token);
    m_state->records.clear();
    m_state->open.clear();
}

}  // namespace platform
