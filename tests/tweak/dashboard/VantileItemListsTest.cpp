#include "tweak/cards/VantileCatalogue.h"
#include "tweak/dashboard/VantileItemLists.h"

#include "common/Keys.h"
#include "tests/platform/core/PreferenceFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Titles = std::vector<std::string>;

class VantileItemListsTest : public PreferenceFixture {
protected:
    void TearDown() override {
        VantileItemLists::destroy();
        PreferenceFixture::TearDown();
    }

    // The state as the pane or an earlier editor left it: written through the store, as they write it.
    void store(const Value::Dictionary& contents) {
        auto domain = platform::PreferenceDomain::named(kDomain);
        ASSERT_TRUE(domain);
        ASSERT_TRUE(domain->replace(contents));
    }
    static Value array(const Titles& titles) {
        Value::Array a;
        for (const auto& t : titles) a.emplace_back(t);
        return Value(std::move(a));
    }
    // Opens the editor: new lists, then loading, counting reloads of the editor table.
    VantileItemLists& open() {
        auto& lists = VantileItemLists::create([this] { ++m_reloads; });
        lists.loadVantiles();
        return lists;
    }
    static Titles headers(const VantileItemLists::List& list) {
        Titles t;
        for (const auto& item : list) t.push_back(item->header());
        return t;
    }
    // Every item carries its list's flag and its position as index.
    static void expectIndexed(const VantileItemLists::List& list, bool enabled) {
        for (std::size_t i = 0; i < list.size(); ++i) {
            EXPECT_EQ(list[i]->isEnabled(), enabled) << list[i]->header();
            EXPECT_EQ(list[i]->index(), static_cast<std::int32_t>(i)) << list[i]->header();
        }
    }

    int m_reloads = 0;
};

TEST_F(VantileItemListsTest, FirstRunMakesEveryCardAvailableAndWritesBothKeys) {
    auto& lists = open();
    EXPECT_TRUE(lists.enabledItems().empty());
    EXPECT_EQ(headers(lists.disabledItems()), vantile::catalogueTitles());
    expectIndexed(lists.disabledItems(), false);
    EXPECT_EQ(m_reloads, 1);

    auto disk = onDisk();
    ASSERT_TRUE(disk.count("vantileEnabledArray"));
    EXPECT_EQ(disk["vantileEnabledArray"], Value(Value::Array{}));
    EXPECT_EQ(disk["vantileDisabledArray"], array(vantile::catalogueTitles()));
    EXPECT_EQ(disk.size(), 2u);
}

