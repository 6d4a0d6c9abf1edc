#include "prefs/cells/VNTZRVCHeaderCella.h"

#include "prefs/cells/VNTZRVCIconRow.h"

#include "platform/core/Runtime.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIFont.h"
#include "platform/ui/UILabel.h"

VT_REGISTER_CLASS(VNTZRVCHeaderCella, [](Class c) {
    using platform::runtime::addMethod;
    addMethod<&VNTZRVCHeaderCella::initWithSpecifier>(c, "initWithSpecifier:");
    addMethod<&VNTZRVCHeaderCella::preferredHeightForWidth>(c, "preferredHeightForWidth:");
    addMethod<&VNTZRVCHeaderCella::headerLabel>(c, "headerLabel");
})

void VNTZRVCHeaderCella::initWithSpecifier(Ref<PSSpecifier> specifier) {
    initWithStyleReuseIdentifierSpecifier(UITableViewCellStyleDefault, "Cell", specifier);
    m_headerLabel = alloc<UILabel>();
    m_headerLabel->initWithFrame(bounds());
    // Made with the row's frame before the table sizes the row; the masks keep it over the whole row afterwards.
    m_headerLabel->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    m_headerLabel->setNumberOfLines(0);
    m_headerLabel->setText(vnt::kit::specifierText(specifier.get(), "header"));
    m_headerLabel->setBackgroundColor(UIColor::clearColor());
    m_headerLabel->setTextAlignment(NSTextAlignmentLeft);
    m_headerLabel->setFont(UIFont::boldSystemFontOfSize(kFontSize));
    addSubview(m_headerLabel);
}

CGFloat VNTZRVCHeaderCella::preferredHeightForWidth(CGFloat) { return kHeight; }

void VNTZRVCHeaderCella::refreshCellContentsWithSpecifier(Ref<PSSpecifier> specifier) {
    PSTableCell::refreshCellContentsWithSpecifier(std::move(specifier));
    textLabel()->setText("");
}
