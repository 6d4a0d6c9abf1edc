#include "tweak/cards/CardKind.h"

#include "common/Keys.h"
#include "platform/gfx/UIColor.h"
#include "platform/ui/UIImpactFeedbackGenerator.h"
#include "platform/ui/UIScreen.h"

#include <memory>
#include <vector>

namespace vantile::cards {

namespace {

using enum TitleSource;

// In table order, so that a kind and its row share an index. Made on first use: a card's kind lives as long as
// the process.
std::vector<std::unique_ptr<CardKind>>& kinds() {
    static std::vector<std::unique_ptr<CardKind>> all = [] {
        std::vector<std::unique_ptr<CardKind>> made;
        for (const CardRow& row : kCardTable) made.push_back(std::make_unique<CardKind>(row));
        return made;
    }();
    return all;
}

std::string stringOf(const Value& value) {
    const std::string* s = value.asString();
    return s ? *s : std::string();
}

struct Biometry {
    std::string_view titleKey;
    std::string_view iconFile;
};

// The biometric card follows the screen it is built on: home-button screens have Touch ID, the notched ones Face ID.
std::optional<Biometry> biometryForScreen() {
    const CGFloat height = UIScreen::mainScreen()->bounds().size.height;
    if (height == 667 || height == 736) return Biometry{"touchid", "touch-id.png"};
    if (height == 812 || height == 896) return Biometry{"faceid", "face-id.png"};
    return std::nullopt;
}

}  // namespace

std::string CardKind::titleText() const {
    const CardSettings& s = settings;
    switch (row.titleSource) {
    case Localized: return s.text(row.textKeys[0]);
    case TweaksSection: return stringOf(s.tweaksSectionString);
    case StockApps: return stringOf(s.stockAppsString);
    case ThirdPartyApps: return stringOf(s.thirdPartyAppsString);
    case Biometric: {
        auto b = biometryForScreen();
        return b ? s.text(b->titleKey) : std::string();
    }
    }
    return {};
}

std::string CardKind::iconPath() const {
    if (row.titleSource == Biometric) {
        auto b = biometryForScreen();
        return b ? std::string(kTweakAssets) + std::string(b->iconFile) : std::string();
    }
    return row.iconPath();
}

std::optional<std::string> CardKind::settingsURL() const {
    return row.settingsURL(stringOf(settings.tweaksSectionString));
}

CardKind* cardKindForClass(std::string_view cardClass) {
    for (auto& k : kinds())
        if (k->cardClass() == cardClass) return k.get();
    return nullptr;
}

std::size_t cardKindCount() { return kinds().size(); }

CardKind& cardKindAt(std::size_t index) { return *kinds().at(index); }

}  // namespace vantile::cards
