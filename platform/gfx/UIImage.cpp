#include "platform/gfx/UIImage.h"

#include "platform/core/DeviceRoot.h"
#include "platform/core/NSBundle.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/DisplayScale.h"
#include "platform/gfx/ImageCodec.h"
#include "platform/gfx/Painter.h"
#include "platform/gfx/SystemSymbols.h"

#include <algorithm>
#include <cairo.h>
#include <atomic>
#include <cmath>
#include <fstream>
#include <iterator>
#include <sstream>

VT_REGISTER_CLASS(UIImage)

namespace {

std::atomic<std::size_t> g_missingFiles{0};
std::atomic<std::size_t> g_undecodable{0};

constexpr double kSymbolPointSize = 24;
constexpr double kSymbolScale = 3;

CGFloat scaleFromFileName(const std::filesystem::path& path) {
    const std::string stem = path.stem().string();
    if (stem.ends_with("@3x")) return 3;
    if (stem.ends_with("@2x")) return 2;
    return 1;
}

// "name@Nx.ext" beside a file named without a scale, for the screen's scale N; nothing when there is none.
std::optional<std::filesystem::path> scaledVariant(const std::filesystem::path& file) {
    if (scaleFromFileName(file) != 1) return std::nullopt;
    const long scale = std::lround(platform::displayScale());
    if (scale < 2) return std::nullopt;
    std::filesystem::path variant = file;
    variant.replace_filename(file.stem().string() + "@" + std::to_string(scale) + "x" + file.extension().string());
    std::error_code ec;
    if (!std::filesystem::is_regular_file(variant, ec)) return std::nullopt;
    return variant;
}

}  // namespace

Ref<UIImage> UIImage::imageWithBitmap(Bitmap bitmap, CGFloat scale, std::string source) {
    auto image = alloc<UIImage>();
    image->m_bitmap = std::make_shared<const Bitmap>(std::move(bitmap));
    image->m_scale = scale > 0 ? scale : 1;
    image->m_source = std::move(source);
    return image;
}

Ref<UIImage> UIImage::imageWithContentsOfFile(std::string_view devicePath) {
    auto host = platform::devicePath(devicePath);
    std::error_code ec;
    if (host)
        if (auto variant = scaledVariant(*host)) host = *variant;
    if (!host || !std::filesystem::is_regular_file(*host, ec)) {
        ++g_missingFiles;
        return nullptr;
    }
    std::ifstream in(*host, std::ios::binary);
    if (!in) {
        ++g_missingFiles;
        return nullptr;
    }
    Data bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto bitmap = platform::gfx::decodeImage(bytes);
    if (!bitmap) {
        ++g_undecodable;
        return nullptr;
    }
    return imageWithBitmap(std::move(*bitmap), scaleFromFileName(*host), std::string(devicePath));
}

Ref<UIImage> UIImage::imageWithData(const Data& data, CGFloat scale) {
    auto bitmap = platform::gfx::decodeImage(data);
    if (!bitmap) {
        ++g_undecodable;
        return nullptr;
    }
    return imageWithBitmap(std::move(*bitmap), scale, "data");
}

Ref<UIImage> UIImage::systemImageNamed(std::string_view name) {
    auto bitmap = platform::gfx::renderSymbol(name, kSymbolPointSize, kSymbolScale);
    if (!bitmap) return nullptr;
    auto image = imageWithBitmap(std::move(*bitmap), kSymbolScale, "symbol:" + std::string(name));
    image->m_symbol = true;
    return image;
}

Ref<UIImage> UIImage::imageNamedInBundleCompatibleWithTraitCollection(std::string_view name,
                                                                      const Ref<NSBundle>& bundle, const id&) {
    if (!bundle || name.empty() || name.find('/') != std::string_view::npos || name.find("..") != std::string_view::npos)
        return nullptr;
    std::string path = bundle->bundlePath();
    if (!path.empty() && path.back() != '/') path += '/';
    path += name;
    if (name.find('.') == std::string_view::npos) path += ".png";
    return imageWithContentsOfFile(path);
}

