// The card template: view tree and layout numbers, the 23 classes and what each takes from the catalogue, and
// the tap that opens the card's page with the haptic after it.
#include "tests/tweak/cards/CardFixture.h"

#include "tweak/cards/CardKind.h"

#include "platform/core/DeviceRoot.h"
#include "platform/core/NSURL.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/UIFont.h"
#include "platform/gfx/UIImage.h"
#include "platform/ui/CALayer.h"
#include "platform/harness/EffectLog.h"
#include "platform/ui/UIImpactFeedbackGenerator.h"
#include "platform/harness/TouchDriver.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UITapGestureRecognizer.h"

#include <functional>

namespace {

using vantile::testing::CardFixture;
namespace key = vantile::key;

// The Settings URL manager as the cards see it when the host's class is not in this program: it records each
// request as the host's does, and the flags of the last one.
class StandInURLManager : public NSObject {
public:
    static inline Class cls = nullptr;
    static inline bool lastAnimated = false, lastFromSearch = true;
    Class isa() const override { return cls; }
    id sharedManager() {
        static id shared = std::make_shared<StandInURLManager>();
        return shared;
    }
    void processURL(Ref<NSURL> url, bool animated, bool fromSearch, std::function<void()>) {
        lastAnimated = animated;
        lastFromSearch = fromSearch;
        if (url) platform::recordEffect("openURL", url->absoluteString());
    }
};

void ensureURLManager() {
    platform::runtime::enableClassGroup("Preferences");
    if (objc_getClass("PSURLManager")) return;
    StandInURLManager::cls = platform::runtime::defineClass(
        "PSURLManager", NSObject::classObject(), []() -> id { return std::make_shared<StandInURLManager>(); }, "");
    platform::runtime::addMethod<&StandInURLManager::sharedManager>(StandInURLManager::cls, "sharedManager");
    platform::runtime::addMethod<&StandInURLManager::processURL>(StandInURLManager::cls,
                                                                 "processURL:animated:fromSearch:withCompletion:");
}

constexpr CGRect kCardFrame{{10, 60}, {177.5, 120}};

class CardTemplate : public CardFixture {
protected:
    void SetUp() override {
        CardFixture::SetUp();
        ensureURLManager();
    }
    void TearDown() override {
        platform::runtime::disableAllClassGroups();
        CardFixture::TearDown();
    }
    // A card on screen, laid out, and a tap on its base.
    Ref<VantileCardCell> showAndTap(std::string_view cardClass) {
        m_root = makeRoot();
        auto card = makeCard(cardClass, kCardFrame);
        m_root->addSubview(card);
        m_root->layoutIfNeeded();
        platform::clearEffectLog();
        platform::TouchDriver(m_root).tap(CGPoint{kCardFrame.origin.x + 88, kCardFrame.origin.y + 100});
        return card;
    }
    Ref<UIView> m_root;
};

void expectFrame(CGRect actual, CGRect expected, const char* what) {
    EXPECT_DOUBLE_EQ(actual.origin.x, expected.origin.x) << what;
    EXPECT_DOUBLE_EQ(actual.origin.y, expected.origin.y) << what;
    EXPECT_DOUBLE_EQ(actual.size.width, expected.size.width) << what;
    if (expected.size.height >= 0) {
        EXPECT_DOUBLE_EQ(actual.size.height, expected.size.height) << what;
    }
}

TEST_F(CardTemplate, ViewTreeAndLayoutNumbers) {
    auto root = makeRoot();
    auto card = makeCard("BatteryCell", kCardFrame);
    root->addSubview(card);
    root->layoutIfNeeded();

    ASSERT_EQ(card->contentView()->subviews().size(), 1u);
    EXPECT_EQ(card->contentView()->subviews()[0], card->containerView());
    ASSERT_EQ(card->containerView()->subviews().size(), 1u);
    EXPECT_EQ(card->containerView()->subviews()[0], card->cellBaseView());
    const std::vector<Ref<UIView>> baseChildren{card->iconImage(), card->titleLabel(), card->subtitleLabel()};
    EXPECT_EQ(card->cellBaseView()->subviews(), baseChildren);

    // Worked out for a 177.5 × 120 cell: icon centred at (177.5 − 60) / 2 = 58.75, title 15 + 60 + 7 = 82 down,
    // both labels 5 in from each side (177.5 − 10 = 167.5 wide), the subtitle 3 under the title.
    auto inCell = [&](const Ref<UIView>& v) { return v->convertRectToView(v->bounds(), card); };
    expectFrame(inCell(card->containerView()), {{0, 0}, {177.5, 120}}, "container");
    expectFrame(inCell(card->cellBaseView()), {{0, 0}, {177.5, 120}}, "base");
    expectFrame(inCell(card->iconImage()), {{58.75, 15}, {60, 60}}, "icon");
    const CGRect title = inCell(card->titleLabel());
    expectFrame(title, {{5, 82}, {167.5, -1}}, "title");
    EXPECT_GT(title.size.height, 0);
    expectFrame(inCell(card->subtitleLabel()), {{5, title.origin.y + title.size.height + 3}, {167.5, -1}},
                "subtitle");

    EXPECT_TRUE(card->containerView()->clipsToBounds());
    EXPECT_EQ(card->containerView()->layer()->cornerRadius(), 15);
    EXPECT_EQ(card->containerView()->layer()->cornerCurve(), kCACornerCurveContinuous);
    const auto& iconLayer = card->iconImage()->layer();
    EXPECT_EQ(iconLayer->cornerRadius(), 10);
    EXPECT_EQ(iconLayer->cornerCurve(), kCACornerCurveContinuous);
    EXPECT_EQ(iconLayer->borderWidth(), 1.0);
    EXPECT_TRUE(card->iconImage()->clipsToBounds());

    const auto& t = card->titleLabel();
    EXPECT_EQ(t->font()->pointSize(), 14);
    EXPECT_GT(t->font()->weight(), UIFontWeightRegular);
    EXPECT_EQ(t->numberOfLines(), 2);
    EXPECT_EQ(t->textAlignment(), NSTextAlignmentCenter);
    const auto& s = card->subtitleLabel();
    EXPECT_EQ(s->font()->pointSize(), 8);
    EXPECT_EQ(s->font()->weight(), UIFontWeightRegular);
    EXPECT_EQ(s->numberOfLines(), 1);
    EXPECT_EQ(s->textAlignment(), NSTextAlignmentCenter);
    EXPECT_EQ(s->text(), "");

    ASSERT_EQ(card->cellBaseView()->gestureRecognizers().size(), 1u);
    EXPECT_TRUE(cast<UITapGestureRecognizer>(card->cellBaseView()->gestureRecognizers()[0]));
}

struct ClassCase {
    const char* cardClass;
    const char* title;  // the English text of the card's localization key, or the bound section title's default
    const char* icon;
    std::optional<std::string> address;
};

TEST_F(CardTemplate, EveryClassTakesTitleIconAndAddressFromItsKind) {
    const ClassCase cases[] = {
        {"TweaksCell", "Tweaks", "tweaks.png", "prefs:root=Tweaks"},
        {"StockAppsCell", "Stock Apps", "stock-apps.png", "prefs:root=APPLE_APPS"},
        {"ThirdPartyAppsCell", "3rd Party Apps", "third-party-apps.png", "prefs:root=THIRD_PARTY_APPS"},
        {"AirplaneCell", "Airplane Mode", "airplane-mode.png", std::nullopt},
        {"WifiCell", "Wi-Fi", "wi-fi.png", "prefs:root=WIFI"},
        {"BluetoothCell", "Bluetooth", "bluetooth.png", "prefs:root=Bluetooth"},
        {"CellularCell", "Cellular", "cellular-data.png", "prefs:root=MOBILE_DATA_SETTINGS_ID"},
        {"HotspotCell", "Personal Hotspot", "personal-hotspot.png", "prefs:root=INTERNET_TETHERING"},
        {"NotificationsCell", "Notifications", "notifications.png", "prefs:root=NOTIFICATIONS_ID"},
        {"SoundsCell", "Sounds & Haptics", "sounds-haptics.png", "prefs:root=Sounds"},
        {"DNDCell", "Do Not Disturb", "do-not-disturb.png", "prefs:root=DO_NOT_DISTURB"},
        {"ScreenTimeCell", "Screen Time", "screen-time.png", "prefs:root=SCREEN_TIME"},
        {"GeneralCell", "General", "general.png", "prefs:root=General"},
        {"ControlCenterCell", "Control Center", "control-center.png", "prefs:root=ControlCenter"},
        {"DisplayCell", "Display & Brightness", "display-brightness.png", "prefs:root=DISPLAY"},
        {"AccessibilityCell", "Accessibility", "accessibility.png", "prefs:root=ACCESSIBILITY"},
        {"WallpaperCell", "Wallpaper", "wallpaper.png", "prefs:root=Wallpaper"},
        {"SiriCell", "Siri & Search", "siri-search.png", "prefs:root=SIRI"},
        {"PasscodeCell", "Touch ID & Passcode", "touch-id.png", "prefs:root=PASSCODE"},
        {"EmergencyCell", "Emergency SOS", "emergency-sos.png", "prefs:root=EMERGENCY_SOS"},
        {"BatteryCell", "Battery", "battery.png", "prefs:root=BATTERY_USAGE"},
        {"PrivacyCell", "Privacy", "privacy.png", "prefs:root=Privacy"},
        {"DeveloperCell", "Developer", "developer.png", "prefs:root=DEVELOPER_SETTINGS"},
    };
    ASSERT_EQ(std::size(cases), vantile::kCatalogueSize);
    for (const ClassCase& c : cases) {
        SCOPED_TRACE(c.cardClass);
        Class cls = objc_getClass(c.cardClass);
        ASSERT_TRUE(cls);
        EXPECT_TRUE(platform::runtime::isSubclass(cls, VantileCardCell::classObject()));
        auto card = makeCard(c.cardClass, {{0, 0}, {177.5, 120}});
        ASSERT_TRUE(card);
        EXPECT_EQ(card->className(), c.cardClass);
        EXPECT_EQ(card->titleLabel()->text(), c.title);
        ASSERT_TRUE(card->iconImage()->image());
        EXPECT_EQ(card->iconImage()->image()->source(), std::string(vantile::kTweakAssets) + c.icon);
        ASSERT_TRUE(card->kind());
        EXPECT_EQ(card->kind()->settingsURL(), c.address);
        // Only the airplane card, which opens nothing, leaves its base without a tap recogniser.
        EXPECT_EQ(card->cellBaseView()->gestureRecognizers().empty(), !c.address.has_value());
    }
}

TEST_F(CardTemplate, BiometricCardFollowsTheScreenHeight) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"iphone-8", "Touch ID & Passcode", "touch-id.png"},
        {"iphone-8-plus", "Touch ID & Passcode", "touch-id.png"},
        {"iphone-x", "Face ID & Passcode", "face-id.png"},
        {"iphone-xr", "Face ID & Passcode", "face-id.png"},
        {"iphone-12", "", nullptr},
    };
    for (const auto& [profile, title, icon] : cases) {
        SCOPED_TRACE(profile);
        ASSERT_TRUE(UIScreen::setDeviceProfile(profile));
        auto card = makeCard("PasscodeCell", {{0, 0}, {150, 120}});
        EXPECT_EQ(card->titleLabel()->text(), title);
        if (icon) {
            ASSERT_TRUE(card->iconImage()->image());
            EXPECT_EQ(card->iconImage()->image()->source(), std::string(vantile::kTweakAssets) + icon);
        } else {
            EXPECT_FALSE(card->iconImage()->image());
        }
    }
}

