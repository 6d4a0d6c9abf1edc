#pragma once

// The Settings application's opener of its own pages by address ("prefs:root=WIFI"). The add-on's cards and the
// respring return hand it addresses. As on the phone, "prefs:root=X" opens, over the root page, the page of the
// root entry whose identifier is X, or else whose name is X: the navigation goes back to the root page and pushes
// that entry's page. An address naming no entry, or of another form, leaves the navigation where it is.
//
// Published: "processURL:animated:fromSearch:withCompletion:"
//     void processURLAnimatedFromSearchWithCompletion(Ref<NSURL>, bool, bool, std::function<void()>)
//            "sharedManager"  id sharedManagerObject()
// The run-time has no class messages, so callers that find the class by name send "sharedManager" to an instance
// made from it and get the process's one manager back.

#include "platform/core/Object.h"

#include <functional>
#include <optional>
#include <string>

class NSURL;
class PSUIPrefsListController;

class PSURLManager : public NSObject {
    VT_OBJECT(PSURLManager, NSObject)
public:
    using Handler = std::function<void(const std::string& url, bool animated)>;

    // The one manager of the process, created on first use.
    static Ref<PSURLManager> sharedManager();
    id sharedManagerObject() { return sharedManager(); }

    // Records the request in the effect log as "openURL" with the address, then opens it (or hands it to the
    // handler, when one is set); the completion, when given, runs after that. A null URL records nothing and calls
    // nothing.
    virtual void processURLAnimatedFromSearchWithCompletion(Ref<NSURL> url, bool animated, bool fromSearch,
                                                            std::function<void()> completion);

    // A replacement of the opening above, for hosts without root page; none by default.
    void setHandler(Handler handler) { m_handler = std::move(handler); }
    // The root page addresses are opened on (held weakly; the root page registers itself when created).
    void setRootController(const Ref<PSUIPrefsListController>& root);
    // Requests that opened a page, and those that found none.
    std::size_t openedCount() const { return m_opened; }
    std::size_t unknownCount() const { return m_unknown; }

    // The page name of "prefs:root=X" (the text after "root=" up to any "&" or "/"); nothing for other addresses.
    static std::optional<std::string> rootPageOfAddress(const std::string& url);

private:
    void open(const std::string& url, bool animated);

    Handler m_handler;
    Weak<PSUIPrefsListController> m_root;
    std::size_t m_opened = 0;
    std::size_t m_unknown = 0;
};