Ref<UIImage> UIImage::kitImageNamed(std::string_view name) {
    if (name != "UITintedCircularButtonCheckmark.png") return nullptr;
    constexpr double kPoints = 22;
    const double scale = platform::displayScale();
    const int pixels = static_cast<int>(std::lround(kPoints * scale));
    Painter p(pixels, pixels, scale);
    p.fillEllipse(CGRectMake(0, 0, kPoints, kPoints), PaintColor::black());
    // The check is cut out of the disc, so a tint colours the disc and the check shows what lies behind it.
    cairo_t* cr = p.cairo();
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_set_line_width(cr, 2.2);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_move_to(cr, 6.5, 11.5);
    cairo_line_to(cr, 9.7, 14.6);
    cairo_line_to(cr, 15.8, 7.8);
    cairo_stroke(cr);
    cairo_restore(cr);
    auto image = imageWithBitmap(p.takeBitmap(), scale, "kit:" + std::string(name));
    image->m_mode = UIImageRenderingMode::AlwaysTemplate;
    return image;
}

Ref<UIImage> UIImage::imageWithCGImage(CGImageRef image, CGFloat scale) {
    const std::uint32_t* data = platform::gfx::imageARGB32Data(image);
    if (!data) return nullptr;
    Bitmap bitmap(static_cast<int>(CGImageGetWidth(image)), static_cast<int>(CGImageGetHeight(image)));
    const std::size_t stride = CGImageGetBytesPerRow(image) / 4;
    for (int y = 0; y < bitmap.height; ++y)
        std::copy(data + y * stride, data + y * stride + bitmap.width, bitmap.pixels.begin() + std::size_t(y) * bitmap.width);
    return imageWithBitmap(std::move(bitmap), scale, "cgimage");
}

UIImage::~UIImage() { CGImageRelease(m_cgImage); }

CGImageRef UIImage::CGImage() const {
    if (!m_cgImage && !m_bitmap->isEmpty())
        m_cgImage = platform::gfx::createImageFromARGB32(m_bitmap->width, m_bitmap->height, m_bitmap->pixels.data(),
                                                         m_bitmap->bytesPerRow());
    return m_cgImage;
}

CGSize UIImage::size() const { return {m_bitmap->width / m_scale, m_bitmap->height / m_scale}; }

bool UIImage::isTemplate() const {
    return m_mode == UIImageRenderingMode::AlwaysTemplate || (m_mode == UIImageRenderingMode::Automatic && m_symbol);
}

Ref<UIImage> UIImage::copyWith() const {
    auto image = alloc<UIImage>();
    image->m_bitmap = m_bitmap;
    image->m_scale = m_scale;
    image->m_mode = m_mode;
    image->m_symbol = m_symbol;
    image->m_source = m_source;
    return image;
}

Ref<UIImage> UIImage::imageWithRenderingMode(UIImageRenderingMode mode) const {
    auto image = copyWith();
    image->m_mode = mode;
    return image;
}

Ref<UIImage> UIImage::imageWithSize(CGSize size) const {
    if (size.width <= 0 || size.height <= 0) return nullptr;
    Bitmap canvas(static_cast<int>(std::lround(size.width * m_scale)), static_cast<int>(std::lround(size.height * m_scale)));
    if (canvas.isEmpty()) return nullptr;
    {
        Painter painter(canvas, m_scale);
        painter.drawBitmap(*m_bitmap, {{0, 0}, size});
        painter.bitmap();
    }
    auto image = copyWith();
    image->m_bitmap = std::make_shared<const Bitmap>(std::move(canvas));
    image->m_mode = UIImageRenderingMode::AlwaysOriginal;
    return image;
}

std::string UIImage::description() const {
    std::ostringstream os;
    os << "<UIImage " << (m_source.empty() ? "(memory)" : m_source) << " " << size() << " @" << m_scale << "x>";
    return os.str();
}

std::size_t UIImage::missingFileCount() { return g_missingFiles; }
std::size_t UIImage::undecodableCount() { return g_undecodable; }

std::optional<UIImage::Data> UIImagePNGRepresentation(const Ref<UIImage>& image) {
    if (!image) return std::nullopt;
    return platform::gfx::encodePNG(image->bitmap());
}

std::optional<UIImage::Data> UIImageJPEGRepresentation(const Ref<UIImage>& image, CGFloat quality) {
    if (!image) return std::nullopt;
    return platform::gfx::encodeJPEG(image->bitmap(), quality);
}
