#pragma once

// The event banner above the pane's root list: a themed 370-point panel with the pane's picture, a headline and a
// line under it. By default it shows the product; on the user's birthday and on five holidays (4 July,
// 31 October, 25 and 31 December, 1 January) a picture and a message instead, a holiday winning over a birthday
// on the same day. The event is chosen once, when the banner is built.
//
// Published: "initWithFrame:", "setFrame:" (UIView), "contentHeightForWidth:" CGFloat (CGFloat).
//
// The birthday is stored as "dMMM" in the language of the device when it was picked. Today is formatted the same
// way in the current language; a stored value that does not match is also read back as "dMMM" in English (the
// language the pane ships in and most birthdays are stored in), so that a change of the device's language does
// not silently end the birthday greeting. What is stored is never rewritten here.

#include "platform/core/Value.h"
#include "platform/ui/UIView.h"

#include <string>

class CAGradientLayer;
class NSDate;
class UIImageView;
class UILabel;

class VNTBannerView : public UIView {
    VT_OBJECT(VNTBannerView, UIView)
public:
    static constexpr CGFloat kContentHeight = 370;

    void initWithFrame(CGRect frame) override;
    // Lays out the inner panel, its gradient (theme read anew) and the container below the bars.
    void setFrame(CGRect frame) override;
    // 370 for every width.
    CGFloat contentHeightForWidth(CGFloat width);

    Ref<UIView> bannerView() const { return m_bannerView; }
    Ref<UIView> containerView() const { return m_containerView; }
    Ref<UIImageView> tweakIconImage() const { return m_tweakIconImage; }
    Ref<UILabel> packageNameLabel() const { return m_packageNameLabel; }
    Ref<UILabel> loveLabel() const { return m_loveLabel; }
    CGFloat stretchBanner() const { return m_stretchBanner; }
    void setStretchBanner(CGFloat stretch) { m_stretchBanner = stretch; }
    // The gradient the inner panel carries; null with no current theme.
    Ref<CAGradientLayer> gradientLayer() const { return m_gradient; }

    // Whether a stored birthday falls on `today`: equal to today's "dMMM" in the current language, or read as
    // "dMMM" in English to today's day and month. Anything but a non-empty string never matches.
    static bool isBirthday(const Value& stored, const Ref<NSDate>& today);
    // The picture file under "Events/" and the headline of the holiday on that month and day; empty when none.
    struct Holiday {
        const char* headline;
        const char* picture;
    };
    static const Holiday* holidayOn(long month, long day);

private:
    void chooseEvent();
    CGFloat topInset() const;

    Ref<UIView> m_bannerView;
    Ref<UIView> m_containerView;
    Ref<UIImageView> m_tweakIconImage;
    Ref<UILabel> m_packageNameLabel;
    Ref<UILabel> m_loveLabel;
    Ref<CAGradientLayer> m_gradient;
    CGFloat m_stretchBanner = 0;
};
