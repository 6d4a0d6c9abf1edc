#include "tests/support/Snapshot.h"

#include "platform/gfx/ImageCodec.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <stdlib.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace vantile::testing;

namespace {

class SnapshotHelper : public ::testing::Test {
protected:
    void SetUp() override {
        m_oldRefs = snapshotReferenceFolder();
        m_oldFailures = snapshotFailureFolder();
        m_dir = fs::temp_directory_path() / ("vantile-snapshot-helper-" + std::to_string(::getpid()));
        fs::remove_all(m_dir);
        setSnapshotFoldersForTesting(m_dir / "refs", m_dir / "failures");
        unsetenv("VANTILE_RECORD_SNAPSHOTS");
    }
    void TearDown() override {
        setSnapshotFoldersForTesting(m_oldRefs, m_oldFailures);
        fs::remove_all(m_dir);
    }
    static Bitmap square(PixelRGBA c, int n = 20) {
        Bitmap b(n, n);
        for (auto& p : b.pixels) p = packPixel(c);
        return b;
    }
    fs::path m_dir, m_oldRefs, m_oldFailures;
};

TEST_F(SnapshotHelper, MissingReferenceFailsUnlessRecordingIsAsked) {
    const Bitmap b = square({0, 0, 255, 255});
    EXPECT_FALSE(matchesSnapshot(b, "screen/a"));
    EXPECT_FALSE(fs::exists(m_dir / "refs" / "screen" / "a.png"));
    EXPECT_TRUE(fs::exists(m_dir / "failures" / "screen" / "a.actual.png"));
    setenv("VANTILE_RECORD_SNAPSHOTS", "1", 1);
    EXPECT_TRUE(matchesSnapshot(b, "screen/a"));
    unsetenv("VANTILE_RECORD_SNAPSHOTS");
    EXPECT_TRUE(fs::exists(m_dir / "refs" / "screen" / "a.png"));
    EXPECT_TRUE(matchesSnapshot(b, "screen/a"));
}

TEST_F(SnapshotHelper, SmallAntiAliasingDifferencesPassAndRealChangesFail) {
    setenv("VANTILE_RECORD_SNAPSHOTS", "1", 1);
    ASSERT_TRUE(matchesSnapshot(square({100, 100, 100, 255}, 100), "grey"));
    unsetenv("VANTILE_RECORD_SNAPSHOTS");

    Bitmap nudged = square({100, 100, 100, 255}, 100);
    for (int x = 0; x < 100; ++x) nudged.at(x, 50) = packPixel({108, 92, 100, 255});  // within 8 everywhere
    nudged.at(3, 3) = packPixel({0, 0, 0, 255});  // 1 pixel of 10 000 beyond: inside the 0.1 % allowance
    EXPECT_TRUE(matchesSnapshot(nudged, "grey"));

    Bitmap moved = square({100, 100, 100, 255}, 100);
    for (int y = 0; y < 100; ++y) moved.at(0, y) = packPixel({255, 0, 0, 255});  // a 1 % column
    auto result = matchesSnapshot(moved, "grey");
    EXPECT_FALSE(result);
    EXPECT_NE(std::string(result.message()).find("100 of 10000 pixels"), std::string::npos) << result.message();
    for (const char* f : {"grey.reference.png", "grey.actual.png", "grey.diff.png"})
        EXPECT_TRUE(fs::exists(m_dir / "failures" / f)) << f;
    // The diff marks exactly the differing column.
    std::ifstream in(m_dir / "failures" / "grey.diff.png", std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto diff = platform::gfx::decodePNG(bytes);
    ASSERT_TRUE(diff);
    EXPECT_EQ(unpackPixel(diff->at(0, 10)), (PixelRGBA{255, 0, 0, 255}));
    EXPECT_NE(unpackPixel(diff->at(1, 10)), (PixelRGBA{255, 0, 0, 255}));

    EXPECT_FALSE(matchesSnapshot(square({100, 100, 100, 255}, 99), "grey")) << "a size change never matches";
}

TEST_F(SnapshotHelper, TextSnapshotsNameTheFirstDifferingLine) {
    setenv("VANTILE_RECORD_SNAPSHOTS", "1", 1);
    ASSERT_TRUE(matchesTextSnapshot("{\n  \"a\": 1,\n  \"b\": 2\n}", "dump.json"));
    unsetenv("VANTILE_RECORD_SNAPSHOTS");
    EXPECT_TRUE(matchesTextSnapshot("{\n  \"a\": 1,\n  \"b\": 2\n}", "dump.json"));
    auto result = matchesTextSnapshot("{\n  \"a\": 1,\n  \"b\": 3\n}", "dump.json");
    EXPECT_FALSE(result);
    EXPECT_NE(std::string(result.message()).find("line 3"), std::string::npos) << result.message();
    EXPECT_NE(std::string(result.message()).find("\"b\": 3"), std::string::npos) << result.message();
    EXPECT_FALSE(matchesTextSnapshot("x", "absent.json"));
}

}  // namespace
