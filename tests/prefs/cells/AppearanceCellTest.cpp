// The appearance row: its cards from the specifier's options, the stored choice's check and border, taps through
// the touch driver that store a new choice with one haptic, and the theme's gradient behind the cards.
#include "prefs/cells/VNTAppearanceCell.h"
#include "prefs/cells/VNTAppearanceCheckView.h"
#include "prefs/cells/VNTAppearanceOptionView.h"

#include "platform/core/CFPreferences.h"
#include "platform/core/RunLoop.h"
#include "platform/gfx/UIImage.h"
#include "platform/harness/EffectLog.h"
#include "platform/harness/TouchDriver.h"
#include "platform/host/PSListController.h"
#include "platform/ui/CABasicAnimation.h"
#include "platform/ui/CAGradientLayer.h"
#include "platform/ui/CALayer.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UIWindow.h"
#include "tests/prefs/cells/KitFixture.h"

namespace {

using vnt::Theme;

constexpr std::string_view kKey = "vantileFlowDirection";

Value option(const char* value, const char* label, std::optional<long> position) {
    Value::Dictionary d{{"appearanceOption", Value(value)}, {"label", Value(label)}, {"image", Value("flow")}};
    if (position) d["position"] = Value(static_cast<long long>(*position));
    return Value(d);
}

class AppearanceCellTest : public kittest::KitFixture {
protected:
    Ref<PSSpecifier> entry(Value options, bool numeric = true) {
        auto s = kitEntry("VNTAppearanceCell", PSSpecifier::PSStaticTextCell,
                          {{"key", kKey}, {"defaults", vantile::kDomain}});
        s->setPropertyForKey(Property(std::move(options)), "options");
        s->setPropertyForKey(Property(200), "height");
        if (numeric) s->setPropertyForKey(Property(true), "isNumeric");
        return s;
    }
    // Shows the row on a page of its own, settled, and answers it.
    Ref<VNTAppearanceCell> show(const Ref<PSSpecifier>& specifier) {
        m_page = alloc<PSListController>();
        showList(m_page, {specifier});
        platform::TouchDriver(m_window).wait(0.5);
        return cast<VNTAppearanceCell>(m_page->table()->cellForRowAtIndexPath(IndexPath{0, 0}));
    }
    static std::vector<std::string> captions(const Ref<VNTAppearanceCell>& cell) {
        std::vector<std::string> out;
        for (const auto& card : cell->optionViews()) out.push_back(card->label()->text());
        return out;
    }
    void tap(const Ref<UIView>& view) {
        const CGRect b = view->bounds();
        platform::TouchDriver(m_window).tap(view->convertPointToView(CGPointMake(b.midX(), b.midY()), m_window));
        platform::TouchDriver(m_window).wait(0.5);
    }
    static std::size_t haptics() { return platform::effectsOfKind("impact").size(); }

