#include "tweak/shared/Bindings.h"

#include "platform/core/DeviceRoot.h"
#include "platform/core/PropertyList.h"
#include "tests/support/TemporaryRoot.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

namespace {

class FileBindings : public testing::Test {
protected:
    void SetUp() override {
        const auto file = m_root.preferencesFolder() / "com.Zorvanic.VantilePrefs.plist";
        std::filesystem::create_directories(file.parent_path());
        platform::writePropertyListFile(file, Value(Value::Dictionary{{"toggleHaptics", false}, {"titleKey", "Mods"}}));
        platform::setDeviceRoot(m_root.path());
    }
    testing_support::TemporaryRoot m_root{"bindings"};
};

TEST_F(FileBindings, BindingBeforeOpeningIsALogicError) {
    vantile::FilePreferences prefs("Early");
    bool flag = false;
    EXPECT_THROW(prefs.bindBool(&flag, true, "toggleHaptics"), std::logic_error);
    EXPECT_FALSE(prefs.isOpen());
}

TEST_F(FileBindings, EveryBindingIsListedWithWhatItsVariableHolds) {
    // The binding list and the preferences object outlive the test, as the tweak's process-wide variables do.
    static bool haptics = true;
    static long direction = 7;
    static Value title;
    static vantile::FilePreferences prefs("Listed");
    const std::size_t before = vantile::bindings().size();
    prefs.open();
    prefs.bindBool(&haptics, true, "toggleHaptics");
    prefs.bindInteger(&direction, 0, "absentInteger");
    prefs.bindObject(&title, Value("Tweaks"), "titleKey");

    const auto& list = vantile::bindings();
    ASSERT_EQ(list.size(), before + 3);
    const std::tuple<const char*, Value> expected[] = {
        {"toggleHaptics", false},  // the stored value wins over the default
        {"absentInteger", 0},      // an absent key gives the default
        {"titleKey", "Mods"},
    };
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const auto& [key, value] = expected[i];
        EXPECT_EQ(list[before + i].owner, "Listed");
        EXPECT_EQ(list[before + i].key, key);
        EXPECT_EQ(list[before + i].current(), value) << key;
    }
    // The list reads the variables themselves, not a copy taken at binding.
    haptics = true;
    EXPECT_EQ(list[before].current(), Value(true));
}

}  // namespace
