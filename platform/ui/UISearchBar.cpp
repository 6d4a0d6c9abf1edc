#include "platform/ui/UISearchBar.h"

#include "platform/core/Runtime.h"

#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIImage.h"
#include "platform/ui/CALayer.h"
#include "platform/ui/UIImageView.h"

#include <algorithm>

VT_REGISTER_CLASS(UISearchTextField)
VT_REGISTER_CLASS(UISearchBar)

void UISearchTextField::initWithFrame(CGRect frame) {
    UITextField::initWithFrame(frame);
    setPlaceholder("Search");
    Class named = objc_getClass("_UISearchBarSearchFieldBackgroundView");
    if (named) m_background = cast<UIView>(platform::runtime::createInstance(named));
    if (m_background) {
        platform::msgSend<void, CGRect>(m_background.get(), sel("initWithFrame:"), bounds());
    } else {
        m_background = alloc<UIView>();
        m_background->initWithFrame(bounds());
    }
    m_background->setUserInteractionEnabled(false);
    static Ref<UIColor> fill = UIColor::systemGrayColor()->colorWithAlphaComponent(0.16);
    m_background->setBackgroundColor(fill);
    insertSubviewAtIndex(m_background, 0);
    auto magnifier = alloc<UIImageView>();
    magnifier->initWithFrame(CGRectZero);
    magnifier->setImage(UIImage::systemImageNamed("magnifyingglass"));
    magnifier->setContentMode(UIViewContentModeScaleAspectFit);
    magnifier->setTintColor(UIColor::secondaryLabelColor());
    magnifier->setUserInteractionEnabled(false);
    addSubview(magnifier);
    m_magnifier = magnifier;
}

CGRect UISearchTextField::textRect() const {
    CGRect b = bounds();
    return CGRectMake(30, 0, std::max<CGFloat>(0, b.width() - 38), b.height());
}

void UISearchTextField::layoutSubviews() {
    UITextField::layoutSubviews();
    m_background->setFrame(bounds());
    m_magnifier->setFrame(CGRectMake(8, bounds().midY() - 8, 16, 16));
    // Sent by name, so a replacement installed on the background's class decides the radius.
    if (m_background->respondsToSelector(sel("setCornerRadius:")))
        platform::msgSend<void, CGFloat>(m_background.get(), sel("setCornerRadius:"), kCornerRadius);
    else
        m_background->layer()->setCornerRadius(kCornerRadius);
}

void UISearchBar::initWithFrame(CGRect frame) {
    UIView::initWithFrame(frame);
    m_field = alloc<UISearchTextField>();
    m_field->initWithFrame(CGRectZero);
    addSubview(m_field);
}

void UISearchBar::layoutSubviews() {
    UIView::layoutSubviews();
    m_field->setFrame(CGRectMake(8, (bounds().height() - 36) / 2, std::max<CGFloat>(0, bounds().width() - 16), 36));
}
