#include "platform/core/HBPreferences.h"

#include "AllocationCount.h"
#include "PreferenceFixture.h"
#include "platform/core/CFPreferences.h"
#include "platform/core/DictionaryFile.h"
#include "platform/core/NSUserDefaults.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace fs = std::filesystem;

namespace {

class HBPreferencesTest : public PreferenceFixture {
protected:
    Ref<HBPreferences> fresh() { return HBPreferences::preferencesForIdentifier(kDomain); }
};

TEST_F(HBPreferencesTest, WithoutBackingFileVariablesHoldDefaultsAndNothingIsWritten) {
    auto p = fresh();
    bool vantile = true, haptics = false;
    long direction = 7;
    Value title;
    p->registerBoolDefaultForKey(&vantile, false, "toggleVantile");
    p->registerBoolDefaultForKey(&haptics, true, "toggleHaptics");
    p->registerIntegerDefaultForKey(&direction, 0, "vantileFlowDirection");
    p->registerObjectDefaultForKey(&title, Value("Tweaks"), "tweaksSectionString");
    EXPECT_FALSE(vantile);
    EXPECT_TRUE(haptics);
    EXPECT_EQ(direction, 0);
    EXPECT_EQ(title, Value("Tweaks"));

    // Defaults are the object's own fallbacks, never stored values.
    EXPECT_TRUE(p->objectForKey("toggleHaptics").isNone());
    EXPECT_TRUE(p->boolForKey("toggleHaptics"));
    EXPECT_TRUE(p->dictionaryRepresentation().empty());
    EXPECT_TRUE(fresh()->objectForKey("tweaksSectionString").isNone());
    EXPECT_FALSE(fs::exists(domainFile()));
}

TEST_F(HBPreferencesTest, WriteInThisProcessReachesEveryBindingAtOnce) {
    auto tweak = fresh();
    auto pane = fresh();
    bool hapticsA = false, hapticsB = false;
    Value cards;
    tweak->registerBoolDefaultForKey(&hapticsA, true, "toggleHaptics");
    pane->registerBoolDefaultForKey(&hapticsB, true, "toggleHaptics");
    tweak->registerObjectDefaultForKey(&cards, Value(), "vantileEnabledArray");

    const struct {
        const char* writer;
        std::function<void()> write;
        bool expected;
    } steps[] = {
        {"HBPreferences", [&] { pane->setBoolForKey(false, "toggleHaptics"); }, false},
        {"CFPreferences", [] { CFPreferencesSetAppValue("toggleHaptics", Value(true), kDomain); }, true},
        {"NSUserDefaults",
         [] { NSUserDefaults::standardUserDefaults()->setObjectForKeyInDomain(Value(false), "toggleHaptics", kDomain); },
         false},
        {"file", [] {
             platform::writeDictionaryToFile("/var/mobile/Library/Preferences/com.Zorvanic.VantilePrefs.plist",
                                             {{"toggleHaptics", true}});
         },
         true},
        {"removal", [&] { tweak->removeObjectForKey("toggleHaptics"); }, true},
        {"wrong type", [&] { tweak->setObjectForKey(Value("no"), "toggleHaptics"); }, false},
    };
    for (const auto& s : steps) {
        s.write();
        EXPECT_EQ(hapticsA, s.expected) << s.writer;
        EXPECT_EQ(hapticsB, s.expected) << s.writer;
    }

    const Value::Array titles{Value("Wi-Fi"), Value("Battery")};
    pane->setObjectForKey(Value(titles), "vantileEnabledArray");
    EXPECT_EQ(cards, Value(titles));
}

TEST_F(HBPreferencesTest, BoundBooleanReadsWrongTypesByFixedRules) {
    const struct {
        Value stored;
        bool fallback;
        bool expected;
    } cases[] = {
        {Value(true), false, true},        {Value(false), true, false},
        {Value(1), false, true},           {Value(0), true, false},
        {Value(-3), false, true},          {Value(0.0), true, false},
        {Value(0.25), false, true},        {Value("YES"), false, true},
        {Value("yes"), false, true},       {Value("true"), false, true},
        {Value("  Y"), false, true},       {Value("1"), false, true},
        {Value("-007"), false, true},      {Value("+0009"), false, true},
        {Value("NO"), true, false},        {Value("0"), true, false},
        {Value("000"), true, false},       {Value(""), true, false},
        {Value("  "), true, false},        {Value("-"), true, false},
        {Value("x1"), true, false},        {Value("\t\nt"), false, true},
        {Value(Value::Data{1}), true, true}, {Value(Value::Data{1}), false, false},
        {Value(Value::Array{Value(true)}), false, false},
        {Value(Value::Dictionary{}), true, true},
        {Value(PlistDate{5}), true, true},
    };
    auto writer = fresh();
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.stored));
        writer->setObjectForKey(c.stored, "toggleState");
        auto reader = fresh();
        bool variable = !c.expected;
        reader->registerBoolDefaultForKey(&variable, c.fallback, "toggleState");
        EXPECT_EQ(variable, c.expected);
        // The stored value itself keeps its type, so a reader can still tell "YES" from YES.
        EXPECT_EQ(reader->objectForKey("toggleState"), c.stored);
    }
}

