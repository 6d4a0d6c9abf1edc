// `vantile-sim run` as a user meets it: its help, its exit statuses and what it prints.
#include "sim/device/DeviceProfile.h"
#include "sim/scenario/Expectations.h"
#include "sim/scenario/ScenarioRunner.h"
#include "tests/sim/SimProcess.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class ScenarioCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("vantile-scenario-command-" + std::to_string(getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path write(const std::string& name, const std::string& text) {
        std::ofstream(dir / name) << text;
        return dir / name;
    }
    simtest::Run run(const fs::path& file, std::vector<std::string> extra = {}) {
        std::vector<std::string> args{"run", file.string(), "--root", (dir / "root").string(), "--out",
                                      (dir / "out").string()};
        args.insert(args.end(), extra.begin(), extra.end());
        return simtest::runSimulator(args);
    }
    fs::path dir;
};

TEST_F(ScenarioCommandTest, HelpDocumentsEveryCommandAndTheExitStatuses) {
    auto help = simtest::runSimulator({"run", "--help"});
    EXPECT_EQ(help.status, 0);
    for (const auto& c : sim::scenario::ScenarioRunner::commands())
        EXPECT_NE(help.out.find(std::string("\n  ") + c.name), std::string::npos) << c.name;
    for (const char* e : {"expect text", "expect no-text", "expect page", "expect pref", "expect url",
                          "expect haptics", "expect notification", "Exit status"})
        EXPECT_NE(help.out.find(e), std::string::npos) << e;
    for (const auto& e : sim::scenario::expectations())
        EXPECT_NE(help.out.find(std::string("\n  expect ") + e.name), std::string::npos) << e.name;
    auto top = simtest::runSimulator({"--help"});
    EXPECT_NE(top.out.find("run "), std::string::npos);
}

TEST_F(ScenarioCommandTest, HelpAndTheDocumentationListWhatSetsEachProfileApart) {
    auto top = simtest::runSimulator({"--help"});
    ASSERT_EQ(top.status, 0);
    std::ifstream doc(std::string(VANTILE_SOURCE_DIR) + "/docs/scenarios.md");
    std::string docs((std::istreambuf_iterator<char>(doc)), std::istreambuf_iterator<char>());
    for (const auto& p : sim::deviceProfiles()) {
        const std::string summary = sim::profileSummary(p);
        EXPECT_NE(top.out.find("  " + p.name), std::string::npos) << p.name;
        EXPECT_NE(top.out.find(summary), std::string::npos) << p.name << ": " << summary;
        EXPECT_NE(docs.find("| `" + p.name + "` | " + summary + " |"), std::string::npos)
            << "docs/scenarios.md lists " << p.name << " as: " << summary;
        EXPECT_NE(summary.find(p.interfaceStyle == 2 ? "dark" : "light"), std::string::npos) << p.name;
    }
    EXPECT_NE(sim::profileSummary(*sim::deviceProfileNamed("iphone-8")).find("pdp_ip0 none, no SIM"), std::string::npos);
    EXPECT_NE(sim::profileSummary(*sim::deviceProfileNamed("iphone-xr")).find("en0 none"), std::string::npos);
}

TEST_F(ScenarioCommandTest, CommandLineEdgesAreRefusedAsSuchWithStatusTwo) {
    auto ok = write("ok.scenario", "wait 1s\n");
    std::ofstream(dir / "a-file") << "x";
    fs::create_directories(dir / "folder.scenario");
    struct Case {
        std::vector<std::string> args;
        const char* message;
    };
    const Case cases[] = {
        {{"run", ok.string(), "--root", (dir / "a-file").string()}, "is not a folder"},
        {{"run", ok.string(), "--root", ""}, "empty name"},
        {{"run", (dir / "folder.scenario").string()}, "is a folder"},
        {{"run", ok.string(), "--clock", "1e300"}, "--clock wants"},
        {{"run", ok.string(), "--clock", "-1e300"}, "--clock wants"},
        {{"run", ok.string(), "--resume-at", "x"}, "--resume-at wants"},
        {{"run", ok.string(), "--data", (dir / "a-file").string()}, "is not a folder"},
        {{"run", "/dev/zero"}, "at most"},
    };
    for (auto c : cases) {
        c.args.insert(c.args.end(), {"--out", (dir / "out").string()});
        auto r = simtest::runSimulator(c.args);
        EXPECT_EQ(r.status, 2) << c.args[1] << " " << (c.args.size() > 2 ? c.args[2] : "") << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
    // Root can read anything, so an unreadable root folder is only refused for other users.
    if (getuid() != 0) {
        fs::create_directories(dir / "locked");
        fs::permissions(dir / "locked", fs::perms::none);
        auto r = run(ok, {"--root", (dir / "locked").string()});
        EXPECT_EQ(r.status, 2) << r.err;
        fs::permissions(dir / "locked", fs::perms::owner_all);
    }
}

TEST_F(ScenarioCommandTest, ExitStatusTellsAFailedExpectationFromAStepThatCouldNotRun) {
    struct Case {
        const char* text;
        int status;
        const char* message;  // on standard error
    };
    const Case cases[] = {
        {"pref toggleVantile bool yes\nexpect pref toggleVantile true\n", 0, ""},
        {"pref toggleVantile bool yes\n\nexpect pref toggleVantile false\n", 1, "case.scenario:3: "},
        {"# first\nfrobnicate\n", 2, "case.scenario:2: frobnicate: unknown command"},
        {"tap \"open\n", 2, "line 1"},
        {"wait 1x\n", 2, "case.scenario:1: wait: "},
    };
    for (const auto& c : cases) {
        auto r = run(write("case.scenario", c.text));
        EXPECT_EQ(r.status, c.status) << c.text << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.text << r.err;
        EXPECT_EQ(r.out.find("[1/"), std::string::npos) << "no progress lines when the output is no terminal";
    }
    EXPECT_EQ(simtest::runSimulator({"run", (dir / "missing.scenario").string()}).status, 2);
    EXPECT_EQ(simtest::runSimulator({"run"}).status, 2);
    EXPECT_EQ(run(write("ok.scenario", "wait 1s\n"), {"--colour"}).status, 2);
}

TEST_F(ScenarioCommandTest, TheGalleryIsNamedOnlyWhenPicturesWereTaken) {
    auto r = run(write("none.scenario", "wait 1s\n"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.find("gallery:"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "out" / "index.html"));
}

}  // namespace
