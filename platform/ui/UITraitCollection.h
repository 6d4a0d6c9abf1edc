#pragma once

// Traits: the interface style (0 unspecified, 1 light, 2 dark) and the display scale.
//
// `currentTraitCollection()` is the collection code should build and colour with right now. Outside any callback it
// is the system's collection (the simulated device's appearance setting and screen scale). While the platform runs
// a trait callback, a layout or a drawing of a view, it makes that view's collection current (CurrentScope), and a
// window makes its own collection current while it builds its content, so initialisers called from there (a card's
// `initWithFrame:`) see the style they will be shown in. Dynamic colours resolve against the same current style.

#include "platform/core/Object.h"
#include "platform/gfx/Geometry.h"

enum UIUserInterfaceStyle : long {
    UIUserInterfaceStyleUnspecified = 0,
    UIUserInterfaceStyleLight = 1,
    UIUserInterfaceStyleDark = 2,
};

class UITraitCollection : public NSObject {
    VT_OBJECT(UITraitCollection, NSObject)
public:
    // Collections are immutable values; these make new ones.
    static Ref<UITraitCollection> traitCollectionWithUserInterfaceStyle(long style);
    static Ref<UITraitCollection> traitCollectionWithStyleScale(long style, CGFloat scale);

    long userInterfaceStyle() const { return m_style; }
    // Display scale; 0 when unspecified.
    CGFloat displayScale() const { return m_scale; }
    // True when both collections have the same style and scale. A null `other` differs from everything.
    bool isEqual(const Ref<UITraitCollection>& other) const;
    bool hasDifferentColorAppearanceComparedToTraitCollection(const Ref<UITraitCollection>& other) const;

    // Never null.
    static Ref<UITraitCollection> currentTraitCollection();
    static void setCurrentTraitCollection(const Ref<UITraitCollection>& collection);

    // The appearance the simulated device is set to; 1 (light) at process start. Changing it does not by itself
    // notify any view: UIView::setSystemUserInterfaceStyle does both.
    static long systemUserInterfaceStyle();
    static void setSystemStyleValue(long style);
    // The system's collection: system style, main screen scale.
    static Ref<UITraitCollection> systemTraitCollection();

    // Makes `collection` current for its lifetime and restores the previous current collection afterwards.
    class CurrentScope {
    public:
        explicit CurrentScope(const Ref<UITraitCollection>& collection);
        ~CurrentScope();
        CurrentScope(const CurrentScope&) = delete;
        CurrentScope& operator=(const CurrentScope&) = delete;

    private:
        Ref<UITraitCollection> m_previous;
    };

    std::string description() const override;

private:
    long m_style = UIUserInterfaceStyleUnspecified;
    CGFloat m_scale = 0;
};
