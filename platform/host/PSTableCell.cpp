#include "platform/host/PSTableCell.h"

#include "platform/core/Runtime.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIImage.h"
#include "platform/host/PSListItemsController.h"
#include "platform/host/PSSpecifier.h"
#include "platform/ui/CALayer.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UISwitch.h"


VT_REGISTER_CLASS_IN(PSTableCell, "Preferences", [](Class c) {
    using platform::runtime::addMethod;
    addMethod<&PSTableCell::initWithStyleReuseIdentifierSpecifier>(c, "initWithStyle:reuseIdentifier:specifier:");
    addMethod<&PSTableCell::refreshCellContentsWithSpecifier>(c, "refreshCellContentsWithSpecifier:");
})

VT_REGISTER_CLASS_IN(PSSwitchTableCell, "Preferences", [](Class c) {
    platform::runtime::addMethod<&PSSwitchTableCell::controlObject>(c, "control");
    platform::runtime::addMethod<&PSSwitchTableCell::switchChanged>(c, "switchChanged:");
})

namespace {

bool opensPage(const PSSpecifier& s) {
    return s.detailControllerClass() || s.cellType() == PSSpecifier::PSLinkCell ||
           s.cellType() == PSSpecifier::PSLinkListCell;
}

}  // namespace

void PSTableCell::initWithStyleReuseIdentifierSpecifier(UITableViewCellStyle style, std::string reuseIdentifier,
                                                        Ref<PSSpecifier> specifier) {
    initWithStyleReuseIdentifier(style, std::move(reuseIdentifier));
    m_specifier = std::move(specifier);
    if (m_specifier) platform::msgSend<void>(this, sel("refreshCellContentsWithSpecifier:"), m_specifier);
}

void PSTableCell::refreshCellContentsWithSpecifier(Ref<PSSpecifier> specifier) {
    m_specifier = specifier;
    if (!specifier) return;
    textLabel()->setText(specifier->name());
    Ref<UIImage> icon;
    if (auto property = specifier->propertyForKey("iconImage")) icon = property->object<UIImage>();
    // The image view is only made for rows that have had an icon, so rows without one keep their text at the margin.
    if (icon || m_iconShown) imageView()->setImage(icon);
    m_iconShown = m_iconShown || icon;
    if (specifier->cellType() == PSSpecifier::PSTitleValueCell && detailTextLabel()) {
        const Value value = specifier->performGetter();
        if (const std::string* text = value.asString()) detailTextLabel()->setText(*text);
    }
    // A link list shows the title of the stored choice; nothing when the stored value is none of its values.
    if (specifier->cellType() == PSSpecifier::PSLinkListCell && detailTextLabel())
        detailTextLabel()->setText(PSListItemsController::titleForStoredValue(*specifier).value_or(""));
    setAccessoryType(opensPage(*specifier) ? UITableViewCellAccessoryDisclosureIndicator
                                           : UITableViewCellAccessoryNone);
    setSelectionStyle(opensPage(*specifier) || specifier->cellType() == PSSpecifier::PSButtonCell
                          ? UITableViewCellSelectionStyleDefault
                          : UITableViewCellSelectionStyleNone);
    // A reloaded row lays itself out again, as the framework's row reload does: an icon that came or went moves the
    // title, also when the image view was already there (a reused row, or the account picture arriving later).
    setNeedsLayout();
}

void PSTableCell::setGroupInset(CGFloat margin, bool firstInGroup, bool lastInGroup) {
    if (margin == m_margin && firstInGroup == m_first && lastInGroup == m_last) return;
    m_margin = margin;
    m_first = firstInGroup;
    m_last = lastInGroup;
    setNeedsLayout();
}

CGRect PSTableCell::contentFrame() const {
    // Moved in before the cell lays its labels out inside it, so a right-aligned value stays on the card.
    CGRect content = UITableViewCell::contentFrame();
    if (m_margin <= 0) return content;
    content.origin.x += m_margin;
    content.size.width = std::max<CGFloat>(0, content.size.width - 2 * m_margin);
    return content;
}

void PSTableCell::layoutSubviews() {
    UITableViewCell::layoutSubviews();
    auto separator = separatorView();
    if (m_margin <= 0) {
        if (backgroundView()) backgroundView()->setFrame(bounds());
        if (separator) separator->setHidden(separatorHidden());
        return;
    }
    // Inset rows: a rounded card behind the content, the content and accessories moved in by the margin.
    if (!backgroundView()) {
        auto card = alloc<UIView>();
        card->initWithFrame(bounds());
        card->setBackgroundColor(UIColor::secondarySystemGroupedBackgroundColor());
        card->setUserInteractionEnabled(false);
        setBackgroundView(card);
        setBackgroundColor(UIColor::clearColor());
    }
    const CGRect b = bounds();
    backgroundView()->setFrame(CGRectMake(m_margin, 0, b.width() - 2 * m_margin, b.height()));
    auto layer = backgroundView()->layer();
    const bool rounded = m_first || m_last;
    layer->setCornerRadius(rounded ? kCornerRadius : 0);
    layer->setMasksToBounds(rounded);
    unsigned long corners = 0;
    if (m_first) corners |= kCALayerMinXMinYCorner | kCALayerMaxXMinYCorner;
    if (m_last) corners |= kCALayerMinXMaxYCorner | kCALayerMaxXMaxYCorner;
    if (rounded) layer->setMaskedCorners(corners);
    // The hairline stays on the card and the card's last row has none, its rounded edge closes the group.
    if (separator) {
        CGRect line = separator->frame();
        line.origin.x += m_margin;
        line.size.width = std::max<CGFloat>(0, b.width() - m_margin - line.origin.x);
        separator->setFrame(line);
        separator->setHidden(separatorHidden() || m_last);
    }
    for (const auto& accessory : {accessoryView(), accessoryTypeView()}) {
        if (!accessory || accessory->superview().get() != this) continue;
        CGRect f = accessory->frame();
        f.origin.x -= m_margin;
        accessory->setFrame(f);
    }
}

void PSSwitchTableCell::initWithStyleReuseIdentifierSpecifier(UITableViewCellStyle style, std::string reuseIdentifier,
                                                              Ref<PSSpecifier> specifier) {
    auto toggle = alloc<UISwitch>();
    toggle->initWithFrame(CGRectZero);
    toggle->addTargetActionForControlEvents(self(), sel("switchChanged:"), UIControlEventValueChanged);
    m_control = toggle;
    PSTableCell::initWithStyleReuseIdentifierSpecifier(style, std::move(reuseIdentifier), std::move(specifier));
    setAccessoryView(m_control);
}

void PSSwitchTableCell::refreshCellContentsWithSpecifier(Ref<PSSpecifier> specifier) {
    PSTableCell::refreshCellContentsWithSpecifier(specifier);
    setAccessoryType(UITableViewCellAccessoryNone);
    setSelectionStyle(UITableViewCellSelectionStyleNone);
    if (!specifier) return;
    const Value value = specifier->performGetter();
    cast<UISwitch>(m_control)->setOn(value.numberValue().value_or(0) != 0);
}

void PSSwitchTableCell::switchChanged(id sender) {
    auto toggle = cast<UISwitch>(m_control);
    if (m_specifier && toggle) m_specifier->performSetterWithValue(Value(toggle->isOn()));
}
