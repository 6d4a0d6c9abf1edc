#include "tests/support/DashboardFixture.h"

#include "platform/core/Runtime.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIFont.h"
#include "platform/gfx/UIImage.h"
#include "platform/ui/NSLayoutConstraint.h"
#include "platform/ui/CALayer.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UITraitCollection.h"

#include <array>
#include <stdexcept>

namespace vantile::testing {

Ref<TestWindow> makeWindow(long style) {
    auto window = alloc<TestWindow>();
    window->initWithFrame(UIScreen::mainScreen()->bounds());
    window->setOverrideUserInterfaceStyle(style);
    window->setBackgroundColor(style == 2 ? UIColor::blackColor()
                                          : UIColor::colorWithRedGreenBlueAlpha(0.95, 0.95, 0.96, 1.0));
    return window;
}

Ref<UIView> makeDashboardView() {
    id base = platform::runtime::createInstance(objc_getClass("VantileBaseView"));
    if (!base) throw std::runtime_error("VantileBaseView is not registered in this program");
    platform::msgSend<void, CGRect>(base.get(), sel("initWithFrame:"), UIScreen::mainScreen()->bounds());
    return cast<UIView>(base);
}

CardViews addCard(const Ref<UIView>& parent, CGRect frame, const std::string& symbol, const std::string& title,
                  const std::string& subtitle) {
    CardViews c;
    const bool dark = parent->traitCollection()->userInterfaceStyle() == 2;
    c.container = alloc<UIView>();
    c.container->initWithFrame(frame);
    c.container->setClipsToBounds(true);
    c.container->layer()->setCornerRadius(15);
    c.container->layer()->setCornerCurve(kCACornerCurveContinuous);
    parent->addSubview(c.container);

    c.base = alloc<UIView>();
    c.base->init();
    c.base->setTranslatesAutoresizingMaskIntoConstraints(false);
    c.base->setBackgroundColor(dark ? UIColor::colorWithRedGreenBlueAlpha(0.11, 0.11, 0.12, 1.0) : UIColor::whiteColor());
    c.container->addSubview(c.base);

    c.icon = alloc<UIImageView>();
    c.icon->init();
    c.icon->setTranslatesAutoresizingMaskIntoConstraints(false);
    c.icon->layer()->setCornerRadius(10);
    c.icon->layer()->setCornerCurve(kCACornerCurveContinuous);
    c.icon->setClipsToBounds(true);
    c.icon->layer()->setBorderWidth(1.0);
    c.icon->layer()->setBorderColor(UIColor::clearColor()->CGColor());
    c.icon->setContentMode(1);
    c.icon->setTintColor(UIColor::systemBlueColor());
    c.icon->setImage(UIImage::systemImageNamed(symbol));
    c.base->addSubview(c.icon);

    c.title = alloc<UILabel>();
    c.title->init();
    c.title->setTranslatesAutoresizingMaskIntoConstraints(false);
    c.title->setTextColor(UIColor::labelColor());
    c.title->setFont(UIFont::boldSystemFontOfSize(14));
    c.title->setTextAlignment(NSTextAlignmentCenter);
    c.title->setNumberOfLines(2);
    c.title->setText(title);
    c.base->addSubview(c.title);

    c.subtitle = alloc<UILabel>();
    c.subtitle->init();
    c.subtitle->setTranslatesAutoresizingMaskIntoConstraints(false);
    c.subtitle->setTextColor(UIColor::labelColor());
    c.subtitle->setFont(UIFont::systemFontOfSize(8));
    c.subtitle->setTextAlignment(NSTextAlignmentCenter);
    c.subtitle->setNumberOfLines(1);
    c.subtitle->setText(subtitle);
    c.base->addSubview(c.subtitle);

    NSLayoutConstraint::activateConstraints({
        c.base->topAnchor().constraintEqualToAnchorConstant(c.container->topAnchor(), 0),
        c.base->leadingAnchor().constraintEqualToAnchorConstant(c.container->leadingAnchor(), 0),
        c.base->trailingAnchor().constraintEqualToAnchorConstant(c.container->trailingAnchor(), 0),
        c.base->bottomAnchor().constraintEqualToAnchorConstant(c.container->bottomAnchor(), 0),
        c.icon->widthAnchor().constraintEqualToConstant(60),
        c.icon->heightAnchor().constraintEqualToConstant(60),
        c.icon->topAnchor().constraintEqualToAnchorConstant(c.base->topAnchor(), 15),
        c.icon->centerXAnchor().constraintEqualToAnchor(c.base->centerXAnchor()),
        c.title->topAnchor().constraintEqualToAnchorConstant(c.icon->bottomAnchor(), 7),
        c.title->leadingAnchor().constraintEqualToAnchorConstant(c.base->leadingAnchor(), 5),
        c.title->trailingAnchor().constraintEqualToAnchorConstant(c.base->trailingAnchor(), -5),
        c.subtitle->topAnchor().constraintEqualToAnchorConstant(c.title->bottomAnchor(), 3),
        c.subtitle->leadingAnchor().constraintEqualToAnchorConstant(c.base->leadingAnchor(), 5),
        c.subtitle->trailingAnchor().constraintEqualToAnchorConstant(c.base->trailingAnchor(), -5),
    });
    return c;
}

std::vector<CardViews> addCardGrid(const Ref<UIView>& parent, int count) {
    static const std::array<std::pair<const char*, const char*>, 10> kinds = {{
        {"gear", "General"},
        {"timer", "Screen Time"},
        {"person.crop.circle", "Touch/Face ID & Passcode"},
        {"square.stack.fill", "Tweaks"},
        {"circle.grid.3x3.fill", "Stock Apps"},
        {"smiley", "Accessibility"},
        {"magnifyingglass.circle.fill", "Siri & Search"},
        {"rectangle.grid.1x2.fill", "Control Center"},
        {"list.bullet.indent", "Notifications"},
        {"ellipsis.circle.fill", "Developer"},
    }};
    const CGFloat width = UIScreen::mainScreen()->bounds().width() * 0.5 - 10;
    std::vector<CardViews> cards;
    for (int i = 0; i < count; ++i) {
        const CGRect frame{{5 + (i % 2) * (width + 10), 50 + (i / 2) * 130.0}, {width, 120}};
        const auto& [symbol, title] = kinds[i % kinds.size()];
        cards.push_back(addCard(parent, frame, symbol, title, i % 3 == 0 ? std::to_string(i + 3) + " installed" : ""));
    }
    return cards;
}

}  // namespace vantile::testing
