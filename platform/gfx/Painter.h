#pragma once

// The painter: everything the renderer and the views that draw themselves put on a canvas, backed by Cairo. The
// canvas is a Bitmap (premultiplied ARGB32) that the painter either owns or draws into; user-space units are
// points, and the canvas holds `scale` pixels per point. This header names no Cairo type beyond an opaque handle,
// so the add-on's code can draw through it.

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Geometry.h"
#include "platform/gfx/PaintColor.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

typedef struct _cairo cairo_t;
class TextLayout;

// Radii of the four corners of a rounded rectangle, in points. A radius of 0 leaves that corner square.
struct CornerRadii {
    CGFloat topLeft = 0, topRight = 0, bottomRight = 0, bottomLeft = 0;
    static CornerRadii uniform(CGFloat r) { return {r, r, r, r}; }
    bool isZero() const { return topLeft <= 0 && topRight <= 0 && bottomRight <= 0 && bottomLeft <= 0; }
    friend bool operator==(const CornerRadii&, const CornerRadii&) = default;
};

enum class CornerCurve { Circular, Continuous };

struct GradientStop {
    double location = 0;  // 0..1 along the gradient line
    PaintColor color;
};

class Painter {
public:
    // A painter with a canvas of its own, transparent, of pixelWidth × pixelHeight pixels.
    Painter(int pixelWidth, int pixelHeight, double scale = 1.0);
    // A painter that draws into `target`, which must outlive it. Its pixels are changed in place.
    explicit Painter(Bitmap& target, double scale = 1.0);
    ~Painter();
    Painter(const Painter&) = delete;
    Painter& operator=(const Painter&) = delete;

    // The canvas, with every drawing so far.
    const Bitmap& bitmap();
    // Moves the canvas out of a painter that owns it (a copy for one that draws into a caller's bitmap); the
    // painter must not draw afterwards.
    Bitmap takeBitmap();
    double scale() const { return m_scale; }
    cairo_t* cairo() const { return m_cr; }

    // ----- state -----
    void save();
    void restore();
    void translate(CGFloat dx, CGFloat dy);
    void scaleBy(CGFloat sx, CGFloat sy);
    void rotate(CGFloat radians);
    void concat(const CGAffineTransform& t);

    // ----- paths (the current path is consumed by fill, stroke and clip) -----
    void beginPath();
    void moveTo(CGPoint p);
    void lineTo(CGPoint p);
    void curveTo(CGPoint c1, CGPoint c2, CGPoint end);
    // An arc around `center` from angle `start` to `end` (radians, y downwards as UIKit draws).
    void arc(CGPoint center, CGFloat radius, CGFloat start, CGFloat end, bool clockwise = true);
    void closePath();
    void addRect(CGRect r);
    // A rounded rectangle; radii larger than half a side shrink to fit. Continuous corners start their bend further
    // out along each edge and ease into it, as the device's icon corners do; when there is no room for that the
    // corner falls back to a circular arc.
    void addRoundedRect(CGRect r, CornerRadii radii, CornerCurve curve = CornerCurve::Circular);
    void addEllipse(CGRect r);
    void fillPath(PaintColor color);
    void strokePath(PaintColor color, CGFloat lineWidth);
    void clipToPath();

    // ----- shapes -----
    void fillRect(CGRect r, PaintColor color);
    void fillRoundedRect(CGRect r, CornerRadii radii, CornerCurve curve, PaintColor color);
    // A border as a layer draws it: `width` wide, entirely inside `r`, following its corners.
    void strokeBorder(CGRect r, CornerRadii radii, CornerCurve curve, CGFloat width, PaintColor color);
    void fillEllipse(CGRect r, PaintColor color);
    void strokeEllipse(CGRect r, PaintColor color, CGFloat lineWidth);
    void clipToRect(CGRect r);
    void clipToRoundedRect(CGRect r, CornerRadii radii, CornerCurve curve);
    // Fills `r` with a linear gradient; `start` and `end` are unit points of `r` ((0,0) top left, (1,1) bottom
    // right), as a gradient layer takes them. Fewer than two stops fill with the one colour or nothing.
    void fillLinearGradient(CGRect r, const std::vector<GradientStop>& stops, CGPoint start, CGPoint end);

    // ----- materials -----
    // Blurs what has been painted so far on the canvas under `r` (a rounded rectangle in user space) and puts the
    // result back inside it: the backdrop of a blur material. `radius` is the blur's reach in points. The backdrop
    // is read from the canvas itself, so inside a transparency layer it is what lay beneath the layer when the layer
    // began. Nothing happens for an empty rectangle or a radius of 0.
    void drawBlurredBackdrop(CGRect r, CornerRadii radii, CornerCurve curve, CGFloat radius);

    // ----- images -----
    // Draws `image` scaled into `dest`. With a tint, only the image's alpha is used and filled with the tint
    // (template rendering).
    void drawBitmap(const Bitmap& image, CGRect dest, double alpha = 1.0,
                    std::optional<PaintColor> tint = std::nullopt);

    // ----- text -----
    void drawText(const TextLayout& layout, CGPoint origin, PaintColor color);

    // ----- groups -----
    // Drawing between begin and end is composed first, then put down at `alpha` (group opacity, as a layer's).
    void beginTransparencyLayer();
    void endTransparencyLayer(double alpha);
    // As endTransparencyLayer, but the group is put down only where `drawMask` paints (by its alpha).
    void endTransparencyLayerMasked(const std::function<void(Painter&)>& drawMask);

private:
    void init(std::uint32_t* data, int width, int height);
    std::unique_ptr<Bitmap> m_own;
    Bitmap* m_target = nullptr;
    double m_scale = 1.0;
    cairo_t* m_cr = nullptr;
    struct _cairo_surface* m_surface = nullptr;
};
