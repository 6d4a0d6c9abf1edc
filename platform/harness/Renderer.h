#pragma once

// The renderer: draws a view tree (normally a window) into a Bitmap or a PNG with Cairo, at the screen's scale, as
// the phone shows it. It runs the layout pass first.
//
// Per view, back to front: the background (inside the layer's rounded, possibly masked corners), the view's own
// drawing (drawRect:, sent by name with the view's bounds while UIGraphicsGetCurrentContext() answers the
// painter and the view's trait collection is current), the layer's free-standing sublayers (gradients, shapes) in
// order, the subviews in drawing order (zPosition, then list order) — clipped to the rounded bounds when the view
// clips — and finally the border, above everything, inside the bounds. Alpha below 1 fades the whole group once;
// a mask layer keeps only what its path covers. Hidden views and views with alpha 0 are skipped with their subtree.
// Colours are resolved with the interface style of the view that shows them.
//
// A window also gets the device's status bar (the virtual clock's time as "9:41", signal bars, the Wi-Fi glyph and
// a battery) and, on profiles with a home indicator, the indicator bar; both in black on light and white on dark.

#include "platform/gfx/Bitmap.h"
#include "platform/ui/UIView.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

class Painter;

namespace platform::harness {

struct RenderOptions {
    // Pixels per point; 0 takes the main screen's scale.
    double scale = 0;
    // Status bar and home indicator, drawn only over windows.
    bool deviceChrome = true;
};

// The tree of `root` drawn at the size of its bounds.
Bitmap renderView(const Ref<UIView>& root, const RenderOptions& options = {});
// Draws into `canvas`, which is resized when its size differs and cleared to transparent otherwise, so that a
// caller drawing frame after frame keeps one buffer, as a display does.
void renderViewInto(const Ref<UIView>& root, Bitmap& canvas, const RenderOptions& options = {});
// The same, encoded as PNG; nothing when the root is null or has an empty size.
std::optional<std::vector<std::uint8_t>> renderViewPNG(const Ref<UIView>& root, const RenderOptions& options = {});
// Writes the PNG to a host file (the caller keeps it under the device root or its own temp folder); false when
// nothing could be rendered or written.
bool writeViewPNG(const Ref<UIView>& root, const std::filesystem::path& file, const RenderOptions& options = {});

// Draws `view` and its subtree with the painter's current transform as the coordinates of the view's superview.
void drawViewTree(Painter& painter, const Ref<UIView>& view);
// The status bar and home indicator over a canvas of `size` points, in the given interface style.
void drawDeviceChrome(Painter& painter, CGSize size, long style);

// The text the status bar shows for the virtual clock's "now": hours 1–12 without AM/PM, two-digit minutes
// ("9:41"), in UTC.
std::string statusBarTime();
// A text the home screen shows in the status bar in place of the time (its safe mode), or nothing for the time.
void setStatusBarNotice(std::optional<std::string> notice);
std::optional<std::string> statusBarNotice();

}  // namespace platform::harness
