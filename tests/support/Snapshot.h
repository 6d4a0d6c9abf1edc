#pragma once

// Snapshot comparison for tests: a rendering against a reference PNG under tests/snapshots/, and a text (a JSON
// dump) against a reference file beside it.
//
// On a mismatch the helper writes NAME.reference.png, NAME.actual.png and NAME.diff.png (differing pixels red on a
// faded copy of the reference) into <build>/snapshot-failures/ and fails with a message naming them. A missing
// reference fails too, unless the environment variable VANTILE_RECORD_SNAPSHOTS=1 is set: then the rendering is
// recorded as the new reference and the check passes with a note. CI never sets it.
//
// Tolerance: two pixels are equal when no channel (premultiplied, 0..255) differs by more than
// `channelTolerance` (default 8); a rendering matches when at most `maxDifferingFraction` of its pixels (default
// 0.1 %) differ beyond that, and never when the sizes differ. The slack absorbs anti-aliasing differences of the
// rasteriser between library versions; a moved edge, a wrong colour or a missing glyph exceeds it.

#include "platform/gfx/Bitmap.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>

namespace vantile::testing {

struct SnapshotTolerance {
    int channelTolerance = 8;
    double maxDifferingFraction = 0.001;
};

struct PixelComparison {
    long differing = 0;      // pixels beyond the channel tolerance
    int largestChannelDelta = 0;
    bool sizesDiffer = false;
};

// The comparison itself, also used by the helper's own tests.
PixelComparison comparePixels(const Bitmap& expected, const Bitmap& actual, int channelTolerance);

// `name` without extension, e.g. "card/wifi-light" (sub-folders allowed).
::testing::AssertionResult matchesSnapshot(const Bitmap& actual, std::string_view name,
                                           SnapshotTolerance tolerance = {});
// Exact comparison of a text with tests/snapshots/NAME (name with its extension, e.g. "card/wifi-light.json").
::testing::AssertionResult matchesTextSnapshot(std::string_view actual, std::string_view name);

// Where references live and where failures are written; both may be changed by the helper's own tests.
std::filesystem::path snapshotReferenceFolder();
std::filesystem::path snapshotFailureFolder();
void setSnapshotFoldersForTesting(std::filesystem::path references, std::filesystem::path failures);

}  // namespace vantile::testing
