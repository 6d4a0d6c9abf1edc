// The five lists of the pane as the bundle installs them, driven through the host's setter, and the four sub-pages
// that show them.
#include "common/Keys.h"
#include "platform/core/NSMutableArray.h"
#include "platform/core/NotificationRecords.h"
#include "platform/core/NSProcessInfo.h"
#include "platform/core/PropertyList.h"
#include "platform/core/Runtime.h"
#include "platform/core/StringsTable.h"
#include "platform/gfx/UIImage.h"
#include "platform/host/PSSpecifier.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UINavigationBar.h"
#include "platform/ui/UINavigationItem.h"
#include "prefs/pane/VNTPrimraryController.h"
#include "prefs/pane/VNTProfileController.h"
#include "tests/prefs/pane/PaneFixture.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

namespace {

using platform::msgSend;

struct ListPage {
    const char* plist;
    const char* controller;
};
const std::vector<ListPage> kPages{{"Primrary", "VNTPrimraryController"}, {"Sections", "VNTSectionsController"},
                                   {"Colours", "VNTColoursController"},   {"Options", "VNTOptionsController"},
                                   {"Profile", "VNTProfileController"}};

class PaneLists : public panetest::PaneFixture {
protected:
    Ref<PSListController> makePage(const std::string& className) const {
        auto page = cast<PSListController>(platform::runtime::createInstance(objc_getClass(className)));
        EXPECT_TRUE(page) << className;
        if (!page) return nullptr;
        page->setBundlePath(std::string(panetest::kBundle));
        page->init();
        return page;
    }
    static std::vector<Ref<PSSpecifier>> entries(const Ref<PSListController>& page) {
        std::vector<Ref<PSSpecifier>> out;
        if (auto list = msgSend<Ref<NSMutableArray>>(page, sel("specifiers")))
            for (const auto& e : *list)
                if (auto s = cast<PSSpecifier>(e)) out.push_back(s);
        return out;
    }
    static Value::Array validValues(const PSSpecifier& row) {
        if (auto p = row.propertyForKey("validValues"))
            if (auto v = p->value(); v && v->asArray()) return *v->asArray();
        return {};
    }
    std::vector<Value::Dictionary> plistItems(const std::string& name) const {
        std::vector<Value::Dictionary> out;
        auto root = platform::readPropertyListFile(hostPath(std::string(panetest::kBundle) + "/" + name + ".plist"));
        EXPECT_TRUE(root && root->asDictionary()) << name;
        if (root && root->asDictionary())
            if (auto items = root->asDictionary()->find("items"); items != root->asDictionary()->end() && items->second.asArray())
                for (const auto& item : *items->second.asArray())
                    if (auto d = item.asDictionary()) out.push_back(*d);
        return out;
    }
};

// Every key a pane page writes, with the type the tweak reads it as.
TEST_F(PaneLists, EveryRowWritesItsKeyWithItsTypeAndPostsItsNotification) {
    const std::map<std::string, Value::Type> expected{
        {"toggleHaptics", Value::Type::Boolean},          {"toggleCellsChroma", Value::Type::Boolean},
        {"toggleCellsRandomChroma", Value::Type::Boolean}, {"toggleCellsFontChroma", Value::Type::Boolean},
        {"tweaksSectionString", Value::Type::String},      {"stockAppsString", Value::Type::String},
        {"thirdPartyAppsString", Value::Type::String},     {"vantileFlowDirection", Value::Type::Integer},
        {"profileNameString", Value::Type::String},
        {"vantileCellsChroma", Value::Type::String},       {"vantileCellsFontChroma", Value::Type::String},
        {"vantileStatusONChroma", Value::Type::String},    {"vantileStatusOFFChroma", Value::Type::String},
    };
    std::map<std::string, int> seen;
    for (const auto& page : kPages) {
        SCOPED_TRACE(page.plist);
        auto controller = makePage(page.controller);
        const auto rows = entries(controller);
        EXPECT_FALSE(rows.empty());
        for (const auto& row : rows) {
            const auto key = row->stringProperty("key");
            if (!key) continue;
            SCOPED_TRACE(*key);
            ++seen[*key];
            EXPECT_EQ(row->stringProperty("defaults"), std::string(vantile::kDomain));
            EXPECT_EQ(row->stringProperty("PostNotification"), std::string(vantile::notification::settingsChanged));
            // The picture row stores through its own cell, not the page's setter (its own tests cover it).
            if (row->stringProperty("cellClass") == std::string("VNTPicturePickerCell")) {
                EXPECT_EQ(*key, vantile::key::profilePicture);
                EXPECT_EQ(row->cellType(), PSSpecifier::PSButtonCell);
                EXPECT_EQ(row->stringProperty("action"), std::string("chooseImage"));
                continue;
            }
            ASSERT_TRUE(expected.contains(*key)) << "a key no pane page writes";
            EXPECT_EQ(row->target(), controller) << "read and written through the page";

            Value value;
            switch (row->cellType()) {
            case PSSpecifier::PSSwitchCell: value = Value(!HBPreferences::boolFromValue(row->performGetter(), false)); break;
            case PSSpecifier::PSEditTextCell: value = Value("Edited " + *key); break;
            case PSSpecifier::PSSegmentCell:
            case PSSpecifier::PSLinkListCell: {
                const auto values = validValues(*row);
                ASSERT_EQ(values, (Value::Array{Value(0), Value(1)})) << "the two scroll directions";
                value = values.back();
                break;
            }
            // The colour rows store the picker's eight digits; the appearance row its option, as an integer here.
            case PSSpecifier::PSButtonCell:
                ASSERT_EQ(row->stringProperty("cellClass"), std::string("VNTChromaCell"));
                value = Value("11223344");
                break;
            case PSSpecifier::PSStaticTextCell:
                ASSERT_EQ(row->stringProperty("cellClass"), std::string("VNTAppearanceCell"));
                ASSERT_TRUE(row->boolProperty("isNumeric")) << "the option is stored as the integer the grid reads";
                value = Value(1);
                break;
            default: FAIL() << "row of cell type " << row->cellType() << " cannot edit " << *key;
            }
            platform::clearNotificationRecords();
            row->performSetterWithValue(value);
            const Value written = stored(*key);
            EXPECT_EQ(written.type(), expected.at(*key));
            EXPECT_EQ(written, value);
            EXPECT_EQ(platform::notificationCount(platform::NotificationKind::Darwin, vantile::notification::settingsChanged), 1u);
            EXPECT_EQ(row->performGetter(), value) << "the row shows what it wrote";
        }
    }
    for (const auto& [key, type] : expected) EXPECT_EQ(seen[key], 1) << key << " is edited by exactly one row";
}

TEST_F(PaneLists, RowsDefaultToTheRegisteredValuesBeforeAnythingIsStored) {
    const std::map<std::string, Value> defaults{
        {"toggleHaptics", Value(true)},
        {"toggleCellsChroma", Value(false)},
        {"vantileFlowDirection", Value(0)},
        {"tweaksSectionString", Value(std::string(vantile::defaults::tweaksSectionString))},
        {"stockAppsString", Value(std::string(vantile::defaults::stockAppsString))},
        {"thirdPartyAppsString", Value(std::string(vantile::defaults::thirdPartyAppsString))},
        {"profileNameString", Value(std::string("Username"))},
    };
    for (const auto& page : kPages)
        for (const auto& row : entries(makePage(page.controller)))
            if (auto key = row->stringProperty("key"); key && defaults.contains(*key)) {
                EXPECT_EQ(row->performGetter(), defaults.at(*key)) << *key;
            }
}

TEST_F(PaneLists, LabelsHaveEnglishAndGermanTexts) {
    for (const auto& page : kPages) {
        SCOPED_TRACE(page.plist);
        const auto items = plistItems(page.plist);
        std::set<std::string> texts;
        for (const auto& item : items) {
            for (const char* k : {"label", "subtitle", "footerText"})
                if (auto f = item.find(k); f != item.end() && f->second.asString()) texts.insert(*f->second.asString());
            if (auto f = item.find("validTitles"); f != item.end() && f->second.asArray())
                for (const auto& t : *f->second.asArray())
                    if (t.asString()) texts.insert(*t.asString());
        }
        std::map<std::string, platform::StringsTable> tables;
        for (const char* language : {"en", "de"}) {
            std::ifstream in(hostPath(std::string(panetest::kBundle) + "/" + language + ".lproj/" + page.plist + ".strings"),
                             std::ios::binary);
            const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
            auto table = platform::parseStringsTable(bytes);
            ASSERT_TRUE(table) << language;
            tables[language] = *table;
            for (const auto& text : texts) EXPECT_TRUE(table->contains(text)) << language << ": " << text;
        }
        std::size_t translated = 0;
        for (const auto& text : texts) translated += tables["de"][text] != tables["en"][text];
        EXPECT_GT(translated, 0u) << "the German table is German";
    }
}

TEST_F(PaneLists, SubPagesShowTheAppearanceImageOnEveryAppearance) {
    writeDomain({{"toggleVantile", Value(false)}});
    auto root = makeRoot();
    present(root);
    settle();
    for (const char* name : {"VNTSectionsController", "VNTColoursController", "VNTOptionsController"}) {
        SCOPED_TRACE(name);
        auto page = makePage(name);
        m_navigation->pushViewControllerAnimated(page, true);
        settle();
        auto title = cast<UIImageView>(page->navigationItem()->titleView());
        ASSERT_TRUE(title);
        ASSERT_TRUE(title->image());
        EXPECT_NE(title->image()->source().find("VantilePrefs.bundle/Assets/appearance"), std::string::npos);
        page->navigationItem()->setTitleView(nullptr);
        auto over = makePage("VNTOptionsController");
        m_navigation->pushViewControllerAnimated(over, false);
        m_navigation->popViewControllerAnimated(false);
        settle();
        EXPECT_TRUE(page->navigationItem()->titleView()) << "set again when the page appears again";
        m_navigation->popViewControllerAnimated(false);
        settle();
    }

    for (const char* variant : {"appearance.png", "appearance@2x.png", "appearance@3x.png"})
        std::filesystem::remove(hostPath(std::string(panetest::kBundle) + "/Assets/" + variant));
    auto page = makePage("VNTColoursController");
    m_navigation->pushViewControllerAnimated(page, false);
    settle();
    auto title = cast<UIImageView>(page->navigationItem()->titleView());
    ASSERT_TRUE(title) << "an empty title view";
    EXPECT_FALSE(title->image());
}

TEST_F(PaneLists, ProfilePageTitleFollowsTheThemeAndBirthdayRowIsSafe) {
    struct Case {
        std::vector<std::string_view> on;
        const char* folder;  // nullptr: no title image
    };
    const std::vector<Case> cases{{{"Ocean"}, "Ocean"}, {{"Peach", "Storm"}, "Peach"}, {{}, nullptr}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder ? c.folder : "none");
        auto dict = Value::Dictionary{{"toggleVantile", Value(false)}};
        for (const auto& row : {"Default", "Ocean", "Sunset", "Peach", "Martini", "Storm"})
            dict[std::string("toggle") + row + "Theme"] =
                Value(std::find(c.on.begin(), c.on.end(), std::string_view(row)) != c.on.end());
        writeDomain(dict);
        auto root = makeRoot();
        present(root);
        settle();
        auto page = makePage("VNTProfileController");
        m_navigation->pushViewControllerAnimated(page, true);
        settle();
        auto title = cast<UIImageView>(page->navigationItem()->titleView());
        if (!c.folder) {
            EXPECT_FALSE(page->navigationItem()->titleView());
        } else {
            ASSERT_TRUE(title && title->image());
            EXPECT_NE(title->image()->source().find(std::string(c.folder) + "/Profile/profile-icon"), std::string::npos)
                << title->image()->source();
        }
        // A second use while the card is up is refused by the presentation, as on the device; one card shows.
        for (int i = 0; i < 2; ++i) msgSend<void>(page, sel("displayBirthdayDatePicker"));
        settle();
        auto card = page->presentedViewController();
        ASSERT_TRUE(card);
        EXPECT_EQ(card->className(), "VNTDatePickerController");
        card->dismissViewControllerAnimatedCompletion(false);
        EXPECT_FALSE(page->presentedViewController());
    }
}

TEST_F(PaneLists, SubPagesTurnLargeTitlesOffFromElevenOnOnly) {
    for (long major : {10L, 13L}) {
        platform::setOperatingSystemVersion({major, 0, 0});
        for (const auto& p : kPages) {
            SCOPED_TRACE(std::string(p.controller) + " on " + std::to_string(major));
            auto page = makePage(p.controller);
            auto navigation = alloc<UINavigationController>();
            navigation->initWithRootViewController(page);
            navigation->navigationBar()->setPrefersLargeTitles(true);
            page->view();
            EXPECT_EQ(navigation->navigationBar()->prefersLargeTitles(), major < 11);
            EXPECT_EQ(page->navigationItem()->largeTitleDisplayMode(),
                      major < 11 ? UINavigationItemLargeTitleDisplayModeAutomatic : UINavigationItemLargeTitleDisplayModeNever);
        }
    }
}

}  // namespace