    Ref<PSListController> m_page;
};

TEST_F(AppearanceCellTest, CardsRunByPositionWhateverTheDictionaryOrder) {
    struct Case {
        const char* name;
        Value options;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"positions 2, 0, 1",
         Value(Value::Dictionary{{"a", option("2", "Two", 2)}, {"b", option("0", "Zero", 0)}, {"c", option("1", "One", 1)}}),
         {"Zero", "One", "Two"}},
        {"keys in reverse of positions",
         Value(Value::Dictionary{{"z", option("0", "First", 0)}, {"y", option("1", "Second", 1)}}),
         {"First", "Second"}},
        {"a missing position counts as 0, a duplicate keeps key order",
         Value(Value::Dictionary{{"a", option("1", "One", 1)}, {"b", option("x", "NoPosition", std::nullopt)},
                                 {"c", option("y", "AlsoOne", 1)}}),
         {"NoPosition", "One", "AlsoOne"}},
        {"entries that are no option are left out",
         Value(Value::Dictionary{{"a", Value("not a dictionary")}, {"b", option("0", "Only", 0)},
                                 {"c", Value(Value::Dictionary{{"label", Value("No value")}})}}),
         {"Only"}},
        {"options that are no dictionary give no cards", Value("vertical"), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto cell = show(entry(c.options));
        ASSERT_TRUE(cell);
        EXPECT_EQ(captions(cell), c.expected);
    }
}

TEST_F(AppearanceCellTest, TheStoredChoiceShowsTheCheckAndABorderOfThree) {
    store(kKey, Value(1));
    auto cell = show(entry(Value(Value::Dictionary{
        {"a", option("2", "Two", 2)}, {"b", option("0", "Zero", 0)}, {"c", option("1", "One", 1)}})));
    ASSERT_TRUE(cell);
    const auto cards = cell->optionViews();
    ASSERT_EQ(cards.size(), 3u);
    for (std::size_t i = 0; i < cards.size(); ++i) {
        SCOPED_TRACE(cards[i]->appearanceOption());
        const bool chosen = i == 1;
        EXPECT_EQ(cards[i]->checkView()->isSelected(), chosen);
        EXPECT_EQ(cards[i]->checkView()->checkmarkImageView()->alpha(), chosen ? 1.0 : 0.0);
        EXPECT_EQ(cards[i]->previewImageView()->layer()->borderWidth(), chosen ? 3.0 : 0.0);
    }
    // The check mark is the platform's own drawing, tinted white.
    auto check = cards[1]->checkView()->checkmarkImageView()->image();
    ASSERT_TRUE(check);
    EXPECT_TRUE(check->isTemplate());
    EXPECT_FALSE(cards[1]->checkView()->circleImageView()->image()) << "the circle's image name is empty";
}

TEST_F(AppearanceCellTest, ANewChoiceIsStoredWithOneHapticAndTheChosenCardDoesNothing) {
    store(kKey, Value(0));
    auto cell = show(entry(Value(Value::Dictionary{{"v", option("0", "Vertical", 0)}, {"h", option("1", "Horizontal", 1)}})));
    ASSERT_TRUE(cell);
    auto cards = cell->optionViews();
    ASSERT_EQ(cards.size(), 2u);
    platform::clearEffectLog();

    tap(cards[1]);
    EXPECT_EQ(CFPreferencesCopyAppValue(kKey, vantile::kDomain), Value(1)) << "stored as the integer the grid reads";
    EXPECT_EQ(haptics(), 1u);
    EXPECT_TRUE(cards[1]->checkView()->isSelected());
    EXPECT_FALSE(cards[0]->checkView()->isSelected());
    EXPECT_EQ(cards[1]->previewImageView()->layer()->borderWidth(), 3.0);
    EXPECT_EQ(cards[0]->previewImageView()->layer()->borderWidth(), 0.0);

    tap(cards[1]);
    EXPECT_EQ(haptics(), 1u) << "the chosen card gives no haptic";
    store(kKey, Value(7));
    tap(cards[1]);
    EXPECT_EQ(CFPreferencesCopyAppValue(kKey, vantile::kDomain), Value(7)) << "and stores nothing";

    tap(cards[0]);
    EXPECT_EQ(CFPreferencesCopyAppValue(kKey, vantile::kDomain), Value(0));
    EXPECT_EQ(haptics(), 2u);
}

TEST_F(AppearanceCellTest, BordersAnimateUnderTheirKeys) {
    store(kKey, Value(0));
    auto cell = show(entry(Value(Value::Dictionary{{"v", option("0", "Vertical", 0)}, {"h", option("1", "Horizontal", 1)}})));
    ASSERT_TRUE(cell);
    auto cards = cell->optionViews();
    ASSERT_EQ(cards.size(), 2u);
    platform::TouchDriver(m_window).tap(cards[1]->convertPointToView(
        CGPointMake(cards[1]->bounds().midX(), cards[1]->bounds().midY()), m_window));
    auto show = cards[1]->previewImageView()->layer()->animationForKey("Show Border");
    auto hide = cards[0]->previewImageView()->layer()->animationForKey("Hide Border");
    ASSERT_TRUE(show && hide);
    EXPECT_EQ(show->keyPath(), "borderWidth");
    EXPECT_EQ(show->fromValue(), 0.0);
    EXPECT_EQ(show->toValue(), 3.0);
    EXPECT_EQ(hide->fromValue(), 3.0);
    EXPECT_EQ(hide->toValue(), 0.0);
    EXPECT_DOUBLE_EQ(show->duration(), 0.1);
    // A card that had no border loses none: turning it off again animates nothing.
    cards[0]->setHighlighted(false);
    platform::TouchDriver(m_window).wait(0.5);
    cards[0]->setHighlighted(false);
    EXPECT_FALSE(cards[0]->previewImageView()->layer()->animationForKey("Hide Border"));
}

TEST_F(AppearanceCellTest, TheGradientFollowsTheThemeAndThereIsNoneWithoutOne) {
    const Value options(Value::Dictionary{{"v", option("0", "Vertical", 0)}});
    selectTheme(Theme::Sunset);
    auto themed = show(entry(options));
    ASSERT_TRUE(themed);
    ASSERT_EQ(themed->gradientView()->layer()->sublayers().size(), 1u);
    auto gradient = cast<CAGradientLayer>(themed->gradientView()->layer()->sublayers()[0]);
    ASSERT_TRUE(gradient);
    EXPECT_EQ(gradient->frame().height(), VNTAppearanceCell::kGradientHeight);
    EXPECT_EQ(gradient->startPoint(), CGPointMake(0, 0));
    EXPECT_EQ(gradient->endPoint(), CGPointMake(1, 1));

    selectTheme(std::nullopt);
    auto plain = show(entry(options));
    ASSERT_TRUE(plain);
    EXPECT_TRUE(plain->gradientView()->layer()->sublayers().empty());
}

TEST_F(AppearanceCellTest, PreviewsComeFromThePageBundleAndAMissingOneLeavesTheCardEmpty) {
    store(kKey, Value(0));
    writeImage("/Library/PreferenceBundles/Fixture.bundle/flow.png", 0xFF336699);
    auto specifier = entry(Value(Value::Dictionary{{"v", option("0", "Vertical", 0)}}));
    m_page = alloc<PSListController>();
    m_page->setBundlePath("/Library/PreferenceBundles/Fixture.bundle");
    // The page's rows have the page as target, as rows loaded from its plist do.
    specifier->setTarget(m_page);
    showList(m_page, {specifier});
    auto cell = cast<VNTAppearanceCell>(m_page->table()->cellForRowAtIndexPath(IndexPath{0, 0}));
    ASSERT_TRUE(cell);
    auto image = cell->optionViews()[0]->previewImage();
    ASSERT_TRUE(image);
    EXPECT_EQ(image->source(), "/Library/PreferenceBundles/Fixture.bundle/flow.png");

    m_page = alloc<PSListController>();
    m_page->setBundlePath("/Library/PreferenceBundles/Empty.bundle");
    auto other = entry(Value(Value::Dictionary{{"v", option("0", "Vertical", 0)}}));
    other->setTarget(m_page);
    showList(m_page, {other});
    cell = cast<VNTAppearanceCell>(m_page->table()->cellForRowAtIndexPath(IndexPath{0, 0}));
    ASSERT_TRUE(cell);
    EXPECT_FALSE(cell->optionViews()[0]->previewImage());
}

}  // namespace
