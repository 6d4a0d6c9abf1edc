#include "platform/ui/OBWelcomeController.h"

#include "platform/core/Runtime.h"

#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIFont.h"
#include "platform/gfx/UIImage.h"
#include "platform/ui/CALayer.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UIScrollView.h"
#include "platform/ui/UIVisualEffectView.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

// The sheet's root view lays the sheet out itself, whenever it is laid out, wherever the controller sits.
class OBWelcomeRootView : public UIView {
    VT_OBJECT(OBWelcomeRootView, UIView)
public:
    std::function<void()> onLayout;
    void layoutSubviews() override {
        UIView::layoutSubviews();
        if (onLayout) onLayout();
    }
};

}  // namespace

VT_REGISTER_CLASS(OBWelcomeRootView)
VT_REGISTER_CLASS(OBBoldTrayButton)

VT_REGISTER_CLASS(OBButtonTray, [](Class c) {
    using platform::runtime::addMethod;
    addMethod<&OBButtonTray::addButton>(c, "addButton:");
    addMethod<&OBButtonTray::addCaptionText>(c, "addCaptionText:");
    addMethod<&OBButtonTray::effectView>(c, "effectView");
})

VT_REGISTER_CLASS(OBWelcomeController, [](Class c) {
    using platform::runtime::addMethod;
    addMethod<&OBWelcomeController::initWithTitleDetailTextIcon>(c, "initWithTitle:detailText:icon:");
    addMethod<&OBWelcomeController::addBulletedListItemWithTitleDescriptionImage>(
        c, "addBulletedListItemWithTitle:description:image:");
    addMethod<&OBWelcomeController::buttonTray>(c, "buttonTray");
})

namespace {

// The sheet's measures, close to the system's welcome sheets on a phone.
constexpr CGFloat kSideMargin = 40;
constexpr CGFloat kHeaderTop = 56;
constexpr CGFloat kIconSize = 72;
constexpr CGFloat kGap = 16;
constexpr CGFloat kItemGap = 24;
constexpr CGFloat kSymbolSize = 34;
constexpr CGFloat kSymbolGap = 16;
constexpr CGFloat kTrayPadding = 16;
constexpr CGFloat kTrayMargin = 24;
constexpr CGFloat kButtonGap = 8;
constexpr CGFloat kCaptionHeight = 20;

Ref<UILabel> makeLabel(const Ref<UIView>& parent, Ref<UIFont> font, Ref<UIColor> color, long alignment) {
    auto label = alloc<UILabel>();
    label->initWithFrame(CGRectZero);
    label->setFont(std::move(font));
    label->setTextColor(std::move(color));
    label->setTextAlignment(alignment);
    label->setNumberOfLines(0);
    label->setUserInteractionEnabled(false);
    parent->addSubview(label);
    return label;
}

// Places a multi-line label at (x, y) with a width and answers the y below it.
CGFloat placeLabel(const Ref<UILabel>& label, CGFloat x, CGFloat y, CGFloat width) {
    const CGFloat height = label->text().empty() ? 0 : std::ceil(label->sizeThatFits({width, 0}).height);
    label->setFrame(CGRectMake(x, y, width, height));
    return y + height;
}

}  // namespace

// ----- OBBoldTrayButton -----

Ref<OBBoldTrayButton> OBBoldTrayButton::buttonWithType(UIButtonType) {
    auto button = alloc<OBBoldTrayButton>();
    button->initWithFrame(CGRectZero);
    return button;
}

void OBBoldTrayButton::initWithFrame(CGRect frame) {
    UIButton::initWithFrame(frame);
    titleLabel()->setFont(UIFont::boldSystemFontOfSize(17));
    setTitleColorForState(UIColor::whiteColor(), UIControlStateNormal);
    layer()->setCornerRadius(8);
    refreshFill();
}

void OBBoldTrayButton::tintColorDidChange() {
    UIButton::tintColorDidChange();
    refreshFill();
}

