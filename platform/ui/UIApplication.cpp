#include "platform/ui/UIApplication.h"

#include "platform/core/Runtime.h"

#include "platform/core/EffectSink.h"
#include "platform/core/RunLoop.h"
#include "platform/ui/UIWindow.h"

#include <algorithm>

VT_REGISTER_CLASS(UIApplication)

Ref<UIApplication> UIApplication::sharedApplication() {
    static Ref<UIApplication> app = alloc<UIApplication>();
    return app;
}

Ref<UIWindow> UIApplication::keyWindow() const { return m_key.lock(); }

std::vector<Ref<UIWindow>> UIApplication::windows() const {
    std::vector<Ref<UIWindow>> out;
    for (const auto& w : m_windows)
        if (auto win = w.lock()) out.push_back(win);
    return out;
}

void UIApplication::windowBecameKey(const Ref<UIWindow>& window) { m_key = window; }

void UIApplication::windowBecameVisible(const Ref<UIWindow>& window) {
    std::erase_if(m_windows, [&](const Weak<UIWindow>& w) { return w.expired() || w.lock() == window; });
    m_windows.push_back(window);
}

void UIApplication::reset() {
    m_key.reset();
    m_windows.clear();
}

Ref<UIResponder> UIApplication::firstResponder() const { return UIResponder::currentFirstResponder(); }

bool UIApplication::sendActionToFromForEvent(SEL action, const id& target, const id& sender, const id& event) {
    if (!action) return false;
    if (target) return platform::performAction(target.get(), action, sender);
    // Up the responder chain from the first responder, ending at the application itself, as the device walks it.
    // Without a first responder the walk starts at the sender when it is a responder (a control's action reaches
    // the controller of the page that shows the control), else at the key window.
    Ref<UIResponder> r = UIResponder::currentFirstResponder();
    if (!r) r = std::dynamic_pointer_cast<UIResponder>(sender);
    if (!r) r = keyWindow();
    for (; r; r = r->nextResponder())
        if (r->respondsToSelector(action)) return platform::performAction(r.get(), action, sender);
    if (respondsToSelector(action)) return platform::performAction(this, action, sender);
    return false;
}

void UIApplication::openURLOptionsCompletionHandler(const std::string& url, const id&,
                                                    std::function<void(bool)> completion) {
    // An address opens when it has a scheme: letters, digits, "+", "-" or "." before a colon.
    auto colon = url.find(':');
    bool ok = colon != std::string::npos && colon > 0 &&
              std::all_of(url.begin(), url.begin() + static_cast<long>(colon), [](char c) {
                  return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.';
              });
    // A kind of its own: the Settings URL manager's requests ("openURL") are pages of Settings, these leave it.
    platform::recordEffect("applicationOpenURL", url, ok ? 1 : 0);
    if (completion) platform::dispatchMain([completion = std::move(completion), ok] { completion(ok); });
}
