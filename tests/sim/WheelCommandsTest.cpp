// The wheel commands and the live locale at the simulator's edge: each bad input is a clear error with status 2.
#include "tests/sim/SimProcess.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

class WheelCommands : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("vantile-wheel-commands-" + std::to_string(getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    simtest::Run run(const std::string& text) {
        std::ofstream(dir / "case.scenario") << text;
        return simtest::runSimulator({"run", (dir / "case.scenario").string(), "--root", (dir / "root").string(),
                                      "--out", (dir / "out").string()});
    }
    fs::path dir;
};

TEST_F(WheelCommands, BadInputIsRefusedWithWhatWasWrong) {
    const std::string pane = "pref toggleVantile bool no\nlaunch settings\nwait 1s\n";
    const std::string card = pane + "scroll 2000\ntap \"Vantile\"\nwait 1s\ntap profile.png\nwait 1s\n"
                                    "tap \"Birthday Date\"\nwait 1s\n";
    struct Case {
        std::string text;
        int status;
        const char* message;
    };
    const Case cases[] = {
        {"locale xx\n", 2, "knows no locale \"xx\""},
        {"locale en-GB\nlocale de\n", 0, ""},
        {pane + "spin 0 3\n", 2, "no wheel picker is on screen"},
        {card + "spin 2 1\n", 2, "wants a column from 0 to 1"},
        {card + "spin 0 many\n", 2, "wants a number of rows"},
        {card + "flick 1 fast\n", 2, "wants a speed"},
        {card + "pick \"Smarch\"\n", 2, "no wheel on screen has a row \"Smarch\""},
        {card + "expect wheel 1 \"Dec\"\n", 1, "wheel 1"},
        {pane + "lift\n", 2, "no finger is held"},
        {pane + "pull lots\n", 2, "wants a number of points"},
    };
    for (const auto& c : cases) {
        auto r = run(c.text);
        EXPECT_EQ(r.status, c.status) << c.text << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.text << r.err;
    }
}

}  // namespace
