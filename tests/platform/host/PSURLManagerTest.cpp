#include "platform/host/PSURLManager.h"

#include "platform/core/NSURL.h"
#include "platform/core/Runtime.h"
#include "platform/harness/EffectLog.h"

#include <gtest/gtest.h>

namespace {

TEST(PSURLManager, RequestsAreRecordedThenHandedToTheHostThenCompleted) {
    platform::clearEffectLog();
    auto manager = PSURLManager::sharedManager();
    std::vector<std::string> order;
    std::size_t handled = 0;
    manager->setHandler([&](const std::string& url, bool animated) {
        order.push_back("open " + url + (animated ? " animated" : ""));
        EXPECT_EQ(platform::effectsOfKind("openURL").size(), ++handled) << "recorded before it is handled";
    });
    platform::msgSend<void>(manager, sel("processURL:animated:fromSearch:withCompletion:"),
                            NSURL::URLWithString("prefs:root=WIFI"), true, false,
                            std::function<void()>([&] { order.push_back("done"); }));
    manager->processURLAnimatedFromSearchWithCompletion(NSURL::URLWithString("prefs:root=Bluetooth"), false, false,
                                                        {});
    manager->processURLAnimatedFromSearchWithCompletion(nullptr, true, false, [&] { order.push_back("never"); });
    EXPECT_EQ(order, (std::vector<std::string>{"open prefs:root=WIFI animated", "done", "open prefs:root=Bluetooth"}));
    const auto opened = platform::effectsOfKind("openURL");
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0].detail, "prefs:root=WIFI");
    EXPECT_EQ(opened[1].detail, "prefs:root=Bluetooth");
    manager->setHandler({});
}

}  // namespace
