// vantile-media OUTPUT-FOLDER
//
// Draws the simulated phone's camera roll into OUTPUT-FOLDER: a few small pictures in each format the library
// holds (JPEG, PNG with transparency, GIF with a palette) and a one-second low-resolution movie, all painted here,
// so nothing is copied from anywhere. Exit status 1 on any fault, with the reason on standard error.

#include "platform/gfx/ImageCodec.h"
#include "platform/gfx/Painter.h"
#include "platform/media/MovieFile.h"

#include <gif_lib.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <numbers>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

int fail(const std::string& why) {
    std::cerr << "vantile-media: " << why << "\n";
    return 1;
}

bool writeFile(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

PaintColor rgb(double r, double g, double b, double a = 1) { return {r, g, b, a}; }

// A sunset over the sea: sky gradient, sun, water bands.
Bitmap drawSunset(int w, int h) {
    Painter p(w, h);
    p.fillLinearGradient(CGRectMake(0, 0, w, h * 0.62),
                         {{0, rgb(0.99, 0.45, 0.42)}, {0.6, rgb(1.0, 0.69, 0.45)}, {1, rgb(1.0, 0.86, 0.6)}},
                         {0, 0}, {0, h * 0.62});
    p.fillEllipse(CGRectMake(w * 0.38, h * 0.34, w * 0.24, w * 0.24), rgb(1.0, 0.95, 0.7));
    p.fillLinearGradient(CGRectMake(0, h * 0.62, w, h * 0.38), {{0, rgb(0.2, 0.35, 0.6)}, {1, rgb(0.08, 0.12, 0.3)}},
                         {0, h * 0.62}, {0, static_cast<CGFloat>(h)});
    for (int i = 0; i < 6; ++i)
        p.fillRect(CGRectMake(w * (0.3 + 0.02 * i), h * (0.66 + 0.05 * i), w * (0.4 - 0.04 * i), 3),
                   rgb(1.0, 0.8, 0.55, 0.7));
    return p.takeBitmap();
}

// A flower on a transparent ground, so the PNG carries alpha.
Bitmap drawFlower(int w, int h) {
    Painter p(w, h);
    const CGPoint c{w / 2.0, h / 2.0};
    const double r = std::min(w, h) * 0.22;
    for (int i = 0; i < 8; ++i) {
        const double a = i * std::numbers::pi / 4;
        p.fillEllipse(CGRectMake(c.x + std::cos(a) * r * 1.2 - r * 0.7, c.y + std::sin(a) * r * 1.2 - r * 0.7, r * 1.4,
                                 r * 1.4),
                      rgb(0.98, 0.6, 0.75, 0.9));
    }
    p.fillEllipse(CGRectMake(c.x - r * 0.7, c.y - r * 0.7, r * 1.4, r * 1.4), rgb(1.0, 0.82, 0.2));
    return p.takeBitmap();
}

// A portrait silhouette on the pane's default gradient: a profile picture a user might pick.
Bitmap drawPortrait(int w, int h) {
    Painter p(w, h);
    p.fillLinearGradient(CGRectMake(0, 0, w, h), {{0, rgb(0.59, 0.58, 0.94)}, {1, rgb(0.98, 0.77, 0.82)}}, {0, 0},
                         {static_cast<CGFloat>(w), static_cast<CGFloat>(h)});
    p.fillEllipse(CGRectMake(w * 0.33, h * 0.2, w * 0.34, w * 0.34), rgb(1, 1, 1, 0.92));
    p.fillEllipse(CGRectMake(w * 0.15, h * 0.6, w * 0.7, h * 0.6), rgb(1, 1, 1, 0.92));
    return p.takeBitmap();
}

// A pixel-art cat face in few colours, saved as GIF through a 6×6×6 colour cube.
Bitmap drawPixelArt(int w, int h) {
    Painter p(w, h);
    p.fillRect(CGRectMake(0, 0, w, h), rgb(0.6, 0.8, 1.0));
    p.fillRect(CGRectMake(w * 0.2, h * 0.3, w * 0.6, h * 0.5), rgb(0.4, 0.4, 0.4));
    p.fillRect(CGRectMake(w * 0.2, h * 0.15, w * 0.15, h * 0.15), rgb(0.4, 0.4, 0.4));
    p.fillRect(CGRectMake(w * 0.65, h * 0.15, w * 0.15, h * 0.15), rgb(0.4, 0.4, 0.4));
    p.fillRect(CGRectMake(w * 0.32, h * 0.42, w * 0.1, h * 0.1), rgb(0.2, 1.0, 0.2));
    p.fillRect(CGRectMake(w * 0.58, h * 0.42, w * 0.1, h * 0.1), rgb(0.2, 1.0, 0.2));
    p.fillRect(CGRectMake(w * 0.45, h * 0.6, w * 0.1, h * 0.06), rgb(1.0, 0.6, 0.6));
    return p.takeBitmap();
}

bool writeGIF(const fs::path& path, const Bitmap& b) {
    int error = 0;
    GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
    if (!gif) return false;
    std::vector<GifColorType> colours;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int bl = 0; bl < 6; ++bl)
                colours.push_back({static_cast<GifByteType>(r * 51), static_cast<GifByteType>(g * 51),
                                   static_cast<GifByteType>(bl * 51)});
    colours.resize(256, GifColorType{0, 0, 0});
    ColorMapObject* map = GifMakeMapObject(256, colours.data());
    bool ok = map && EGifPutScreenDesc(gif, b.width, b.height, 8, 0, map) == GIF_OK &&
              EGifPutImageDesc(gif, 0, 0, b.width, b.height, false, nullptr) == GIF_OK;
    std::vector<GifPixelType> line(static_cast<std::size_t>(b.width));
    for (int y = 0; ok && y < b.height; ++y) {
        for (int x = 0; x < b.width; ++x) {
            const PixelRGBA c = unpackPixel(b.at(x, y));
            auto level = [](int v) { return (v * 5 + 127) / 255; };
            line[static_cast<std::size_t>(x)] =
                static_cast<GifPixelType>(level(c.r) * 36 + level(c.g) * 6 + level(c.b));
        }
        ok = EGifPutLine(gif, line.data(), b.width) == GIF_OK;
    }
    GifFreeMapObject(map);
    return EGifCloseFile(gif, &error) == GIF_OK && ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return fail("usage: vantile-media OUTPUT-FOLDER");
    const fs::path out = argv[1];
    std::error_code ec;
    fs::create_directories(out, ec);
    if (ec) return fail("cannot create " + out.string() + ": " + ec.message());

    const auto jpeg = platform::gfx::encodeJPEG(drawSunset(640, 480), 0.85);
    if (!jpeg || !writeFile(out / "IMG_0001.JPG", *jpeg)) return fail("cannot write IMG_0001.JPG");
    const auto png = platform::gfx::encodePNG(drawFlower(400, 400));
    if (!png || !writeFile(out / "IMG_0002.PNG", *png)) return fail("cannot write IMG_0002.PNG");
    if (!writeGIF(out / "IMG_0003.GIF", drawPixelArt(120, 120))) return fail("cannot write IMG_0003.GIF");
    const auto portrait = platform::gfx::encodeJPEG(drawPortrait(360, 480), 0.85);
    if (!portrait || !writeFile(out / "IMG_0004.JPG", *portrait)) return fail("cannot write IMG_0004.JPG");

    // One second at 10 frames per second: a sun rising over the sea.
    const bool movie = platform::media::writeMovie(
        out / "IMG_0005.MOV", platform::media::MovieContainer::QuickTime, 160, 120, 10, 10, 200000,
        [](int frame, Bitmap& into) {
            Bitmap sky = drawSunset(160, 120);
            const int shift = (9 - frame) * 3;
            for (int y = 0; y < 120; ++y)
                for (int x = 0; x < 160; ++x) into.at(x, y) = sky.at(x, std::min(119, y + (y < 74 ? shift : 0)));
        });
    if (!movie) return fail("cannot write IMG_0005.MOV");
    return 0;
}
