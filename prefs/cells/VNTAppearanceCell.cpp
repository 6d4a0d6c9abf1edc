#include "prefs/cells/VNTAppearanceCell.h"

#include "prefs/cells/VNTAppearanceOptionView.h"
#include "prefs/cells/VNTZRVCIconRow.h"
#include "prefs/drawer/VNTTheme.h"

#include "platform/core/NSBundle.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/UIImage.h"
#include "platform/host/PSSpecifier.h"
#include "platform/ui/CAGradientLayer.h"
#include "platform/ui/CALayer.h"
#include "platform/ui/NSLayoutAnchor.h"
#include "platform/ui/NSLayoutConstraint.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UIStackView.h"

#include <algorithm>
#include <cstdlib>

VT_REGISTER_CLASS(VNTAppearanceCell, [](Class c) {
    using platform::runtime::addMethod;
    addMethod<&VNTAppearanceCell::selectedOption>(c, "selectedOption:");
    addMethod<&VNTAppearanceCell::gradientView>(c, "gradientView");
    addMethod<&VNTAppearanceCell::setGradientView>(c, "setGradientView:");
})

namespace {

// A stored value as the cards compare it: strings as they are, whole numbers as their decimal text.
std::string optionText(const Value& value) {
    if (const std::string* s = value.asString()) return *s;
    if (auto i = value.asInteger()) return std::to_string(*i);
    return {};
}

std::optional<long long> wholeNumber(const std::string& text) {
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    const long long n = std::strtoll(text.c_str(), &end, 10);
    if (!end || *end != '\0') return std::nullopt;
    return n;
}

void pinToEdges(UIView& view, UIView& to) {
    view.setTranslatesAutoresizingMaskIntoConstraints(false);
    NSLayoutConstraint::activateConstraints({
        view.topAnchor().constraintEqualToAnchor(to.topAnchor()),
        view.leadingAnchor().constraintEqualToAnchor(to.leadingAnchor()),
        view.trailingAnchor().constraintEqualToAnchor(to.trailingAnchor()),
        view.bottomAnchor().constraintEqualToAnchor(to.bottomAnchor()),
    });
}

Ref<NSBundle> bundleOf(const id& target) {
    if (!platform::responds(target, "bundle")) return nullptr;
    return platform::msgSend<Ref<NSBundle>>(target.get(), sel("bundle"));
}

}  // namespace

void VNTAppearanceCell::initWithStyleReuseIdentifierSpecifier(UITableViewCellStyle, std::string reuseIdentifier,
                                                              Ref<PSSpecifier> specifier) {
    PSTableCell::initWithStyleReuseIdentifierSpecifier(UITableViewCellStyleDefault, std::move(reuseIdentifier),
                                                       specifier);
    setSelectionStyle(UITableViewCellSelectionStyleNone);

    std::vector<Ref<VNTAppearanceOptionView>> cards;
    const std::optional<Property> optionsProperty = specifier ? specifier->propertyForKey("options") : std::nullopt;
    const Value* options = optionsProperty ? optionsProperty->value() : nullptr;
    const auto bundle = specifier ? bundleOf(specifier->target()) : nullptr;
    if (options && options->asDictionary())
        for (const auto& [name, entry] : *options->asDictionary()) {
            const auto* option = entry.asDictionary();
            if (!option) continue;
            auto value = option->find("appearanceOption");
            if (value == option->end() || !value->second.asString()) continue;
            auto card = alloc<VNTAppearanceOptionView>();
            card->initWithFrameAppearanceOption(CGRectZero, *value->second.asString());
            card->setDelegate(self());
            if (auto label = option->find("label"); label != option->end() && label->second.asString())
                card->label()->setText(*label->second.asString());
            if (auto image = option->find("image"); image != option->end() && image->second.asString())
                card->setPreviewImage(
                    UIImage::imageNamedInBundleCompatibleWithTraitCollection(*image->second.asString(), bundle, nullptr));
            if (auto position = option->find("position"); position != option->end())
                card->setTag(static_cast<long>(position->second.asInteger().value_or(0)));
            cards.push_back(card);
        }

    m_gradientView = alloc<UIView>();
    m_gradientView->initWithFrame(CGRectZero);
    m_gradientView->setClipsToBounds(true);
    contentView()->addSubview(m_gradientView);
    pinToEdges(*m_gradientView, *this);
    if (const auto theme = vnt::kit::currentThemeForNewComponent())
        m_gradientView->layer()->addSublayer(vnt::makeThemeGradient(
            *theme, CGRectMake(0, 0, UIScreen::mainScreen()->bounds().width(), kGradientHeight)));

    std::stable_sort(cards.begin(), cards.end(), [](const auto& a, const auto& b) { return a->tag() < b->tag(); });
    std::vector<Ref<UIView>> arranged(cards.begin(), cards.end());
    m_stackView = alloc<UIStackView>();
    m_stackView->initWithArrangedSubviews(arranged);
    m_stackView->setAxis(UILayoutConstraintAxisHorizontal);
    m_stackView->setAlignment(UIStackViewAlignmentCenter);
    m_stackView->setDistribution(UIStackViewDistributionFillEqually);
    m_stackView->setSpacing(0);
    contentView()->addSubview(m_stackView);
    pinToEdges(*m_stackView, *this);

    const std::string current = storedOption();
    for (const auto& card : cards) {
        const bool chosen = card->appearanceOption() == current;
        card->setEnabled(chosen);
        card->setHighlighted(chosen);
    }
}

void VNTAppearanceCell::refreshCellContentsWithSpecifier(Ref<PSSpecifier> specifier) {
    PSTableCell::refreshCellContentsWithSpecifier(specifier);
    // The cards are the row; the host's title would only show through between them.
    textLabel()->setText("");
    setAccessoryType(UITableViewCellAccessoryNone);
}

std::string VNTAppearanceCell::storedOption() { return m_specifier ? optionText(m_specifier->performGetter()) : ""; }

std::vector<Ref<VNTAppearanceOptionView>> VNTAppearanceCell::optionViews() const {
    std::vector<Ref<VNTAppearanceOptionView>> cards;
    if (m_stackView)
        for (const auto& v : m_stackView->arrangedSubviews())
            if (auto card = cast<VNTAppearanceOptionView>(v)) cards.push_back(card);
    return cards;
}

void VNTAppearanceCell::selectedOption(Ref<VNTAppearanceOptionView> option) {
    if (!option) return;
    const std::string& value = option->appearanceOption();
    if (m_specifier) {
        const auto number = m_specifier->boolProperty("isNumeric") ? wholeNumber(value) : std::nullopt;
        m_specifier->performSetterWithValue(number ? Value(*number) : Value(value));
    }
    for (const auto& card : optionViews()) card->updateViewForAppearance(value);
}