void OBBoldTrayButton::layoutSubviews() {
    UIButton::layoutSubviews();
    refreshFill();
}

void OBBoldTrayButton::refreshFill() {
    auto tint = tintColor();
    auto fill = tint ? tint : UIColor::systemBlueColor();
    if (backgroundColor() != fill) setBackgroundColor(fill);
}

// ----- OBButtonTray -----

void OBButtonTray::initWithFrame(CGRect frame) {
    UIView::initWithFrame(frame);
    m_effectView = alloc<UIVisualEffectView>();
    m_effectView->initWithFrame(bounds());
    m_effectView->setUserInteractionEnabled(false);
    addSubview(m_effectView);
}

void OBButtonTray::addButton(Ref<UIButton> button) {
    if (!button) return;
    m_buttons.push_back(button);
    addSubview(button);
    setNeedsLayout();
}

void OBButtonTray::addCaptionText(std::string text) {
    auto label = makeLabel(self<UIView>(), UIFont::systemFontOfSize(13), UIColor::secondaryLabelColor(),
                           NSTextAlignmentCenter);
    label->setNumberOfLines(1);
    label->setText(text);
    m_captions.push_back(label);
    setNeedsLayout();
}

CGFloat OBButtonTray::heightForWidth(CGFloat) const {
    const auto buttons = static_cast<CGFloat>(m_buttons.size());
    const auto captions = static_cast<CGFloat>(m_captions.size());
    CGFloat height = kTrayPadding * 2 + buttons * OBBoldTrayButton::kHeight;
    if (buttons > 1) height += (buttons - 1) * kButtonGap;
    if (captions > 0) height += kButtonGap + captions * kCaptionHeight;
    return height;
}

void OBButtonTray::layoutSubviews() {
    UIView::layoutSubviews();
    const CGRect b = bounds();
    m_effectView->setFrame(b);
    const CGFloat width = std::max<CGFloat>(0, b.width() - 2 * kTrayMargin);
    CGFloat y = kTrayPadding;
    for (const auto& button : m_buttons) {
        button->setFrame(CGRectMake(kTrayMargin, y, width, OBBoldTrayButton::kHeight));
        y += OBBoldTrayButton::kHeight + kButtonGap;
    }
    if (m_buttons.empty()) y += kButtonGap;
    for (const auto& caption : m_captions) {
        caption->setFrame(CGRectMake(kTrayMargin, y, width, kCaptionHeight));
        y += kCaptionHeight;
    }
}

// ----- OBWelcomeController -----

void OBWelcomeController::initWithTitleDetailTextIcon(std::string title, std::string detailText, Ref<UIImage> icon) {
    UIViewController::init();
    m_title = std::move(title);
    m_detail = std::move(detailText);
    m_icon = std::move(icon);
}

void OBWelcomeController::addBulletedListItemWithTitleDescriptionImage(std::string title, std::string description,
                                                                      Ref<UIImage> image) {
    m_items.push_back({std::move(title), std::move(description), std::move(image)});
    if (m_scroll) addItemViews(m_items.back());
    if (auto v = viewIfLoaded()) v->setNeedsLayout();
}

Ref<OBButtonTray> OBWelcomeController::buttonTray() {
    view();
    return m_tray;
}

Ref<UIScrollView> OBWelcomeController::contentView() {
    view();
    return m_scroll;
}

