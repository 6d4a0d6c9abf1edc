#pragma once

// The drawer's theme selector: six round gradient buttons, one per theme in table order, each on its own theme's
// gradient, the current theme's reading "Selected" with a green border. A tap stores the six flags (YES for the
// chosen theme, NO for the others, in table order), gives a medium impact and restarts the interface, returning
// to the pane, so that every page is built again in the new theme. The marks are set once, when the page is built.
//
// Published:
//   "initWithFrame:"   void (CGRect)
//   "setupViews", "refreshThemes", "defaultThemeAction", "oceanThemeAction", "sunsetThemeAction",
//   "peachThemeAction", "martiniThemeAction", "stormThemeAction"   void ()
//
// Process-wide objects of this file (one selector at a time): the view holding the buttons, the six buttons, the
// preferences object with the theme flags, the last medium impact.

#include "platform/ui/UIView.h"
#include "prefs/drawer/VNTTheme.h"

#include <array>
#include <string_view>

class UIButton;
class UIImpactFeedbackGenerator;

class VNTThemesView : public UIView {
    VT_OBJECT(VNTThemesView, UIView)
public:
    static constexpr CGSize kButtonSize{150, 45};
    static constexpr CGFloat kButtonGap = 7;
    static constexpr std::string_view kSelectedTitle = "Selected";
    static constexpr std::string_view kReturnAddress = "prefs:root=Vantile";

    void initWithFrame(CGRect frame) override;
    virtual void setupViews();
    virtual void refreshThemes();

    void defaultThemeAction() { chooseTheme(vnt::Theme::Default); }
    void oceanThemeAction() { chooseTheme(vnt::Theme::Ocean); }
    void sunsetThemeAction() { chooseTheme(vnt::Theme::Sunset); }
    void peachThemeAction() { chooseTheme(vnt::Theme::Peach); }
    void martiniThemeAction() { chooseTheme(vnt::Theme::Martini); }
    void stormThemeAction() { chooseTheme(vnt::Theme::Storm); }

    // The buttons in table order; null before the first selector.
    static const std::array<Ref<UIButton>, vnt::kThemes.size()>& themeButtons();
    static Ref<UIView> themesView();
    static Ref<UIImpactFeedbackGenerator> themesHapticFeedback();

private:
    void chooseTheme(vnt::Theme theme);
};
