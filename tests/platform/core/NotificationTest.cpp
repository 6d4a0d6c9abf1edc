#include "platform/core/CFNotificationCenter.h"
#include "platform/core/NSNotificationCenter.h"
#include "platform/core/NotificationRecords.h"
#include "platform/core/Runtime.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string>* g_log = nullptr;

class Listener : public NSObject {
    VT_OBJECT(Listener, NSObject)
public:
    void colourChanged(id note) {
        auto n = cast<NSNotification>(note);
        received.push_back(n ? n->name() : "?");
        sender = n ? n->object() : nullptr;
        info = n ? n->userInfo() : Value();
        if (g_log) g_log->push_back(tag);
        if (onReceive) onReceive();
    }
    void plain() {
        received.push_back("plain");
        if (g_log) g_log->push_back(tag);
    }
    std::vector<std::string> received;
    id sender;
    Value info;
    std::string tag;
    std::function<void()> onReceive;
};

}  // namespace

VT_REGISTER_CLASS(Listener, [](Class c) {
    platform::runtime::addMethod<&Listener::colourChanged>(c, "colourChanged:");
    platform::runtime::addMethod<&Listener::plain>(c, "plain");
})

namespace {

using platform::NotificationKind;

class NotificationTest : public ::testing::Test {
protected:
    void SetUp() override { platform::clearNotificationRecords(); }
    void TearDown() override {
        for (auto& l : listeners) center->removeObserver(l);
        g_log = nullptr;
    }
    Ref<Listener> listen(const char* selector, std::optional<std::string> name, const id& object = nullptr,
                         std::string tag = {}) {
        auto l = alloc<Listener>();
        l->tag = std::move(tag);
        center->addObserverSelectorNameObject(l, sel(selector), std::move(name), object);
        listeners.push_back(l);
        return l;
    }
    Ref<NSNotificationCenter> center = NSNotificationCenter::defaultCenter();
    std::vector<id> listeners;
};

TEST_F(NotificationTest, DeliveryIsSynchronousAndFiltersByNameAndSender) {
    auto picker = alloc<NSObject>();
    auto otherSender = alloc<NSObject>();
    auto anyName = listen("colourChanged:", std::nullopt);
    auto bySender = listen("colourChanged:", "colorupdate", picker);
    auto byName = listen("plain", "colorupdate");

    center->postNotificationNameObject("colorupdate", picker);
    EXPECT_EQ(anyName->received, std::vector<std::string>{"colorupdate"}) << "delivered before the post returned";
    EXPECT_EQ(anyName->sender, picker);
    EXPECT_EQ(bySender->received.size(), 1u);
    EXPECT_EQ(byName->received, std::vector<std::string>{"plain"}) << "a method without argument is fine";

    center->postNotificationNameObject("colorupdate", otherSender);
    center->postNotificationNameObject("other", nullptr);
    EXPECT_EQ(anyName->received.size(), 3u);
    EXPECT_EQ(bySender->received.size(), 1u) << "only its own sender";
    EXPECT_EQ(byName->received.size(), 2u) << "any sender of its name";
}

TEST_F(NotificationTest, ObserversRunInRegistrationOrderAndTwiceWhenRegisteredTwice) {
    std::vector<std::string> log;
    g_log = &log;
    auto a = listen("plain", "n", nullptr, "a");
    auto b = listen("plain", "n", nullptr, "b");
    center->addObserverSelectorNameObject(a, sel("plain"), "n", nullptr);
    center->postNotificationNameObject("n", nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"a", "b", "a"}));
    center->removeObserver(a);
    log.clear();
    center->postNotificationNameObject("n", nullptr);
    EXPECT_EQ(log, std::vector<std::string>{"b"}) << "removal drops every registration of the observer";
}

