#include "platform/gfx/Painter.h"

#include "platform/gfx/TextLayout.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <stdexcept>

namespace {

// Where a continuous corner starts its bend, as a multiple of the radius along each edge, and where the two
// control points of its one cubic segment sit. The control distance makes the curve pass through the same
// 45-degree point as a circular arc of that radius, so a continuous corner covers about as much as a circular one
// while it leaves the edges with a gentle, not an abrupt, change of curvature.
constexpr double kContinuousReach = 1.528;
constexpr double kContinuousControl = 0.2717;
// The cubic control distance that approximates a quarter circle.
constexpr double kCircleControl = 0.5523;

void setColor(cairo_t* cr, PaintColor c) { cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a); }

}  // namespace

Painter::Painter(int pixelWidth, int pixelHeight, double scale)
    : m_own(std::make_unique<Bitmap>(pixelWidth, pixelHeight)), m_target(m_own.get()), m_scale(scale) {
    init(m_own->pixels.data(), m_own->width, m_own->height);
}

Painter::Painter(Bitmap& target, double scale) : m_target(&target), m_scale(scale) {
    init(target.pixels.data(), target.width, target.height);
}

void Painter::init(std::uint32_t* data, int width, int height) {
    // Cairo's ARGB32 stride for any width is width * 4, which is the Bitmap's packing.
    static_assert(sizeof(std::uint32_t) == 4);
    static std::uint32_t dummy = 0;
    if (width == 0 || height == 0) {
        data = &dummy;
        width = height = 1;
    }
    m_surface = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(data), CAIRO_FORMAT_ARGB32,
                                                    width, height, width * 4);
    m_cr = cairo_create(m_surface);
    if (cairo_status(m_cr) != CAIRO_STATUS_SUCCESS) throw std::runtime_error("cannot create a Cairo context");
    cairo_scale(m_cr, m_scale, m_scale);
}

Painter::~Painter() {
    cairo_destroy(m_cr);
    cairo_surface_destroy(m_surface);
}

const Bitmap& Painter::bitmap() {
    cairo_surface_flush(m_surface);
    return *m_target;
}

Bitmap Painter::takeBitmap() {
    cairo_surface_flush(m_surface);
    if (m_own) return std::move(*m_own);
    return *m_target;
}

void Painter::save() { cairo_save(m_cr); }
void Painter::restore() { cairo_restore(m_cr); }
void Painter::translate(CGFloat dx, CGFloat dy) { cairo_translate(m_cr, dx, dy); }
void Painter::scaleBy(CGFloat sx, CGFloat sy) { cairo_scale(m_cr, sx, sy); }
void Painter::rotate(CGFloat radians) { cairo_rotate(m_cr, radians); }

void Painter::concat(const CGAffineTransform& t) {
    cairo_matrix_t m;
    cairo_matrix_init(&m, t.a, t.b, t.c, t.d, t.tx, t.ty);
    cairo_transform(m_cr, &m);
}

void Painter::beginPath() { cairo_new_path(m_cr); }
void Painter::moveTo(CGPoint p) { cairo_move_to(m_cr, p.x, p.y); }
void Painter::lineTo(CGPoint p) { cairo_line_to(m_cr, p.x, p.y); }
void Painter::curveTo(CGPoint c1, CGPoint c2, CGPoint e) { cairo_curve_to(m_cr, c1.x, c1.y, c2.x, c2.y, e.x, e.y); }
void Painter::closePath() { cairo_close_path(m_cr); }

void Painter::arc(CGPoint center, CGFloat radius, CGFloat start, CGFloat end, bool clockwise) {
    // With y pointing down, UIKit's "clockwise" is Cairo's positive direction.
    if (clockwise) cairo_arc(m_cr, center.x, center.y, radius, start, end);
    else cairo_arc_negative(m_cr, center.x, center.y, radius, start, end);
}

void Painter::addRect(CGRect r) { cairo_rectangle(m_cr, r.minX(), r.minY(), r.width(), r.height()); }

