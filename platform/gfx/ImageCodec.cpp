#include "platform/gfx/ImageCodec.h"

#include <cstdio>
#include <cstdlib>

#include <gif_lib.h>
#include <jpeglib.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstring>
#include <vector>

namespace platform::gfx {
namespace {

// The longest side either decoder accepts: a few header bytes must not make the reader allocate gigabytes.
constexpr unsigned kLargestSide = 16384;
// A GIF's screen costs nothing to claim (a one-point frame on a screen of any size is a whole file of 35 bytes), so
// its area is held below the sides' limit, to 2^24 points (64 MB decoded, a 4096 × 4096 picture): more than any
// screen of the phone shows, and the most a file of a few bytes may make the reader fill.
constexpr std::uint64_t kLargestGifScreen = std::uint64_t{1} << 24;

}  // namespace

ImageFormat sniffImageFormat(std::span<const std::uint8_t> data) {
    static constexpr std::uint8_t png[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (data.size() >= 8 && std::memcmp(data.data(), png, 8) == 0) return ImageFormat::PNG;
    if (data.size() >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) return ImageFormat::JPEG;
    if (data.size() >= 6 && (std::memcmp(data.data(), "GIF87a", 6) == 0 || std::memcmp(data.data(), "GIF89a", 6) == 0))
        return ImageFormat::GIF;
    return ImageFormat::Unknown;
}

std::optional<Bitmap> decodeImage(std::span<const std::uint8_t> data) {
    switch (sniffImageFormat(data)) {
        case ImageFormat::PNG: return decodePNG(data);
        case ImageFormat::JPEG: return decodeJPEG(data);
        case ImageFormat::GIF: return decodeGIF(data);
        default: return std::nullopt;
    }
}

// ----- PNG -----

std::optional<Bitmap> decodePNG(std::span<const std::uint8_t> data) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data.data(), data.size())) return std::nullopt;
    // BGRA in memory is the byte order of a little-endian ARGB32 pixel; alpha is straight and premultiplied below.
    image.format = PNG_FORMAT_BGRA;
    if (image.width == 0 || image.height == 0 || image.width > kLargestSide || image.height > kLargestSide) {
        png_image_free(&image);
        return std::nullopt;
    }
    Bitmap out(static_cast<int>(image.width), static_cast<int>(image.height));
    if (!png_image_finish_read(&image, nullptr, out.pixels.data(), out.bytesPerRow(), nullptr)) {
        png_image_free(&image);
        return std::nullopt;
    }
    for (auto& p : out.pixels) {
        PixelRGBA c = unpackPixel(p);
        if (c.a == 255) continue;
        c.r = (c.r * c.a + 127) / 255;
        c.g = (c.g * c.a + 127) / 255;
        c.b = (c.b * c.a + 127) / 255;
        p = packPixel(c);
    }
    return out;
}

std::optional<std::vector<std::uint8_t>> encodePNG(const Bitmap& bitmap) {
    if (bitmap.isEmpty()) return std::nullopt;
    std::vector<std::uint32_t> straight(bitmap.pixels.size());
    for (std::size_t i = 0; i < straight.size(); ++i) {
        PixelRGBA c = unpackPixel(bitmap.pixels[i]);
        if (c.a != 0 && c.a != 255) {
            // Rounding to nearest makes premultiplying the stored value give back exactly the input.
            c.r = std::min(255, (c.r * 255 + c.a / 2) / c.a);
            c.g = std::min(255, (c.g * 255 + c.a / 2) / c.a);
            c.b = std::min(255, (c.b * 255 + c.a / 2) / c.a);
        }
        straight[i] = packPixel(c);
    }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(bitmap.width);
    image.height = static_cast<png_uint_32>(bitmap.height);
    image.format = PNG_FORMAT_BGRA;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, straight.data(), bitmap.bytesPerRow(), nullptr))
        return std::nullopt;
    std::vector<std::uint8_t> out(size);
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, straight.data(), bitmap.bytesPerRow(), nullptr))
        return std::nullopt;
    out.resize(size);
    return out;
}

// ----- JPEG -----

namespace {

struct JpegError {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

// libjpeg's default handler ends the process; this one returns to the caller's setjmp instead.
void jpegFail(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<JpegError*>(cinfo->err)->jump, 1); }
void jpegQuiet(j_common_ptr, int) {}

}  // namespace

std::optional<Bitmap> decodeJPEG(std::span<const std::uint8_t> data) {
    if (data.empty()) return std::nullopt;
    jpeg_decompress_struct cinfo;
    JpegError err;
    cinfo.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = jpegFail;
    err.mgr.emit_message = jpegQuiet;
    // Only trivially destructible state lives between setjmp and the calls that may jump back. The pointer is set
    // after setjmp, so it must be volatile: otherwise the jump may restore the null it held then, leaking the image.
    Bitmap* volatile out = nullptr;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        delete out;
        return std::nullopt;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data.data(), static_cast<unsigned long>(data.size()));
    // The header alone can claim up to 65500 points a side; refuse what PNG refuses before allocating for it.
    if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK || cinfo.image_width > kLargestSide ||
        cinfo.image_height > kLargestSide) {
        jpeg_destroy_decompress(&cinfo);
        return std::nullopt;
    }
    cinfo.out_color_space = JCS_EXT_BGRA;  // opaque little-endian ARGB32
    jpeg_start_decompress(&cinfo);
    out = new Bitmap(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height));
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = reinterpret_cast<JSAMPROW>(out->pixels.data() +
                                                  static_cast<std::size_t>(cinfo.output_scanline) * out->width);
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    // A cut-off file decodes with grey filler and a warning; it is a damaged image, not a picture.
    const bool damaged = err.mgr.num_warnings > 0;
    jpeg_destroy_decompress(&cinfo);
    if (damaged) {
        delete out;
        return std::nullopt;
    }
    Bitmap result = std::move(*out);
    delete out;
    return result;
}

