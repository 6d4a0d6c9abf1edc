#include "tweak/dashboard/VantileTableViewCustomCell.h"

#include "tweak/dashboard/VantileItems.h"

#include "platform/core/Runtime.h"
#include "platform/gfx/CGColor.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIFont.h"
#include "platform/ui/NSLayoutConstraint.h"
#include "platform/ui/CALayer.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"

VT_REGISTER_CLASS(VantileTableViewCustomCell, [](Class c) {
    platform::runtime::addMethod<&VantileTableViewCustomCell::initWithStyleReuseIdentifier>(
        c, "initWithStyle:reuseIdentifier:");
})

void VantileTableViewCustomCell::initWithStyleReuseIdentifier(UITableViewCellStyle style, std::string reuseIdentifier) {
    UITableViewCell::initWithStyleReuseIdentifier(style, std::move(reuseIdentifier));

    m_iconImage = alloc<UIImageView>();
    m_iconImage->initWithFrame(kIconFrame);
    m_iconImage->layer()->setCornerRadius(kIconCornerRadius);
    m_iconImage->layer()->setCornerCurve("continuous");
    m_iconImage->setClipsToBounds(true);
    m_iconImage->layer()->setBorderWidth(1);
    m_iconImage->layer()->setBorderColor(UIColor::whiteColor()->CGColor());
    contentView()->addSubview(m_iconImage);

    m_titleLabel = alloc<UILabel>();
    m_titleLabel->init();
    m_titleLabel->setFont(UIFont::boldSystemFontOfSize(kTitleFontSize));
    m_titleLabel->setTextColor(UIColor::labelColor());
    m_titleLabel->setTextAlignment(NSTextAlignmentLeft);
    m_titleLabel->setNumberOfLines(2);
    m_titleLabel->setTranslatesAutoresizingMaskIntoConstraints(false);
    const Ref<UIView> content = contentView();
    content->addSubview(m_titleLabel);
    // Top and centre together give the title a fixed 40-point band in the 90-point row: room for two lines.
    for (const auto& constraint :
         {m_titleLabel->topAnchor().constraintEqualToAnchorConstant(content->topAnchor(), kTitleTop),
          m_titleLabel->leadingAnchor().constraintEqualToAnchorConstant(m_iconImage->trailingAnchor(), kTitleGap),
          m_titleLabel->trailingAnchor().constraintEqualToAnchorConstant(content->trailingAnchor(), -kTitleGap),
          m_titleLabel->centerYAnchor().constraintEqualToAnchor(content->centerYAnchor())})
        constraint->setActive(true);
}
