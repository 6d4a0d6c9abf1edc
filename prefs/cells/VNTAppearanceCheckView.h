#pragma once

// The round check mark over an appearance card's preview: UIKit's tinted circular check, white, shown (alpha 1)
// when the card is the chosen one and faded out (alpha 0) when not, over 0.1 s. The circle image view shows nothing
// (its image name is empty); both image views stay at the view's origin at their images' sizes.

#include "platform/ui/UIView.h"

class UIImageView;

class VNTAppearanceCheckView : public UIView {
    VT_OBJECT(VNTAppearanceCheckView, UIView)
public:
    static constexpr CGFloat kSize = 22;
    static constexpr double kFadeSeconds = 0.1;

    void initWithFrame(CGRect frame) override;

    bool isSelected() const { return m_selected; }
    void setSelected(bool selected);
    void updateSelectedState();

    Ref<UIImageView> circleImageView() const { return m_circleImageView; }
    Ref<UIImageView> checkmarkImageView() const { return m_checkmarkImageView; }

private:
    bool m_selected = false;
    Ref<UIImageView> m_circleImageView;
    Ref<UIImageView> m_checkmarkImageView;
};
