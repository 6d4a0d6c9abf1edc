// `vantile-sim run` as a user meets it: its help, its exit statuses and what it prints.
#include "sim/scenario/ScenarioRunner.h"
#include "tests/sim/SimProcess.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
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
    auto top = simtest::runSimulator({"--help"});
    EXPECT_NE(top.out.find("run "), std::string::npos);
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
