#pragma once

// A button of a navigation bar or toolbar. The target is weak, as every control target; pressing the item sends
// its action through platform::performAction with the item as sender, so an action may take the sender or not.

#include "platform/core/Object.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/Geometry.h"

#include <string>

class UIImage;
class UIView;

using UIBarButtonItemStyle = long;
inline constexpr UIBarButtonItemStyle UIBarButtonItemStylePlain = 0;
inline constexpr UIBarButtonItemStyle UIBarButtonItemStyleDone = 2;

using UIBarButtonSystemItem = long;
inline constexpr UIBarButtonSystemItem UIBarButtonSystemItemDone = 0;
inline constexpr UIBarButtonSystemItem UIBarButtonSystemItemFlexibleSpace = 5;
inline constexpr UIBarButtonSystemItem UIBarButtonSystemItemFixedSpace = 6;

class UIBarButtonItem : public NSObject {
    VT_OBJECT(UIBarButtonItem, NSObject)
public:
    void initWithImageStyleTargetAction(Ref<UIImage> image, UIBarButtonItemStyle style, const id& target, SEL action);
    void initWithTitleStyleTargetAction(std::string title, UIBarButtonItemStyle style, const id& target, SEL action);
    void initWithBarButtonSystemItemTargetAction(UIBarButtonSystemItem item, const id& target, SEL action);
    void initWithCustomView(Ref<UIView> view);

    Ref<UIImage> image() const { return m_image; }
    void setImage(Ref<UIImage> image) { m_image = std::move(image); }
    // Moves the image inside the item's button: positive top moves it down, negative up (as on the device).
    UIEdgeInsets imageInsets() const { return m_imageInsets; }
    void setImageInsets(UIEdgeInsets insets) { m_imageInsets = insets; }
    const std::string& title() const { return m_title; }
    void setTitle(std::string title) { m_title = std::move(title); }
    UIBarButtonItemStyle style() const { return m_style; }
    void setStyle(UIBarButtonItemStyle style) { m_style = style; }
    // Null when the item has no custom view or no system item.
    Ref<UIView> customView() const { return m_customView; }
    void setCustomView(Ref<UIView> view) { m_customView = std::move(view); }
    // -1 when the item is not a system item.
    UIBarButtonSystemItem systemItem() const { return m_systemItem; }
    bool isSpace() const {
        return m_systemItem == UIBarButtonSystemItemFlexibleSpace || m_systemItem == UIBarButtonSystemItemFixedSpace;
    }

    // The target, or null when it was never set or has been released.
    id target() const { return m_target.lock(); }
    void setTarget(const id& target) { m_target = target; }
    SEL action() const { return m_action; }
    void setAction(SEL action) { m_action = action; }
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled) { m_enabled = enabled; }
    long tag() const { return m_tag; }
    void setTag(long tag) { m_tag = tag; }

    // The user's press: sends the action to the target with the item as sender. Answers false when nothing was
    // sent (disabled, no action, target gone or not answering the action).
    bool press();
    // Published as "_pressFromButton:" (void(id)): the target of the button a bar builds for the item.
    void pressFromButton(id sender) { press(); }

private:
    Ref<UIImage> m_image;
    UIEdgeInsets m_imageInsets;
    std::string m_title;
    UIBarButtonItemStyle m_style = UIBarButtonItemStylePlain;
    Ref<UIView> m_customView;
    UIBarButtonSystemItem m_systemItem = -1;
    Weak<NSObject> m_target;
    SEL m_action = nullptr;
    bool m_enabled = true;
    long m_tag = 0;
};