void OBWelcomeController::loadView() {
    auto root = alloc<OBWelcomeRootView>();
    root->initWithFrame(UIScreen::mainScreen()->bounds());
    // Weak, so the view does not keep its controller alive.
    root->onLayout = [weak = Weak<OBWelcomeController>(self<OBWelcomeController>())] {
        if (auto controller = weak.lock()) controller->layoutContent();
    };
    root->setBackgroundColor(UIColor::systemBackgroundColor());
    setView(root);

    m_scroll = alloc<UIScrollView>();
    m_scroll->initWithFrame(root->bounds());
    m_scroll->setAlwaysBounceVertical(true);
    root->addSubview(m_scroll);

    m_iconView = alloc<UIImageView>();
    m_iconView->initWithFrame(CGRectZero);
    m_iconView->setContentMode(UIViewContentModeScaleAspectFit);
    m_iconView->setImage(m_icon);
    m_iconView->setHidden(!m_icon);
    m_scroll->addSubview(m_iconView);
    m_titleLabel = makeLabel(m_scroll, UIFont::boldSystemFontOfSize(34), UIColor::labelColor(), NSTextAlignmentCenter);
    m_titleLabel->setText(m_title);
    m_detailLabel = makeLabel(m_scroll, UIFont::systemFontOfSize(17), UIColor::labelColor(), NSTextAlignmentCenter);
    m_detailLabel->setText(m_detail);
    for (const auto& item : m_items) addItemViews(item);

    m_tray = alloc<OBButtonTray>();
    m_tray->initWithFrame(CGRectZero);
    root->addSubview(m_tray);
}

void OBWelcomeController::addItemViews(const BulletedItem& item) {
    ItemViews views;
    views.symbol = alloc<UIImageView>();
    views.symbol->initWithFrame(CGRectZero);
    views.symbol->setContentMode(UIViewContentModeScaleAspectFit);
    // Symbols are drawn in the sheet's tint, as the system's welcome sheets draw their bullets.
    views.symbol->setImage(item.image);
    m_scroll->addSubview(views.symbol);
    views.title = makeLabel(m_scroll, UIFont::boldSystemFontOfSize(15), UIColor::labelColor(), NSTextAlignmentLeft);
    views.title->setText(item.title);
    views.description =
        makeLabel(m_scroll, UIFont::systemFontOfSize(15), UIColor::secondaryLabelColor(), NSTextAlignmentLeft);
    views.description->setText(item.description);
    m_itemViews.push_back(std::move(views));
}

void OBWelcomeController::viewDidLayoutSubviews() {
    UIViewController::viewDidLayoutSubviews();
    layoutContent();
}

void OBWelcomeController::layoutContent() {
    auto root = viewIfLoaded();
    if (!root) return;
    const CGRect b = root->bounds();
    // The tray sits on the sheet's bottom edge and keeps its buttons above the home indicator.
    const CGFloat trayHeight = m_tray->heightForWidth(b.width()) + UIScreen::mainScreen()->profile().homeIndicatorHeight;
    m_tray->setFrame(CGRectMake(0, b.height() - trayHeight, b.width(), trayHeight));
    m_scroll->setFrame(CGRectMake(0, 0, b.width(), std::max<CGFloat>(0, b.height() - trayHeight)));

    const CGFloat width = std::max<CGFloat>(0, b.width() - 2 * kSideMargin);
    CGFloat y = kHeaderTop;
    if (m_icon) {
        m_iconView->setFrame(CGRectMake((b.width() - kIconSize) / 2, y, kIconSize, kIconSize));
        y += kIconSize + kGap;
    }
    y = placeLabel(m_titleLabel, kSideMargin, y, width) + kGap / 2;
    y = placeLabel(m_detailLabel, kSideMargin, y, width) + kItemGap * 1.5;
    const CGFloat textX = kSideMargin + kSymbolSize + kSymbolGap;
    const CGFloat textWidth = std::max<CGFloat>(0, width - kSymbolSize - kSymbolGap);
    for (const auto& item : m_itemViews) {
        item.symbol->setFrame(CGRectMake(kSideMargin, y + 2, kSymbolSize, kSymbolSize));
        CGFloat below = placeLabel(item.title, textX, y, textWidth);
        below = placeLabel(item.description, textX, below + 2, textWidth);
        y = std::max(below, y + kSymbolSize + 4) + kItemGap;
    }
    m_scroll->setContentSize({b.width(), y});
}
