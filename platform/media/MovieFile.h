#pragma once

// Movie files on FFmpeg (libavformat, libavcodec, libswscale): what AVFoundation's export and frame grabbing do on
// the device, working on host paths that the callers have resolved below the device root.
//
// The export is a remux: the source's audio and video packets are copied unchanged into the new container, as
// AVFoundation's passthrough does. Streams the container cannot hold are left out; a source whose video it cannot
// hold fails the export.

#include "platform/gfx/Bitmap.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace platform::media {

enum class MovieContainer { QuickTime, MPEG4 };

// The container a file holds, read from its first box ("ftyp" with major brand "qt  " is QuickTime; "isom", "mp41",
// "mp42" and the other ISO brands are MPEG-4; a QuickTime file from before "ftyp" starts with "moov", "mdat",
// "wide" or "free"). Nothing for a missing or unreadable file or any other content.
std::optional<MovieContainer> containerOfFile(const std::filesystem::path& path);

struct MovieInfo {
    int width = 0;
    int height = 0;
    double duration = 0;       // seconds
    std::string videoCodec;    // FFmpeg's codec name, e.g. "mpeg4", "h264"
    bool hasAudio = false;
};
// Every reader below reads QuickTime and MPEG-4 files only, and nothing but the file named: a playlist or a list of
// parts is no movie, whatever it names.

// What libavformat finds in a file; nothing when it cannot open it or it has no video stream.
std::optional<MovieInfo> movieInfo(const std::filesystem::path& path);

struct ExportOutcome {
    bool completed = false;
    std::string error;              // empty when completed
    std::uint64_t bytesWritten = 0; // what reached the output file, also when it failed half-way
};

// Writes `source` into `destination` in `container`. Each write to the output first asks `mayWrite` with the
// number of bytes about to be written and the total so far; a "no" fails the export there with "no space left on
// the device" (the output keeps what was written). A source that is not a movie fails before the output is made.
ExportOutcome exportMovie(const std::filesystem::path& source, const std::filesystem::path& destination,
                          MovieContainer container,
                          const std::function<bool(std::uint64_t size, std::uint64_t total)>& mayWrite = {});

// The first decodable video frame at or after `seconds`, as an opaque bitmap of the stream's size, and its time;
// nothing for a file that is missing, no movie, truncated before a frame, or damaged.
struct MovieFrame {
    Bitmap bitmap;
    double time = 0;
};
std::optional<MovieFrame> frameAtTime(const std::filesystem::path& path, double seconds);

// Encodes a movie of `frames` frames at `fps` drawn by `draw` (into an opaque bitmap of the movie's size) with the
// MPEG-4 Visual codec at roughly `bitRate` bits per second, in `container`. For the build's generated library, tests
// and benchmarks. False when FFmpeg refuses.
bool writeMovie(const std::filesystem::path& destination, MovieContainer container, int width, int height,
                int frames, int fps, std::int64_t bitRate, const std::function<void(int frame, Bitmap& into)>& draw);

}  // namespace platform::media
