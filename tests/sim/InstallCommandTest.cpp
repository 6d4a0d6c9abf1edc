// `vantile-sim install`: the command line around the package installer.
#include "sim/install/InstallCommand.h"
#include "sim/install/PackageInstaller.h"
#include "tests/sim/SimProcess.h"

#include <gtest/gtest.h>

#include <fstream>

namespace fs = std::filesystem;
using namespace sim::install;

namespace {

int run(std::vector<std::string> args, std::string* out = nullptr, std::string* err = nullptr) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int status = runInstallCommand(args);
    const std::string o = testing::internal::GetCapturedStdout(), e = testing::internal::GetCapturedStderr();
    if (out) *out = o;
    if (err) *err = e;
    return status;
}

TEST(InstallCommand, InstallsTheBuildsPackageAndReportsIt) {
    simtest::TempDeviceRoot root;
    std::string out;
    ASSERT_EQ(run({"--root", root.path().string()}, &out), 0);
    EXPECT_NE(out.find("\"package\": \"com.zorvanic.vantile\""), std::string::npos) << out;
    EXPECT_NE(out.find("/Library/MobileSubstrate/DynamicLibraries/Vantile.dylib"), std::string::npos) << out;
    EXPECT_FALSE(installedFiles(root.path(), kPackageName).empty());
    // A second run replaces the first and removes nothing, the package being the same.
    ASSERT_EQ(run({"--root", root.path().string()}, &out), 0);
    EXPECT_NE(out.find("\"removed\": []"), std::string::npos) << out;
}

TEST(InstallCommand, BadPackagesAndCommandLinesFailClearly) {
    simtest::TempDeviceRoot root;
    const fs::path broken = root.path() / "broken.deb";
    std::ofstream(broken) << "!<arch>\ndebian-binary   cut short";
    const fs::path device = root.path() / "device";

    struct Case {
        std::vector<std::string> args;
        int status;
        std::string message;
    };
    const Case cases[] = {
        {{"--root", device.string(), "--package", broken.string()}, 1, broken.string()},
        {{"--root", device.string(), "--package", (root.path() / "absent.deb").string()}, 1, "no package at"},
        {{"--root"}, 2, "unexpected \"--root\""},
        {{"--root", "a", "--root", "b"}, 2, "unexpected"},
        {{"--force"}, 2, "unexpected \"--force\""},
    };
    for (const auto& c : cases) {
        std::string err;
        EXPECT_EQ(run(c.args, nullptr, &err), c.status) << c.args.back();
        EXPECT_NE(err.find(c.message), std::string::npos) << err;
    }
    EXPECT_FALSE(fs::exists(device)) << "a refused package left a root behind";
}

TEST(InstallCommand, IsACommandOfTheSimulator) {
    simtest::TempDeviceRoot root;
    const auto help = simtest::runSimulator({"install", "--help"});
    EXPECT_EQ(help.status, 0) << help.err;
    EXPECT_NE(help.out.find("usage: vantile-sim install"), std::string::npos) << help.out;
    const auto bad = simtest::runSimulator({"install", "--package", (root.path() / "absent.deb").string(), "--root",
                                            (root.path() / "device").string()});
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find("no package at"), std::string::npos) << bad.err;
}

}  // namespace
