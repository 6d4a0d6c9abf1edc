#include "platform/core/NSProcessInfo.h"
#include "platform/core/Once.h"
#include "platform/core/Random.h"
#include "platform/core/Runtime.h"

#include <gtest/gtest.h>

#include <set>
#include <thread>
#include <vector>

namespace {

TEST(NSProcessInfo, ArgumentsAndNameComeFromTheHost) {
    auto info = NSProcessInfo::processInfo();
    EXPECT_EQ(info, NSProcessInfo::processInfo());
    platform::setProcessArguments({"/Applications/Preferences.app/Preferences", "-x"});
    ASSERT_EQ(info->arguments().size(), 2u);
    EXPECT_EQ(info->arguments()[0], "/Applications/Preferences.app/Preferences");
    EXPECT_EQ(info->processName(), "Preferences");
    platform::setProcessArguments({});
    EXPECT_TRUE(info->arguments().empty());
    EXPECT_EQ(info->processName(), "");
}

TEST(NSProcessInfo, VersionComparison) {
    auto info = NSProcessInfo::processInfo();
    const auto saved = info->operatingSystemVersion();
    struct Case {
        NSOperatingSystemVersion running;
        bool atLeast11;
    } cases[] = {
        {{11, 0, 0}, true}, {{10, 3, 4}, false}, {{10, 99, 99}, false},
        {{11, 0, 1}, true}, {{14, 8, 0}, true},  {{9, 0, 0}, false},
    };
    for (const auto& c : cases) {
        platform::setOperatingSystemVersion(c.running);
        EXPECT_EQ(info->isOperatingSystemAtLeastVersion({11, 0, 0}), c.atLeast11)
            << c.running.majorVersion << "." << c.running.minorVersion << "." << c.running.patchVersion;
    }
    platform::setOperatingSystemVersion({13, 2, 0});
    EXPECT_TRUE(info->isOperatingSystemAtLeastVersion({13, 1, 9}));
    EXPECT_FALSE(info->isOperatingSystemAtLeastVersion({13, 2, 1}));
    info->setOperatingSystemVersion(saved);
}

TEST(Once, RunsTheBlockOnceEvenUnderContention) {
    static dispatch_once_t token = 0;
    int runs = 0;
    std::vector<std::thread> threads;
    for (int i = 0; i < 4; ++i)
        threads.emplace_back([&] {
            for (int k = 0; k < 100; ++k) dispatch_once(&token, [&] { ++runs; });
        });
    for (auto& t : threads) t.join();
    EXPECT_EQ(runs, 1);
    dispatch_once_t other = 0;
    dispatch_once(&other, [&] { ++runs; });
    EXPECT_EQ(runs, 2) << "each token is its own";
}

TEST(Once, AThrowingBlockLeavesTheTokenUnused) {
    dispatch_once_t token = 0;
    EXPECT_THROW(dispatch_once(&token, [] { throw std::runtime_error("no"); }), std::runtime_error);
    int runs = 0;
    dispatch_once(&token, [&] { ++runs; });
    EXPECT_EQ(runs, 1);
    EXPECT_THROW(dispatch_once(nullptr, [] {}), platform::RuntimeError);
}

TEST(Random, SeedingReplaysTheSequence) {
    platform::seedRandom(7);
    std::vector<std::uint32_t> first;
    for (int i = 0; i < 8; ++i) first.push_back(platform::arc4random());
    EXPECT_EQ(platform::randomDrawCount(), 8u);
    platform::seedRandom(7);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(platform::arc4random(), first[i]) << i;
    EXPECT_GT(std::set<std::uint32_t>(first.begin(), first.end()).size(), 6u) << "draws differ from each other";
    platform::seedRandom(8);
    EXPECT_NE(platform::arc4random(), first[0]);
}

TEST(Random, UniformStaysBelowItsBoundAndCoversIt) {
    platform::seedRandom(1);
    std::vector<int> seen(6, 0);
    for (int i = 0; i < 6000; ++i) {
        auto r = platform::arc4random_uniform(6);
        ASSERT_LT(r, 6u);
        ++seen[r];
    }
    for (int count : seen) EXPECT_GT(count, 800) << "roughly even";
    EXPECT_EQ(platform::arc4random_uniform(0), 0u);
    EXPECT_EQ(platform::arc4random_uniform(1), 0u);
    platform::seedRandom(platform::kDefaultRandomSeed);
}

}  // namespace
