// Movie files on FFmpeg: the container read back from the file's own first box, the remux between QuickTime and
// MPEG-4, frames decoded from a movie of known colours, and damaged or missing files.
#include "platform/media/MovieFile.h"

#include "tests/support/TemporaryRoot.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

namespace fs = std::filesystem;
using platform::media::MovieContainer;

// A movie whose frame i is one flat colour: red, then green, then blue, repeating.
std::uint32_t colourOfFrame(int frame) {
    static constexpr std::uint32_t kColours[] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu};
    return kColours[frame % 3];
}

class MovieFiles : public testing::Test {
protected:
    fs::path write(const std::string& name, MovieContainer container, int frames = 6, int width = 64, int height = 48) {
        const fs::path file = m_root.path() / name;
        EXPECT_TRUE(platform::media::writeMovie(file, container, width, height, frames, 6, 400000, [](int i, Bitmap& b) {
            std::fill(b.pixels.begin(), b.pixels.end(), colourOfFrame(i));
        }));
        return file;
    }
    testing_support::TemporaryRoot m_root{"movies"};
};

TEST_F(MovieFiles, ExportWritesTheContainerAsked) {
    struct Case {
        MovieContainer from, to;
    };
    for (const Case& c : {Case{MovieContainer::QuickTime, MovieContainer::MPEG4},
                          Case{MovieContainer::MPEG4, MovieContainer::QuickTime},
                          Case{MovieContainer::QuickTime, MovieContainer::QuickTime}}) {
        const fs::path source = write("source", c.from);
        ASSERT_EQ(platform::media::containerOfFile(source), c.from);
        const fs::path out = m_root.path() / "out";
        const auto outcome = platform::media::exportMovie(source, out, c.to);
        ASSERT_TRUE(outcome.completed) << outcome.error;
        // The muxer goes back to fill in sizes, so a few bytes are written twice.
        EXPECT_GE(outcome.bytesWritten, fs::file_size(out));
        EXPECT_LE(outcome.bytesWritten, fs::file_size(out) + 64);
        EXPECT_EQ(platform::media::containerOfFile(out), c.to);
        const auto in = platform::media::movieInfo(source), exported = platform::media::movieInfo(out);
        ASSERT_TRUE(in && exported);
        EXPECT_EQ(exported->width, 64);
        EXPECT_EQ(exported->height, 48);
        EXPECT_EQ(exported->videoCodec, in->videoCodec) << "a remux keeps the stream";
        EXPECT_NEAR(exported->duration, 1.0, 0.2);
        fs::remove(source);
        fs::remove(out);
    }
}

// Every frame lasts one frame's time, the last one too: a movie of one frame has a length and a first frame.
TEST_F(MovieFiles, AMovieLastsAllItsFramesAndItsFirstFrameIsThere) {
    for (int frames : {1, 2, 6}) {
        SCOPED_TRACE(frames);
        const fs::path movie = write("frames-" + std::to_string(frames) + ".mov", MovieContainer::QuickTime, frames);
        const auto info = platform::media::movieInfo(movie);
        ASSERT_TRUE(info);
        EXPECT_NEAR(info->duration, frames / 6.0, 1e-3);
        const auto first = platform::media::frameAtTime(movie, 0);
        ASSERT_TRUE(first);
        EXPECT_NEAR(first->time, 0, 1e-6);
        EXPECT_NEAR(unpackPixel(first->bitmap.at(32, 24)).r, 255, 40);
    }
}

// Frames at a time: the first at or after it, its colour within the tolerance of a 4:2:0 round trip.
TEST_F(MovieFiles, FrameAtTimeDecodesTheRightFrame) {
    const fs::path movie = write("colours.mov", MovieContainer::QuickTime);
    struct Case {
        double at;
        int frame;
    };
    for (const Case& c : {Case{0, 0}, Case{1.0 / 6, 1}, Case{0.4, 3}}) {
        SCOPED_TRACE(c.at);
        const auto frame = platform::media::frameAtTime(movie, c.at);
        ASSERT_TRUE(frame);
        EXPECT_NEAR(frame->time, c.frame / 6.0, 1e-3);
        ASSERT_EQ(frame->bitmap.width, 64);
        const PixelRGBA got = unpackPixel(frame->bitmap.at(32, 24));
        const PixelRGBA want = unpackPixel(colourOfFrame(c.frame));
        EXPECT_NEAR(got.r, want.r, 40);
        EXPECT_NEAR(got.g, want.g, 40);
        EXPECT_NEAR(got.b, want.b, 40);
        EXPECT_EQ(got.a, 255);
    }
}

