#pragma once

// The screen as the browser gets it: the window rendered at the device's full scale, and of each new rendering only
// the rectangle that changed since the last one, as a PNG made for speed rather than size (the pipe is local).

#include "sim/serve/Channel.h"

#include "platform/core/Object.h"
#include "platform/gfx/Bitmap.h"

#include <optional>
#include <string>

class UIView;

namespace sim::serve {

// The smallest rectangle holding every pixel that differs between two bitmaps of the same size; nothing when they
// are equal. Bitmaps of different sizes differ everywhere: the whole of `after`.
std::optional<FrameRegion> changedRegion(const Bitmap& before, const Bitmap& after);

// A region of a bitmap as PNG (8-bit RGBA, straight alpha); the region must lie inside the bitmap.
std::string encodeRegionPNG(const Bitmap& bitmap, const FrameRegion& region);

class ScreenFrames {
public:
    // Renders `window` and answers the changed part as a frame payload (header and PNG); nothing when nothing
    // changed or there is no window. The first rendering, and the first after `reset`, is the whole screen.
    std::optional<std::string> nextFrame(const Ref<UIView>& window);
    // The whole screen of the last rendering as a frame payload, for a viewer that joins late; nothing before one.
    std::optional<std::string> wholeFrame() const;
    // The whole screen as PNG, rendered now; nothing when there is no window.
    std::optional<std::string> screenshot(const Ref<UIView>& window);
    // Forgets the last rendering, so the next frame is the whole screen.
    void reset() { m_shown = Bitmap(); }

private:
    Bitmap m_shown;
    Bitmap m_drawing;
};

}  // namespace sim::serve
