#include "tweak/regroup/RegroupLinkRows.h"

#include "common/Keys.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/UIImage.h"
#include "platform/host/PSSpecifier.h"
#include "platform/ui/UIScreen.h"
#include "tweak/regroup/AppStoreAppSpecifiersController.h"
#include "tweak/regroup/AppleAppSpecifiersController.h"
#include "tweak/regroup/RegroupHooks.h"
#include "tweak/regroup/TweakSpecifiersController.h"

namespace vantile::regroup {

namespace {

std::string titleOr(const Value& bound, std::string_view fallback) {
    if (const std::string* text = bound.asString()) return *text;
    return std::string(fallback);
}

Ref<PSSpecifier> makeLinkRow(const std::string& title, const id& target, Class detail, Ref<UIImage> icon) {
    const long linkCell = PSSpecifier::cellTypeFromString("PSLinkCell").value_or(PSSpecifier::PSLinkCell);
    auto link =
        PSSpecifier::preferenceSpecifierNamedTargetSetGetDetailCellEdit(title, target, nullptr, nullptr, detail,
                                                                        linkCell, nullptr);
    if (icon) link->setPropertyForKey(Property(std::move(icon)), "iconImage");
    return link;
}

}  // namespace

LinkTitles currentLinkTitles() {
    const RegroupSettings& s = settings();
    return {titleOr(s.tweaksSectionString, defaults::tweaksSectionString),
            titleOr(s.stockAppsString, defaults::stockAppsString),
            titleOr(s.thirdPartyAppsString, defaults::thirdPartyAppsString)};
}

Ref<UIImage> applicationIcon(std::string_view bundleIdentifier) {
    // The device answers this as a class message of UIImage; the run-time here has none, so it goes to an instance.
    static const SEL selector = sel("_applicationIconImageForBundleIdentifier:format:scale:");
    Class imageClass = objc_getClass("UIImage");
    id image = platform::runtime::createInstance(imageClass);
    if (!image || !image->respondsToSelector(selector)) return nullptr;
    return platform::msgSend<Ref<UIImage>, std::string, long, CGFloat>(
        image.get(), selector, std::string(bundleIdentifier), 0L, UIScreen::mainScreen()->scale());
}

LinkRowFactory linkRowFactory(LinkTitles titles, const id& rootController) {
    Weak<NSObject> target = rootController;
    return [titles = std::move(titles), target](LinkKind kind) -> Ref<PSSpecifier> {
        switch (kind) {
        case LinkKind::Tweaks:
            return makeLinkRow(titles.tweaks, target.lock(), TweakSpecifiersController::classObject(),
                               UIImage::imageWithContentsOfFile(kTweaksIconPath));
        case LinkKind::AppleApps: {
            auto link = makeLinkRow(titles.stockApps, target.lock(), AppleAppSpecifiersController::classObject(),
                                    applicationIcon(kSettingsBundleIdentifier));
            link->setIdentifier(std::string(kAppleLinkIdentifier));
            return link;
        }
        case LinkKind::InstalledApps: {
            auto link = makeLinkRow(titles.thirdPartyApps, target.lock(),
                                    AppStoreAppSpecifiersController::classObject(),
                                    applicationIcon(kAppStoreBundleIdentifier));
            link->setIdentifier(std::string(kInstalledLinkIdentifier));
            return link;
        }
        }
        return nullptr;
    };
}

}  // namespace vantile::regroup
