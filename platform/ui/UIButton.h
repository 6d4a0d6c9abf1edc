#pragma once

// A push button: a title label and an image view, each with a value per control state (normal, highlighted,
// selected, disabled). A state without its own value shows the normal one, as on the device.
//
// Layout: the image and the title sit side by side, centred as a group by default. With horizontal and vertical
// content alignment fill the image view fills the content rectangle (the bounds less imageEdgeInsets); otherwise it
// has the image's size, shrunk to the content rectangle when larger.

#include "platform/ui/UIControl.h"

#include <map>
#include <string>

class UILabel;
class UIImageView;
class UIImage;
class UIColor;

using UIButtonType = long;
inline constexpr UIButtonType UIButtonTypeCustom = 0;
inline constexpr UIButtonType UIButtonTypeSystem = 1;

class UIButton : public UIControl {
    VT_OBJECT(UIButton, UIControl)
public:
    // A new button of the type with a zero frame. Custom buttons show white titles, system ones the tint colour.
    static Ref<UIButton> buttonWithType(UIButtonType type);
    void initWithFrame(CGRect frame) override;

    UIButtonType buttonType() const { return m_type; }

    // Null / empty when neither the state nor the normal state has a value.
    void setTitleForState(std::string title, UIControlState state);
    std::optional<std::string> titleForState(UIControlState state) const;
    void setTitleColorForState(Ref<UIColor> color, UIControlState state);
    Ref<UIColor> titleColorForState(UIControlState state) const;
    void setImageForState(Ref<UIImage> image, UIControlState state);
    Ref<UIImage> imageForState(UIControlState state) const;
    void setBackgroundImageForState(Ref<UIImage> image, UIControlState state);
    Ref<UIImage> backgroundImageForState(UIControlState state) const;

    // What the button shows in its current state.
    std::string currentTitle() const;
    Ref<UIColor> currentTitleColor() const;
    Ref<UIImage> currentImage() const;

    // Created with the button; never null. Set its font for the title font.
    Ref<UILabel> titleLabel() const { return m_titleLabel; }
    Ref<UIImageView> imageView() const { return m_imageView; }

    UIEdgeInsets imageEdgeInsets() const { return m_imageInsets; }
    void setImageEdgeInsets(UIEdgeInsets insets);
    UIEdgeInsets titleEdgeInsets() const { return m_titleInsets; }
    void setTitleEdgeInsets(UIEdgeInsets insets);
    UIEdgeInsets contentEdgeInsets() const { return m_contentInsets; }
    void setContentEdgeInsets(UIEdgeInsets insets);

    void layoutSubviews() override;
    CGSize intrinsicContentSize() override;
    void tintColorDidChange() override;

protected:
    void stateChanged() override;

private:
    template <class T>
    static T lookup(const std::map<UIControlState, T>& values, UIControlState state);
    void refreshContent();

    UIButtonType m_type = UIButtonTypeCustom;
    std::map<UIControlState, std::string> m_titles;
    std::map<UIControlState, Ref<UIColor>> m_titleColors;
    std::map<UIControlState, Ref<UIImage>> m_images;
    std::map<UIControlState, Ref<UIImage>> m_backgroundImages;
    Ref<UILabel> m_titleLabel;
    Ref<UIImageView> m_imageView;
    Ref<UIImageView> m_backgroundView;
    UIEdgeInsets m_imageInsets;
    UIEdgeInsets m_titleInsets;
    UIEdgeInsets m_contentInsets;
};