// A width that is no multiple of the colour conversion's blocks of pixels: every row comes whole, up to its last
// pixel, and nothing is written past the picture (the sanitizers watch the heap around it).
TEST_F(MovieFiles, FramesOfAnyEvenWidthComeWholeToTheirLastPixel) {
    for (const auto& [width, height] : {std::pair{66, 50}, std::pair{70, 34}, std::pair{128, 72}}) {
        SCOPED_TRACE(width);
        const fs::path movie = write("w" + std::to_string(width) + ".mov", MovieContainer::QuickTime, 6, width, height);
        for (int round = 0; round < 20; ++round) {
            const auto frame = platform::media::frameAtTime(movie, 0);
            ASSERT_TRUE(frame);
            ASSERT_EQ(frame->bitmap.width, width);
            ASSERT_EQ(frame->bitmap.height, height);
            for (const auto& [x, y] : {std::pair{0, 0}, std::pair{width - 1, 0}, std::pair{width - 1, height - 1}}) {
                const PixelRGBA got = unpackPixel(frame->bitmap.at(x, y));
                EXPECT_NEAR(got.r, 255, 40) << x << "," << y;
                EXPECT_NEAR(got.g, 0, 40) << x << "," << y;
                EXPECT_EQ(got.a, 255);
            }
        }
    }
}

TEST_F(MovieFiles, DamagedOrMissingFilesGiveNothing) {
    const fs::path movie = write("whole.mov", MovieContainer::QuickTime);
    std::ifstream in(movie, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    auto save = [&](const std::string& name, std::size_t size, char fill) {
        const fs::path file = m_root.path() / name;
        std::ofstream out(file, std::ios::binary);
        if (fill) out << std::string(size, fill);
        else out.write(bytes.data(), static_cast<std::streamsize>(size));
        return file;
    };
    for (const fs::path& file : {save("half.mov", bytes.size() / 2, 0), save("junk.mov", 5000, 'x'),
                                 save("empty.mov", 0, 'x'), m_root.path() / "missing.mov"}) {
        SCOPED_TRACE(file.filename().string());
        EXPECT_FALSE(platform::media::frameAtTime(file, 0));
        EXPECT_FALSE(platform::media::movieInfo(file));
        const auto outcome = platform::media::exportMovie(file, m_root.path() / "out.mp4", MovieContainer::MPEG4);
        EXPECT_FALSE(outcome.completed);
        EXPECT_FALSE(fs::exists(m_root.path() / "out.mp4")) << "a source that is no movie makes no output";
    }
    EXPECT_FALSE(platform::media::containerOfFile(m_root.path() / "junk.mov"));
}

// Text that names a real movie beside it, as a playlist or a list of parts: read as a movie, it would pull in a file
// the caller never resolved (below the device root or not).
TEST_F(MovieFiles, FilesNamingAnotherMovieAreNoMovies) {
    write("beside.mov", MovieContainer::QuickTime);
    const std::pair<const char*, const char*> cases[] = {
        {"playlist.m3u8", "#EXTM3U\n#EXT-X-TARGETDURATION:1\n#EXTINF:1,\nbeside.mov\n#EXT-X-ENDLIST\n"},
        {"playlist.mov", "#EXTM3U\n#EXTINF:1,\nbeside.mov\n"},
        {"parts.mov", "ffconcat version 1.0\nfile beside.mov\n"},
    };
    for (const auto& [name, text] : cases) {
        SCOPED_TRACE(name);
        const fs::path file = m_root.path() / name;
        std::ofstream(file) << text;
        EXPECT_FALSE(platform::media::frameAtTime(file, 0));
        EXPECT_FALSE(platform::media::movieInfo(file));
        EXPECT_FALSE(platform::media::exportMovie(file, m_root.path() / "out.mp4", MovieContainer::MPEG4).completed);
        EXPECT_FALSE(platform::media::containerOfFile(file));
    }
}

// The disk fills after some bytes: the export stops there, says why, and the output holds no more than allowed.
TEST_F(MovieFiles, ExportStopsWhenTheSpaceRunsOut) {
    const fs::path source = write("source.mov", MovieContainer::QuickTime, 30);
    const auto limit = fs::file_size(source) / 3;
    const fs::path out = m_root.path() / "out.mp4";
    const auto outcome = platform::media::exportMovie(source, out, MovieContainer::MPEG4,
                                                      [&](std::uint64_t size, std::uint64_t total) {
                                                          return total + size <= limit;
                                                      });
    EXPECT_FALSE(outcome.completed);
    EXPECT_EQ(outcome.error, "no space left on the device");
    EXPECT_LE(fs::file_size(out), limit);
    EXPECT_FALSE(platform::media::frameAtTime(out, 0)) << "what was written is no readable movie";
}

TEST_F(MovieFiles, WriteMovieRefusesOddSizes) {
    auto none = [](int, Bitmap&) {};
    EXPECT_FALSE(platform::media::writeMovie(m_root.path() / "a.mov", MovieContainer::QuickTime, 63, 48, 1, 6, 1e5, none));
    EXPECT_FALSE(platform::media::writeMovie(m_root.path() / "b.mov", MovieContainer::QuickTime, 64, 48, 0, 6, 1e5, none));
}

}  // namespace
