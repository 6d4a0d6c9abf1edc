#include "prefs/drawer/VNTTweaksCustomCell.h"

#include "common/Keys.h"
#include "platform/core/HBPreferences.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/CGColor.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIFont.h"
#include "platform/ui/CAGradientLayer.h"
#include "platform/ui/CALayer.h"
#include "platform/ui/NSLayoutConstraint.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "prefs/drawer/VNTTheme.h"

VT_REGISTER_CLASS(VNTTweaksCustomCell, [](Class c) {
    platform::runtime::addMethod<&VNTTweaksCustomCell::initWithStyleReuseIdentifier>(c,
                                                                                   "initWithStyle:reuseIdentifier:");
})

namespace {

vnt::ThemeFlags g_cellThemeFlags;
Ref<HBPreferences> g_cellPreferences;

Ref<UILabel> whiteLabel(Ref<UIFont> font, long lines, NSTextAlignment alignment) {
    auto label = alloc<UILabel>();
    label->init();
    label->setTextColor(UIColor::whiteColor());
    label->setFont(std::move(font));
    label->setTextAlignment(alignment);
    label->setNumberOfLines(lines);
    label->setTranslatesAutoresizingMaskIntoConstraints(false);
    return label;
}

void bordered(UIView& view) {
    view.layer()->setCornerRadius(10);
    view.layer()->setCornerCurve("continuous");
    view.setClipsToBounds(true);
    view.layer()->setBorderWidth(1);
    view.layer()->setBorderColor(UIColor::whiteColor()->CGColor());
    view.setTranslatesAutoresizingMaskIntoConstraints(false);
}

}  // namespace

void VNTTweaksCustomCell::initWithStyleReuseIdentifier(UITableViewCellStyle style, std::string reuseIdentifier) {
    UITableViewCell::initWithStyleReuseIdentifier(style, std::move(reuseIdentifier));
    g_cellPreferences = alloc<HBPreferences>();
    g_cellPreferences->initWithIdentifier(vantile::kDomain);
    g_cellThemeFlags.bind(*g_cellPreferences);
    const Ref<UIView> content = contentView();

    m_cardView = alloc<UIView>();
    m_cardView->init();
    m_cardView->setBackgroundColor(UIColor::clearColor());
    m_cardView->layer()->setCornerRadius(15);
    m_cardView->layer()->setCornerCurve("continuous");
    m_cardView->setClipsToBounds(true);
    m_cardView->setTranslatesAutoresizingMaskIntoConstraints(false);
    content->addSubview(m_cardView);

    m_cardContentView = alloc<UIView>();
    m_cardContentView->initWithFrame(CGRectMake(0, 0, 0, kRowHeight));
    m_cardContentView->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    if (const auto theme = g_cellThemeFlags.current())
        m_cardContentView->layer()->insertSublayerAtIndex(vnt::makeThemeGradient(*theme, m_cardContentView->bounds()), 0);
    m_cardView->addSubview(m_cardContentView);

    m_iconImage = alloc<UIImageView>();
    m_iconImage->init();
    bordered(*m_iconImage);
    m_cardView->addSubview(m_iconImage);

    m_titleLabel = whiteLabel(UIFont::boldSystemFontOfSize(17), 1, NSTextAlignmentLeft);
    m_cardView->addSubview(m_titleLabel);
    m_subtitleLabel = whiteLabel(UIFont::systemFontOfSize(13), 2, NSTextAlignmentLeft);
    m_cardView->addSubview(m_subtitleLabel);
    m_priceLabel = whiteLabel(UIFont::boldSystemFontOfSize(10), 1, NSTextAlignmentCenter);
    m_cardView->addSubview(m_priceLabel);

    m_youtubeButton = UIButton::buttonWithType(UIButtonTypeCustom);
    bordered(*m_youtubeButton);
    m_youtubeButton->setImageForState(vnt::themedImage(g_cellThemeFlags.current(), "Tweaks", "youtube.png"),
                                      UIControlStateNormal);
    m_cardView->addSubview(m_youtubeButton);

    m_youtubeLabel = whiteLabel(UIFont::systemFontOfSize(10), 2, NSTextAlignmentCenter);
    m_youtubeLabel->setText("Watch\nVideo");
    m_cardView->addSubview(m_youtubeLabel);

    NSLayoutConstraint::activateConstraints({
        m_cardView->topAnchor().constraintEqualToAnchorConstant(content->topAnchor(), 5),
        m_cardView->leadingAnchor().constraintEqualToAnchorConstant(content->leadingAnchor(), 5),
        m_cardView->trailingAnchor().constraintEqualToAnchorConstant(content->trailingAnchor(), -5),
        m_cardView->bottomAnchor().constraintEqualToAnchorConstant(content->bottomAnchor(), -5),

        m_iconImage->widthAnchor().constraintEqualToConstant(60),
        m_iconImage->heightAnchor().constraintEqualToConstant(60),
        m_iconImage->centerYAnchor().constraintEqualToAnchor(m_cardView->centerYAnchor()),
        m_iconImage->leadingAnchor().constraintEqualToAnchorConstant(m_cardView->leadingAnchor(), 10),

        m_titleLabel->topAnchor().constraintEqualToAnchorConstant(m_cardView->topAnchor(), 25),
        m_titleLabel->leadingAnchor().constraintEqualToAnchorConstant(m_iconImage->trailingAnchor(), 10),

        m_subtitleLabel->topAnchor().constraintEqualToAnchorConstant(m_titleLabel->topAnchor(), 30),
        m_subtitleLabel->leadingAnchor().constraintEqualToAnchorConstant(m_iconImage->trailingAnchor(), 10),
        m_subtitleLabel->trailingAnchor().constraintEqualToAnchorConstant(m_cardView->trailingAnchor(), -100),

        m_priceLabel->topAnchor().constraintEqualToAnchorConstant(m_iconImage->bottomAnchor(), 2),
        m_priceLabel->centerXAnchor().constraintEqualToAnchor(m_iconImage->centerXAnchor()),

        m_youtubeButton->widthAnchor().constraintEqualToConstant(45),
        m_youtubeButton->heightAnchor().constraintEqualToConstant(45),
        m_youtubeButton->centerYAnchor().constraintEqualToAnchor(m_cardView->centerYAnchor()),
        m_youtubeButton->trailingAnchor().constraintEqualToAnchorConstant(m_cardView->trailingAnchor(), -10),

        m_youtubeLabel->centerYAnchor().constraintEqualToAnchor(m_youtubeButton->centerYAnchor()),
        m_youtubeLabel->centerXAnchor().constraintEqualToAnchorConstant(m_youtubeButton->centerXAnchor(), -50),
    });
}

void VNTTweaksCustomCell::layoutSubviews() {
    UITableViewCell::layoutSubviews();
    const auto& sublayers = m_cardContentView->layer()->sublayers();
    if (!sublayers.empty())
        if (auto gradient = cast<CAGradientLayer>(sublayers.front())) gradient->setFrame(m_cardContentView->bounds());
}
