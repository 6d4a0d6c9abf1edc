#include "platform/harness/Renderer.h"

#include "platform/core/Clock.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/GraphicsContext.h"
#include "platform/gfx/ImageCodec.h"
#include "platform/gfx/PaintColorOf.h"
#include "platform/gfx/Painter.h"
#include "platform/gfx/SystemSymbols.h"
#include "platform/gfx/TextLayout.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIFont.h"
#include "platform/ui/CAGradientLayer.h"
#include "platform/ui/CALayer.h"
#include "platform/ui/CAShapeLayer.h"
#include "platform/ui/UIBezierPath.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UITraitCollection.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>

namespace platform::harness {
namespace {

long styleOf(const UIView& view) {
    auto traits = view.traitCollection();
    return traits ? traits->userInterfaceStyle() : 1;
}

CornerRadii radiiOf(const CALayer& layer) {
    const CGFloat r = layer.cornerRadius();
    if (r <= 0) return {};
    const unsigned long m = layer.maskedCorners();
    return {m & kCALayerMinXMinYCorner ? r : 0, m & kCALayerMaxXMinYCorner ? r : 0,
            m & kCALayerMaxXMaxYCorner ? r : 0, m & kCALayerMinXMaxYCorner ? r : 0};
}

CornerCurve curveOf(const CALayer& layer) {
    return layer.cornerCurve() == kCACornerCurveContinuous ? CornerCurve::Continuous : CornerCurve::Circular;
}

void addBezierPath(Painter& p, const UIBezierPath& path) {
    p.beginPath();
    for (const auto& e : path.elements()) {
        switch (e.kind) {
            case UIBezierPathElement::Kind::MoveTo: p.moveTo(e.points[0]); break;
            case UIBezierPathElement::Kind::LineTo: p.lineTo(e.points[0]); break;
            case UIBezierPathElement::Kind::CurveTo: p.curveTo(e.points[0], e.points[1], e.points[2]); break;
            case UIBezierPathElement::Kind::Close: p.closePath(); break;
        }
    }
}

void drawBorder(Painter& p, const CALayer& layer, CGRect bounds) {
    // An animation of the border width shows its value of this instant.
    const CGFloat width = layer.presentationValue("borderWidth").value_or(layer.borderWidth());
    if (width <= 0) return;
    // A layer without a border colour draws opaque black, the device's default.
    const PaintColor color = layer.borderColor() ? gfx::paintColor(layer.borderColor()) : PaintColor::black();
    p.strokeBorder(bounds, radiiOf(layer), curveOf(layer), width, color);
}

void drawLayerTree(Painter& p, const Ref<CALayer>& layer);

// A free-standing layer's own content in its bounds coordinates.
void drawLayerContent(Painter& p, CALayer& layer) {
    const CGRect b = layer.bounds();
    if (auto* gradient = dynamic_cast<CAGradientLayer*>(&layer)) {
        const auto& colors = gradient->colors();
        std::vector<GradientStop> stops;
        const auto& locations = gradient->locations();
        for (std::size_t i = 0; i < colors.size(); ++i) {
            double at = locations.size() == colors.size() ? locations[i]
                        : colors.size() > 1              ? static_cast<double>(i) / (colors.size() - 1)
                                                         : 0;
            stops.push_back({at, gfx::paintColor(colors[i])});
        }
        p.save();
        p.clipToRoundedRect(b, radiiOf(layer), curveOf(layer));
        p.fillLinearGradient(b, stops, gradient->startPoint(), gradient->endPoint());
        p.restore();
    } else if (auto* shape = dynamic_cast<CAShapeLayer*>(&layer)) {
        if (shape->path()) {
            const PaintColor fill = shape->fillColor() ? gfx::paintColor(shape->fillColor()) : PaintColor::black();
            addBezierPath(p, *shape->path());
            p.fillPath(fill);
            if (shape->strokeColor() && shape->lineWidth() > 0) {
                addBezierPath(p, *shape->path());
                p.strokePath(gfx::paintColor(shape->strokeColor()), shape->lineWidth());
            }
        }
    } else if (layer.backgroundColor()) {
        p.fillRoundedRect(b, radiiOf(layer), curveOf(layer), gfx::paintColor(layer.backgroundColor()));
    }
}

// Draws a mask layer's coverage (its frame in the masked layer's coordinates).
void drawMask(Painter& p, const Ref<CALayer>& mask) {
    p.save();
    const CGRect f = mask->frame();
    p.translate(f.minX() - mask->bounds().minX(), f.minY() - mask->bounds().minY());
    if (auto* shape = dynamic_cast<CAShapeLayer*>(mask.get())) {
        if (shape->path()) {
            addBezierPath(p, *shape->path());
            p.fillPath(PaintColor::black());
        }
    } else {
        // A plain mask layer keeps what its opaque background covers.
        if (mask->backgroundColor())
            p.fillRoundedRect(mask->bounds(), radiiOf(*mask), curveOf(*mask), gfx::paintColor(mask->backgroundColor()));
    }
    for (const auto& sub : mask->sublayers()) drawLayerTree(p, sub);
    p.restore();
}

void drawLayerTree(Painter& p, const Ref<CALayer>& layer) {
    if (!layer || layer->isHidden() || layer->opacity() <= 0 || layer->delegateView()) return;
    p.save();
    const CGRect f = layer->frame();
    p.translate(f.minX() - layer->bounds().minX(), f.minY() - layer->bounds().minY());
    const bool faded = layer->opacity() < 1;
    const bool masked = static_cast<bool>(layer->mask());
    if (masked) p.beginTransparencyLayer();
    if (faded) p.beginTransparencyLayer();
    drawLayerContent(p, *layer);
    if (!layer->sublayers().empty()) {
        p.save();
        if (layer->masksToBounds()) p.clipToRoundedRect(layer->bounds(), radiiOf(*layer), curveOf(*layer));
        for (const auto& sub : layer->sublayers()) drawLayerTree(p, sub);
        p.restore();
    }
    drawBorder(p, *layer, layer->bounds());
    if (faded) p.endTransparencyLayer(layer->opacity());
    if (masked) {
        auto mask = layer->mask();
        p.endTransparencyLayerMasked([&](Painter& m) { drawMask(m, mask); });
    }
    p.restore();
}

}  // namespace

void drawViewTree(Painter& p, const Ref<UIView>& view) {
    // What is on screen at this instant: animations in flight move alpha, position, size and transform.
    if (!view || view->isHidden()) return;
    const CGFloat alpha = view->presentationAlpha();
    if (alpha <= 0) return;
    const CALayer& layer = *view->layer();
    const CGRect shown = view->presentationFrame();
    const CGRect b{view->bounds().origin, shown.size};
    const CGAffineTransform transform = view->presentationTransform();
    const long style = styleOf(*view);

    p.save();
    // Own coordinates → superview's: around the bounds' centre, through the transform, onto the centre.
    p.translate(shown.midX(), shown.midY());
    if (!transform.isIdentity()) p.concat(transform);
    p.translate(-b.minX() - b.width() / 2, -b.minY() - b.height() / 2);

    const bool faded = alpha < 1;
    const bool masked = static_cast<bool>(layer.mask());
    if (masked) p.beginTransparencyLayer();
    if (faded) p.beginTransparencyLayer();

    const CornerRadii radii = radiiOf(layer);
    const CornerCurve curve = curveOf(layer);
    if (const CGFloat blur = view->backdropBlurRadius(); blur > 0) p.drawBlurredBackdrop(b, radii, curve, blur);
    if (view->backgroundColor()) p.fillRoundedRect(b, radii, curve, gfx::paintColor(view->backgroundColor(), static_cast<int>(style)));

    const bool clips = view->clipsToBounds() || layer.masksToBounds();
    p.save();
    if (clips) p.clipToRoundedRect(b, radii, curve);
    if (view->drawsContent()) {
        p.save();
        UITraitCollection::CurrentScope traits(view->traitCollection());
        gfx::CurrentContextScope context(&p);
        platform::msgSend<void>(view.get(), sel("drawRect:"), b);
        p.restore();
    }
    for (const auto& sub : layer.sublayers()) drawLayerTree(p, sub);
    for (const auto& sub : view->subviewsInDrawingOrder()) drawViewTree(p, sub);
    p.restore();
    drawBorder(p, layer, b);

    if (faded) p.endTransparencyLayer(alpha);
    if (masked) {
        auto mask = layer.mask();
        p.endTransparencyLayerMasked([&](Painter& m) { drawMask(m, mask); });
    }
    p.restore();
}

std::string statusBarTime() {
    const long long seconds = static_cast<long long>(std::floor(Clock::now()));
    const long long inDay = ((seconds % 86400) + 86400) % 86400;
    int hour = static_cast<int>(inDay / 3600) % 12;
    if (hour == 0) hour = 12;
    const int minute = static_cast<int>((inDay / 60) % 60);
    char buf[8];
    std::snprintf(buf, sizeof buf, "%d:%02d", hour, minute);
    return buf;
}

namespace {
std::optional<std::string> g_statusBarNotice;
}  // namespace

void setStatusBarNotice(std::optional<std::string> notice) { g_statusBarNotice = std::move(notice); }
std::optional<std::string> statusBarNotice() { return g_statusBarNotice; }

namespace {

const Bitmap* cachedIcon(std::string_view name, double points, double scale) {
    static std::map<std::tuple<std::string, double, double>, std::optional<Bitmap>> cache;
    auto key = std::make_tuple(std::string(name), points, scale);
    auto it = cache.find(key);
    if (it == cache.end()) it = cache.emplace(key, gfx::renderIcon(name, points, scale)).first;
    return it->second ? &*it->second : nullptr;
}

void drawSignalBars(Painter& p, CGPoint origin, PaintColor color) {
    // Four bars rising to the right, bottoms aligned, as the phone's cellular indicator.
    const CGFloat heights[4] = {4, 6.5, 9, 11.5};
    for (int i = 0; i < 4; ++i) {
        const CGRect bar{{origin.x + i * 4.5, origin.y + 11.5 - heights[i]}, {3, heights[i]}};
        p.fillRoundedRect(bar, CornerRadii::uniform(1), CornerCurve::Circular, color);
    }
}

void drawBattery(Painter& p, CGPoint origin, PaintColor color) {
    const CGRect body{origin, {24.5, 11.5}};
    p.strokeBorder(body, CornerRadii::uniform(3.5), CornerCurve::Continuous, 1, color.withAlpha(color.a * 0.4));
    p.fillRoundedRect(body.insetBy(2, 2), CornerRadii::uniform(1.8), CornerCurve::Continuous, color);
    p.fillRoundedRect({{body.maxX() + 1, origin.y + 3.75}, {1.5, 4}}, CornerRadii{0, 1, 1, 0}, CornerCurve::Circular,
                      color.withAlpha(color.a * 0.4));
}

}  // namespace

void drawDeviceChrome(Painter& p, CGSize size, long style) {
    const auto& profile = UIScreen::mainScreen()->profile();
    const PaintColor ink = style == 2 ? PaintColor::white() : PaintColor::black();
    const bool notched = profile.homeIndicatorHeight > 0;
    const CGFloat barHeight = profile.statusBarHeight > 0 ? profile.statusBarHeight : 20;

    const auto font = UIFont::systemFontOfSizeWeight(notched ? 15 : 12, UIFontWeightSemibold);
    TextLayout time(g_statusBarNotice.value_or(statusBarTime()), *font);
    const CGFloat iconRow = notched ? std::round(barHeight / 2 - 2) : std::round(barHeight / 2);
    const CGFloat timeY = iconRow - time.size().height / 2;
    if (notched) {
        // The time sits centred in the left ear beside the sensor housing.
        const CGFloat earWidth = std::max<CGFloat>(0, (size.width - 210) / 2);
        p.drawText(time, {std::round(earWidth / 2 - time.size().width / 2 + 6), timeY}, ink);
    } else {
        p.drawText(time, {std::round(size.width / 2 - time.size().width / 2), timeY}, ink);
    }
    CGFloat right = size.width - (notched ? 26 : 6);
    drawBattery(p, {right - 27, iconRow - 5.75}, ink);
    right -= 27 + 5;
    const double scale = p.scale();
    if (const Bitmap* wifi = cachedIcon("wifi", 17, scale)) {
        p.drawBitmap(*wifi, {{right - 17, iconRow - 9}, {17, 17}}, 1.0, ink);
        right -= 17 + 4;
    }
    if (notched) drawSignalBars(p, {right - 17, iconRow - 5.75}, ink);
    else drawSignalBars(p, {6, iconRow - 5.75}, ink);

    if (notched) {
        const CGRect indicator{{size.width / 2 - 67, size.height - 8 - 5}, {134, 5}};
        p.fillRoundedRect(indicator, CornerRadii::uniform(2.5), CornerCurve::Circular, ink);
    }
}

void renderViewInto(const Ref<UIView>& root, Bitmap& canvas, const RenderOptions& options) {
    if (!root) {
        canvas = Bitmap();
        return;
    }
    root->layoutIfNeeded();
    const double scale = options.scale > 0 ? options.scale : UIScreen::mainScreen()->scale();
    const CGSize size = root->bounds().size;
    const int w = static_cast<int>(std::lround(size.width * scale)), h = static_cast<int>(std::lround(size.height * scale));
    if (w <= 0 || h <= 0) {
        canvas = Bitmap();
        return;
    }
    if (canvas.width != w || canvas.height != h) canvas = Bitmap(w, h);
    else std::fill(canvas.pixels.begin(), canvas.pixels.end(), 0u);
    Painter painter(canvas, scale);
    // The root draws at the canvas origin whatever its own frame.
    painter.translate(-root->frame().minX(), -root->frame().minY());
    drawViewTree(painter, root);
    painter.translate(root->frame().minX(), root->frame().minY());
    if (options.deviceChrome && root->isWindow()) drawDeviceChrome(painter, size, styleOf(*root));
    painter.bitmap();
}

Bitmap renderView(const Ref<UIView>& root, const RenderOptions& options) {
    Bitmap canvas;
    renderViewInto(root, canvas, options);
    return canvas;
}

std::optional<std::vector<std::uint8_t>> renderViewPNG(const Ref<UIView>& root, const RenderOptions& options) {
    Bitmap b = renderView(root, options);
    if (b.isEmpty()) return std::nullopt;
    return gfx::encodePNG(b);
}

bool writeViewPNG(const Ref<UIView>& root, const std::filesystem::path& file, const RenderOptions& options) {
    auto png = renderViewPNG(root, options);
    if (!png) return false;
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(png->data()), static_cast<std::streamsize>(png->size()));
    return static_cast<bool>(out);
}

}  // namespace platform::harness
