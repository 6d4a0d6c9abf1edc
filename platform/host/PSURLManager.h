#pragma once

// The Settings application's opener of its own pages by address ("prefs:root=WIFI"). The add-on's cards and the
// respring return hand it addresses; the Settings host installs the handler that really opens the page.
//
// Published: "processURL:animated:fromSearch:withCompletion:"
//     void processURLAnimatedFromSearchWithCompletion(Ref<NSURL>, bool, bool, std::function<void()>)
//            "sharedManager"  id sharedManagerObject()
// The run-time has no class messages, so callers that find the class by name send "sharedManager" to an instance
// made from it and get the process's one manager back.

#include "platform/core/Object.h"

#include <functional>
#include <string>

class NSURL;

class PSURLManager : public NSObject {
    VT_OBJECT(PSURLManager, NSObject)
public:
    using Handler = std::function<void(const std::string& url, bool animated)>;

    // The one manager of the process, created on first use.
    static Ref<PSURLManager> sharedManager();
    id sharedManagerObject() { return sharedManager(); }

    // Records the request in the effect log as "openURL" with the address, then hands it to the host's handler;
    // the completion, when given, runs after the handler. A null URL records nothing and calls nothing.
    virtual void processURLAnimatedFromSearchWithCompletion(Ref<NSURL> url, bool animated, bool fromSearch,
                                                            std::function<void()> completion);

    // The host's page opener; none by default (the request is then only recorded).
    void setHandler(Handler handler) { m_handler = std::move(handler); }

private:
    Handler m_handler;
};
