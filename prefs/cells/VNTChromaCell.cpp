#include "prefs/cells/VNTChromaCell.h"

#include "prefs/cells/ChromaCodec.h"
#include "prefs/cells/ChromaStore.h"
#include "prefs/cells/VNTChromaViewController.h"
#include "prefs/cells/VNTZRVCIconRow.h"
#include "prefs/drawer/VNTTheme.h"

#include "platform/core/NSNotificationCenter.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIFont.h"
#include "platform/gfx/UIImage.h"
#include "platform/ui/CALayer.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIViewController.h"

VT_REGISTER_CLASS(VNTChromaCell, [](Class c) {
    using platform::runtime::addMethod;
    addMethod<&VNTChromaCell::openColorPicker>(c, "openColorPicker");
    addMethod<&VNTChromaCell::updatePreview>(c, "updatePreview");
    addMethod<&VNTChromaCell::target>(c, "target");
    addMethod<&VNTChromaCell::target>(c, "cellTarget");
    addMethod<&VNTChromaCell::action>(c, "action");
    addMethod<&VNTChromaCell::action>(c, "cellAction");
    addMethod<&VNTChromaCell::iconImage>(c, "iconImage");
    addMethod<&VNTChromaCell::headerLabel>(c, "headerLabel");
    addMethod<&VNTChromaCell::subtitleLabel>(c, "subtitleLabel");
})

namespace {

Ref<UIView>& lastPreview() {
    static Ref<UIView> preview;
    return preview;
}

// The controller whose view holds the row: the first controller up the responder chain.
Ref<UIViewController> controllerShowing(const UIView& view) {
    for (auto r = view.nextResponder(); r; r = r->nextResponder())
        if (auto controller = cast<UIViewController>(r)) return controller;
    return nullptr;
}

Ref<UILabel> makeLabel(CGRect frame, CGFloat size) {
    auto label = alloc<UILabel>();
    label->initWithFrame(frame);
    label->setFont(UIFont::systemFontOfSize(size));
    return label;
}

}  // namespace

Ref<UIView> VNTChromaCell::colorPreview() { return lastPreview(); }

void VNTChromaCell::initWithStyleReuseIdentifierSpecifier(UITableViewCellStyle style, std::string reuseIdentifier,
                                                          Ref<PSSpecifier> specifier) {
    if (specifier) specifier->setPropertyForKey(Property(kRowHeight), "height");
    m_iconImage = alloc<UIImageView>();
    m_iconImage->initWithFrame(vnt::kit::kIconFrame);
    m_headerLabel = makeLabel(vnt::kit::kHeaderFrame, vnt::kit::kHeaderFontSize);
    m_subtitleLabel = makeLabel(vnt::kit::kSubtitleFrame, vnt::kit::kSubtitleFontSize);
    // The host's initialiser shows the specifier through refreshCellContentsWithSpecifier.
    PSTableCell::initWithStyleReuseIdentifierSpecifier(style, std::move(reuseIdentifier), specifier);
    addSubview(m_iconImage);
    addSubview(m_headerLabel);
    addSubview(m_subtitleLabel);
    showSpecifier();
}

void VNTChromaCell::refreshCellContentsWithSpecifier(Ref<PSSpecifier> specifier) {
    PSTableCell::refreshCellContentsWithSpecifier(specifier);
    textLabel()->setText("");
    if (!m_iconImage) return;
    showSpecifier();
    // A row the host hands to another entry previews and opens that entry.
    if (superview()) {
        updatePreview();
        takeTaps();
    }
}

void VNTChromaCell::showSpecifier() {
    const PSSpecifier* specifier = m_specifier.get();
    m_iconImage->setImage(vnt::themedImage(vnt::kit::currentThemeForNewComponent(), "Icons", "colour@3x.png"));
    m_headerLabel->setText(vnt::kit::specifierText(specifier, "header"));
    m_subtitleLabel->setText(vnt::kit::specifierText(specifier, "subtitle"));
}

void VNTChromaCell::didMoveToSuperview() {
    PSTableCell::didMoveToSuperview();
    if (!superview()) return;
    updatePreview();
    takeTaps();
    if (!m_observing) {
        m_observing = true;
        NSNotificationCenter::defaultCenter()->addObserverSelectorNameObject(
            self(), sel("updatePreview"), std::string(chroma::kColorUpdateNotification), nullptr);
    }
}

void VNTChromaCell::takeTaps() {
    if (!m_specifier) return;
    m_specifier->setTarget(self());
    m_specifier->setPropertyForKey(Property(action()), "action");
}

id VNTChromaCell::target() { return self(); }

void VNTChromaCell::openColorPicker() {
    if (!m_specifier) return;
    auto presenter = controllerShowing(*this);
    if (!presenter) return;
    auto picker = alloc<VNTChromaViewController>();
    picker->initWithProperties(m_specifier->properties());
    picker->setModalPresentationStyle(UIModalPresentationOverCurrentContext);
    presenter->presentViewControllerAnimatedCompletion(picker, true);
}

void VNTChromaCell::updatePreview() {
    const auto theme = vnt::kit::currentThemeForNewComponent();
    auto preview = alloc<UIView>();
    preview->initWithFrame(CGRectMake(0, 0, kPreviewSize.width, kPreviewSize.height));
    preview->layer()->setCornerRadius(kPreviewSize.height / 2);
    preview->layer()->setBorderWidth(1.5);
    if (auto accent = vnt::accentColour(theme)) preview->layer()->setBorderColor(accent->CGColor());
    lastPreview() = preview;
    if (m_specifier)
        if (auto stored = chroma::previewColourString(m_specifier->properties()))
            preview->setBackgroundColor(chroma::colorFromHexString(*stored));
    setAccessoryView(preview);
}
