#pragma once

// The round handle that marks a control's value: a disc of the colour with a dark and a light ring, so it stays
// visible on any colour. It lets touches through to the control under it.

#include "platform/ui/UIView.h"

class UIColor;

class ChromaIndicatorView : public UIView {
    VT_OBJECT(ChromaIndicatorView, UIView)
public:
    static constexpr CGFloat kSize = 24;
    // Where a control puts its indicator before its first layout.
    static constexpr CGRect kInitialFrame{{116, 116}, {kSize, kSize}};

    void initWithFrame(CGRect frame) override;

    Ref<UIColor> color() const { return m_color; }
    // Asks for a redraw only when the colour differs (by its channels) from the one shown.
    void setColor(Ref<UIColor> color);

    bool drawsContent() const override { return true; }
    void drawRect(CGRect rect) override;

private:
    Ref<UIColor> m_color;
};
