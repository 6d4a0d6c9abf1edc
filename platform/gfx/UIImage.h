#pragma once

// Images: pixels (a premultiplied ARGB32 Bitmap), a scale (pixels per point), a rendering mode, and the source they
// came from, so a test can tell which file or symbol a view shows. Images are immutable; the derived-image calls
// answer new images.

#include "platform/core/Object.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/CGImage.h"
#include "platform/gfx/Geometry.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class NSBundle;

enum class UIImageRenderingMode : long { Automatic = 0, AlwaysOriginal = 1, AlwaysTemplate = 2 };

class UIImage : public NSObject {
    VT_OBJECT(UIImage, NSObject)
public:
    using Data = std::vector<std::uint8_t>;

    // The PNG or JPEG file at a device path ("/Library/..."), resolved under the device root. A name ending in
    // "@2x" or "@3x" before its extension gives that scale. For a name without such a suffix the variant for the
    // screen's scale ("icon@3x.png" on a 3x screen) is read instead when it exists, as the device does; the image's
    // source stays the path asked for. Nothing when the file is missing, unreadable or not an image (counted in
    // missingFileCount() or undecodableCount()).
    static Ref<UIImage> imageWithContentsOfFile(std::string_view devicePath);
    // PNG or JPEG bytes. Nothing for anything else (counted in undecodableCount()).
    static Ref<UIImage> imageWithData(const Data& data, CGFloat scale = 1.0);
    // A system symbol of the device ("gear"), drawn from the icon font at 24 points, 3 pixels per point, template
    // by default. Nothing for a name the symbol table does not hold.
    static Ref<UIImage> systemImageNamed(std::string_view name);
    // The image `name` in the bundle's folder, as the device's asset lookup finds it: a name without extension gets
    // ".png", and the screen's scale variant is preferred (imageWithContentsOfFile). The trait collection is not
    // consulted. Nothing for a null bundle, an empty name, a name that leaves the folder ("/" or "..") or no file.
    static Ref<UIImage> imageNamedInBundleCompatibleWithTraitCollection(std::string_view name,
                                                                       const Ref<NSBundle>& bundle, const id& traits);
    // UIKit's own artwork by file name ("_kitImageNamed:"). The stand-in draws the pieces the add-on uses:
    // "UITintedCircularButtonCheckmark.png", a 22-point disc with a check cut out of it, as a template image.
    // Nothing for any other name, the empty one included.
    static Ref<UIImage> kitImageNamed(std::string_view name);
    // An image of the given pixels. `source` is what dumps and tests see as its origin.
    static Ref<UIImage> imageWithBitmap(Bitmap bitmap, CGFloat scale = 1.0, std::string source = {});

    // An image with a copy of a CoreGraphics image's pixels (the CGImage is not kept); nothing for a null image.
    static Ref<UIImage> imageWithCGImage(CGImageRef image, CGFloat scale = 1.0);
    ~UIImage() override;

    // Size in points: pixels divided by scale.
    CGSize size() const;
    CGFloat scale() const { return m_scale; }
    UIImageRenderingMode renderingMode() const { return m_mode; }
    // True when a view tints the image: template mode, or automatic mode on a symbol image.
    bool isTemplate() const;
    bool isSymbolImage() const { return m_symbol; }
    // The device path of the file, "symbol:NAME" for a system symbol, "data" for bytes, "cgimage" for a copy of a
    // CoreGraphics image, "" for pixels made in
    // memory. Derived images keep their receiver's source.
    const std::string& source() const { return m_source; }
    const Bitmap& bitmap() const { return *m_bitmap; }
    // The pixels as a CoreGraphics image, owned by the receiver (made once; do not release it).
    CGImageRef CGImage() const;

    // The same pixels with another rendering mode.
    Ref<UIImage> imageWithRenderingMode(UIImageRenderingMode mode) const;
    // The receiver drawn into (0, 0, size), scaled to fill it without keeping its aspect ratio, as a new image of
    // that size at the receiver's scale, rendering mode original. Nothing for an empty size.
    Ref<UIImage> imageWithSize(CGSize size) const;

    std::string description() const override;

    // Failures the add-on does not see, counted for tests and the simulator.
    static std::size_t missingFileCount();
    static std::size_t undecodableCount();

private:
    Ref<UIImage> copyWith() const;
    std::shared_ptr<const Bitmap> m_bitmap = std::make_shared<Bitmap>();
    CGFloat m_scale = 1.0;
    UIImageRenderingMode m_mode = UIImageRenderingMode::Automatic;
    bool m_symbol = false;
    std::string m_source;
    mutable CGImageRef m_cgImage = nullptr;
};

// PNG bytes of the image; nothing for a null or empty image.
std::optional<UIImage::Data> UIImagePNGRepresentation(const Ref<UIImage>& image);
// JPEG bytes at `quality` 0..1; nothing for a null or empty image.
std::optional<UIImage::Data> UIImageJPEGRepresentation(const Ref<UIImage>& image, CGFloat quality);
