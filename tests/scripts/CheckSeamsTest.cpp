#include "tests/support/TemporaryRoot.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status = -1;
    std::string output;
};

// Runs the seam check over `root` and collects what it printed.
Outcome runCheck(const fs::path& root) {
    const std::string command = std::string("'") + VANTILE_SOURCE_DIR + "/scripts/check-seams' '" + root.string() + "' 2>&1";
    Outcome out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return out;
    std::array<char, 256> buffer{};
    while (std::fgets(buffer.data(), buffer.size(), pipe)) out.output += buffer.data();
    const int raw = ::pclose(pipe);
    out.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return out;
}

void write(const fs::path& root, const std::string& file, const std::string& text) {
    fs::create_directories((root / file).parent_path());
    std::ofstream(root / file) << text;
}

// A small tree whose includes all point the right way: each layer uses the one below, each deliverable the
// platform, common/ and itself.
void writeCorrectTree(const fs::path& root) {
    write(root, "platform/core/Object.h", "#pragma once\n#include <memory>\n");
    write(root, "platform/gfx/Geometry.h", "#pragma once\n#include \"platform/core/Object.h\"\n");
    write(root, "platform/layout/LinearSolver.h", "#include \"platform/gfx/Geometry.h\"\n");
    write(root, "platform/ui/UIView.h", "#include \"platform/layout/LinearSolver.h\"\n#include <vector>\n");
    write(root, "platform/system/DeviceRadios.cpp", "#include \"platform/core/Object.h\"\n#include <ifaddrs.h>\n");
    write(root, "platform/host/PSSpecifier.h", "#include \"platform/ui/UIView.h\"\n#include \"platform/system/X.h\"\n");
    write(root, "platform/harness/Renderer.cpp", "#include \"platform/host/PSSpecifier.h\"\n");
    write(root, "common/Keys.h", "#pragma once\n#include <string_view>\n");
    write(root, "tweak/cards/Card.cpp",
          "#include \"tweak/cards/Card.h\"\n\n#include \"common/Keys.h\"\n#include \"platform/ui/UIView.h\"\n"
          "  #  include <string>   // indented and commented\n");
    write(root, "prefs/pane/Pane.cpp", "#include \"prefs/pane/Pane.h\"\n#include \"platform/host/PSSpecifier.h\"\n");
}

TEST(CheckSeams, ACorrectTreePassesQuietly) {
    testing_support::TemporaryRoot root("seams");
    writeCorrectTree(root.path());
    const Outcome out = runCheck(root.path());
    EXPECT_EQ(out.status, 0) << out.output;
    EXPECT_EQ(out.output, "");
}

TEST(CheckSeams, EachIncludeAgainstTheOrderFailsAndIsNamed) {
    struct Case {
        const char* file;
        const char* include;
        const char* reason;  // part of the message
    };
    const std::vector<Case> cases = {
        {"platform/core/RunLoop.cpp", "\"platform/core/NSTimer.h\"\n#include \"platform/ui/UIView.h\"", "platform/core may include only core"},
        {"platform/gfx/Painter.cpp", "\"platform/layout/LinearSolver.h\"", "platform/gfx may include only core, gfx"},
        {"platform/layout/LayoutEngine.cpp", "\"platform/ui/UIView.h\"", "platform/layout may include only"},
        {"platform/ui/UIView.cpp", "\"platform/harness/Renderer.h\"", "platform/ui may include only"},
        {"platform/ui/UIButton.cpp", "\"platform/host/PSSpecifier.h\"", "platform/ui may include only"},
        {"platform/system/Radios.cpp", "\"platform/gfx/Geometry.h\"", "platform/system may include only core, system"},
        {"platform/host/PSURLManager.cpp", "\"platform/harness/EffectLog.h\"", "platform/host may include only"},
        {"platform/ui/UILabel.cpp", "\"tweak/cards/Card.h\"", "nothing outside platform/"},
        {"platform/host/Loader.cpp", "\"sim/Loader.h\"", "nothing outside platform/"},
        {"platform/toys/Toy.cpp", "\"platform/core/Object.h\"", "not a known layer"},
        {"tweak/cards/Wifi.cpp", "\"platform/harness/TouchDriver.h\"", "only the platform's public layers"},
        {"tweak/cards/Wifi.cpp", "\"prefs/pane/Pane.h\"", "only platform/, common/ and its own folder"},
        {"prefs/pane/Pane.cpp", "\"tweak/cards/Card.h\"", "only platform/, common/ and its own folder"},
        {"prefs/pane/Pane.cpp", "\"sim/Loader.h\"", "only platform/, common/ and its own folder"},
        {"common/Keys.cpp", "\"tweak/cards/Card.h\"", "only platform/, common/ and its own folder"},
        {"tweak/cards/Wifi.cpp", "<ifaddrs.h>", "only the standard library"},
        {"prefs/pane/Pane.cpp", "<cairo.h>", "only the standard library"},
    };
    for (const Case& c : cases) {
        testing_support::TemporaryRoot root("seams");
        writeCorrectTree(root.path());
        write(root.path(), c.file, std::string("#include ") + c.include + "\n");
        const Outcome out = runCheck(root.path());
        EXPECT_EQ(out.status, 1) << c.file << " " << c.include;
        EXPECT_NE(out.output.find(std::string(c.file) + ":"), std::string::npos) << out.output;
        EXPECT_NE(out.output.find(c.reason), std::string::npos) << out.output;
        EXPECT_NE(out.output.find("1 include(s) cross a seam"), std::string::npos) << out.output;
    }
}

TEST(CheckSeams, TheProjectItselfKeepsItsSeams) {
    const Outcome out = runCheck(VANTILE_SOURCE_DIR);
    EXPECT_EQ(out.status, 0) << out.output;
}

}  // namespace
