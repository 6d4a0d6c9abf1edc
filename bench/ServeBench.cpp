// The browser server's phone: from a pointer event arriving on the channel to the changed frame ready to send
// (played, rendered at the device's full scale, compared with the last frame, the changed region encoded as PNG).
// Target: p95 at most 16 ms over 100 events, for a card tap and for a drag step in the card editor.
//
// Method: the phone session of `vantile-sim phone` in this process, on an iPhone X (1125 x 2436 pixels) with the
// build's package installed into a temporary device root and the add-on switched on with the airplane-mode card on
// the dashboard; the clock is paused so only the events move it. The server's end of the socket pair is drained by a
// thread. A card tap is its down and its up, each measured (the up toggles airplane mode and redraws the card); a
// drag step is one move of a finger holding an editor row by its handle, up and down by 4 points in turn. The
// counters are the p95 and the median of each, in milliseconds, and the share of events that changed the screen;
// besides, what a whole rendering of the editor and a PNG of the whole screen cost alone, to tell what dominates.
#include "sim/scenario/ViewFinder.h"
#include "sim/serve/PhoneSession.h"
#include "tests/support/TemporaryRoot.h"

#include "platform/harness/Renderer.h"
#include "platform/ui/UIWindow.h"

#include <benchmark/benchmark.h>

#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

using sim::serve::ChannelMessage;
using sim::serve::MessageKind;

std::string pointer(const char* phase, double x, double y, double t) {
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, R"({"type":"pointer","phase":"%s","x":%.2f,"y":%.2f,"t":%.1f})", phase, x, y, t);
    return buffer;
}

struct Measured {
    std::vector<double> milliseconds;
    std::size_t changed = 0;
    double percentile(double p) {
        std::sort(milliseconds.begin(), milliseconds.end());
        return milliseconds[std::min(milliseconds.size() - 1, static_cast<std::size_t>(p * milliseconds.size()))];
    }
};

// One event through the session, as the loop plays it: handled, then the frame made.
void play(sim::serve::PhoneSession& session, const std::string& json, Measured& measured) {
    const auto start = std::chrono::steady_clock::now();
    session.handle({MessageKind::Json, json});
    const bool changed = session.publishFrame();
    const auto end = std::chrono::steady_clock::now();
    measured.milliseconds.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    measured.changed += changed;
}

void BM_PointerToFrame(benchmark::State& state) {
    testing_support::TemporaryRoot root("serve-bench");
    int pair[2];
    if (socketpair(AF_UNIX, SOCK_STREAM, 0, pair) != 0) {
        state.SkipWithError("no socket pair");
        return;
    }
    std::atomic<bool> done = false;
    std::thread drain([&] {
        char buffer[1 << 16];
        while (!done && ::read(pair[1], buffer, sizeof buffer) > 0) {
        }
    });
    {
        sim::serve::PhoneOptions options;
        options.root = root.path();
        options.profile = "iphone-x";
        options.clock = 1796752800;
        options.seed = 7;
        options.setupLines = "pref toggleVantile bool yes\npref vantileEnabledArray strings [\"Airplane Mode\"]\n";
        sim::serve::PhoneSession session(pair[0], options);
        if (auto failure = session.boot()) {
            state.SkipWithError(failure->c_str());
            done = true;
            ::shutdown(pair[1], SHUT_RDWR);
            drain.join();
            return;
        }
        session.handle({MessageKind::Json, R"({"type":"pause"})"});
        session.handle({MessageKind::Json, R"({"type":"step","seconds":2})"});
        session.publishFrame();
        // The card is the dashboard's, the front-most view showing its title.
        auto card = sim::scenario::findTarget(session.phone().window(), "Airplane Mode");
        Measured tap, drag;
        double t = 0;
        for (auto _ : state) {
            tap = {};
            drag = {};
            for (int i = 0; i < 50 && card; ++i) {
                play(session, pointer("down", card->centre().x, card->centre().y, t += 500), tap);
                play(session, pointer("up", card->centre().x, card->centre().y, t += 80), tap);
                session.handle({MessageKind::Json, R"({"type":"step","seconds":0.5})"});
                session.publishFrame();
            }
            // The editor, and a finger on the first row's handle.
            session.handle({MessageKind::Json, pointer("down", 18, 65, t += 1000)});
            session.handle({MessageKind::Json, pointer("up", 18, 65, t += 80)});
            session.handle({MessageKind::Json, R"({"type":"step","seconds":1})"});
            session.publishFrame();
            session.handle({MessageKind::Json, pointer("down", 355, 240, t += 1000)});
            session.publishFrame();
            for (int i = 0; i < 100; ++i) play(session, pointer("move", 355, 240 - (i % 2 ? 4 : 8), t += 16), drag);
            // What a step costs apart: rendering the editor at full scale, and encoding the whole screen.
            Measured render, encode;
            for (int i = 0; i < 10; ++i) {
                auto start = std::chrono::steady_clock::now();
                Bitmap picture = platform::harness::renderView(session.phone().window());
                auto rendered = std::chrono::steady_clock::now();
                sim::serve::encodeRegionPNG(picture, {0, 0, static_cast<std::uint32_t>(picture.width),
                                                      static_cast<std::uint32_t>(picture.height)});
                auto encoded = std::chrono::steady_clock::now();
                render.milliseconds.push_back(std::chrono::duration<double, std::milli>(rendered - start).count());
                encode.milliseconds.push_back(std::chrono::duration<double, std::milli>(encoded - rendered).count());
            }
            state.counters["render_median_ms"] = render.percentile(0.5);
            state.counters["png_whole_median_ms"] = encode.percentile(0.5);
            session.handle({MessageKind::Json, pointer("cancel", 355, 236, t += 16)});
        }
        if (tap.milliseconds.empty()) {
            state.SkipWithError("the airplane-mode card is not on screen");
        } else {
            state.counters["tap_p95_ms"] = tap.percentile(0.95);
            state.counters["tap_median_ms"] = tap.percentile(0.5);
            state.counters["tap_changed"] = static_cast<double>(tap.changed) / tap.milliseconds.size();
            state.counters["drag_p95_ms"] = drag.percentile(0.95);
            state.counters["drag_median_ms"] = drag.percentile(0.5);
            state.counters["drag_changed"] = static_cast<double>(drag.changed) / drag.milliseconds.size();
        }
    }
    done = true;
    ::shutdown(pair[1], SHUT_RDWR);
    drain.join();
    close(pair[0]);
    close(pair[1]);
}
BENCHMARK(BM_PointerToFrame)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
