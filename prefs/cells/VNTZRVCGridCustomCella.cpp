#include "prefs/cells/VNTZRVCGridCustomCella.h"

#include "prefs/cells/GridButton.h"
#include "prefs/cells/VNTZRVCIconRow.h"
#include "prefs/drawer/VNTTheme.h"

#include "common/Keys.h"
#include "platform/core/HBPreferences.h"
#include "platform/core/NSBundle.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/UIFont.h"
#include "platform/gfx/UIImage.h"
#include "platform/ui/CALayer.h"
#include "platform/ui/NSLayoutConstraint.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIStackView.h"

VT_REGISTER_CLASS(VNTZRVCGridCustomCella, [](Class c) {
    using platform::runtime::addMethod;
    addMethod<&VNTZRVCGridCustomCella::initWithSpecifier>(c, "initWithSpecifier:");
    addMethod<&VNTZRVCGridCustomCella::preferredHeightForWidth>(c, "preferredHeightForWidth:");
    addMethod<&VNTZRVCGridCustomCella::gridRow>(c, "gridRow");
})

namespace {

using vnt::kit::kGridColumns;

// Shared by every grid cell and replaced at each placement, one grid being built at a time. The flags are declared
// before the object that binds them, so that the object goes first.
struct GridShared {
    vnt::ThemeFlags themeFlags;
    Ref<HBPreferences> preferences;
    std::array<std::string, 3> iconPaths;
    std::array<Ref<UIImage>, 3> iconImages;
    Ref<NSBundle> localizations;
    std::array<std::string, 3> localizedCaptions;
};

GridShared& shared() {
    static GridShared state;
    return state;
}

void refreshShared(const PSSpecifier* specifier) {
    GridShared& s = shared();
    // The previous object goes first, which unbinds the flags before they are bound again.
    s.preferences.reset();
    s.preferences = alloc<HBPreferences>();
    s.preferences->initWithIdentifier(vantile::kDomain);
    s.themeFlags.bind(*s.preferences);

    s.localizations = NSBundle::bundleWithPath(vantile::kPrefsLocalizations);
    for (std::size_t i = 0; i < kGridColumns.size(); ++i) {
        const std::string_view key = kGridColumns[i].localizationKey;
        // Without the bundle a caption shows its key, as a missing entry of the bundle does.
        s.localizedCaptions[i] =
            s.localizations ? s.localizations->localizedStringForKeyValueTable(key, "", std::nullopt) : std::string(key);
    }

    const auto theme = s.themeFlags.current();
    for (std::size_t i = 0; i < kGridColumns.size(); ++i) {
        if (theme) {
            const std::string name = vnt::kit::specifierText(specifier, kGridColumns[i].iconKey);
            s.iconPaths[i] = vnt::themedAssetPath(theme, "Categories", name + ".png").value_or("");
        }
        // Without a theme the paths keep what the last themed placement left, but no icon is shown: an unthemed
        // pane shows no themed icon anywhere.
        auto image = theme ? UIImage::imageWithContentsOfFile(s.iconPaths[i]) : nullptr;
        s.iconImages[i] = image ? image->imageWithRenderingMode(UIImageRenderingMode::AlwaysOriginal) : nullptr;
    }
}

Ref<UIStackView> makeStack(long axis, CGFloat spacing) {
    auto stack = alloc<UIStackView>();
    stack->initWithFrame(CGRectZero);
    stack->setAxis(axis);
    stack->setAlignment(UIStackViewAlignmentCenter);
    stack->setDistribution(UIStackViewDistributionEqualSpacing);
    stack->setSpacing(spacing);
    return stack;
}

void constrainSize(const Ref<UIView>& view, CGSize size) {
    view->setTranslatesAutoresizingMaskIntoConstraints(false);
    view->widthAnchor().constraintEqualToConstant(size.width)->setActive(true);
    view->heightAnchor().constraintEqualToConstant(size.height)->setActive(true);
}

}  // namespace

namespace vnt::kit {

const std::array<std::string, 3>& gridIconPaths() { return shared().iconPaths; }

}  // namespace vnt::kit

void VNTZRVCGridCustomCella::initWithSpecifier(Ref<PSSpecifier> specifier) {
    initWithStyleReuseIdentifierSpecifier(UITableViewCellStyleDefault, "Cell", std::move(specifier));
}