void Painter::addRoundedRect(CGRect r, CornerRadii radii, CornerCurve curve) {
    if (r.isEmpty()) return;
    if (radii.isZero()) {
        addRect(r);
        return;
    }
    const double half = std::min(r.width(), r.height()) / 2;
    auto clamp = [&](double v) { return std::clamp(v, 0.0, half); };
    const double rad[4] = {clamp(radii.topLeft), clamp(radii.topRight), clamp(radii.bottomRight),
                           clamp(radii.bottomLeft)};
    // Corners in clockwise order from the top left, each with the unit directions of its incoming and outgoing
    // edges, so one routine draws all four.
    const CGPoint corners[4] = {{r.minX(), r.minY()}, {r.maxX(), r.minY()}, {r.maxX(), r.maxY()}, {r.minX(), r.maxY()}};
    const CGPoint outDir[4] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};  // along the edge leaving the corner
    const CGPoint inDir[4] = {{0, -1}, {1, 0}, {0, 1}, {-1, 0}};   // along the edge arriving at the corner

    cairo_new_sub_path(m_cr);
    for (int i = 0; i < 4; ++i) {
        const CGPoint c = corners[i];
        const double radius = rad[i];
        const CGPoint in{-inDir[i].x, -inDir[i].y};  // from the corner back along the arriving edge
        const CGPoint out = outDir[i];
        if (radius <= 0) {
            if (i == 0) cairo_move_to(m_cr, c.x, c.y);
            else cairo_line_to(m_cr, c.x, c.y);
            continue;
        }
        const bool continuous = curve == CornerCurve::Continuous && radius * kContinuousReach <= half;
        const double reach = continuous ? radius * kContinuousReach : radius;
        const double ctrl = continuous ? radius * kContinuousControl : radius * (1 - kCircleControl);
        const CGPoint start{c.x + in.x * reach, c.y + in.y * reach};
        const CGPoint c1{c.x + in.x * ctrl, c.y + in.y * ctrl};
        const CGPoint c2{c.x + out.x * ctrl, c.y + out.y * ctrl};
        const CGPoint end{c.x + out.x * reach, c.y + out.y * reach};
        if (i == 0) cairo_move_to(m_cr, start.x, start.y);
        else cairo_line_to(m_cr, start.x, start.y);
        cairo_curve_to(m_cr, c1.x, c1.y, c2.x, c2.y, end.x, end.y);
    }
    cairo_close_path(m_cr);
}

