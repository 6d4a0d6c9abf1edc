// The movie reader: the container sniffed from a file's first box (what `expect movie` and the picture picker
// report) and FFmpeg's reading of the movie behind the picker's preview and the image generator. The library holds
// whatever the user saved or a package planted, so each input is a file of a throw-away folder: the sniff reads the
// first box alone; a frame is a movie's, opaque, of a size within the decoders' limit; a refused file stays
// refused; and reading a file opens no other file, so a playlist or a list of parts cannot pull in what lies beside
// it (or anywhere else on the machine).

#include "platform/gfx/Bitmap.h"
#include "platform/media/MovieFile.h"
#include "tests/fuzz/FuzzValue.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

using platform::media::MovieContainer;

// The largest side a frame may have, as for pictures: past it a frame is an attempt at memory.
constexpr int kLargestSide = 16384;

struct Folder {
    fs::path path;
    int watch = -1;

    Folder() {
        std::string pattern = (fs::temp_directory_path() / "movie-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data())) fuzz::broken("no throw-away folder");
        path = pattern;
        // A real movie beside the input: what a playlist or a list of parts naming "neighbour.mov" would reach.
        const bool written = platform::media::writeMovie(
            path / "neighbour.mov", MovieContainer::QuickTime, 16, 16, 2, 2, 100000,
            [](int frame, Bitmap& into) { into.at(frame, frame) = 0xFFFFFFFFu; });
        if (!written) fuzz::broken("the neighbouring movie could not be written");
        watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (watch < 0 || inotify_add_watch(watch, path.c_str(), IN_OPEN) < 0) fuzz::broken("no watch on the folder");
    }
    ~Folder() {
        if (watch >= 0) close(watch);
        std::error_code ec;
        fs::remove_all(path, ec);
    }

    // The names of the folder's files opened since the last call.
    std::string opened() const {
        std::string names;
        alignas(inotify_event) char buffer[4096];
        for (;;) {
            const ssize_t n = read(watch, buffer, sizeof buffer);
            if (n <= 0) return names;
            for (ssize_t at = 0; at < n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                if (event->len) names += std::string(event->name) + " ";
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
    }
};

void writeFile(const fs::path& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out) fuzz::broken("the input could not be written");
}

bool onlyInputsOpened(const std::string& names) {
    for (std::size_t at = 0; at < names.size();) {
        const std::size_t end = names.find(' ', at);
        const std::string name = names.substr(at, end - at);
        if (name != "input.mov" && name != "head.mov") return false;
        at = end + 1;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Folder folder;
    const fs::path input = folder.path / "input.mov";
    const fs::path head = folder.path / "head.mov";
    writeFile(input, data, size);
    writeFile(head, data, std::min<std::size_t>(size, 12));
    folder.opened();

    const auto container = platform::media::containerOfFile(input);
    fuzz::require(container == platform::media::containerOfFile(head), "the container was sniffed past the first box");

    const auto info = platform::media::movieInfo(input);
    if (info) {
        fuzz::require(info->width >= 0 && info->height >= 0, "a movie has a negative size");
        fuzz::require(std::isfinite(info->duration) && info->duration >= 0, "a movie lasts no real time");
    }

    const auto frame = platform::media::frameAtTime(input, 0);
    if (frame) {
        fuzz::require(info.has_value(), "a frame came from a file that is no movie");
        const Bitmap& bitmap = frame->bitmap;
        fuzz::require(bitmap.width > 0 && bitmap.height > 0, "a frame has no size");
        fuzz::require(bitmap.width <= kLargestSide && bitmap.height <= kLargestSide, "a frame is too large");
        fuzz::require(bitmap.pixels.size() == static_cast<std::size_t>(bitmap.width) * bitmap.height,
                      "a frame has not one pixel per point");
        for (std::uint32_t pixel : bitmap.pixels) fuzz::require(pixel >> 24 == 0xff, "a frame has a translucent point");
        fuzz::require(std::isfinite(frame->time) && frame->time >= 0, "a frame has no real time");
    }
    fuzz::require(platform::media::frameAtTime(input, 0).has_value() == frame.has_value(),
                  "a movie read twice answered differently");

    fuzz::require(onlyInputsOpened(folder.opened()), "reading a movie opened another file");
    return 0;
}
