#pragma once

// Cephei's appearance settings: the colours a preference page and the pages pushed from it take.
//
// A page is given them with PSListController::hb_setAppearanceSettings (published as "hb_setAppearanceSettings:",
// void(Ref<HBAppearanceSettings>)). From then on, as a user sees it:
//   tintColor                      the page view's tint: switches take it as their on-colour, buttons and button
//                                  rows as their text colour (a switch whose on-tint was set explicitly keeps it);
//   tableViewCellSeparatorColor    the table's separator colour (white 0, alpha 0 makes the separators invisible);
//   navigationBarBackgroundColor   the navigation bar's background while the page is the top page; the bar takes
//                                  back its own look when the page is left or popped.
// A colour left null changes nothing of that aspect. A page pushed with pushController: that has no settings of
// its own takes those of the page that pushed it.

#include "platform/core/Object.h"

class UIColor;

class HBAppearanceSettings : public NSObject {
    VT_OBJECT(HBAppearanceSettings, NSObject)
public:
    Ref<UIColor> tintColor() const { return m_tint; }
    void setTintColor(Ref<UIColor> color) { m_tint = std::move(color); }
    Ref<UIColor> tableViewCellSeparatorColor() const { return m_separator; }
    void setTableViewCellSeparatorColor(Ref<UIColor> color) { m_separator = std::move(color); }
    Ref<UIColor> navigationBarBackgroundColor() const { return m_barBackground; }
    void setNavigationBarBackgroundColor(Ref<UIColor> color) { m_barBackground = std::move(color); }

private:
    Ref<UIColor> m_tint;
    Ref<UIColor> m_separator;
    Ref<UIColor> m_barBackground;
};