TEST_F(CardTemplate, SectionTitleCardsTakeTheBoundTitleWhenBuilt) {
    store(key::stockAppsString, "System");
    store(key::thirdPartyAppsString, "Mine");
    store(key::tweaksSectionString, "Mods");
    EXPECT_EQ(makeCard("StockAppsCell", kCardFrame)->titleLabel()->text(), "System");
    EXPECT_EQ(makeCard("ThirdPartyAppsCell", kCardFrame)->titleLabel()->text(), "Mine");
    auto tweaks = makeCard("TweaksCell", kCardFrame);
    store(key::tweaksSectionString, "Extensions");
    EXPECT_EQ(tweaks->titleLabel()->text(), "Mods") << "a built card keeps its title";
}

TEST_F(CardTemplate, MissingIconLeavesTheIconViewEmpty) {
    const auto icon = platform::devicePath(std::string(vantile::kTweakAssets) + "battery.png");
    ASSERT_TRUE(icon);
    const auto aside = icon->string() + ".aside";
    std::filesystem::rename(*icon, aside);
    auto card = makeCard("BatteryCell", kCardFrame);
    std::filesystem::rename(aside, *icon);
    EXPECT_FALSE(card->iconImage()->image());
    EXPECT_EQ(card->titleLabel()->text(), "Battery");
}

