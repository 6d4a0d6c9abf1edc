#include "platform/host/HBRespringController.h"

#include "platform/core/EffectSink.h"
#include "platform/core/NSURL.h"
#include "platform/core/RunLoop.h"
#include "platform/core/Runtime.h"

VT_REGISTER_CLASS(HBRespringController, [](Class c) {
    platform::runtime::addMethod<&HBRespringController::respringAndReturnToObject>(c, "respringAndReturnTo:");
    platform::runtime::addMethod<&HBRespringController::respringObject>(c, "respring");
})

namespace {

HBRespringController::Handler& handler() {
    static auto* h = new HBRespringController::Handler();
    return *h;
}

// One restart at a time: requests made before it runs share it, and the address of the last one wins.
struct Pending {
    bool scheduled = false;
    Ref<NSURL> url;
};
Pending* pending_ = nullptr;

Pending& pending() {
    static auto* p = [] {
        // A new process (the run loop's reset) drops the scheduled restart with everything else it had queued.
        platform::addRunLoopResetParticipant([] { *pending_ = Pending{}; });
        return pending_ = new Pending();
    }();
    return *p;
}

}  // namespace

void HBRespringController::respringAndReturnTo(Ref<NSURL> url) {
    platform::recordEffect("respring", url ? url->absoluteString() : std::string());
    Pending& p = pending();
    p.url = std::move(url);
    if (p.scheduled) return;
    p.scheduled = true;
    // The caller is often a control of a page that the restart takes down; restarting from inside its action would
    // pull the page out from under the code still running on it, so the restart waits for a later turn.
    platform::RunLoop::main().scheduleAfter(0, [] {
        Pending& due = pending();
        due.scheduled = false;
        Ref<NSURL> returnURL = std::move(due.url);
        due.url = nullptr;
        if (handler()) handler()(std::move(returnURL));
    });
}

void HBRespringController::respring() { respringAndReturnTo(nullptr); }

void HBRespringController::setHandler(Handler h) { handler() = std::move(h); }

bool HBRespringController::isRespringPending() { return pending().scheduled; }
