#pragma once

// The application object: its windows, the key window, the first responder, target-action with a nil target,
// and URL opening (recorded, never performed).

#include "platform/core/Object.h"
#include "platform/core/Runtime.h"
#include "platform/ui/UIResponder.h"

#include <functional>
#include <string>
#include <vector>

class UIWindow;

class UIApplication : public UIResponder {
    VT_OBJECT(UIApplication, UIResponder)
public:
    // The one application object of the process, created on first use.
    static Ref<UIApplication> sharedApplication();

    // The key window, or null when no window was made key (or it was released).
    Ref<UIWindow> keyWindow() const;
    // Visible windows in the order they were made visible. Windows are held weakly: the host owns them.
    std::vector<Ref<UIWindow>> windows() const;

    // Sends `action` to `target`, or, with a nil target, to the first responder and up its responder chain to the
    // first object that implements it; without a first responder the chain starts at the sender when it is a
    // responder (a control), else at the key window. The action may take the sender or nothing. Answers false when
    // no object took it.
    bool sendActionToFromForEvent(SEL action, const id& target, const id& sender, const id& event);

    // Records the request (the URL's text) in the effect log as kind "applicationOpenURL", value 1 for an address
    // with a scheme (some handler takes it) and 0 otherwise (nobody does: it is ignored), and calls the completion
    // with that answer on the next turn of the main run loop. Nothing is ever opened.
    void openURLOptionsCompletionHandler(const std::string& url, const id& options,
                                         std::function<void(bool)> completion = {});

    // The first responder of the key window, or null.
    Ref<UIResponder> firstResponder() const;

    // Used by UIWindow.
    void windowBecameKey(const Ref<UIWindow>& window);
    void windowBecameVisible(const Ref<UIWindow>& window);

    // Forgets windows and the key window (between tests and simulated processes).
    void reset();

private:
    Weak<UIWindow> m_key;
    std::vector<Weak<UIWindow>> m_windows;
};