TEST_F(VantileItemListsTest, StoredListsAreTakenOverAsTheyAre) {
    struct Case {
        const char* what;
        Value::Dictionary stored;
        Titles selected, available;
        bool defaulted;
    };
    const Titles all = vantile::catalogueTitles();
    const std::vector<Case> cases = {
        {"selected with one title, available absent",
         {{"vantileEnabledArray", array({"Wi-Fi"})}}, {"Wi-Fi"}, {}, false},
        {"selected with one title, available empty",
         {{"vantileEnabledArray", array({"Battery"})}, {"vantileDisabledArray", array({})}}, {"Battery"}, {}, false},
        {"both empty: defaults again",
         {{"vantileEnabledArray", array({})}, {"vantileDisabledArray", array({})}}, {}, all, true},
        {"only available present", {{"vantileDisabledArray", array({"General", "Privacy"})}}, {},
         {"General", "Privacy"}, false},
        {"duplicates and near misses kept in order",
         {{"vantileEnabledArray", array({"Wi-Fi", "Sounds and Haptics", "Wi-Fi"})},
          {"vantileDisabledArray", array({"Battery", "battery"})}},
         {"Wi-Fi", "Sounds and Haptics", "Wi-Fi"}, {"Battery", "battery"}, false},
        {"entries that are not strings are skipped",
         {{"vantileEnabledArray", Value(Value::Array{Value(3), Value("Siri & Search"), Value(true)})}},
         {"Siri & Search"}, {}, false},
        {"a list that holds no string counts as no title",
         {{"vantileEnabledArray", Value(Value::Array{Value(1)})}}, {}, all, true},
        {"a key of another type is no list", {{"vantileEnabledArray", Value("Wi-Fi")}}, {}, all, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        store(c.stored);
        m_reloads = 0;
        auto& lists = open();
        EXPECT_EQ(headers(lists.enabledItems()), c.selected);
        EXPECT_EQ(headers(lists.disabledItems()), c.available);
        expectIndexed(lists.enabledItems(), true);
        expectIndexed(lists.disabledItems(), false);
        EXPECT_EQ(m_reloads, c.defaulted ? 1 : 0);
        // Loading writes only when it fell back to the defaults.
        auto disk = onDisk();
        if (c.defaulted) {
            EXPECT_EQ(disk["vantileDisabledArray"], array(all));
            EXPECT_EQ(disk["vantileEnabledArray"], array({}));
        } else {
            EXPECT_EQ(disk, c.stored);
        }
    }
}

TEST_F(VantileItemListsTest, NearMissTitleHasNoIconAndAnEmptyCell) {
    store({{"vantileEnabledArray", array({"Sounds and Haptics", "Sounds & Haptics"})}});
    auto& lists = open();
    ASSERT_EQ(lists.enabledItems().size(), 2u);
    const std::string& nearMiss = lists.enabledItems()[0]->header();
    EXPECT_EQ(nearMiss, "Sounds and Haptics");
    EXPECT_FALSE(vantile::iconPathForTitle(nearMiss).has_value());
    EXPECT_EQ(vantile::reuseIdentifierForTitle(nearMiss), "OriginalCell");
    EXPECT_EQ(vantile::reuseIdentifierForTitle(lists.enabledItems()[1]->header()), "SoundsCell");
    lists.saveToConfig();
    EXPECT_EQ(onDisk()["vantileEnabledArray"], array({"Sounds and Haptics", "Sounds & Haptics"}));
}

TEST_F(VantileItemListsTest, SavingWritesTitlesInListOrderAndAReopenSeesThem) {
    auto& lists = open();
    // The editor drags "Bluetooth" and then "Wi-Fi" into the selected list.
    auto& available = lists.disabledItems();
    for (const char* title : {"Bluetooth", "Wi-Fi"}) {
        auto it = std::find_if(available.begin(), available.end(), [&](auto& i) { return i->header() == title; });
        ASSERT_NE(it, available.end());
        auto moved = lists.makeEnabledItem((*it)->header());
        available.erase(it);
        lists.enabledItems().push_back(moved);
    }
    lists.saveToConfig();
    auto disk = onDisk();
    EXPECT_EQ(disk["vantileEnabledArray"], array({"Bluetooth", "Wi-Fi"}));
    EXPECT_EQ(disk["vantileDisabledArray"].asArray()->size(), 21u);

    // A new table view replaces the lists and restarts both counters.
    auto& reopened = open();
    EXPECT_NE(&reopened, &lists);
    EXPECT_EQ(headers(reopened.enabledItems()), (Titles{"Bluetooth", "Wi-Fi"}));
    expectIndexed(reopened.enabledItems(), true);
    expectIndexed(reopened.disabledItems(), false);
    EXPECT_EQ(reopened.nextEnabledIndex(), 2);
    EXPECT_EQ(reopened.nextDisabledIndex(), 21);
    EXPECT_EQ(headers(VantileItemLists::getEnabledVantiles()), (Titles{"Bluetooth", "Wi-Fi"}));
}

TEST_F(VantileItemListsTest, WithoutAnEditorThereAreNoLists) {
    VantileItemLists::destroy();
    EXPECT_EQ(VantileItemLists::current(), nullptr);
    EXPECT_TRUE(VantileItemLists::getEnabledVantiles().empty());
    EXPECT_TRUE(VantileItemLists::getDisabledVantiles().empty());
    open();
    EXPECT_EQ(VantileItemLists::getDisabledVantiles().size(), 23u);
}

}  // namespace
