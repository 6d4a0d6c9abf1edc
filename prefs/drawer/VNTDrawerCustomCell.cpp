#include "prefs/drawer/VNTDrawerCustomCell.h"

#include "platform/core/Runtime.h"
#include "platform/gfx/CGColor.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIFont.h"
#include "platform/ui/CALayer.h"
#include "platform/ui/NSLayoutConstraint.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"

VT_REGISTER_CLASS(VNTDrawerCustomCell, [](Class c) {
    platform::runtime::addMethod<&VNTDrawerCustomCell::initWithStyleReuseIdentifier>(c,
                                                                                   "initWithStyle:reuseIdentifier:");
})

namespace {

Ref<UILabel> whiteLabel(Ref<UIFont> font, long lines) {
    auto label = alloc<UILabel>();
    label->init();
    label->setTextColor(UIColor::whiteColor());
    label->setFont(std::move(font));
    label->setTextAlignment(NSTextAlignmentLeft);
    label->setNumberOfLines(lines);
    label->setTranslatesAutoresizingMaskIntoConstraints(false);
    return label;
}

}  // namespace

void VNTDrawerCustomCell::initWithStyleReuseIdentifier(UITableViewCellStyle style, std::string reuseIdentifier) {
    UITableViewCell::initWithStyleReuseIdentifier(style, std::move(reuseIdentifier));
    const Ref<UIView> content = contentView();

    m_cardView = alloc<UIView>();
    m_cardView->init();
    m_cardView->setBackgroundColor(UIColor::clearColor());
    m_cardView->setTranslatesAutoresizingMaskIntoConstraints(false);
    content->addSubview(m_cardView);

    m_iconImage = alloc<UIImageView>();
    m_iconImage->init();
    m_iconImage->layer()->setCornerRadius(10);
    m_iconImage->layer()->setCornerCurve("continuous");
    m_iconImage->setClipsToBounds(true);
    m_iconImage->layer()->setBorderWidth(1);
    m_iconImage->layer()->setBorderColor(UIColor::whiteColor()->CGColor());
    m_iconImage->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_cardView->addSubview(m_iconImage);

    m_titleLabel = whiteLabel(UIFont::boldSystemFontOfSize(kTitleFontSize), 1);
    m_cardView->addSubview(m_titleLabel);
    m_subtitleLabel = whiteLabel(UIFont::systemFontOfSize(kSubtitleFontSize), 1);
    m_cardView->addSubview(m_subtitleLabel);

    NSLayoutConstraint::activateConstraints({
        m_cardView->topAnchor().constraintEqualToAnchorConstant(content->topAnchor(), 5),
        m_cardView->leadingAnchor().constraintEqualToAnchorConstant(content->leadingAnchor(), 5),
        m_cardView->trailingAnchor().constraintEqualToAnchorConstant(content->trailingAnchor(), -5),
        m_cardView->bottomAnchor().constraintEqualToAnchorConstant(content->bottomAnchor(), -5),

        m_iconImage->widthAnchor().constraintEqualToConstant(50),
        m_iconImage->heightAnchor().constraintEqualToConstant(50),
        m_iconImage->centerYAnchor().constraintEqualToAnchor(m_cardView->centerYAnchor()),
        m_iconImage->leadingAnchor().constraintEqualToAnchorConstant(m_cardView->leadingAnchor(), 10),

        m_titleLabel->topAnchor().constraintEqualToAnchorConstant(m_cardView->topAnchor(), 10),
        m_titleLabel->leadingAnchor().constraintEqualToAnchorConstant(m_iconImage->trailingAnchor(), 10),

        m_subtitleLabel->bottomAnchor().constraintEqualToAnchorConstant(m_cardView->bottomAnchor(), -10),
        m_subtitleLabel->leadingAnchor().constraintEqualToAnchorConstant(m_iconImage->trailingAnchor(), 10),
        m_subtitleLabel->trailingAnchor().constraintEqualToAnchor(m_cardView->trailingAnchor()),
    });
}
