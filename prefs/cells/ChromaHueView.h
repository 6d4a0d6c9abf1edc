#pragma once

// The hue bar of the colour picker: every hue at full saturation and brightness, red at both ends; the indicator
// shows the chosen hue.

#include "prefs/cells/ChromaBarView.h"

class ChromaHueView : public chroma::ChromaBarView {
    VT_OBJECT(ChromaHueView, chroma::ChromaBarView)
public:
    // 0..1; 1 is red again.
    float hue() const { return barValue(); }
    void setHue(float hue) { setBarValue(hue); }

protected:
    Ref<UIImage> makeImage(CGSize size) const override;
    Ref<UIColor> indicatorColor() const override;
    bool makesImageAtFirstLayout() const override { return true; }
};
