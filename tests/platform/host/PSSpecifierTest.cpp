#include "platform/host/PSSpecifier.h"

#include "platform/core/Runtime.h"

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

}  // namespace