TEST_F(HBPreferencesTest, BoundIntegerReadsWrongTypesByFixedRules) {
    const struct {
        Value stored;
        long expected;
    } cases[] = {
        {Value(2), 2},
        {Value(-5), -5},
        {Value(true), 1},
        {Value(false), 0},
        {Value(1.9), 1},
        {Value(-1.9), -1},
        {Value(1e300), LONG_MAX},
        {Value(-1e300), LONG_MIN},
        {Value(std::nan("")), 0},
        {Value("1"), 1},
        {Value("  42abc"), 42},
        {Value("-17"), -17},
        {Value("+3"), 3},
        {Value("abc"), 0},
        {Value(""), 0},
        {Value("1.9"), 1},
        {Value("99999999999999999999"), LONG_MAX},
        {Value("-99999999999999999999"), LONG_MIN},
        {Value("-9223372036854775808"), LONG_MIN},
        {Value(Value::Data{1}), 11},
        {Value(Value::Array{Value(1)}), 11},
    };
    auto writer = fresh();
    auto reader = fresh();
    long variable = 0;
    reader->registerIntegerDefaultForKey(&variable, 11, "vantileFlowDirection");
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.stored));
        writer->setObjectForKey(c.stored, "vantileFlowDirection");
        EXPECT_EQ(variable, c.expected);
        EXPECT_EQ(reader->integerForKey("vantileFlowDirection"), c.expected);
    }
}

TEST_F(HBPreferencesTest, DestroyedObjectsStopFollowing) {
    bool kept = false, dropped = false;
    auto keeper = fresh();
    keeper->registerBoolDefaultForKey(&kept, false, "toggleCellsChroma");
    {
        auto shortLived = fresh();
        shortLived->registerBoolDefaultForKey(&dropped, false, "toggleCellsChroma");
    }
    const std::size_t before = platform::liveObjectCount();
    fresh()->setBoolForKey(true, "toggleCellsChroma");
    EXPECT_TRUE(kept);
    EXPECT_FALSE(dropped);
    EXPECT_EQ(platform::liveObjectCount(), before);
}

TEST_F(HBPreferencesTest, LaterDefaultsReplaceEarlierOnesForAbsentKeys) {
    auto p = fresh();
    Value name;
    p->registerObjectDefaultForKey(&name, Value("Username"), "profileNameString");
    p->registerDefaults({{"profileNameString", "Guest"}, {"toggleDefaultTheme", true}});
    EXPECT_EQ(name, Value("Guest"));
    EXPECT_TRUE(p->boolForKey("toggleDefaultTheme"));
    p->setObjectForKey(Value("Ana"), "profileNameString");
    EXPECT_EQ(name, Value("Ana"));
}

