#include "platform/gfx/TextLayout.h"

#include "platform/gfx/FontSystem.h"
#include "platform/gfx/Painter.h"
#include "platform/gfx/UIFont.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

struct TextLayout::Impl {
    PangoLayout* layout = nullptr;
    int shownLines = 0;
    ~Impl() {
        if (layout) g_object_unref(layout);
    }
};

namespace {

PangoFontDescription* describe(const UIFont& font) {
    PangoFontDescription* desc = pango_font_description_new();
    pango_font_description_set_family(desc, font.drawnFamily().c_str());
    pango_font_description_set_weight(desc, static_cast<PangoWeight>(font.pangoWeight()));
    pango_font_description_set_absolute_size(desc, std::max(font.pointSize(), 0.0) * PANGO_SCALE);
    return desc;
}

PangoAlignment pangoAlignment(TextAlignment a) {
    switch (a) {
        case TextAlignment::Center: return PANGO_ALIGN_CENTER;
        case TextAlignment::Right: return PANGO_ALIGN_RIGHT;
        default: return PANGO_ALIGN_LEFT;
    }
}

bool anyLineEllipsized(PangoLayout* layout) { return pango_layout_is_ellipsized(layout); }

}  // namespace

TextLayout::TextLayout(std::string_view text, const UIFont& font, CGFloat maxWidth, long numberOfLines,
                       TextAlignment alignment)
    : m_impl(std::make_unique<Impl>()) {
    PangoLayout* layout = pango_layout_new(platform::gfx::sharedTextContext());
    m_impl->layout = layout;
    PangoFontDescription* desc = describe(font);
    pango_layout_set_font_description(layout, desc);
    pango_font_description_free(desc);
    pango_layout_set_alignment(layout, pangoAlignment(alignment));
    if (alignment == TextAlignment::Justified) pango_layout_set_justify(layout, TRUE);
    const bool bounded = maxWidth > 0;
    if (bounded) {
        pango_layout_set_width(layout, static_cast<int>(maxWidth * PANGO_SCALE));
        pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    }
    std::string shown(text);
    pango_layout_set_text(layout, shown.data(), static_cast<int>(shown.size()));

    if (numberOfLines > 0) {
        // Pango limits lines per paragraph; the device limits them for the whole label. Cut the text after the
        // limit's last line and let Pango shorten that line with "…".
        if (bounded) {
            pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
            pango_layout_set_height(layout, -static_cast<int>(numberOfLines));
        }
        if (pango_layout_get_line_count(layout) > numberOfLines) {
            PangoLayoutLine* last = pango_layout_get_line_readonly(layout, static_cast<int>(numberOfLines - 1));
            std::size_t cut = static_cast<std::size_t>(last->start_index + last->length);
            std::string kept = shown.substr(0, cut);
            while (!kept.empty() && (kept.back() == '\n' || kept.back() == ' ')) kept.pop_back();
            kept += "\u2026";
            shown = kept;
            pango_layout_set_text(layout, shown.data(), static_cast<int>(shown.size()));
            m_truncated = true;
        }
    }
    if (anyLineEllipsized(layout)) m_truncated = true;

    const int total = pango_layout_get_line_count(layout);
    m_impl->shownLines = shown.empty() ? 0 : (numberOfLines > 0 ? std::min<int>(total, numberOfLines) : total);
    m_lineCount = m_impl->shownLines;

    if (m_impl->shownLines > 0) {
        PangoLayoutIter* iter = pango_layout_get_iter(layout);
        int width = 0, bottom = 0, line = 0;
        m_baseline = static_cast<CGFloat>(pango_layout_iter_get_baseline(iter)) / PANGO_SCALE;
        do {
            PangoRectangle logical;
            pango_layout_iter_get_line_extents(iter, nullptr, &logical);
            width = std::max(width, logical.width);
            bottom = logical.y + logical.height;
            ++line;
        } while (line < m_impl->shownLines && pango_layout_iter_next_line(iter));
        pango_layout_iter_free(iter);
        m_size = {std::ceil(static_cast<CGFloat>(width) / PANGO_SCALE),
                  std::ceil(static_cast<CGFloat>(bottom) / PANGO_SCALE)};
        if (bounded) m_size.width = std::min(m_size.width, std::ceil(maxWidth));
    }
}

TextLayout::~TextLayout() = default;

void TextLayout::draw(Painter& painter, CGPoint origin, PaintColor color) const {
    if (m_impl->shownLines == 0 || color.isClear()) return;
    cairo_t* cr = painter.cairo();
    cairo_save(cr);
    cairo_set_source_rgba(cr, color.r, color.g, color.b, color.a);
    PangoLayoutIter* iter = pango_layout_get_iter(m_impl->layout);
    int line = 0;
    do {
        PangoLayoutLine* l = pango_layout_iter_get_line_readonly(iter);
        PangoRectangle logical;
        pango_layout_iter_get_line_extents(iter, nullptr, &logical);
        const double x = origin.x + static_cast<double>(logical.x) / PANGO_SCALE;
        const double y = origin.y + static_cast<double>(pango_layout_iter_get_baseline(iter)) / PANGO_SCALE;
        cairo_move_to(cr, x, y);
        pango_cairo_show_layout_line(cr, l);
        ++line;
    } while (line < m_impl->shownLines && pango_layout_iter_next_line(iter));
    pango_layout_iter_free(iter);
    cairo_restore(cr);
}
