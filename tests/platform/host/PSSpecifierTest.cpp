#include "platform/host/PSSpecifier.h"

#include "platform/core/CFPreferences.h"
#include "platform/core/NotificationRecords.h"
#include "platform/core/Runtime.h"
#include "tests/platform/host/HostFixture.h"
#include "tests/platform/host/TestPages.h"

#include <gtest/gtest.h>

namespace {

TEST(PSSpecifier, CellTypesFromPlistNames) {
    const std::pair<const char*, std::optional<long>> cases[] = {
        {"PSGroupCell", 0},
        {"PSLinkCell", PSSpecifier::PSLinkCell},
        {"PSSwitchCell", PSSpecifier::PSSwitchCell},
        {"PSSliderCell", PSSpecifier::PSSliderCell},
        {"PSButtonCell", PSSpecifier::PSButtonCell},
        {"PSEditTextViewCell", PSSpecifier::PSEditTextViewCell},
        {"PSLinkcell", std::nullopt},  // case matters: a misspelt type is no header
        {"", std::nullopt},
        {"PSLinkCell ", std::nullopt},
    };
    for (const auto& [name, expected] : cases) EXPECT_EQ(PSSpecifier::cellTypeFromString(name), expected) << name;
}

TEST(PSSpecifier, FactoriesMakeHeadersAndRows) {
    auto page = alloc<NSObject>();
    auto group = PSSpecifier::groupSpecifierWithName("Apps");
    EXPECT_TRUE(group->isGroup());
    EXPECT_EQ(group->name(), "Apps");
    EXPECT_FALSE(group->identifier().has_value()) << "no identifier unless one is set";

    auto link = PSSpecifier::preferenceSpecifierNamedTargetSetGetDetailCellEdit(
        "Tweaks", page, nullptr, sel("value"), NSObject::classObject(), PSSpecifier::PSLinkCell, nullptr);
    EXPECT_FALSE(link->isGroup());
    EXPECT_EQ(link->target(), page);
    EXPECT_EQ(link->getter(), sel("value"));
    EXPECT_EQ(link->setter(), nullptr);
    EXPECT_EQ(link->detailControllerClass(), NSObject::classObject());
    link->setIdentifier("TWEAKS");
    EXPECT_EQ(link->identifier(), "TWEAKS");
}

TEST(PSSpecifier, TargetIsWeak) {
    auto page = alloc<NSObject>();
    auto row = PSSpecifier::preferenceSpecifierNamedTargetSetGetDetailCellEdit("Row", page, nullptr, nullptr,
                                                                                nullptr, PSSpecifier::PSLinkCell,
                                                                                nullptr);
    const std::size_t before = platform::liveObjectCount();
    page.reset();
    EXPECT_EQ(platform::liveObjectCount(), before - 1) << "a row must not keep its page alive";
    EXPECT_EQ(row->target(), nullptr);
}

TEST(PSSpecifier, PropertiesHoldValuesAndObjects) {
    auto row = PSSpecifier::groupSpecifierWithName("");
    auto image = alloc<NSObject>();
    row->setPropertyForKey(image, "iconImage");
    row->setPropertyForKey("com.Zorvanic.VantilePrefs", "defaults");
    row->setPropertyForKey(true, "enabled");

    EXPECT_FALSE(row->propertyForKey("absent").has_value());
    auto icon = row->propertyForKey("iconImage");
    ASSERT_TRUE(icon);
    EXPECT_TRUE(icon->isObject());
    EXPECT_EQ(icon->object(), image);
    EXPECT_EQ(icon->value(), nullptr);
    EXPECT_EQ(icon->object<PSSpecifier>(), nullptr) << "an object of another class reads as absent";

    auto defaults = row->propertyForKey("defaults");
    ASSERT_TRUE(defaults && defaults->value());
    EXPECT_EQ(*defaults->value(), Value("com.Zorvanic.VantilePrefs"));
    EXPECT_EQ(defaults->object(), nullptr);
    EXPECT_EQ(*row->propertyForKey("enabled")->value(), Value(true));

    row->setPropertyForKey(Property(Ref<NSObject>()), "iconImage");
    EXPECT_TRUE(row->propertyForKey("iconImage")->isObject()) << "a null image is still an object entry";
    EXPECT_EQ(row->propertyForKey("iconImage")->object(), nullptr);
    row->removePropertyForKey("iconImage");
    EXPECT_EQ(row->properties().size(), 2u);
}

using SpecifierValues = hosttest::HostFixture;

Ref<PSSpecifier> preferenceRow(std::optional<Value> fallback) {
    auto row = PSSpecifier::preferenceSpecifierNamedTargetSetGetDetailCellEdit("Row", nullptr, nullptr, nullptr,
                                                                               nullptr, PSSpecifier::PSSwitchCell,
                                                                               nullptr);
    row->setPropertyForKey(Property("com.example.values"), "defaults");
    row->setPropertyForKey(Property("flag"), "key");
    if (fallback) row->setPropertyForKey(Property(*fallback), "default");
    return row;
}

TEST_F(SpecifierValues, GetterReadsTheDomainThenTheDefault) {
    struct Case {
        const char* name;
        std::optional<Value> stored;
        std::optional<Value> fallback;
        Value expected;
    };
    const Case cases[] = {
        {"stored value wins over the default", Value(false), Value(true), Value(false)},
        {"default when the domain has none", std::nullopt, Value(true), Value(true)},
        {"nothing at all", std::nullopt, std::nullopt, Value()},
        {"stored strings too", Value("Blue"), Value("Red"), Value("Blue")},
    };
    for (const auto& c : cases) {
        CFPreferencesSetAppValue("flag", c.stored.value_or(Value()), "com.example.values");
        EXPECT_EQ(preferenceRow(c.fallback)->performGetter(), c.expected) << c.name;
    }
    CFPreferencesSetAppValue("flag", Value(), "com.example.values");
}

TEST_F(SpecifierValues, SetterStoresThenPostsTheRowsNotification) {
    platform::clearNotificationRecords();
    auto row = preferenceRow(Value(true));
    row->setPropertyForKey(Property("com.example.values/changed"), "PostNotification");
    row->performSetterWithValue(Value(false));
    EXPECT_EQ(CFPreferencesCopyAppValue("flag", "com.example.values"), Value(false));
    EXPECT_EQ(row->performGetter(), Value(false));
    EXPECT_EQ(platform::notificationCount(platform::NotificationKind::Darwin, "com.example.values/changed"), 1u);

    // A row without notification only stores.
    auto quiet = preferenceRow(std::nullopt);
    quiet->performSetterWithValue(Value(true));
    EXPECT_EQ(platform::notificationRecords().size(), 1u);
    CFPreferencesSetAppValue("flag", Value(), "com.example.values");
}

TEST_F(SpecifierValues, TargetAccessorsAreUsedWhenTheTargetAnswersThem) {
    auto target = alloc<HostTestTarget>();
    auto row = preferenceRow(Value(true));
    row->setTarget(target, sel("writeValue:specifier:"), sel("readValue:"));
    EXPECT_EQ(row->performGetter(), Value("from target: Row"));
    row->performSetterWithValue(Value(7));
    ASSERT_EQ(target->written.size(), 1u);
    EXPECT_EQ(target->written[0], Value(7));
    EXPECT_TRUE(CFPreferencesCopyAppValue("flag", "com.example.values").isNone()) << "the target decides, not the row";

    // Selectors the target does not answer fall back to the framework's own reading and writing.
    row->setTarget(target, sel("noSuchSetter:specifier:"), sel("noSuchGetter:"));
    EXPECT_EQ(row->performGetter(), Value(true));
    row->performSetterWithValue(Value(false));
    EXPECT_EQ(CFPreferencesCopyAppValue("flag", "com.example.values"), Value(false));
    CFPreferencesSetAppValue("flag", Value(), "com.example.values");
}

}  // namespace
