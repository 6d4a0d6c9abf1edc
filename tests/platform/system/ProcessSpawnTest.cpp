// posix_spawn and waitpid as the platform answers them: recorded exactly, answered by the host's handler, never a
// process of the machine.
#include "platform/system/ProcessSpawn.h"

#include "platform/harness/EffectLog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace platform::posix;

class ProcessSpawn : public testing::Test {
protected:
    void SetUp() override {
        resetSpawnRecords();
        platform::clearEffectLog();
    }
    void TearDown() override {
        setSpawnHandler({});
        resetSpawnRecords();
    }
};

TEST_F(ProcessSpawn, WithoutAHandlerNothingStarts) {
    const char* argv[] = {"killall", "-9", "backboardd", nullptr};
    pid_t pid = -7;
    EXPECT_EQ(platform::posix::posix_spawn(&pid, "/usr/bin/killall", nullptr, nullptr, const_cast<char* const*>(argv), nullptr), kENOENT);
    EXPECT_EQ(pid, -7) << "untouched";
    ASSERT_EQ(spawnRecords().size(), 1u);
    EXPECT_EQ(spawnRecords()[0].pid, 0);
    int status = 99;
    EXPECT_EQ(platform::posix::waitpid(pid, &status, kWEXITED), -1);
    EXPECT_EQ(status, 99);
}

TEST_F(ProcessSpawn, RecordsWhatWasGivenAndTheHandlersAnswer) {
    std::vector<SpawnRecord> seen;
    setSpawnHandler([&](const SpawnRecord& r) {
        seen.push_back(r);
        return SpawnAnswer{r.arguments.size() > 1 && r.arguments[1] == "-fail" ? kEAGAIN : 0, 3};
    });
    struct Case {
        std::vector<const char*> argv;  // without the closing null
        bool withEnvironment;
        int error;
    };
    const std::vector<Case> cases{
        {{"killall", "-9", "backboardd"}, false, 0},
        {{"killall", "-fail"}, true, kEAGAIN},
        {{}, false, 0},
    };
    const char* environment[] = {"HOME=/var/mobile", nullptr};
    // Opaque on the add-on's side; any non-null pointer says "given".
    int token = 0;
    const auto* actions = reinterpret_cast<const posix_spawn_file_actions_t*>(&token);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        auto argv = cases[i].argv;
        argv.push_back(nullptr);
        pid_t pid = 0;
        const int error = platform::posix::posix_spawn(&pid, "/usr/bin/killall", i == 0 ? actions : nullptr, nullptr,
                                      const_cast<char* const*>(argv.data()),
                                      cases[i].withEnvironment ? const_cast<char* const*>(environment) : nullptr);
        EXPECT_EQ(error, cases[i].error) << i;
        EXPECT_EQ(pid != 0, error == 0) << i;
    }
    const auto records = spawnRecords();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(seen.size(), 3u) << "the handler saw each start";
    EXPECT_EQ(records[0].arguments, (std::vector<std::string>{"killall", "-9", "backboardd"}));
    EXPECT_TRUE(records[0].fileActions);
    EXPECT_FALSE(records[0].attributes);
    EXPECT_FALSE(records[0].environment);
    EXPECT_TRUE(records[1].environment);
    EXPECT_EQ(records[1].error, kEAGAIN);
    EXPECT_TRUE(records[2].arguments.empty());
    EXPECT_NE(records[0].pid, records[2].pid);
    EXPECT_EQ(platform::effectsOfKind("spawn"),
              (std::vector<platform::EffectRecord>{{"spawn", "killall -9 backboardd", 0},
                                                   {"spawn", "killall -fail", kEAGAIN},
                                                   {"spawn", "", 0}}));
}

TEST_F(ProcessSpawn, AChildIsWaitedForOnceWithItsExitStatus) {
    setSpawnHandler([](const SpawnRecord&) { return SpawnAnswer{0, 1}; });
    const char* argv[] = {"killall", "nothing", nullptr};
    pid_t pid = 0;
    ASSERT_EQ(platform::posix::posix_spawn(&pid, "/usr/bin/killall", nullptr, nullptr, const_cast<char* const*>(argv), nullptr), 0);
    int status = 0;
    EXPECT_EQ(platform::posix::waitpid(pid + 1, &status, kWEXITED), -1) << "no such child";
    EXPECT_EQ(platform::posix::waitpid(pid, &status, kWEXITED), pid);
    EXPECT_EQ(status, 1 << 8);
    EXPECT_EQ(platform::posix::waitpid(pid, &status, kWNOHANG), -1) << "waited for already";
    const auto waits = waitRecords();
    ASSERT_EQ(waits.size(), 3u);
    EXPECT_EQ(waits[1].pid, pid);
    EXPECT_EQ(waits[1].options, kWEXITED);
    EXPECT_EQ(waits[1].result, pid);
    EXPECT_EQ(waits[2].options, kWNOHANG);
    resetSpawnRecords();
    EXPECT_TRUE(spawnRecords().empty());
    EXPECT_TRUE(waitRecords().empty());
}

}  // namespace