TEST_F(CardTemplate, TapWithHapticsOffOpensThePageOnly) {
    store(key::toggleHaptics, false);
    showAndTap("BatteryCell");
    const std::vector<platform::EffectRecord> expected{{"openURL", "prefs:root=BATTERY_USAGE", 0}};
    EXPECT_EQ(platform::effectLog(), expected);
    if (StandInURLManager::cls) {
        EXPECT_TRUE(StandInURLManager::lastAnimated);
        EXPECT_FALSE(StandInURLManager::lastFromSearch);
    }
}

TEST_F(CardTemplate, TapWithHapticsOnFiresOneLightHapticAfterTheRequest) {
    auto card = showAndTap("WifiCell");
    const std::vector<platform::EffectRecord> expected{{"openURL", "prefs:root=WIFI", 0},
                                                       {"impact", "", UIImpactFeedbackStyleLight}};
    EXPECT_EQ(platform::effectLog(), expected);
    ASSERT_TRUE(card->kind()->lastHaptic);
    const auto first = card->kind()->lastHaptic;
    platform::TouchDriver(m_root).tap(CGPoint{kCardFrame.origin.x + 88, kCardFrame.origin.y + 100});
    EXPECT_NE(card->kind()->lastHaptic, first) << "each tap makes a new generator";
    EXPECT_EQ(platform::effectsOfKind("impact").size(), 2u);
}