TEST_F(HBPreferencesTest, ResetByDictionaryRepresentationBringsDefaultsBack) {
    auto pane = fresh();
    pane->setBoolForKey(false, "toggleDefaultTheme");
    pane->setBoolForKey(true, "toggleOceanTheme");
    pane->setObjectForKey(Value("Mine"), "tweaksSectionString");
    auto tweak = fresh();
    bool defaultTheme = false;
    Value tweaks;
    tweak->registerBoolDefaultForKey(&defaultTheme, true, "toggleDefaultTheme");
    tweak->registerObjectDefaultForKey(&tweaks, Value("Tweaks"), "tweaksSectionString");
    EXPECT_FALSE(defaultTheme);

    for (const auto& [key, value] : pane->dictionaryRepresentation()) pane->removeObjectForKey(key);
    EXPECT_TRUE(defaultTheme);
    EXPECT_EQ(tweaks, Value("Tweaks"));
    EXPECT_FALSE(fs::exists(domainFile()));
}

TEST_F(HBPreferencesTest, PlistutilReadsTheDomainAndTheDomainReadsPlistutil) {
    auto p = fresh();
    p->setBoolForKey(true, "toggleVantile");
    p->setIntegerForKey(1, "vantileFlowDirection");
    p->setObjectForKey(Value("Ana"), "profileNameString");
    p->setObjectForKey(Value(Value::Array{Value("Wi-Fi"), Value("Bluetooth")}), "vantileEnabledArray");
    p->setObjectForKey(Value(Value::Data{0xFF, 0xD8, 0xFF}), "profilePicture");

    const fs::path xml = m_root / "dump.xml";
    ASSERT_EQ(plistutil(domainFile(), xml, "xml"), 0);
    const std::string text = slurp(xml);
    for (const char* needle : {"<key>toggleVantile</key>\n\t<true/>", "<integer>1</integer>",
                               "<string>Ana</string>", "<string>Bluetooth</string>", "<data>"})
        EXPECT_NE(text.find(needle), std::string::npos) << needle;

    // Another tool edits the file (XML first, then binary); bound variables follow at the next check.
    bool vantile = true;
    long direction = 0;
    p->registerBoolDefaultForKey(&vantile, false, "toggleVantile");
    p->registerIntegerDefaultForKey(&direction, 0, "vantileFlowDirection");
    std::string edited = text;
    edited.replace(edited.find("<true/>"), 7, "<false/>");
    edited.replace(edited.find("<integer>1</integer>"), 20, "<integer>-2</integer>");
    spit(xml, edited);
    ASSERT_EQ(plistutil(xml, domainFile(), "xml"), 0);
    platform::checkPreferenceChanges();
    EXPECT_FALSE(vantile);
    EXPECT_EQ(direction, -2);

    spit(xml, text);
    ASSERT_EQ(plistutil(xml, domainFile(), "bin"), 0);
    platform::runTurnObservers();
    EXPECT_TRUE(vantile);
    EXPECT_EQ(direction, 1);
    EXPECT_EQ(p->objectForKey("profilePicture"), Value(Value::Data{0xFF, 0xD8, 0xFF}));
    EXPECT_EQ(p->objectForKey("vantileEnabledArray"), Value(Value::Array{Value("Wi-Fi"), Value("Bluetooth")}));
}

TEST_F(HBPreferencesTest, BindingAVariableNeitherCopiesTheDomainNorItsLargeValues) {
    // A large profile picture beside the switches, as a user's photo leaves it.
    const std::size_t pictureSize = 20u << 20;
    auto p = fresh();
    p->setObjectForKey(Value(Value::Data(pictureSize, 0xAB)), "profilePicture");
    p->setBoolForKey(true, "toggleVantile");

    bool flags[12] = {};
    long numbers[4] = {};
    Value title;
    const std::size_t before = testing_support::bytesAllocated();
    for (bool& flag : flags) p->registerBoolDefaultForKey(&flag, false, "toggleVantile");
    for (long& number : numbers) p->registerIntegerDefaultForKey(&number, 3, "vantileFlowDirection");
    p->registerObjectDefaultForKey(&title, Value("Tweaks"), "tweaksSectionString");
    p->registerDefaults({{"toggleHaptics", true}});
    const std::size_t allocated = testing_support::bytesAllocated() - before;
    // Every binding reads the shared snapshot; a single copy of the domain would cost the whole picture.
    EXPECT_LT(allocated, pictureSize / 4) << allocated << " bytes for 18 registrations";
    for (bool flag : flags) EXPECT_TRUE(flag);
    EXPECT_EQ(numbers[3], 3);
    EXPECT_EQ(title, Value("Tweaks"));
}

}  // namespace