void Painter::addEllipse(CGRect r) {
    if (r.isEmpty()) return;
    cairo_save(m_cr);
    cairo_translate(m_cr, r.midX(), r.midY());
    cairo_scale(m_cr, r.width() / 2, r.height() / 2);
    cairo_new_sub_path(m_cr);
    cairo_arc(m_cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_close_path(m_cr);
    cairo_restore(m_cr);
}

void Painter::fillPath(PaintColor color) {
    setColor(m_cr, color);
    cairo_fill(m_cr);
}

void Painter::strokePath(PaintColor color, CGFloat lineWidth) {
    setColor(m_cr, color);
    cairo_set_line_width(m_cr, lineWidth);
    cairo_stroke(m_cr);
}

void Painter::clipToPath() { cairo_clip(m_cr); }

void Painter::fillRect(CGRect r, PaintColor color) {
    if (color.isClear() || r.isEmpty()) return;
    cairo_new_path(m_cr);
    addRect(r);
    fillPath(color);
}

void Painter::fillRoundedRect(CGRect r, CornerRadii radii, CornerCurve curve, PaintColor color) {
    if (color.isClear() || r.isEmpty()) return;
    cairo_new_path(m_cr);
    addRoundedRect(r, radii, curve);
    fillPath(color);
}

void Painter::strokeBorder(CGRect r, CornerRadii radii, CornerCurve curve, CGFloat width, PaintColor color) {
    if (width <= 0 || color.isClear() || r.isEmpty()) return;
    // The ring between the outline and the outline inset by the width, filled even-odd: exact inside the bounds
    // and with inner corners that follow the outer ones.
    const double w = std::min<double>(width, std::min(r.width(), r.height()) / 2);
    CornerRadii inner{std::max(0.0, radii.topLeft - w), std::max(0.0, radii.topRight - w),
                      std::max(0.0, radii.bottomRight - w), std::max(0.0, radii.bottomLeft - w)};
    cairo_new_path(m_cr);
    addRoundedRect(r, radii, curve);
    const CGRect in = r.insetBy(w, w);
    if (!in.isEmpty()) addRoundedRect(in, inner, curve);
    cairo_save(m_cr);
    cairo_set_fill_rule(m_cr, CAIRO_FILL_RULE_EVEN_ODD);
    fillPath(color);
    cairo_restore(m_cr);
}

void Painter::fillEllipse(CGRect r, PaintColor color) {
    if (color.isClear()) return;
    cairo_new_path(m_cr);
    addEllipse(r);
    fillPath(color);
}

void Painter::strokeEllipse(CGRect r, PaintColor color, CGFloat lineWidth) {
    cairo_new_path(m_cr);
    addEllipse(r);
    strokePath(color, lineWidth);
}

void Painter::clipToRect(CGRect r) {
    cairo_new_path(m_cr);
    addRect(r);
    cairo_clip(m_cr);
}

void Painter::clipToRoundedRect(CGRect r, CornerRadii radii, CornerCurve curve) {
    cairo_new_path(m_cr);
    if (r.isEmpty()) cairo_rectangle(m_cr, 0, 0, 0, 0);
    else addRoundedRect(r, radii, curve);
    cairo_clip(m_cr);
}

void Painter::fillLinearGradient(CGRect r, const std::vector<GradientStop>& stops, CGPoint start, CGPoint end) {
    if (stops.empty() || r.isEmpty()) return;
    if (stops.size() == 1) {
        fillRect(r, stops.front().color);
        return;
    }
    cairo_pattern_t* pattern =
        cairo_pattern_create_linear(r.minX() + start.x * r.width(), r.minY() + start.y * r.height(),
                                    r.minX() + end.x * r.width(), r.minY() + end.y * r.height());
    for (const auto& s : stops)
        cairo_pattern_add_color_stop_rgba(pattern, std::clamp(s.location, 0.0, 1.0), s.color.r, s.color.g, s.color.b,
                                          s.color.a);
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    cairo_new_path(m_cr);
    addRect(r);
    cairo_set_source(m_cr, pattern);
    cairo_fill(m_cr);
    cairo_pattern_destroy(pattern);
}

void Painter::drawBitmap(const Bitmap& image, CGRect dest, double alpha, std::optional<PaintColor> tint) {
    if (image.isEmpty() || dest.isEmpty() || alpha <= 0) return;
    cairo_surface_t* src = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(const_cast<std::uint32_t*>(image.pixels.data())), CAIRO_FORMAT_ARGB32,
        image.width, image.height, image.bytesPerRow());
    cairo_save(m_cr);
    cairo_new_path(m_cr);
    cairo_rectangle(m_cr, dest.minX(), dest.minY(), dest.width(), dest.height());
    cairo_clip(m_cr);
    cairo_translate(m_cr, dest.minX(), dest.minY());
    cairo_scale(m_cr, dest.width() / image.width, dest.height() / image.height);
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(src);
    cairo_pattern_set_filter(pattern, CAIRO_FILTER_GOOD);
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    if (tint) {
        cairo_set_source_rgba(m_cr, tint->r, tint->g, tint->b, tint->a * alpha);
        cairo_mask(m_cr, pattern);
    } else {
        cairo_set_source(m_cr, pattern);
        if (alpha >= 1) cairo_paint(m_cr);
        else cairo_paint_with_alpha(m_cr, alpha);
    }
    cairo_pattern_destroy(pattern);
    cairo_restore(m_cr);
    cairo_surface_destroy(src);
}

void Painter::drawText(const TextLayout& layout, CGPoint origin, PaintColor color) {
    layout.draw(*this, origin, color);
}

namespace {

// One horizontal or vertical pass of a running-sum box blur over premultiplied ARGB32 pixels, edges clamped.
void boxBlurPass(std::vector<std::uint32_t>& pixels, int width, int height, int radius, bool horizontal) {
    const int length = horizontal ? width : height, lines = horizontal ? height : width;
    const int window = 2 * radius + 1;
    std::vector<std::uint32_t> line(static_cast<std::size_t>(length));
    for (int l = 0; l < lines; ++l) {
        auto at = [&](int i) -> std::uint32_t& {
            const int x = horizontal ? i : l, y = horizontal ? l : i;
            return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
        };
        for (int i = 0; i < length; ++i) line[static_cast<std::size_t>(i)] = at(i);
        auto sample = [&](int i) { return line[static_cast<std::size_t>(std::clamp(i, 0, length - 1))]; };
        std::uint32_t sum[4] = {0, 0, 0, 0};
        for (int i = -radius; i <= radius; ++i)
            for (int c = 0; c < 4; ++c) sum[c] += (sample(i) >> (8 * c)) & 0xFF;
        for (int i = 0; i < length; ++i) {
            std::uint32_t out = 0;
            for (int c = 0; c < 4; ++c) out |= ((sum[c] + window / 2) / window) << (8 * c);
            at(i) = out;
            const std::uint32_t leaving = sample(i - radius), entering = sample(i + radius + 1);
            for (int c = 0; c < 4; ++c) sum[c] = sum[c] + ((entering >> (8 * c)) & 0xFF) - ((leaving >> (8 * c)) & 0xFF);
        }
    }
}

}  // namespace