TEST_F(CardTemplate, TweaksCardOpensTheSectionTitleCurrentAtTheTap) {
    store(key::toggleHaptics, false);
    store(key::tweaksSectionString, "Mods");
    m_root = makeRoot();
    auto card = makeCard("TweaksCell", kCardFrame);
    m_root->addSubview(card);
    m_root->layoutIfNeeded();
    store(key::tweaksSectionString, "Extensions");
    platform::TouchDriver(m_root).tap(CGPoint{kCardFrame.origin.x + 88, kCardFrame.origin.y + 100});
    // A title that is no valid URL text opens nothing; the card stays usable.
    store(key::tweaksSectionString, "My Tweaks");
    platform::TouchDriver(m_root).tap(CGPoint{kCardFrame.origin.x + 88, kCardFrame.origin.y + 100});
    const std::vector<platform::EffectRecord> expected{{"openURL", "prefs:root=Extensions", 0}};
    EXPECT_EQ(platform::effectsOfKind("openURL"), expected);
    EXPECT_EQ(card->titleLabel()->text(), "Mods");
}

TEST_F(CardTemplate, InvalidAddressStillFiresTheHaptic) {
    store(key::tweaksSectionString, "My Tweaks");
    showAndTap("TweaksCell");
    const std::vector<platform::EffectRecord> expected{{"impact", "", UIImpactFeedbackStyleLight}};
    EXPECT_EQ(platform::effectLog(), expected);
}

}  // namespace
