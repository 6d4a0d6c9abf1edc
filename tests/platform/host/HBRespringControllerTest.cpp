// Cephei's respring as the pane asks for it: reported at once, performed by the host's handler on a later turn of
// the run loop, one restart for requests made before it runs.
#include "platform/host/HBRespringController.h"

#include "platform/core/NSURL.h"
#include "platform/core/RunLoop.h"
#include "platform/core/Runtime.h"
#include "platform/harness/EffectLog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class Respring : public testing::Test {
protected:
    void SetUp() override {
        platform::resetRunLoop();
        platform::clearEffectLog();
        HBRespringController::setHandler([this](Ref<NSURL> url) {
            restarts.push_back(url ? url->absoluteString() : std::string("(none)"));
        });
    }
    void TearDown() override {
        HBRespringController::setHandler({});
        platform::resetRunLoop();
    }
    static std::vector<std::string> reported() {
        std::vector<std::string> out;
        for (const auto& e : platform::effectsOfKind("respring")) out.push_back(e.detail);
        return out;
    }
    std::vector<std::string> restarts;
};

TEST_F(Respring, ReportedAtOnceAndPerformedOnALaterTurn) {
    HBRespringController::respringAndReturnTo(NSURL::URLWithString("prefs:root=Vantile"));
    EXPECT_EQ(reported(), std::vector<std::string>{"prefs:root=Vantile"});
    EXPECT_TRUE(restarts.empty()) << "never from inside the caller's action";
    EXPECT_TRUE(HBRespringController::isRespringPending());
    platform::RunLoop::main().drain();
    EXPECT_EQ(restarts, std::vector<std::string>{"prefs:root=Vantile"});
    EXPECT_FALSE(HBRespringController::isRespringPending());
    platform::RunLoop::main().drain();
    EXPECT_EQ(restarts.size(), 1u) << "once per request";
}

TEST_F(Respring, RequestsBeforeTheRestartShareItAndTheLastAddressWins) {
    struct Case {
        const char* name;
        std::vector<const char*> urls;  // nullptr for a plain respring
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"one plain", {nullptr}, {"(none)"}},
        {"two addresses", {"prefs:root=WIFI", "prefs:root=Vantile"}, {"prefs:root=Vantile"}},
        {"address then plain", {"prefs:root=Vantile", nullptr}, {"(none)"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        restarts.clear();
        platform::clearEffectLog();
        for (const char* url : c.urls) {
            if (url) HBRespringController::respringAndReturnTo(NSURL::URLWithString(url));
            else HBRespringController::respring();
        }
        EXPECT_EQ(reported().size(), c.urls.size()) << "every request is reported";
        platform::RunLoop::main().drain();
        EXPECT_EQ(restarts, c.expected);
    }
}

TEST_F(Respring, ReachedByNameAndForgottenWithTheProcess) {
    Class cls = objc_getClass("HBRespringController");
    ASSERT_TRUE(cls);
    auto controller = platform::runtime::createInstance(cls);
    platform::msgSend<void>(controller, sel("respringAndReturnTo:"), NSURL::URLWithString("prefs:root=Vantile"));
    EXPECT_EQ(reported(), std::vector<std::string>{"prefs:root=Vantile"});

    // A new process drops the restart the old one had queued; the next request gets one of its own.
    platform::resetRunLoop();
    EXPECT_FALSE(HBRespringController::isRespringPending());
    platform::msgSend<void>(controller, sel("respring"));
    platform::RunLoop::main().drain();
    EXPECT_EQ(restarts, std::vector<std::string>{"(none)"});
}

}  // namespace
