#include "platform/host/PSURLManager.h"

#include "platform/core/NSURL.h"
#include "platform/core/Runtime.h"
#include "platform/ui/EffectLog.h"

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
    if (completion) completion();
}
