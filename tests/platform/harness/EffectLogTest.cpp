#include "platform/harness/EffectLog.h"
#include "platform/ui/UIImpactFeedbackGenerator.h"
#include "platform/ui/UIPasteboard.h"

#include "platform/core/Runtime.h"

#include <gtest/gtest.h>

namespace {

TEST(EffectLog, ImpactsAreRecordedInOrderWithOtherEffects) {
    platform::clearEffectLog();
    auto light = alloc<UIImpactFeedbackGenerator>();
    light->initWithStyle(UIImpactFeedbackStyleLight);
    auto medium = alloc<UIImpactFeedbackGenerator>();
    medium->initWithStyle(UIImpactFeedbackStyleMedium);
    platform::recordEffect("openURL", "prefs:root=WIFI");
    // Through the run-time, as a hook or target-action would reach it.
    platform::msgSend(light.get(), sel("impactOccurred"));
    medium->impactOccurred();
    const std::vector<platform::EffectRecord> expected = {
        {"openURL", "prefs:root=WIFI", 0}, {"impact", "", 0}, {"impact", "", 1}};
    EXPECT_EQ(platform::effectLog(), expected);
    EXPECT_EQ(platform::effectsOfKind("impact").size(), 2u);
    platform::clearEffectLog();
    EXPECT_TRUE(platform::effectLog().empty());
}

TEST(Pasteboard, GeneralPasteboardIsSharedAndCountsWrites) {
    auto board = UIPasteboard::generalPasteboard();
    long before = board->changeCount();
    board->setString("FF0000FF");
    EXPECT_EQ(UIPasteboard::generalPasteboard()->string(), std::optional<std::string>("FF0000FF"));
    board->setString("FF0000FF");
    EXPECT_EQ(board->changeCount(), before + 2);
}

}  // namespace
