// The tour, as `make run` plays it: every step holds, and every screenshot matches its committed reference.
#include "tests/sim/SimProcess.h"
#include "tests/support/Snapshot.h"

#include "platform/gfx/ImageCodec.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

TEST(ScenarioTour, PlaysToTheEndAndItsScreenshotsMatchTheReferences) {
    const fs::path out = fs::temp_directory_path() / ("vantile-tour-" + std::to_string(getpid()));
    fs::remove_all(out);
    auto run = simtest::runSimulator({"run", std::string(VANTILE_SOURCE_DIR) + "/scenarios/tour", "--out", out.string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("gallery: " + (out / "index.html").string()), std::string::npos) << run.out;

    // The gallery lists the pictures in the order taken; each is checked against tests/snapshots/tour/NAME.png.
    std::ifstream list(out / "gallery.tsv");
    std::string row;
    std::vector<std::string> names;
    while (std::getline(list, row)) names.push_back(row.substr(0, row.find('\t')));
    EXPECT_EQ(names.size(), 26u) << "every screenshot of the tour was taken";
    for (const auto& name : names) {
        std::ifstream png(out / (name + ".png"), std::ios::binary);
        std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(png)), std::istreambuf_iterator<char>());
        auto bitmap = platform::gfx::decodePNG(bytes);
        ASSERT_TRUE(bitmap) << name;
        EXPECT_TRUE(vantile::testing::matchesSnapshot(*bitmap, "tour/" + name)) << name;
    }
    std::ifstream index(out / "index.html");
    std::string html((std::istreambuf_iterator<char>(index)), std::istreambuf_iterator<char>());
    EXPECT_NE(html.find("After the respring the dashboard covers the root list"), std::string::npos)
        << "pictures are captioned with their step";
    fs::remove_all(out);
}

}  // namespace
