#include "platform/ui/UILabel.h"

#include "platform/core/Runtime.h"
#include "platform/gfx/GraphicsContext.h"
#include "platform/gfx/PaintColorOf.h"
#include "platform/gfx/Painter.h"
#include "platform/gfx/TextLayout.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIFont.h"

#include <cmath>
#include <sstream>

VT_REGISTER_CLASS(UILabel)

namespace {

TextAlignment toTextAlignment(long a) {
    switch (a) {
        case NSTextAlignmentCenter: return TextAlignment::Center;
        case NSTextAlignmentRight: return TextAlignment::Right;
        case NSTextAlignmentJustified: return TextAlignment::Justified;
        default: return TextAlignment::Left;  // natural is left for the left-to-right languages we show
    }
}

}  // namespace

void UILabel::initWithFrame(CGRect frame) {
    UIView::initWithFrame(frame);
    m_textColor = UIColor::labelColor();
    m_font = UIFont::systemFontOfSize(17);
    setOpaque(false);
    setUserInteractionEnabled(false);
}

void UILabel::setText(std::string_view text) {
    if (m_text == text) return;
    m_text = std::string(text);
    invalidateIntrinsicContentSize();
    setNeedsDisplay();
}

void UILabel::setTextColor(Ref<UIColor> color) {
    m_textColor = color ? std::move(color) : UIColor::labelColor();
    setNeedsDisplay();
}

void UILabel::setFont(Ref<UIFont> font) {
    m_font = font ? std::move(font) : UIFont::systemFontOfSize(17);
    invalidateIntrinsicContentSize();
    setNeedsDisplay();
}

void UILabel::setTextAlignment(long alignment) {
    m_alignment = alignment;
    setNeedsDisplay();
}

void UILabel::setNumberOfLines(long lines) {
    if (m_numberOfLines == lines) return;
    m_numberOfLines = lines < 0 ? 0 : lines;
    invalidateIntrinsicContentSize();
    setNeedsDisplay();
}

void UILabel::setPreferredMaxLayoutWidth(CGFloat width) {
    if (m_preferredMaxLayoutWidth == width) return;
    m_preferredMaxLayoutWidth = width;
    invalidateIntrinsicContentSize();
}

CGSize UILabel::measure(CGFloat width) const {
    if (m_text.empty() || !m_font) return {0, 0};
    TextLayout layout(m_text, *m_font, width, m_numberOfLines, toTextAlignment(m_alignment));
    return layout.size();
}

CGSize UILabel::intrinsicContentSize() {
    CGFloat width = m_preferredMaxLayoutWidth;
    if (width <= 0 && m_numberOfLines != 1) width = bounds().width();
    m_measuredWidth = bounds().width();
    return measure(width);
}

CGSize UILabel::sizeThatFits(CGSize size) { return measure(size.width); }

void UILabel::layoutSubviews() {
    UIView::layoutSubviews();
    // A multi-line label's height depends on the width the layout just gave it; ask for another pass when that
    // width changed since the own size was measured.
    if (m_numberOfLines != 1 && m_preferredMaxLayoutWidth <= 0 && bounds().width() != m_measuredWidth) {
        m_measuredWidth = bounds().width();
        invalidateIntrinsicContentSize();
    }
}

long UILabel::displayedLineCount() const {
    if (m_text.empty() || !m_font) return 0;
    return TextLayout(m_text, *m_font, bounds().width(), m_numberOfLines, toTextAlignment(m_alignment)).lineCount();
}

bool UILabel::isTruncated() const {
    if (m_text.empty() || !m_font) return false;
    return TextLayout(m_text, *m_font, bounds().width(), m_numberOfLines, toTextAlignment(m_alignment)).isTruncated();
}

void UILabel::drawRect(CGRect) {
    Painter* painter = UIGraphicsGetCurrentContext();
    if (!painter || m_text.empty() || !m_font) return;
    const CGRect b = bounds();
    if (b.width() <= 0) return;
    TextLayout layout(m_text, *m_font, b.width(), m_numberOfLines, toTextAlignment(m_alignment));
    // The device centres the text block vertically and lets a block taller than the label spill evenly.
    const CGFloat y = b.minY() + (b.height() - layout.size().height) / 2;
    painter->drawText(layout, {b.minX(), y}, platform::gfx::paintColor(m_textColor));
}

std::string UILabel::description() const {
    std::ostringstream os;
    os << "<UILabel " << frame() << " \"" << m_text << "\">";
    return os.str();
}
