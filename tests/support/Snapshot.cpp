#include "tests/support/Snapshot.h"

#include "platform/gfx/ImageCodec.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>

namespace fs = std::filesystem;

namespace vantile::testing {
namespace {

fs::path g_references = fs::path(VANTILE_SOURCE_DIR) / "tests" / "snapshots";
fs::path g_failures = fs::path(VANTILE_BUILD_DIR) / "snapshot-failures";

bool recording() {
    const char* v = std::getenv("VANTILE_RECORD_SNAPSHOTS");
    return v && std::string_view(v) == "1";
}

std::optional<std::string> readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool writeFile(const fs::path& path, std::string_view bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

bool writePng(const fs::path& path, const Bitmap& bitmap) {
    auto png = platform::gfx::encodePNG(bitmap);
    return png && writeFile(path, std::string_view(reinterpret_cast<const char*>(png->data()), png->size()));
}

Bitmap diffImage(const Bitmap& expected, const Bitmap& actual, int tolerance) {
    const int w = std::max(expected.width, actual.width), h = std::max(expected.height, actual.height);
    Bitmap diff(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool inE = x < expected.width && y < expected.height, inA = x < actual.width && y < actual.height;
            if (!inE || !inA) {
                diff.at(x, y) = packPixel({255, 0, 255, 255});
                continue;
            }
            PixelRGBA e = unpackPixel(expected.at(x, y)), a = unpackPixel(actual.at(x, y));
            const int d = std::max({std::abs(e.r - a.r), std::abs(e.g - a.g), std::abs(e.b - a.b), std::abs(e.a - a.a)});
            if (d > tolerance) {
                diff.at(x, y) = packPixel({255, 0, 0, 255});
            } else {
                const int grey = 255 - (255 - (e.r + e.g + e.b) / 3) / 4;  // a faded reference for orientation
                diff.at(x, y) = packPixel({grey, grey, grey, 255});
            }
        }
    return diff;
}

}  // namespace

fs::path snapshotReferenceFolder() { return g_references; }
fs::path snapshotFailureFolder() { return g_failures; }
void setSnapshotFoldersForTesting(fs::path references, fs::path failures) {
    g_references = std::move(references);
    g_failures = std::move(failures);
}

PixelComparison comparePixels(const Bitmap& expected, const Bitmap& actual, int channelTolerance) {
    PixelComparison result;
    if (expected.width != actual.width || expected.height != actual.height) {
        result.sizesDiffer = true;
        return result;
    }
    for (std::size_t i = 0; i < expected.pixels.size(); ++i) {
        PixelRGBA e = unpackPixel(expected.pixels[i]), a = unpackPixel(actual.pixels[i]);
        const int d = std::max({std::abs(e.r - a.r), std::abs(e.g - a.g), std::abs(e.b - a.b), std::abs(e.a - a.a)});
        result.largestChannelDelta = std::max(result.largestChannelDelta, d);
        if (d > channelTolerance) ++result.differing;
    }
    return result;
}

::testing::AssertionResult matchesSnapshot(const Bitmap& actual, std::string_view name, SnapshotTolerance tolerance) {
    const fs::path reference = g_references / (std::string(name) + ".png");
    auto bytes = readFile(reference);
    if (!bytes) {
        if (recording()) {
            if (!writePng(reference, actual))
                return ::testing::AssertionFailure() << "cannot record the snapshot " << reference;
            return ::testing::AssertionSuccess() << "recorded new snapshot " << reference;
        }
        const fs::path out = g_failures / (std::string(name) + ".actual.png");
        writePng(out, actual);
        return ::testing::AssertionFailure()
               << "no reference snapshot " << reference << "; the rendering is in " << out
               << " (run with VANTILE_RECORD_SNAPSHOTS=1 to record it after checking it by eye)";
    }
    auto expected = platform::gfx::decodePNG(
        std::span(reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size()));
    if (!expected) return ::testing::AssertionFailure() << "the reference snapshot " << reference << " is not a PNG";
    const PixelComparison cmp = comparePixels(*expected, actual, tolerance.channelTolerance);
    const double allowed = tolerance.maxDifferingFraction * static_cast<double>(actual.pixels.size());
    if (!cmp.sizesDiffer && static_cast<double>(cmp.differing) <= allowed) return ::testing::AssertionSuccess();

    const fs::path base = g_failures / std::string(name);
    writePng(fs::path(base.string() + ".reference.png"), *expected);
    writePng(fs::path(base.string() + ".actual.png"), actual);
    writePng(fs::path(base.string() + ".diff.png"), diffImage(*expected, actual, tolerance.channelTolerance));
    auto failure = ::testing::AssertionFailure() << "snapshot " << name << " differs: ";
    if (cmp.sizesDiffer)
        failure << "size " << actual.width << "x" << actual.height << " instead of " << expected->width << "x"
                << expected->height;
    else
        failure << cmp.differing << " of " << actual.pixels.size() << " pixels beyond a channel difference of "
                << tolerance.channelTolerance << " (largest " << cmp.largestChannelDelta << ", allowed "
                << static_cast<long>(allowed) << ")";
    return failure << "; see " << base.string() << ".{reference,actual,diff}.png";
}

::testing::AssertionResult matchesTextSnapshot(std::string_view actual, std::string_view name) {
    const fs::path reference = g_references / std::string(name);
    auto expected = readFile(reference);
    if (!expected) {
        if (recording()) {
            if (!writeFile(reference, actual))
                return ::testing::AssertionFailure() << "cannot record the snapshot " << reference;
            return ::testing::AssertionSuccess() << "recorded new snapshot " << reference;
        }
        const fs::path out = g_failures / (std::string(name) + ".actual");
        writeFile(out, actual);
        return ::testing::AssertionFailure() << "no reference " << reference << "; the text is in " << out
                                             << " (run with VANTILE_RECORD_SNAPSHOTS=1 to record it)";
    }
    if (*expected == actual) return ::testing::AssertionSuccess();
    const fs::path out = g_failures / (std::string(name) + ".actual");
    writeFile(out, actual);
    // The first differing line, so the message says what changed without opening files.
    std::size_t line = 1, i = 0;
    while (i < expected->size() && i < actual.size() && (*expected)[i] == actual[i]) {
        if (actual[i] == '\n') ++line;
        ++i;
    }
    auto lineAt = [](std::string_view s, std::size_t pos) {
        std::size_t b = s.rfind('\n', pos == 0 ? 0 : pos - 1);
        b = b == std::string_view::npos ? 0 : b + 1;
        std::size_t e = s.find('\n', pos);
        return std::string(s.substr(b, e == std::string_view::npos ? std::string_view::npos : e - b));
    };
    return ::testing::AssertionFailure() << "text snapshot " << name << " differs at line " << line
                                         << ":\n  expected: " << lineAt(*expected, i)
                                         << "\n  actual:   " << lineAt(actual, i) << "\nfull text in " << out;
}

}  // namespace vantile::testing
