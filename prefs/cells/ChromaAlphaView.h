#pragma once

// The alpha bar of the colour picker: white at the left to black at the right; the indicator is the grey of the
// chosen alpha (white for 0, black for 1).

#include "prefs/cells/ChromaBarView.h"

class ChromaAlphaView : public chroma::ChromaBarView {
    VT_OBJECT(ChromaAlphaView, chroma::ChromaBarView)
public:
    float alphaValue() const { return barValue(); }
    void setAlphaValue(float alpha) { setBarValue(alpha); }

protected:
    Ref<UIImage> makeImage(CGSize size) const override;
    Ref<UIColor> indicatorColor() const override;
};
