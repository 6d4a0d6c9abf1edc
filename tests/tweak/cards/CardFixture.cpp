#include "tests/tweak/cards/CardFixture.h"

#include "tweak/dashboard/GridPreferences.h"

#include "platform/core/DeviceRoot.h"
#include "platform/core/HBPreferences.h"
#include "platform/core/Random.h"
#include "platform/core/RunLoop.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/CGImage.h"
#include "platform/ui/AnimationCenter.h"
#include "platform/harness/EffectLog.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UITraitCollection.h"
#include "tests/support/DashboardFixture.h"
#include "tests/support/TemporaryRoot.h"

namespace vantile::testing {

namespace {

testing_support::TemporaryRoot& device() {
    static testing_support::TemporaryRoot d("cards");
    return d;
}

void writeIcon(const std::filesystem::path& file) {
    const std::uint32_t pixels[4] = {0xFF3478F6, 0xFF3478F6, 0xFF3478F6, 0xFF3478F6};
    CGImageRef image = platform::gfx::createImageFromARGB32(2, 2, pixels, 8);
    platform::gfx::writePNG(image, file);
    CGImageRelease(image);
}

const std::string_view kTouchedKeys[] = {
    key::toggleHaptics,        key::toggleCellsChroma,  key::toggleCellsRandomChroma, key::toggleCellsFontChroma,
    key::vantileCellsChroma,   key::vantileCellsFontChroma, key::tweaksSectionString,  key::stockAppsString,
    key::thirdPartyAppsString, key::vantileEnabledArray, key::vantileFlowDirection,
};

}  // namespace

void CardFixture::SetUpTestSuite() {
    static bool started = false;
    if (started) return;
    started = true;
    const auto& root = device().path();
    const auto bundle = root / "Library/Application Support/Vantile.bundle";
    std::filesystem::create_directories(bundle / "Assets");
    std::filesystem::copy(std::filesystem::path(VANTILE_SOURCE_DIR) / "assets/Vantile.bundle/Localizations",
                          bundle / "Localizations", std::filesystem::copy_options::recursive);
    for (const auto& entry : catalogue()) writeIcon(bundle / "Assets" / entry.iconFile);
    writeIcon(bundle / "Assets/touch-id.png");
    writeIcon(bundle / "Assets/face-id.png");
    std::filesystem::create_directories(root / "var/mobile/Library/Preferences");
    platform::setDeviceRoot(root);
    // The card files' own constructors; the radio recorders are hooks that the status card tests install themselves.
    for (const auto& card : cards::cardFileStartups()) card.run();
    dashboard::startup();
}

void CardFixture::SetUp() {
    platform::setDeviceRoot(device().path());
    for (std::string_view k : kTouchedKeys) store(k, Value());
    platform::resetRunLoop();
    platform::AnimationCenter::shared().reset();
    platform::clearEffectLog();
    platform::seedRandom(kSeed);
    UIScreen::resetDeviceProfile();
    UIView::setSystemUserInterfaceStyle(UIUserInterfaceStyleLight);
    // The bindings must reach this device; a card test run after another that bound elsewhere would lie.
    ASSERT_TRUE(cards::cardKindForClass("WifiCell")->settings.toggleHaptics);
    store(key::toggleHaptics, false);
    ASSERT_FALSE(cards::cardKindForClass("WifiCell")->settings.toggleHaptics)
        << "the card bindings follow another device root";
    store(key::toggleHaptics, Value());
}

void CardFixture::TearDown() {
    platform::resetRunLoop();
    platform::AnimationCenter::shared().reset();
    UIScreen::resetDeviceProfile();
    UIView::setSystemUserInterfaceStyle(UIUserInterfaceStyleLight);
}

void CardFixture::store(std::string_view k, Value value) {
    auto prefs = HBPreferences::preferencesForIdentifier(kDomain);
    if (value.isNone()) prefs->removeObjectForKey(k);
    else prefs->setObjectForKey(std::move(value), k);
}

Value CardFixture::titles(const std::vector<std::string>& list) {
    Value::Array a;
    for (const auto& t : list) a.emplace_back(t);
    return Value(std::move(a));
}

Ref<VantileCardCell> CardFixture::makeCard(std::string_view cardClass, CGRect frame, long style) {
    Class cls = objc_getClass(cardClass);
    EXPECT_TRUE(cls) << cardClass;
    id card = platform::runtime::createInstance(cls);
    UITraitCollection::CurrentScope scope(UITraitCollection::traitCollectionWithUserInterfaceStyle(style));
    platform::msgSend<void, CGRect>(card.get(), sel("initWithFrame:"), frame);
    return cast<VantileCardCell>(card);
}

Ref<UIView> CardFixture::makeRoot() {
    Ref<UIView> root = makeWindow(1);
    return root;
}

void CardFixture::expectColour(const Ref<UIColor>& color, RGBA expected, const std::string& what) {
    ASSERT_TRUE(color) << what << ": no colour";
    const RGBA c = rgba(color);
    EXPECT_NEAR(c.red, expected.red, 1e-9) << what;
    EXPECT_NEAR(c.green, expected.green, 1e-9) << what;
    EXPECT_NEAR(c.blue, expected.blue, 1e-9) << what;
    EXPECT_NEAR(c.alpha, expected.alpha, 1e-9) << what;
}

}  // namespace vantile::testing
