#include "platform/ui/UIBarButtonItem.h"

class UIView;

VT_REGISTER_CLASS(UIBarButtonItem, [](Class c) {
    platform::runtime::addMethod<&UIBarButtonItem::pressFromButton>(c, "_pressFromButton:");
})

void UIBarButtonItem::initWithImageStyleTargetAction(Ref<UIImage> image, UIBarButtonItemStyle style, const id& target,
                                                     SEL action) {
    m_image = std::move(image);
    m_style = style;
    m_target = target;
    m_action = action;
}

void UIBarButtonItem::initWithTitleStyleTargetAction(std::string title, UIBarButtonItemStyle style, const id& target,
                                                     SEL action) {
    m_title = std::move(title);
    m_style = style;
    m_target = target;
    m_action = action;
}

void UIBarButtonItem::initWithBarButtonSystemItemTargetAction(UIBarButtonSystemItem item, const id& target,
                                                              SEL action) {
    m_systemItem = item;
    m_target = target;
    m_action = action;
    if (item == UIBarButtonSystemItemDone) m_title = "Done";
}

void UIBarButtonItem::initWithCustomView(Ref<UIView> view) { m_customView = std::move(view); }

bool UIBarButtonItem::press() {
    if (!m_enabled || !m_action || isSpace()) return false;
    auto target = m_target.lock();
    if (!target) return false;
    return platform::performAction(target.get(), m_action, self());
}
