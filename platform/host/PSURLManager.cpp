#include "platform/host/PSURLManager.h"

#include "platform/core/EffectSink.h"
#include "platform/core/NSURL.h"
#include "platform/core/Runtime.h"
#include "platform/host/PSSpecifier.h"
#include "platform/host/PSUIPrefsListController.h"
#include "platform/ui/UINavigationController.h"

VT_REGISTER_CLASS_IN(PSURLManager, "Preferences", [](Class c) {
    platform::runtime::addMethod<&PSURLManager::processURLAnimatedFromSearchWithCompletion>(
        c, "processURL:animated:fromSearch:withCompletion:");
    platform::runtime::addMethod<&PSURLManager::sharedManagerObject>(c, "sharedManager");
})

Ref<PSURLManager> PSURLManager::sharedManager() {
    static Ref<PSURLManager>* shared = new Ref<PSURLManager>(alloc<PSURLManager>());
    return *shared;
}

void PSURLManager::processURLAnimatedFromSearchWithCompletion(Ref<NSURL> url, bool animated, bool fromSearch,
                                                              std::function<void()> completion) {
    if (!url) return;
    platform::recordEffect("openURL", url->absoluteString());
    if (m_handler) m_handler(url->absoluteString(), animated);
    else open(url->absoluteString(), animated);
    if (completion) completion();
}

void PSURLManager::setRootController(const Ref<PSUIPrefsListController>& root) { m_root = root; }

std::optional<std::string> PSURLManager::rootPageOfAddress(const std::string& url) {
    constexpr std::string_view kPrefix = "prefs:root=";
    if (url.compare(0, kPrefix.size(), kPrefix) != 0) return std::nullopt;
    std::string page = url.substr(kPrefix.size());
    if (auto end = page.find_first_of("&/"); end != std::string::npos) page.resize(end);
    return page;
}

void PSURLManager::open(const std::string& url, bool animated) {
    auto root = m_root.lock();
    auto page = rootPageOfAddress(url);
    auto entry = root && page ? root->entryForAddress(*page) : nullptr;
    // An entry without a page of its own (a switch row) opens nothing, and the navigation stays.
    if (!entry || (!entry->detailControllerClass() && !entry->stringProperty("detail"))) {
        ++m_unknown;
        return;
    }
    if (auto navigation = root->navigationController()) navigation->popToRootViewControllerAnimated(false);
    if (root->openEntry(entry)) ++m_opened;
    else ++m_unknown;
}
