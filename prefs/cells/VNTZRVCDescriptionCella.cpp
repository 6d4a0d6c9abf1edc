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
    // The host's initialiser shows the specifier through refreshCellContentsWithSpecifier below.
    PSTableCell::initWithStyleReuseIdentifierSpecifier(style, std::move(reuseIdentifier), specifier);
    if (!m_containerView) showText(nullptr);
}

void VNTZRVCDescriptionCella::refreshCellContentsWithSpecifier(Ref<PSSpecifier> specifier) {
    PSTableCell::refreshCellContentsWithSpecifier(specifier);
    textLabel()->setText("");
    showText(specifier.get());
}

void VNTZRVCDescriptionCella::makeViews() {
    m_containerView = alloc<UIView>();
    m_containerView->init();
    contentView()->addSubview(m_containerView);

    m_headerLabel = alloc<UILabel>();
    m_headerLabel->initWithFrame(kHeaderFrame);
    m_headerLabel->setFont(UIFont::boldSystemFontOfSize(kHeaderFontSize));
    m_headerLabel->setTextAlignment(NSTextAlignmentLeft);
    m_containerView->addSubview(m_headerLabel);

    m_descriptionTextView = alloc<UITextView>();
    m_descriptionTextView->init();
    m_descriptionTextView->setClipsToBounds(true);
    m_descriptionTextView->setContentInset({});
    m_descriptionTextView->setDelegate(self());
    m_descriptionTextView->setEditable(false);
    m_descriptionTextView->setFont(UIFont::systemFontOfSize(kTextFontSize));
    m_descriptionTextView->setBackgroundColor(UIColor::clearColor());
    m_descriptionTextView->setScrollEnabled(true);
    m_descriptionTextView->setTextAlignment(NSTextAlignmentLeft);
    m_containerView->addSubview(m_descriptionTextView);
}

void VNTZRVCDescriptionCella::showText(const PSSpecifier* specifier) {
    if (!m_containerView) makeViews();
    const CGFloat height = rowHeight(specifier);
    const std::string header = vnt::kit::specifierText(specifier, "header");
    m_containerView->setFrame(CGRectMake(0, 0, UIScreen::mainScreen()->bounds().width(), height));
    // A row lower than the title leaves the text no room rather than a negative height.
    m_descriptionTextView->setFrame(CGRectMake(0, kTextTop, m_containerView->frame().width() - kTextWidthShortfall,
                                               std::max<CGFloat>(0, height - kTextTop)));
    m_headerLabel->setText(header);
    // Null restores the label colour, which a row shown before with the questions had made clear.
    m_headerLabel->setTextColor(header == kFAQHeader ? UIColor::clearColor() : nullptr);
    if (header == kFAQHeader) m_descriptionTextView->setText(std::string(kFAQText));
    else if (header == kExampleHeader) m_descriptionTextView->setText(std::string(kExampleText));
    else m_descriptionTextView->setText("");
}