TEST_F(NotificationTest, ReleasedObserversAreNeverCalledAndArePruned) {
    const auto before = center->observerCount();
    Weak<Listener> weak;
    {
        auto l = alloc<Listener>();
        weak = l;
        center->addObserverSelectorNameObject(l, sel("colourChanged:"), "n", nullptr);
        EXPECT_EQ(center->observerCount(), before + 1);
    }
    EXPECT_TRUE(weak.expired()) << "the centre does not keep its observers";
    const auto objects = platform::liveObjectCount();
    center->postNotificationNameObject("n", nullptr);  // would crash or resurrect if the dead one were called
    EXPECT_EQ(center->observerCount(), before);
    EXPECT_EQ(platform::liveObjectCount(), objects);
}

TEST_F(NotificationTest, AnObserverRemovedDuringDeliveryIsNotCalled) {
    std::vector<std::string> log;
    g_log = &log;
    auto first = listen("colourChanged:", "n", nullptr, "first");
    auto second = listen("colourChanged:", "n", nullptr, "second");
    first->onReceive = [&] {
        center->removeObserver(second);
        listen("plain", "n", nullptr, "late");
    };
    center->postNotificationNameObject("n", nullptr);
    EXPECT_EQ(log, std::vector<std::string>{"first"}) << "removed: skipped; added meanwhile: next post";
    first->onReceive = nullptr;
    log.clear();
    center->postNotificationNameObject("n", nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"first", "late"}));
}

TEST_F(NotificationTest, EveryCentreRecordsItsPostsInOrder) {
    auto picker = alloc<Listener>();
    center->postNotificationNameObject("com.zorvanic.chroma.colorupdate", picker);
    EXPECT_EQ(notify_post("com.Zorvanic.VantilePrefs/settingschanged"), NOTIFY_STATUS_OK);
    CFNotificationCenterPostNotification(CFNotificationCenterGetDistributedCenter(), "com.example.changed", nullptr,
                                         nullptr, true);
    Value info = Value::Dictionary{{"k", Value(1)}};
    CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), "darwin.cf", nullptr, &info,
                                         false);
    EXPECT_EQ(notify_post(nullptr), NOTIFY_STATUS_INVALID_NAME);
    CFNotificationCenterPostNotification(nullptr, "lost", nullptr, nullptr, true);

    const auto& r = platform::notificationRecords();
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[0].kind, NotificationKind::Default);
    EXPECT_EQ(r[0].name, "com.zorvanic.chroma.colorupdate");
    EXPECT_EQ(r[0].sender, "Listener");
    EXPECT_EQ(r[1].kind, NotificationKind::Darwin);
    EXPECT_EQ(r[1].name, "com.Zorvanic.VantilePrefs/settingschanged");
    EXPECT_EQ(r[2].kind, NotificationKind::Distributed);
    EXPECT_TRUE(r[2].deliverImmediately);
    EXPECT_FALSE(r[2].hadUserInfo);
    EXPECT_EQ(r[3].kind, NotificationKind::Darwin);
    EXPECT_TRUE(r[3].hadUserInfo);
    EXPECT_EQ(platform::notificationCount(NotificationKind::Darwin, "com.Zorvanic.VantilePrefs/settingschanged"), 1u);
    EXPECT_EQ(platform::notificationCount(NotificationKind::Default, "com.Zorvanic.VantilePrefs/settingschanged"), 0u);
    platform::clearNotificationRecords();
    EXPECT_TRUE(platform::notificationRecords().empty());
}

TEST_F(NotificationTest, UserInfoReachesTheObserver) {
    auto removed = listen("colourChanged:", "n");
    center->removeObserver(removed);
    auto l = listen("colourChanged:", "n");
    center->postNotificationNameObjectUserInfo("n", nullptr, Value::Dictionary{{"hex", Value("FF0000FF")}});
    ASSERT_EQ(l->received.size(), 1u);
    ASSERT_TRUE(l->info.find("hex"));
    EXPECT_EQ(*l->info.find("hex"), Value("FF0000FF"));
    EXPECT_TRUE(removed->received.empty()) << "removed before the post";
    EXPECT_TRUE(platform::notificationRecords().back().hadUserInfo);
}

}  // namespace
