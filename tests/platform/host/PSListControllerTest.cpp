// List pages as the Settings application shows them: groups, rows, switches, links and their look.
#include "platform/host/PSListController.h"

#include "platform/core/CFPreferences.h"
#include "platform/core/NotificationRecords.h"
#include "platform/gfx/UIImage.h"
#include "platform/host/PSTableCell.h"
#include "platform/ui/CALayer.h"
#include "platform/ui/NSIndexPath.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UISwitch.h"
#include "platform/ui/UITableView.h"
#include "tests/platform/host/HostFixture.h"
#include "tests/platform/host/TestPages.h"

#include <fstream>

namespace {

using platform::msgSend;

class ListPage : public hosttest::HostFixture {
protected:
    template <class Page = PSListController>
    Ref<Page> showPage(std::vector<Ref<PSSpecifier>> entries) {
        auto list = NSMutableArray::array();
        for (auto& e : entries) list->addObject(e);
        auto page = alloc<Page>();
        page->init();
        page->setSpecifiers(list);
        show(page);
        return page;
    }
    static Ref<PSSpecifier> row(std::string name, long cell = PSSpecifier::PSLinkCell, Class detail = nullptr) {
        return PSSpecifier::preferenceSpecifierNamedTargetSetGetDetailCellEdit(std::move(name), nullptr, nullptr,
                                                                               nullptr, detail, cell, nullptr);
    }
    static Ref<PSSpecifier> header(std::string name) { return PSSpecifier::groupSpecifierWithName(std::move(name)); }
    static Ref<PSTableCell> cellAt(const Ref<PSListController>& page, long section, long r) {
        return cast<PSTableCell>(page->table()->cellForRowAtIndexPath(IndexPath{section, r}));
    }
    void tap(const Ref<PSListController>& page, long section, long r) {
        msgSend<void>(page, sel("tableView:didSelectRowAtIndexPath:"), page->table(),
                      NSIndexPath::indexPathForRowInSection(r, section));
        platform::RunLoop::main().advance(1);
    }
};

TEST_F(ListPage, GroupsBecomeSectionsAndRowsShowTheirSpecifier) {
    auto icon = UIImage::systemImageNamed("gear");
    auto loose = row("Loose");
    loose->setPropertyForKey(Property(icon), "iconImage");
    auto value = row("Version", PSSpecifier::PSTitleValueCell);
    value->setPropertyForKey(Property("17.2"), "default");
    auto two = header("Two");
    two->setPropertyForKey(Property("Below the group"), "footerText");
    auto page = showPage({loose, header("One"), row("Toggle", PSSpecifier::PSSwitchCell),
                          row("Note", PSSpecifier::PSStaticTextCell), two, value});
    auto table = page->table();
    ASSERT_EQ(table->numberOfSections(), 3) << "rows before the first header form a group of their own";
    EXPECT_EQ(table->numberOfRowsInSection(0), 1);
    EXPECT_EQ(table->numberOfRowsInSection(1), 2);
    EXPECT_EQ(table->numberOfRowsInSection(2), 1);
    EXPECT_EQ(page->tableViewTitleForHeaderInSection(table, 0), "");
    EXPECT_EQ(page->tableViewTitleForHeaderInSection(table, 1), "One");
    EXPECT_EQ(page->tableViewTitleForFooterInSection(table, 2), "Below the group");

    struct Expect {
        long section, row;
        const char* title;
        bool isSwitch;
        UITableViewCellAccessoryType accessory;
    };
    const Expect rows[] = {
        {0, 0, "Loose", false, UITableViewCellAccessoryDisclosureIndicator},
        {1, 0, "Toggle", true, UITableViewCellAccessoryNone},
        {1, 1, "Note", false, UITableViewCellAccessoryNone},
        {2, 0, "Version", false, UITableViewCellAccessoryNone},
    };
    for (const auto& e : rows) {
        auto cell = cellAt(page, e.section, e.row);
        ASSERT_TRUE(cell) << e.title;
        EXPECT_EQ(cell->textLabel()->text(), e.title);
        EXPECT_EQ(cast<PSSwitchTableCell>(cell) != nullptr, e.isSwitch) << e.title;
        EXPECT_EQ(cell->accessoryType(), e.accessory) << e.title;
        EXPECT_EQ(cell->specifier(), page->specifierAtIndexPath(e.section, e.row)) << e.title;
    }
    EXPECT_EQ(cellAt(page, 0, 0)->imageView()->image(), icon);
    ASSERT_TRUE(cellAt(page, 2, 0)->detailTextLabel());
    EXPECT_EQ(cellAt(page, 2, 0)->detailTextLabel()->text(), "17.2");
    EXPECT_EQ(page->indexPathForIndex(3), (std::pair<long, long>{1, 1}));
    EXPECT_FALSE(page->indexPathForIndex(1)) << "headers have no row";
}

TEST_F(ListPage, LinkRowsPushTheirPageAndButtonRowsSendTheirAction) {
    auto target = alloc<HostTestTarget>();
    auto byClass = row("By class", PSSpecifier::PSLinkCell, HostTestPage::classObject());
    auto byName = row("By name");
    byName->setPropertyForKey(Property("HostTestPage"), "detail");
    auto missing = row("Missing");
    missing->setPropertyForKey(Property("NoSuchPage"), "detail");
    auto inBundle = row("In a bundle");
    inBundle->setPropertyForKey(Property("NoSuchPage"), "detail");
    inBundle->setPropertyForKey(Property("SomeBundle"), "bundle");
    auto button = PSSpecifier::preferenceSpecifierNamedTargetSetGetDetailCellEdit(
        "Button", target, nullptr, nullptr, nullptr, PSSpecifier::PSButtonCell, nullptr);
    button->setPropertyForKey(Property("buttonPressed"), "action");
    auto withArgument = PSSpecifier::preferenceSpecifierNamedTargetSetGetDetailCellEdit(
        "With argument", target, nullptr, nullptr, nullptr, PSSpecifier::PSButtonCell, nullptr);
    withArgument->setPropertyForKey(Property("buttonPressedBy:"), "action");
    auto page = showPage({header(""), byClass, byName, missing, button, inBundle, withArgument});

    for (long r : {0L, 1L}) {
        tap(page, 0, r);
        auto top = cast<HostTestPage>(m_navigation->topViewController());
        ASSERT_TRUE(top) << "row " << r;
        EXPECT_EQ(top->specifier(), page->specifierAtIndexPath(0, r)) << "the page gets the row that opened it";
        EXPECT_EQ(top->title(), page->specifierAtIndexPath(0, r)->name());
        m_navigation->popViewControllerAnimated(false);
    }
    EXPECT_EQ(byName->detailControllerClass(), HostTestPage::classObject()) << "the looked-up class is kept";

    tap(page, 0, 2);
    EXPECT_EQ(m_navigation->topViewController(), page) << "a page class that cannot be found opens nothing";

    tap(page, 0, 3);
    EXPECT_EQ(target->presses, std::vector<std::string>{"buttonPressed"});
    EXPECT_EQ(m_navigation->topViewController(), page);

    tap(page, 0, 5);
    EXPECT_EQ(target->presses, (std::vector<std::string>{"buttonPressed", "buttonPressedBy:With argument"}))
        << "an action that takes an argument is given the row";

    tap(page, 0, 4);
    EXPECT_EQ(m_navigation->topViewController()->className(), "PSBundleErrorController")
        << "a row of a bundle that is not installed opens the error page, not its \"detail\"";
    EXPECT_EQ(m_navigation->topViewController()->title(), "In a bundle");
}

TEST_F(ListPage, SwitchRowsShowAndWriteTheirPreference) {
    platform::clearNotificationRecords();
    CFPreferencesSetAppValue("stored", Value(true), "com.example.list");
    auto stored = row("Stored", PSSpecifier::PSSwitchCell);
    auto fallback = row("Fallback", PSSpecifier::PSSwitchCell);
    for (auto& [r, key] : {std::pair{stored, "stored"}, std::pair{fallback, "fallback"}}) {
        r->setPropertyForKey(Property("com.example.list"), "defaults");
        r->setPropertyForKey(Property(key), "key");
        r->setPropertyForKey(Property("com.example.list/changed"), "PostNotification");
    }
    fallback->setPropertyForKey(Property(false), "default");
    auto page = showPage({header(""), stored, fallback});

    auto first = cast<UISwitch>(cast<PSSwitchTableCell>(cellAt(page, 0, 0))->control());
    auto second = cast<UISwitch>(cast<PSSwitchTableCell>(cellAt(page, 0, 1))->control());
    ASSERT_TRUE(first && second);
    EXPECT_TRUE(first->isOn());
    EXPECT_FALSE(second->isOn());

    second->setOn(true);
    second->sendActionsForControlEvents(UIControlEventValueChanged);
    EXPECT_EQ(CFPreferencesCopyAppValue("fallback", "com.example.list"), Value(true));
    EXPECT_EQ(platform::notificationCount(platform::NotificationKind::Darwin, "com.example.list/changed"), 1u);

    // Another writer changes the stored value: the page shows it when it appears again.
    CFPreferencesSetAppValue("stored", Value(false), "com.example.list");
    page->beginAppearanceTransition(false, false);
    page->endAppearanceTransition();
    page->beginAppearanceTransition(true, false);
    page->endAppearanceTransition();
    m_window->layoutIfNeeded();
    EXPECT_FALSE(cast<UISwitch>(cast<PSSwitchTableCell>(cellAt(page, 0, 0))->control())->isOn());
    for (const char* key : {"stored", "fallback"}) CFPreferencesSetAppValue(key, Value(), "com.example.list");
}

TEST_F(ListPage, WidthClassAndEdgeToEdgeDecideTheRowInset) {
    struct Case {
        const char* name;
        Class page;
        bool edgeToEdge;
        CGFloat margin;
    };
    const Case cases[] = {
        {"phone", PSListController::classObject(), true, 0},
        {"regular width", HostRegularWidthPage::classObject(), false, 20},
        {"edge-to-edge refused", HostInsetPage::classObject(), false, 16},
    };
    for (const auto& c : cases) {
        auto page = cast<PSListController>(platform::runtime::createInstance(c.page));
        page->init();
        auto valued = row("Last", PSSpecifier::PSTitleValueCell);
        valued->setPropertyForKey(Value("A value long enough to reach the edge"), "default");
        page->setSpecifiers(NSMutableArray::arrayWithObjects({header(""), row("First"), row("Middle"), valued}));
        show(page);
        EXPECT_EQ(page->edgeToEdgeCells(), c.edgeToEdge) << c.name;
        EXPECT_EQ(page->rowMargin(), c.margin) << c.name;
        auto first = cellAt(page, 0, 0);
        auto middle = cellAt(page, 0, 1);
        ASSERT_TRUE(first && middle) << c.name;
        first->layoutIfNeeded();
        EXPECT_EQ(first->groupMargin(), c.margin) << c.name;
        EXPECT_EQ(first->contentView()->frame().origin.x, c.margin) << c.name;
        if (c.margin > 0) {
            ASSERT_TRUE(first->backgroundView()) << c.name;
            EXPECT_EQ(first->backgroundView()->frame().origin.x, c.margin) << c.name;
            EXPECT_EQ(first->backgroundView()->frame().size.width, first->bounds().width() - 2 * c.margin) << c.name;
            EXPECT_EQ(first->backgroundView()->layer()->cornerRadius(), PSTableCell::kCornerRadius) << c.name;
            EXPECT_EQ(first->backgroundView()->layer()->maskedCorners(), kCALayerMinXMinYCorner | kCALayerMaxXMinYCorner)
                << c.name << ": only the group's top corners";
            ASSERT_TRUE(middle->backgroundView());
            EXPECT_EQ(middle->backgroundView()->layer()->cornerRadius(), 0) << c.name;
        }
        // Hairlines: on the card between rows; none under an inset group's last row, whose rounded edge closes it.
        auto last = cellAt(page, 0, 2);
        ASSERT_TRUE(last) << c.name;
        middle->layoutIfNeeded();
        last->layoutIfNeeded();
        const CGRect line = middle->separatorView()->frame();
        EXPECT_FALSE(middle->separatorView()->isHidden()) << c.name;
        EXPECT_GE(line.minX(), c.margin) << c.name;
        EXPECT_LE(line.maxX(), middle->bounds().width() - c.margin) << c.name;
        EXPECT_EQ(last->separatorView()->isHidden(), c.margin > 0) << c.name;
        // A right-aligned value ends on the card, not under its rounded edge.
        ASSERT_TRUE(last->detailTextLabel()) << c.name;
        const CGRect value = last->detailTextLabel()->convertRectToView(last->detailTextLabel()->bounds(), last);
        EXPECT_LE(value.maxX(), last->bounds().width() - c.margin) << c.name;
        EXPECT_GT(value.width(), 0) << c.name;
        TearDown();
        SetUp();
    }
}

TEST_F(ListPage, PlistEntriesFollowCellTypesCapabilitiesAndIcons) {
    auto dot = UIImage::systemImageNamed("star.fill");
    auto png = UIImagePNGRepresentation(dot);
    ASSERT_TRUE(png);
    std::filesystem::create_directories(hostPath("/Applications/Preferences.app"));
    std::ofstream(hostPath("/Applications/Preferences.app/dot.png"), std::ios::binary)
        .write(reinterpret_cast<const char*>(png->data()), static_cast<std::streamsize>(png->size()));
    Value::Array items{
        item({{"cell", "PSGroupCell"}, {"label", "Group"}, {"id", "G"}}),
        item({{"label", "Plain"}}),
        item({{"label", "Face"}, {"requiredCapabilities", Value::Array{"face-id"}}}),
        item({{"cell", "PSBogusCell"}, {"label", "Bogus"}}),
        Value("not a dictionary"),
        item({{"cell", "PSSwitchCell"}, {"label", "Keyed"}, {"key", "k"}, {"defaults", "com.example.plist"}}),
        item({{"label", "Icon"}, {"icon", "dot.png"}}),
        item({{"label", "No icon"}, {"icon", "missing.png"}}),
    };
    writePlist("/Applications/Preferences.app/Page.plist", Value(Value::Dictionary{{"items", items}}));
    auto page = alloc<PSListController>();
    page->init();

    auto load = [&] { return msgSend<Ref<NSMutableArray>>(page, sel("loadSpecifiersFromPlistName:target:"),
                                                         std::string("Page"), id(page)); };
    EXPECT_EQ(names(load()), (std::vector<std::string>{"HG", "Plain", "Keyed", "Icon", "No icon"}));
    platform::host::DeviceCapabilities::set({"face-id"});
    auto list = load();
    EXPECT_EQ(names(list), (std::vector<std::string>{"HG", "Plain", "Face", "Keyed", "Icon", "No icon"}));

    auto keyed = list->objectAtIndexAs<PSSpecifier>(3);
    EXPECT_EQ(keyed->cellType(), PSSpecifier::PSSwitchCell);
    EXPECT_EQ(keyed->target(), page);
    EXPECT_EQ(keyed->getter(), sel("readPreferenceValue:")) << "keyed rows read through the page";
    EXPECT_EQ(keyed->stringProperty("defaults"), "com.example.plist") << "every key is kept as a property";
    EXPECT_FALSE(list->objectAtIndexAs<PSSpecifier>(0)->target()) << "headers have no target";
    auto icon = list->objectAtIndexAs<PSSpecifier>(4)->propertyForKey("iconImage");
    ASSERT_TRUE(icon && icon->object<UIImage>());
    EXPECT_NE(icon->object<UIImage>()->source().find("dot.png"), std::string::npos) << icon->object<UIImage>()->source();
    EXPECT_FALSE(list->objectAtIndexAs<PSSpecifier>(5)->propertyForKey("iconImage"));

    EXPECT_TRUE(msgSend<Ref<NSMutableArray>>(page, sel("loadSpecifiersFromPlistName:target:"), std::string("Absent"),
                                             id(page))
                    ->isEmpty());
}

TEST_F(ListPage, ReloadingAnEntryRefreshesItsRowOnly) {
    auto a = row("A");
    auto b = row("B");
    auto page = showPage({header(""), a, b});
    a->setName("A2");
    b->setName("B2");
    msgSend<void>(page, sel("reloadSpecifierAtIndex:animated:"), 1L, false);
    EXPECT_EQ(cellAt(page, 0, 0)->textLabel()->text(), "A2");
    EXPECT_EQ(cellAt(page, 0, 1)->textLabel()->text(), "B") << "the other row waits for its own reload";
    for (long outside : {-1L, 0L, 3L, 99L}) msgSend<void>(page, sel("reloadSpecifierAtIndex:animated:"), outside, false);
    EXPECT_EQ(cellAt(page, 0, 1)->textLabel()->text(), "B");
}

}  // namespace
