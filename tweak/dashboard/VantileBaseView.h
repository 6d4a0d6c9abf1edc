#pragma once

// The dashboard that covers the Settings root page: a full-screen base holding the first-run hint and the grid.
// The hint shows only while the selected list has never been stored; an existing but empty list hides it.
//
// The hint label and the grid are process-wide (the last dashboard built owns them).
//
// Published: "initWithFrame:" void(CGRect), "layoutVantileView" void().

#include "platform/ui/UIView.h"

#include <string_view>

class UILabel;
class VantileCollectionView;

class VantileBaseView : public UIView {
    VT_OBJECT(VantileBaseView, UIView)
public:
    static constexpr std::string_view kHintText = "Tap on the gear icon above to get started and adding cells.";
    static constexpr CGFloat kHintFontSize = 22;
    static constexpr CGFloat kHintInset = 30;
    static constexpr CGFloat kGridTop = 50;
    static constexpr CGFloat kGridSideInset = 5;

    void initWithFrame(CGRect frame) override;
    virtual void layoutVantileView();

    // The grid's distance from the bottom of the screen: 40 on the home-button screens (667, 736 points high), 75
    // on the notched ones (812, 896). Other screens follow their family: below 800 points the home-button margin,
    // from 800 up the notched one, so the last row clears the home indicator.
    static CGFloat gridBottomMarginForScreenHeight(CGFloat height);

    const Ref<UIView>& baseView() const { return m_baseView; }
    static const Ref<UILabel>& firstTimeLabel();
    static const Ref<VantileCollectionView>& vantileCollectionView();

private:
    Ref<UIView> m_baseView;
};
