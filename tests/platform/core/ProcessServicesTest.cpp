#include "platform/core/Clock.h"
#include "platform/core/NSDate.h"
#include "platform/core/NSProcessInfo.h"
#include "platform/core/Once.h"
#include "platform/core/Random.h"
#include "platform/core/RunLoop.h"
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

TEST(Random, SeedsFromTheEnvironmentAreReadStrictly) {
    const std::pair<std::string_view, std::optional<std::uint64_t>> cases[] = {
        {"42", 42},
        {"0x2A", 42},
        {"0X2a", 42},
        {"18446744073709551615", 18446744073709551615ULL},
        {"18446744073709551616", std::nullopt},  // one past the largest
        {"", std::nullopt},
        {"0x", std::nullopt},
        {"-1", std::nullopt},
        {"12x", std::nullopt},
        {" 12", std::nullopt},
    };
    for (const auto& [text, seed] : cases) EXPECT_EQ(platform::parseRandomSeed(text), seed) << '"' << text << '"';
}

TEST(Random, AFixedSeedIsReportedUntilItIsForgotten) {
    platform::seedRandom(7);
    EXPECT_EQ(platform::fixedRandomSeed(), 7u);
    platform::unfixRandomSeed();
    EXPECT_EQ(platform::fixedRandomSeed(), std::nullopt);
    platform::arc4random();
    EXPECT_EQ(platform::fixedRandomSeed(), std::nullopt) << "a process without a seed draws from entropy";
    EXPECT_EQ(platform::randomDrawCount(), 1u);
    platform::seedRandom(platform::kDefaultRandomSeed);
}

TEST(NSDate, NowFollowsTheVirtualClock) {
    platform::resetRunLoop();
    EXPECT_EQ(NSDate::date()->timeIntervalSince1970(), platform::Clock::kStart);
    platform::RunLoop::main().advance(90);
    auto later = NSDate::date();
    EXPECT_EQ(later->timeIntervalSince1970(), platform::Clock::kStart + 90);
    platform::Clock::setNow(1720051200);  // a test that wants a given day
    EXPECT_EQ(NSDate::date()->timeIntervalSince1970(), 1720051200);
    EXPECT_EQ(NSDate::dateWithTimeIntervalSinceNow(-60)->timeIntervalSinceNow(), -60);
    platform::resetRunLoop();
}

TEST(NSDate, ComparisonAndDescription) {
    auto a = NSDate::dateWithTimeIntervalSince1970(100);
    auto b = a->dateByAddingTimeInterval(0.5);
    EXPECT_EQ(a->compare(b), NSComparisonResult::OrderedAscending);
    EXPECT_EQ(b->compare(a), NSComparisonResult::OrderedDescending);
    EXPECT_EQ(a->compare(NSDate::dateWithTimeIntervalSince1970(100)), NSComparisonResult::OrderedSame);
    EXPECT_DOUBLE_EQ(b->timeIntervalSinceDate(a), 0.5);
    EXPECT_EQ(NSDate::distantPast()->compare(a), NSComparisonResult::OrderedAscending);
    EXPECT_EQ(NSDate::distantFuture()->compare(b), NSComparisonResult::OrderedDescending);
    // Independent reference values: 1970-01-01, a leap day, the clock's start, the day before 1970.
    struct Case {
        double seconds;
        const char* text;
    } cases[] = {
        {0, "1970-01-01 00:00:00 +0000"},
        {951782400 + 3661, "2000-02-29 01:01:01 +0000"},
        {1704067200, "2024-01-01 00:00:00 +0000"},
        {-1, "1969-12-31 23:59:59 +0000"},
        {1735689599, "2024-12-31 23:59:59 +0000"},
    };
    for (const auto& c : cases) EXPECT_EQ(NSDate::dateWithTimeIntervalSince1970(c.seconds)->description(), c.text);
}

}  // namespace
