// The simulated device's answers to the programs it is asked to start: which restart the interface, which crash
// the home screen into the loader's safe mode, and what is kept across those restarts.
#include "sim/device/SimulatedDevice.h"

#include "platform/harness/Renderer.h"
#include "platform/system/ProcessSpawn.h"
#include "tests/sim/SimProcess.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using namespace platform::posix;

class DeviceProcesses : public testing::Test {
protected:
    void launch() {
        device.emplace(root.path());
        sim::LaunchOptions options;
        options.loadTweak = false;
        auto error = device->launch(options);
        ASSERT_FALSE(error) << *error;
        device->advance(1);
    }
    void TearDown() override {
        device.reset();
        resetSpawnRecords();
    }

    // Starts `path` with `arguments` as the add-on does and waits when it started; the wait's status, or nothing.
    static std::pair<int, std::optional<int>> run(const char* path, std::vector<const char*> arguments) {
        arguments.push_back(nullptr);
        pid_t pid = 0;
        const int error = platform::posix::posix_spawn(&pid, path, nullptr, nullptr, const_cast<char* const*>(arguments.data()), nullptr);
        if (error) return {error, std::nullopt};
        int status = -1;
        if (platform::posix::waitpid(pid, &status, kWEXITED) != pid) return {error, std::nullopt};
        return {error, status};
    }

    simtest::TempDeviceRoot root;
    std::optional<sim::SimulatedDevice> device;
};

TEST_F(DeviceProcesses, KillallOfTheInterfaceDaemonsRestartsOnceTheDeviceHasControl) {
    struct Case {
        const char* name;
        const char* path;
        std::vector<const char*> arguments;
        int failure;  // what the scenario made starts fail with
        int error;
        std::optional<int> status;
        bool restarts, safeMode;
    };
    const std::vector<Case> cases{
        {"respring", "/usr/bin/killall", {"killall", "-9", "backboardd"}, 0, 0, 0, true, false},
        {"safe mode", "/usr/bin/killall", {"killall", "-SEGV", "SpringBoard"}, 0, 0, 0, true, true},
        {"safe mode by number", "/usr/bin/killall", {"killall", "-11", "SpringBoard"}, 0, 0, 0, true, true},
        {"home screen killed plainly", "/usr/bin/killall", {"killall", "-9", "SpringBoard"}, 0, 0, 0, true, false},
        {"no such process", "/usr/bin/killall", {"killall", "-9", "nothing"}, 0, 0, 1 << 8, false, false},
        {"no such program", "/bin/sh", {"sh", "-c", "reboot"}, 0, kENOENT, std::nullopt, false, false},
        {"starts fail", "/usr/bin/killall", {"killall", "-9", "backboardd"}, kEAGAIN, kEAGAIN, std::nullopt, false, false},
    };
    launch();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        device->setSpawnFailure(c.failure);
        const std::size_t before = device->respringCount();
        const auto [error, status] = run(c.path, c.arguments);
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(status, c.status);
        EXPECT_EQ(device->isRespringRequested(), c.restarts) << "asked for, not done inside the call";
        EXPECT_EQ(device->respringCount(), before);
        device->advance(0.1);
        EXPECT_EQ(device->respringCount(), before + (c.restarts ? 1 : 0));
        EXPECT_TRUE(device->isRunning());
        if (c.restarts) {
            EXPECT_EQ(device->isInSafeMode(), c.safeMode);
            EXPECT_EQ(platform::harness::statusBarNotice(),
                      c.safeMode ? std::optional<std::string>("Safe Mode") : std::nullopt);
        }
    }
    device->setSpawnFailure(0);
    // Every start, failed ones too, is in the device's history, which the restarts did not clear.
    const auto history = sim::SimulatedDevice::spawnHistory();
    ASSERT_EQ(history.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(history[i].path, cases[i].path);
        EXPECT_EQ(history[i].arguments.size(), cases[i].arguments.size());
        EXPECT_FALSE(history[i].environment);
    }
    EXPECT_EQ(history.back().error, kEAGAIN);
    sim::SimulatedDevice::clearSpawnHistory();
    EXPECT_TRUE(sim::SimulatedDevice::spawnHistory().empty());
}

TEST_F(DeviceProcesses, SafeModeKeepsTheAddOnOutUntilAPlainRestart) {
    launch();
    run("/usr/bin/killall", {"killall", "-SEGV", "SpringBoard"});
    device->advance(0.1);
    ASSERT_TRUE(device->isInSafeMode());

    // A later program on the same device finds the home screen still in safe mode: the loader injects nothing.
    device.reset();
    device.emplace(root.path());
    EXPECT_TRUE(device->isInSafeMode());
    auto error = device->launch();
    ASSERT_FALSE(error) << *error;
    EXPECT_FALSE(device->isTweakLoaded());
    EXPECT_TRUE(device->loadedLibraries().empty());
    EXPECT_EQ(platform::harness::statusBarNotice(), std::optional<std::string>("Safe Mode"));

    device.reset();
    launch();
    device->respring();
    EXPECT_FALSE(device->isInSafeMode()) << "a plain respring leaves it";
    EXPECT_EQ(platform::harness::statusBarNotice(), std::nullopt);
    // Without a running process nothing answers.
    device.reset();
    EXPECT_EQ(run("/usr/bin/killall", {"killall", "-9", "backboardd"}).first, kENOENT);
}

}  // namespace