std::optional<std::vector<std::uint8_t>> encodeJPEG(const Bitmap& bitmap, double quality) {
    if (bitmap.isEmpty()) return std::nullopt;
    jpeg_compress_struct cinfo;
    JpegError err;
    cinfo.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = jpegFail;
    err.mgr.emit_message = jpegQuiet;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&cinfo);
        free(buffer);
        return std::nullopt;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(bitmap.width);
    cinfo.image_height = static_cast<JDIMENSION>(bitmap.height);
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&cinfo);
    const int q = static_cast<int>(std::lround(std::clamp(quality, 0.0, 1.0) * 100));
    jpeg_set_quality(&cinfo, std::max(q, 1), TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = reinterpret_cast<JSAMPROW>(const_cast<std::uint32_t*>(
            bitmap.pixels.data() + static_cast<std::size_t>(cinfo.next_scanline) * bitmap.width));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::vector<std::uint8_t> out(buffer, buffer + size);
    free(buffer);
    return out;
}

}  // namespace platform::gfx

// ----- GIF -----

namespace platform::gfx {

namespace {

struct GifSource {
    std::span<const std::uint8_t> data;
    std::size_t offset = 0;
};

int readGif(GifFileType* file, GifByteType* out, int wanted) {
    auto* source = static_cast<GifSource*>(file->UserData);
    const std::size_t left = source->data.size() - source->offset;
    const std::size_t n = std::min<std::size_t>(left, static_cast<std::size_t>(std::max(wanted, 0)));
    std::memcpy(out, source->data.data() + source->offset, n);
    source->offset += n;
    return static_cast<int>(n);
}

}  // namespace

std::optional<Bitmap> decodeGIF(std::span<const std::uint8_t> data) {
    GifSource source{data};
    int error = 0;
    GifFileType* file = DGifOpen(&source, readGif, &error);
    if (!file) return std::nullopt;
    struct Closer {
        GifFileType* f;
        ~Closer() { DGifCloseFile(f, nullptr); }
    } closer{file};
    if (file->SWidth <= 0 || file->SHeight <= 0 || file->SWidth > static_cast<int>(kLargestSide) ||
        file->SHeight > static_cast<int>(kLargestSide) ||
        static_cast<std::uint64_t>(file->SWidth) * static_cast<std::uint64_t>(file->SHeight) > kLargestGifScreen)
        return std::nullopt;

    // Only the first frame is read, a row at a time into a row of its own: the frames after it (an animation may
    // have thousands) cost nothing, and a frame's descriptor, which may claim 65535 × 65535 points in a few bytes,
    // is never allocated as a whole.
    int transparent = NO_TRANSPARENT_COLOR;
    for (;;) {
        GifRecordType record = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(file, &record) != GIF_OK) return std::nullopt;
        if (record == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(file, &code, &block) != GIF_OK) return std::nullopt;
            GraphicsControlBlock control;
            if (code == GRAPHICS_EXT_FUNC_CODE && block &&
                DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK)
                transparent = control.TransparentColor;
            while (block)
                if (DGifGetExtensionNext(file, &block) != GIF_OK) return std::nullopt;
            continue;
        }
        if (record != IMAGE_DESC_RECORD_TYPE) return std::nullopt;  // the trailer, or no frame at all
        break;
    }
    if (DGifGetImageDesc(file) != GIF_OK) return std::nullopt;
    const GifImageDesc& d = file->Image;
    const ColorMapObject* map = d.ColorMap ? d.ColorMap : file->SColorMap;
    if (!map || d.Width <= 0 || d.Height <= 0) return std::nullopt;

    Bitmap bitmap(file->SWidth, file->SHeight);
    std::vector<GifPixelType> line(static_cast<std::size_t>(d.Width));
    // An interlaced frame stores every 8th row from 0, every 8th from 4, every 4th from 2, then every 2nd from 1.
    static constexpr int kPassStart[] = {0, 4, 2, 1}, kPassStep[] = {8, 8, 4, 2};
    const int passes = d.Interlace ? 4 : 1;
    for (int pass = 0; pass < passes; ++pass) {
        const int first = d.Interlace ? kPassStart[pass] : 0, step = d.Interlace ? kPassStep[pass] : 1;
        for (int y = first; y < d.Height; y += step) {
            if (DGifGetLine(file, line.data(), d.Width) != GIF_OK) return std::nullopt;
            const int sy = d.Top + y;
            if (sy < 0 || sy >= bitmap.height) continue;
            for (int x = 0; x < d.Width; ++x) {
                const int sx = d.Left + x;
                if (sx < 0 || sx >= bitmap.width) continue;
                const int index = line[static_cast<std::size_t>(x)];
                if (index == transparent || index >= map->ColorCount) continue;
                const GifColorType c = map->Colors[index];
                bitmap.at(sx, sy) = packPixel({c.Red, c.Green, c.Blue, 255});
            }
        }
    }
    return bitmap;
}

}  // namespace platform::gfx
