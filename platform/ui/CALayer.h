#pragma once

// QuartzCore layers. Every view owns one layer (its backing layer) and forwards its geometry to it; further layers
// (gradients, shapes) are added as sublayers and have their own frame, in the owner layer's coordinates.
//
// Colours are CGColorRef values, resolved when they were made (as on the device: a layer colour made from a dynamic
// colour keeps the style that was current then).
//
// Animations added with addAnimationForKey run on the platform clock (AnimationCenter.h). They never change the
// model value; `presentationValue` answers the value on screen at this instant.

#include "platform/core/Object.h"
#include "platform/gfx/CGColor.h"
#include "platform/gfx/Geometry.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class UIView;
class CABasicAnimation;

// kCALayerMinXMinYCorner … : the corners `maskedCorners` rounds (all four by default).
enum CACornerMask : unsigned long {
    kCALayerMinXMinYCorner = 1,  // top left
    kCALayerMaxXMinYCorner = 2,  // top right
    kCALayerMinXMaxYCorner = 4,  // bottom left
    kCALayerMaxXMaxYCorner = 8,  // bottom right
    kCALayerAllCorners = 15,
};

inline constexpr std::string_view kCACornerCurveCircular = "circular";
inline constexpr std::string_view kCACornerCurveContinuous = "continuous";

class CALayer : public NSObject {
    VT_OBJECT(CALayer, NSObject)
public:
    static Ref<CALayer> layer();
    virtual void init() {}

    // ----- geometry (a view's layer mirrors the view; setting it on a view's layer moves the view) -----
    CGRect frame() const;
    void setFrame(CGRect frame);
    CGRect bounds() const;
    void setBounds(CGRect bounds);
    CGPoint position() const;
    void setPosition(CGPoint position);

    // ----- look -----
    CGFloat cornerRadius() const { return m_cornerRadius; }
    void setCornerRadius(CGFloat radius);
    // "circular" (default) or "continuous"; other strings are kept as given and draw as circular.
    const std::string& cornerCurve() const { return m_cornerCurve; }
    void setCornerCurve(std::string_view curve) { m_cornerCurve = std::string(curve); }
    unsigned long maskedCorners() const { return m_maskedCorners; }
    void setMaskedCorners(unsigned long corners) { m_maskedCorners = corners & kCALayerAllCorners; }
    CGFloat borderWidth() const { return m_borderWidth; }
    void setBorderWidth(CGFloat width) { m_borderWidth = width; }
    // Null when none was set (draws no border colour: the device's default is opaque black; we keep null and let
    // the renderer apply that default).
    const CGColorRef& borderColor() const { return m_borderColor; }
    void setBorderColor(CGColorRef color) { m_borderColor = std::move(color); }
    // Background of a free-standing layer; a view's layer draws the view's background colour instead.
    const CGColorRef& backgroundColor() const { return m_backgroundColor; }
    void setBackgroundColor(CGColorRef color) { m_backgroundColor = std::move(color); }
    // Drawing order among siblings: higher is on top; equal values keep the order of the sublayer list.
    CGFloat zPosition() const { return m_zPosition; }
    void setZPosition(CGFloat z);
    bool masksToBounds() const;
    void setMasksToBounds(bool masks);
    // Opacity of a free-standing layer; a view's layer answers the view's alpha.
    double opacity() const;
    void setOpacity(double opacity);
    bool isHidden() const;
    void setHidden(bool hidden);
    // A layer whose alpha masks the content (a CAShapeLayer with a path); null for none.
    const Ref<CALayer>& mask() const { return m_mask; }
    void setMask(Ref<CALayer> mask);

    // ----- tree -----
    const std::vector<Ref<CALayer>>& sublayers() const { return m_sublayers; }
    // Adds on top; a layer that has another superlayer is moved. Adding null does nothing.
    void addSublayer(const Ref<CALayer>& layer);
    // Inserts at `index` (clamped to 0…count).
    void insertSublayerAtIndex(const Ref<CALayer>& layer, unsigned index);
    void removeFromSuperlayer();
    Ref<CALayer> superlayer() const { return m_superlayer.lock(); }
    // The view whose backing layer this is; null for free-standing layers.
    Ref<UIView> delegateView() const { return m_view.lock(); }
    void setDelegateView(const Ref<UIView>& view) { m_view = view; }

    // ----- animations -----
    // Adds a copy-free reference to the animation under `key` (an empty key gets a unique generated one); an
    // animation already under the key is removed and its delegate told finished NO.
    void addAnimationForKey(const Ref<CABasicAnimation>& animation, std::string_view key);
    void removeAnimationForKey(std::string_view key);
    void removeAllAnimations();
    // Keys of the animations in flight on this layer, in the order they were added (view animations included).
    std::vector<std::string> animationKeys() const;
    Ref<CABasicAnimation> animationForKey(std::string_view key) const;
    // The value of a scalar key path ("opacity", "borderWidth", "cornerRadius", "zPosition") as shown now: the
    // model value moved by an animation in flight on it. Nothing for a key path the layer does not have.
    std::optional<double> presentationValue(std::string_view keyPath) const;
    // The model value of a scalar key path; nothing for an unknown one.
    std::optional<double> modelValue(std::string_view keyPath) const;

    std::string description() const override;

private:
    Weak<UIView> m_view;
    Weak<CALayer> m_superlayer;
    std::vector<Ref<CALayer>> m_sublayers;
    Ref<CALayer> m_mask;
    CGRect m_frame;
    CGFloat m_cornerRadius = 0;
    std::string m_cornerCurve{kCACornerCurveCircular};
    unsigned long m_maskedCorners = kCALayerAllCorners;
    CGFloat m_borderWidth = 0;
    CGColorRef m_borderColor;
    CGColorRef m_backgroundColor;
    CGFloat m_zPosition = 0;
    bool m_masksToBounds = false;
    bool m_hidden = false;
    double m_opacity = 1;
};
