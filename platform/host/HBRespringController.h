#pragma once

// Cephei's restart of the device's interface. `respringAndReturnTo` restarts the home screen and, once Settings is
// running again, opens the given address ("prefs:root=Vantile" lands on that pane). The request is reported to the
// effect sink as a "respring" effect with the URL; the host that plays the device (the simulator) installs the
// handler that really restarts it. Without a handler the request is only reported.

#include "platform/core/Object.h"

#include <functional>

class NSURL;

class HBRespringController : public NSObject {
    VT_OBJECT(HBRespringController, NSObject)
public:
    // Published as the class method "respringAndReturnTo:". A null URL restarts without returning anywhere.
    static void respringAndReturnTo(Ref<NSURL> url);
    // Published as "respring".
    static void respring();

    // The host's restart; called after the effect is reported, on the main thread, at most once per request.
    using Handler = std::function<void(Ref<NSURL> returnURL)>;
    static void setHandler(Handler handler);
};
