#pragma once

// The spinning activity indicator: twelve spokes fading round the centre, drawn in its colour (white or grey by
// style, or the colour set). It is hidden while stopped when hidesWhenStopped is on (the default), so a stopped
// indicator shows nothing.

#include "platform/ui/UIView.h"

class UIColor;

using UIActivityIndicatorViewStyle = long;
inline constexpr UIActivityIndicatorViewStyle UIActivityIndicatorViewStyleWhiteLarge = 0;
inline constexpr UIActivityIndicatorViewStyle UIActivityIndicatorViewStyleWhite = 1;
inline constexpr UIActivityIndicatorViewStyle UIActivityIndicatorViewStyleGray = 2;
inline constexpr UIActivityIndicatorViewStyle UIActivityIndicatorViewStyleMedium = 100;
inline constexpr UIActivityIndicatorViewStyle UIActivityIndicatorViewStyleLarge = 101;

class UIActivityIndicatorView : public UIView {
    VT_OBJECT(UIActivityIndicatorView, UIView)
public:
    // Stopped, hidden (hidesWhenStopped), style WhiteLarge.
    void initWithFrame(CGRect frame) override;
    void initWithActivityIndicatorStyle(UIActivityIndicatorViewStyle style);

    UIActivityIndicatorViewStyle activityIndicatorViewStyle() const { return m_style; }
    void setActivityIndicatorViewStyle(UIActivityIndicatorViewStyle style) { m_style = style; }
    // The colour set, or the style's: white for the white styles, grey otherwise.
    Ref<UIColor> color() const;
    void setColor(Ref<UIColor> colour) { m_color = std::move(colour); }
    bool hidesWhenStopped() const { return m_hidesWhenStopped; }
    void setHidesWhenStopped(bool hides);

    // Shows the view and starts; stopping hides it when hidesWhenStopped.
    void startAnimating();
    void stopAnimating();
    bool isAnimating() const { return m_animating; }

    // The spokes' radius: 37 points across for the large styles, 20 for the others.
    CGFloat spinnerDiameter() const;

    void drawRect(CGRect rect) override;
    bool drawsContent() const override { return true; }

private:
    UIActivityIndicatorViewStyle m_style = UIActivityIndicatorViewStyleWhiteLarge;
    Ref<UIColor> m_color;
    bool m_hidesWhenStopped = true;
    bool m_animating = false;
};