void Painter::drawBlurredBackdrop(CGRect r, CornerRadii radii, CornerCurve curve, CGFloat radius) {
    if (r.isEmpty() || radius <= 0) return;
    cairo_surface_t* canvas = cairo_get_target(m_cr);
    if (cairo_surface_get_type(canvas) != CAIRO_SURFACE_TYPE_IMAGE) return;
    cairo_surface_flush(canvas);

    // The rectangle's extent in canvas pixels (the views' transforms are translations and scales here).
    double x0 = r.minX(), y0 = r.minY(), x1 = r.maxX(), y1 = r.maxY();
    cairo_user_to_device(m_cr, &x0, &y0);
    cairo_user_to_device(m_cr, &x1, &y1);
    const int canvasW = cairo_image_surface_get_width(canvas), canvasH = cairo_image_surface_get_height(canvas);
    const int left = std::clamp(static_cast<int>(std::floor(std::min(x0, x1))), 0, canvasW);
    const int top = std::clamp(static_cast<int>(std::floor(std::min(y0, y1))), 0, canvasH);
    const int right = std::clamp(static_cast<int>(std::ceil(std::max(x0, x1))), 0, canvasW);
    const int bottom = std::clamp(static_cast<int>(std::ceil(std::max(y0, y1))), 0, canvasH);
    if (right <= left || bottom <= top) return;

    // Blurring a quarter-size copy looks the same at these radii and costs a sixteenth.
    constexpr int kReduction = 4;
    const int w = (right - left + kReduction - 1) / kReduction, h = (bottom - top + kReduction - 1) / kReduction;
    const unsigned char* data = cairo_image_surface_get_data(canvas);
    const int stride = cairo_image_surface_get_stride(canvas);
    std::vector<std::uint32_t> small(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint32_t sum[4] = {0, 0, 0, 0}, count = 0;
            for (int dy = 0; dy < kReduction; ++dy) {
                const int py = top + y * kReduction + dy;
                if (py >= bottom) break;
                const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(py) * stride);
                for (int dx = 0; dx < kReduction; ++dx) {
                    const int px = left + x * kReduction + dx;
                    if (px >= right) break;
                    for (int c = 0; c < 4; ++c) sum[c] += (row[px] >> (8 * c)) & 0xFF;
                    ++count;
                }
            }
            std::uint32_t out = 0;
            for (int c = 0; c < 4; ++c) out |= ((sum[c] + count / 2) / count) << (8 * c);
            small[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x)] = out;
        }
    // Three box passes each way come close to a Gaussian of the same reach.
    const int boxRadius = std::max(1, static_cast<int>(std::lround(radius * m_scale / kReduction / 2.0)));
    for (int pass = 0; pass < 3; ++pass) {
        boxBlurPass(small, w, h, boxRadius, true);
        boxBlurPass(small, w, h, boxRadius, false);
    }

    cairo_surface_t* blurred = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(small.data()), CAIRO_FORMAT_ARGB32, w, h, w * 4);
    cairo_save(m_cr);
    cairo_new_path(m_cr);
    addRoundedRect(r, radii, curve);
    cairo_clip(m_cr);
    cairo_identity_matrix(m_cr);
    cairo_translate(m_cr, left, top);
    cairo_scale(m_cr, kReduction, kReduction);
    cairo_set_source_surface(m_cr, blurred, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(m_cr), CAIRO_FILTER_BILINEAR);
    cairo_pattern_set_extend(cairo_get_source(m_cr), CAIRO_EXTEND_PAD);
    cairo_set_operator(m_cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(m_cr);
    cairo_restore(m_cr);
    cairo_surface_destroy(blurred);
}

void Painter::beginTransparencyLayer() { cairo_push_group(m_cr); }

void Painter::endTransparencyLayer(double alpha) {
    cairo_pop_group_to_source(m_cr);
    if (alpha >= 1) cairo_paint(m_cr);
    else if (alpha > 0) cairo_paint_with_alpha(m_cr, alpha);
    cairo_set_source_rgb(m_cr, 0, 0, 0);
}

void Painter::endTransparencyLayerMasked(const std::function<void(Painter&)>& drawMask) {
    cairo_pattern_t* content = cairo_pop_group(m_cr);
    cairo_push_group(m_cr);
    drawMask(*this);
    cairo_pattern_t* mask = cairo_pop_group(m_cr);
    cairo_set_source(m_cr, content);
    cairo_mask(m_cr, mask);
    cairo_pattern_destroy(mask);
    cairo_pattern_destroy(content);
    cairo_set_source_rgb(m_cr, 0, 0, 0);
}
