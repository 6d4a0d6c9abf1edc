#pragma once

// Cephei's restart of the device's interface. `respringAndReturnTo` restarts the home screen and, once Settings is
// running again, opens the given address ("prefs:root=Vantile" lands on that pane). The request is reported to the
// effect sink at once as a "respring" effect with the URL (empty for none); the restart itself happens on a later
// turn of the main run loop, so a control whose page the restart takes down can ask for it from its own action.
// Requests made before that turn share one restart, returning to the last address asked for. The host that plays
// the device (the simulator) installs the handler that really restarts it; without a handler the request is only
// reported.

#include "platform/core/Object.h"

#include <functional>

class NSURL;

class HBRespringController : public NSObject {
    VT_OBJECT(HBRespringController, NSObject)
public:
    // Published as "respringAndReturnTo:" (void(Ref<NSURL>)). A null URL restarts without returning anywhere. The
    // run-time has no class messages: callers that find the class by name send it to an instance made from it.
    static void respringAndReturnTo(Ref<NSURL> url);
    // Published as "respring" (void()).
    static void respring();

    // The host's restart; called on the main thread, on the turn after the request, once per restart.
    using Handler = std::function<void(Ref<NSURL> returnURL)>;
    static void setHandler(Handler handler);
    // Whether a restart was asked for and has not run yet.
    static bool isRespringPending();

    void respringAndReturnToObject(Ref<NSURL> url) { respringAndReturnTo(std::move(url)); }
    void respringObject() { respring(); }
};