CGFloat VNTZRVCGridCustomCella::preferredHeightForWidth(CGFloat) { return kHeight; }

void VNTZRVCGridCustomCella::refreshCellContentsWithSpecifier(Ref<PSSpecifier> specifier) {
    PSTableCell::refreshCellContentsWithSpecifier(std::move(specifier));
    // The row is its buttons: it shows no title of the host's and is not selected itself.
    textLabel()->setText("");
    setAccessoryType(UITableViewCellAccessoryNone);
    setSelectionStyle(UITableViewCellSelectionStyleNone);
}

void VNTZRVCGridCustomCella::didMoveToSuperview() {
    PSTableCell::didMoveToSuperview();
    if (superview()) buildGrid();
}

Ref<GridButton> VNTZRVCGridCustomCella::buttonAt(std::size_t column) const {
    return column < m_buttons.size() ? m_buttons[column] : nullptr;
}

void VNTZRVCGridCustomCella::buildGrid() {
    refreshShared(m_specifier.get());
    const GridShared& s = shared();

    // A placement replaces the row of the one before; the old row's constraints go with it.
    if (m_row) m_row->removeFromSuperview();
    m_row = makeStack(UILayoutConstraintAxisHorizontal, kColumnSpacing);

    for (std::size_t i = 0; i < kGridColumns.size(); ++i) {
        const vnt::kit::GridColumn& column = kGridColumns[i];
        const std::string label = vnt::kit::specifierText(m_specifier.get(), column.labelKey);
        const bool special = label == column.specialCaption;

        auto button = GridButton::button();
        constrainSize(button, {kButtonSize, kButtonSize});
        button->setContentHorizontalAlignment(UIControlContentHorizontalAlignmentFill);
        button->setContentVerticalAlignment(UIControlContentVerticalAlignmentFill);
        button->setImageForState(s.iconImages[i], UIControlStateNormal);
        button->setImageEdgeInsets({kImageInset, kImageInset, kImageInset, kImageInset});
        const auto imageView = button->imageView();
        imageView->setContentMode(UIViewContentModeScaleAspectFit);
        imageView->setClipsToBounds(true);
        imageView->layer()->setCornerRadius(kImageCornerRadius);
        imageView->layer()->setCornerCurve(kCACornerCurveContinuous);
        button->layer()->setMasksToBounds(false);
        button->setIdentifier(vnt::kit::specifierText(m_specifier.get(), column.classKey));
        // No target: the actions go up the responder chain from the button to the page that shows the row.
        button->addTargetActionForControlEvents(nullptr, sel("openController:"), UIControlEventTouchUpInside);
        if (special && !column.extraAction.empty())
            button->addTargetActionForControlEvents(nullptr, sel(column.extraAction), UIControlEventTouchUpInside);
        button->setTag(column.tag);

        auto caption = alloc<UILabel>();
        caption->initWithFrame(CGRectZero);
        constrainSize(caption, kCaptionSize);
        caption->setText(special ? s.localizedCaptions[i] : label);
        caption->setFont(UIFont::boldSystemFontOfSize(kCaptionFontSize));
        caption->setTextAlignment(NSTextAlignmentCenter);

        auto stack = makeStack(UILayoutConstraintAxisVertical, kButtonCaptionSpacing);
        stack->addArrangedSubview(button);
        stack->addArrangedSubview(caption);
        m_row->addArrangedSubview(stack);
        m_buttons[i] = button;
    }

    m_row->setTranslatesAutoresizingMaskIntoConstraints(false);
    addSubview(m_row);
    // The row runs from 20 points below the cell's top to 40 above its bottom. Its columns (an 80-point button, 15
    // points, a 40-point caption) are taller than the 100-point cell and centred on the row, so this keeps every
    // caption inside the cell, where the next row cannot cover it, and lets the icons reach up over the space
    // above. A height of the cell's less 40 and a centred row would contradict these two; the row has neither.
    NSLayoutConstraint::activateConstraints({
        m_row->topAnchor().constraintEqualToAnchorConstant(topAnchor(), kTopMargin),
        m_row->bottomAnchor().constraintEqualToAnchorConstant(bottomAnchor(), -kBottomMargin),
        m_row->widthAnchor().constraintEqualToAnchorConstant(widthAnchor(), -2 * kSideMargin),
        m_row->centerXAnchor().constraintEqualToAnchor(centerXAnchor()),
    });
}
