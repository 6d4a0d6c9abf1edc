#include "prefs/cells/VNTZRVCDescriptionCella.h"

#include "prefs/cells/VNTZRVCIconRow.h"

#include "platform/core/Runtime.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIFont.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UITextView.h"

#include <algorithm>

VT_REGISTER_CLASS(VNTZRVCDescriptionCella, [](Class c) {
    using platform::runtime::addMethod;
    addMethod<&VNTZRVCDescriptionCella::headerLabel>(c, "headerLabel");
    addMethod<&VNTZRVCDescriptionCella::descriptionTextView>(c, "descriptionTextView");
})

namespace {

CGFloat rowHeight(const PSSpecifier* specifier) {
    if (!specifier) return 0;
    auto height = specifier->propertyForKey("height");
    const Value* value = height ? height->value() : nullptr;
    return value ? value->numberValue().value_or(0) : 0;
}

}  // namespace

void VNTZRVCDescriptionCella::initWithStyleReuseIdentifierSpecifier(UITableViewCellStyle style,
                                                                    std::string reuseIdentifier,
                                                                    Ref<PSSpecifier> specifier) {
    PSTableCell::initWithStyleReuseIdentifierSpecifier(style, std::move(reuseIdentifier), specifier);
    const CGFloat height = rowHeight(specifier.get());
    const std::string header = vnt::kit::specifierText(specifier.get(), "header");

    m_containerView = alloc<UIView>();
    m_containerView->initWithFrame(CGRectMake(0, 0, UIScreen::mainScreen()->bounds().width(), height));
    contentView()->addSubview(m_containerView);

    m_headerLabel = alloc<UILabel>();
    m_headerLabel->initWithFrame(kHeaderFrame);
    m_headerLabel->setText(header);
    m_headerLabel->setFont(UIFont::boldSystemFontOfSize(kHeaderFontSize));
    m_headerLabel->setTextAlignment(NSTextAlignmentLeft);
    m_containerView->addSubview(m_headerLabel);

    m_descriptionTextView = alloc<UITextView>();
    // A row lower than the title leaves the text no room rather than a negative height.
    m_descriptionTextView->initWithFrame(CGRectMake(0, kTextTop,
                                                    m_containerView->frame().width() - kTextWidthShortfall,
                                                    std::max<CGFloat>(0, height - kTextTop)));
    m_descriptionTextView->setClipsToBounds(true);
    m_descriptionTextView->setContentInset({});
    m_descriptionTextView->setDelegate(self());
    m_descriptionTextView->setEditable(false);
    m_descriptionTextView->setFont(UIFont::systemFontOfSize(kTextFontSize));
    m_descriptionTextView->setBackgroundColor(UIColor::clearColor());
    m_descriptionTextView->setScrollEnabled(true);
    m_descriptionTextView->setTextAlignment(NSTextAlignmentLeft);
    m_containerView->addSubview(m_descriptionTextView);

    if (header == kFAQHeader) {
        m_headerLabel->setTextColor(UIColor::clearColor());
        m_descriptionTextView->setText(std::string(kFAQText));
    } else if (header == kExampleHeader) {
        m_descriptionTextView->setText(std::string(kExampleText));
    }
}

void VNTZRVCDescriptionCella::refreshCellContentsWithSpecifier(Ref<PSSpecifier> specifier) {
    PSTableCell::refreshCellContentsWithSpecifier(std::move(specifier));
    textLabel()->setText("");
}
