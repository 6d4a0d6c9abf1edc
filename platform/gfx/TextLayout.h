#pragma once

// A block of text laid out with Pango in the project's fonts: measured for intrinsic sizes and drawn by labels,
// buttons and the status bar. Lines break at "\n" and, when a width is given, at word boundaries; with a line limit
// the last shown line is cut at its tail with "…".

#include "platform/gfx/Geometry.h"
#include "platform/gfx/PaintColor.h"

#include <memory>
#include <string>
#include <string_view>

class Painter;
class UIFont;

// NSTextAlignment values as the device numbers them.
enum class TextAlignment : long { Left = 0, Center = 1, Right = 2, Justified = 3, Natural = 4 };

class TextLayout {
public:
    // `maxWidth` <= 0: no width limit (lines end only at "\n"). `numberOfLines` 0: no limit.
    TextLayout(std::string_view text, const UIFont& font, CGFloat maxWidth = 0, long numberOfLines = 0,
               TextAlignment alignment = TextAlignment::Left);
    ~TextLayout();
    TextLayout(const TextLayout&) = delete;
    TextLayout& operator=(const TextLayout&) = delete;

    // The size the shown lines take, rounded up to whole points as the device's labels measure. (0, 0) for
    // empty text.
    CGSize size() const { return m_size; }
    // The lines shown (at most the limit).
    long lineCount() const { return m_lineCount; }
    // True when text was cut: more lines than the limit, or a line shortened with "…".
    bool isTruncated() const { return m_truncated; }
    // The first line's baseline, from the top, in points.
    CGFloat firstBaseline() const { return m_baseline; }

    // Draws the shown lines with their top-left corner at `origin`. When the layout has a width, alignment is
    // within that width.
    void draw(Painter& painter, CGPoint origin, PaintColor color) const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
    CGSize m_size;
    long m_lineCount = 0;
    bool m_truncated = false;
    CGFloat m_baseline = 0;
};
