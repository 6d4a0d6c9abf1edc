#pragma once

// A label: text in one font and colour, laid out and drawn with Pango (platform/gfx/TextLayout.h). Lines break at
// "\n" and, when the label is narrower than the text, at word boundaries; with a line limit the last line is cut
// at its tail with "…". The text is centred vertically in the bounds, as the device draws it.
//
// Own size: the size of the text with the label's line limit, unwrapped unless a width is known — the preferred
// maximum layout width when set, else (for labels of more than one line) the width the last layout pass gave the
// label. A change of that width invalidates the own size, so the layout pass settles multi-line heights.

#include "platform/ui/UIView.h"

#include <string>
#include <string_view>

class UIColor;
class UIFont;
class TextLayout;

// NSTextAlignment values.
enum NSTextAlignment : long {
    NSTextAlignmentLeft = 0,
    NSTextAlignmentCenter = 1,
    NSTextAlignmentRight = 2,
    NSTextAlignmentJustified = 3,
    NSTextAlignmentNatural = 4,
};

class UILabel : public UIView {
    VT_OBJECT(UILabel, UIView)
public:
    // Defaults as on the device: no text, labelColor, system font of 17 points, natural (left) alignment, one
    // line, clear background.
    void initWithFrame(CGRect frame) override;

    // UTF-8 text; "" when none was set.
    const std::string& text() const { return m_text; }
    void setText(std::string_view text);
    // Never null: setting null restores labelColor, as the device does.
    const Ref<UIColor>& textColor() const { return m_textColor; }
    void setTextColor(Ref<UIColor> color);
    // Never null: setting null restores the system font of 17 points.
    const Ref<UIFont>& font() const { return m_font; }
    void setFont(Ref<UIFont> font);
    long textAlignment() const { return m_alignment; }
    void setTextAlignment(long alignment);
    // 0 means no limit.
    long numberOfLines() const { return m_numberOfLines; }
    void setNumberOfLines(long lines);
    CGFloat preferredMaxLayoutWidth() const { return m_preferredMaxLayoutWidth; }
    void setPreferredMaxLayoutWidth(CGFloat width);

    CGSize intrinsicContentSize() override;
    // The text's size within `size` (its width limits the lines; 0 or less for none).
    CGSize sizeThatFits(CGSize size) override;
    void layoutSubviews() override;

    // What the label shows at its current bounds, for tests and the dump.
    long displayedLineCount() const;
    bool isTruncated() const;

    void drawRect(CGRect rect) override;
    bool drawsContent() const override { return true; }

    std::string description() const override;

private:
    CGSize measure(CGFloat width) const;
    std::string m_text;
    Ref<UIColor> m_textColor;
    Ref<UIFont> m_font;
    long m_alignment = NSTextAlignmentNatural;
    long m_numberOfLines = 1;
    CGFloat m_preferredMaxLayoutWidth = 0;
    CGFloat m_measuredWidth = 0;
};
