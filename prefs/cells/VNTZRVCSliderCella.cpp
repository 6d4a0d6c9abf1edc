#include "prefs/cells/VNTZRVCSliderCella.h"

#include "prefs/cells/VNTZRVCIconRow.h"

#include "platform/core/Runtime.h"
#include "platform/gfx/UIColor.h"
#include "platform/ui/UILabel.h"

VT_REGISTER_CLASS(VNTZRVCSliderCella, [](Class c) {
    platform::runtime::addMethod<&VNTZRVCSliderCella::headerLabel>(c, "headerLabel");
})

void VNTZRVCSliderCella::initWithStyleReuseIdentifierSpecifier(UITableViewCellStyle style,
                                                               std::string reuseIdentifier,
                                                               Ref<PSSpecifier> specifier) {
    // The host's initialiser shows the specifier through refreshCellContentsWithSpecifier below.
    PSSliderTableCell::initWithStyleReuseIdentifierSpecifier(style, std::move(reuseIdentifier), specifier);
    if (!m_headerLabel) showHeader(nullptr);
    setBackgroundColor(UIColor::whiteColor());
    offsetSlider();
}

void VNTZRVCSliderCella::refreshCellContentsWithSpecifier(Ref<PSSpecifier> specifier) {
    PSSliderTableCell::refreshCellContentsWithSpecifier(specifier);
    showHeader(specifier.get());
}

void VNTZRVCSliderCella::showHeader(const PSSpecifier* specifier) {
    if (!m_headerLabel) {
        m_headerLabel = alloc<UILabel>();
        m_headerLabel->initWithFrame(kHeaderFrame);
        contentView()->addSubview(m_headerLabel);
    }
    m_headerLabel->setText(vnt::kit::specifierText(specifier, "header"));
}

void VNTZRVCSliderCella::layoutSubviews() {
    PSSliderTableCell::layoutSubviews();
    offsetSlider();
}

void VNTZRVCSliderCella::offsetSlider() {
    const auto slider = control();
    if (!slider) return;
    const CGRect now = slider->frame();
    // Left where the row had put it: the host did not place it again, and moving it once more would add up.
    if (m_moved && now == m_movedFrame) return;
    m_movedFrame = now.offsetBy(0, kSliderOffset);
    m_moved = true;
    slider->setFrame(m_movedFrame);
}
