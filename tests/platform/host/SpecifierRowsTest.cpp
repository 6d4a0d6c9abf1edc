// The rows a list page makes for its entries: the framework's control rows (slider, edit text, segment, link list)
// used with touches as a person uses them, the value each stores and the notification it posts, and custom rows
// named by "cellClass".
#include "platform/host/PSListController.h"

#include "platform/core/CFPreferences.h"
#include "platform/core/NotificationRecords.h"
#include "platform/gfx/UIImage.h"
#include "platform/harness/TouchDriver.h"
#include "platform/host/PSListItemsController.h"
#include "platform/host/PSTableCell.h"
#include "platform/ui/NSIndexPath.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UISegmentedControl.h"
#include "platform/ui/UISlider.h"
#include "platform/ui/UISwitch.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UITextField.h"
#include "tests/platform/host/HostFixture.h"
#include "tests/platform/host/TestPages.h"

#include <functional>
#include <string>
#include <vector>

namespace {

// A custom view of the kind a preference bundle writes: made with its specifier, with a height of its own, and
// counting how often the table places it.
class RowsTestCustomView : public PSTableCell {
    VT_OBJECT(RowsTestCustomView, PSTableCell)
public:
    static inline int made = 0;
    void initWithSpecifier(Ref<PSSpecifier> specifier) {
        ++made;
        initWithStyleReuseIdentifierSpecifier(UITableViewCellStyleDefault, "Cell", std::move(specifier));
    }
    CGFloat preferredHeightForWidth(CGFloat width) { return width > 0 ? 100 : 0; }
    void didMoveToSuperview() override {
        if (superview()) ++placements;
    }
    int placements = 0;
};

// A custom row made the framework's usual way.
class RowsTestStyledCell : public PSTableCell {
    VT_OBJECT(RowsTestStyledCell, PSTableCell)
};

}  // namespace

VT_REGISTER_CLASS(RowsTestCustomView, [](Class c) {
    platform::runtime::addMethod<&RowsTestCustomView::initWithSpecifier>(c, "initWithSpecifier:");
    platform::runtime::addMethod<&RowsTestCustomView::preferredHeightForWidth>(c, "preferredHeightForWidth:");
})
VT_REGISTER_CLASS(RowsTestStyledCell)

namespace {

using platform::msgSend;

constexpr const char* kDomain = "com.example.rows";
constexpr const char* kNotification = "com.example.rows/changed";

class SpecifierRows : public hosttest::HostFixture {
protected:
    void SetUp() override {
        HostFixture::SetUp();
        platform::clearNotificationRecords();
    }
    void TearDown() override {
        for (const char* key : {"toggle", "level", "direction", "name", "count", "colour"})
            CFPreferencesSetAppValue(key, Value(), kDomain);
        if (auto r = UIResponder::currentFirstResponder()) r->resignFirstResponder();
        HostFixture::TearDown();
    }
    // A page of plist entries, with the page as their target, shown in the window.
    Ref<PSListController> showItems(Value::Array items) {
        items.insert(items.begin(), Value(item({{"cell", "PSGroupCell"}})));
        auto page = alloc<PSListController>();
        page->init();
        page->setSpecifiers(PSListController::specifiersFromItems(items, page, ""));
        show(page);
        return page;
    }
    // An entry that stores `key` in the test domain and posts the test notification.
    static Value keyed(const char* cell, const char* key, Value::Dictionary more = {}) {
        Value::Dictionary d = item({{"cell", cell},
                                    {"label", key},
                                    {"key", key},
                                    {"defaults", kDomain},
                                    {"PostNotification", kNotification}});
        for (auto& [k, v] : more) d[k] = v;
        return Value(d);
    }
    Ref<UITableViewCell> cellAt(const Ref<PSListController>& page, long r) {
        return page->table()->cellForRowAtIndexPath(IndexPath{0, r});
    }
    CGPoint centreOf(const Ref<UIView>& view) {
        m_window->layoutIfNeeded();
        return view->convertPointToView(CGPointMake(view->bounds().midX(), view->bounds().midY()), m_window);
    }
    void tapRow(const Ref<PSListController>& page, long r) {
        msgSend<void>(page, sel("tableView:didSelectRowAtIndexPath:"), page->table(),
                      NSIndexPath::indexPathForRowInSection(r, 0));
        platform::RunLoop::main().advance(1);
        m_window->layoutIfNeeded();
    }
    static std::size_t posts() { return platform::notificationCount(platform::NotificationKind::Darwin, kNotification); }
};

TEST_F(SpecifierRows, EachCellTypeGetsItsFrameworkRow) {
    struct Case {
        const char* cell;
        const char* rowClass;
        const char* controlClass;  // "" for none
    };
    const Case cases[] = {
        {"PSSwitchCell", "PSSwitchTableCell", "UISwitch"},
        {"PSSliderCell", "PSSliderTableCell", "UISlider"},
        {"PSEditTextCell", "PSEditTextCell", "UITextField"},
        {"PSSecureEditTextCell", "PSEditTextCell", "UITextField"},
        {"PSSegmentCell", "PSSegmentTableCell", "UISegmentedControl"},
        {"PSLinkListCell", "PSTableCell", ""},
        {"PSLinkCell", "PSTableCell", ""},
    };
    Value::Array items;
    for (const auto& c : cases) items.push_back(keyed(c.cell, "level"));
    auto page = showItems(items);
    for (long r = 0; r < static_cast<long>(std::size(cases)); ++r) {
        const auto& c = cases[r];
        auto cell = cellAt(page, r);
        ASSERT_TRUE(cell) << c.cell;
        EXPECT_EQ(cell->className(), std::string(c.rowClass)) << c.cell;
        if (*c.controlClass) {
            auto control = msgSend<id>(cell, sel("control"));
            ASSERT_TRUE(control) << c.cell;
            EXPECT_EQ(control->className(), std::string(c.controlClass)) << c.cell;
            auto view = cast<UIView>(control);
            EXPECT_TRUE(view->isDescendantOfView(cell)) << c.cell << ": the control is in its row";
            EXPECT_GT(view->frame().width(), 0) << c.cell;
        }
    }
}

TEST_F(SpecifierRows, EveryRowStoresItsKeyWithTheTypeOfItsValueAndPostsItsNotification) {
    auto page = showItems({
        keyed("PSSwitchCell", "toggle"),
        keyed("PSSliderCell", "level", {{"min", 0}, {"max", 10}}),
        keyed("PSSegmentCell", "direction", {{"validValues", Value::Array{0, 1}}, {"validTitles", Value::Array{"Vertical", "Horizontal"}}}),
        keyed("PSEditTextCell", "name", {{"placeholder", "Your name"}}),
        keyed("PSEditTextCell", "count", {{"isNumeric", true}}),
        keyed("PSLinkListCell", "colour", {{"validValues", Value::Array{"red", "green", "blue"}}, {"validTitles", Value::Array{"Red", "Green", "Blue"}}}),
    });
    platform::TouchDriver finger(m_window);
    struct Case {
        const char* key;
        std::function<void()> use;
        Value expected;
        std::size_t posts;  // one per stored change
    };
    const Case cases[] = {
        {"toggle", [&] { finger.tap(centreOf(cast<UIView>(msgSend<id>(cellAt(page, 0), sel("control"))))); }, Value(true), 1},
        {"level",
         [&] {
             auto slider = cast<UISlider>(msgSend<id>(cellAt(page, 1), sel("control")));
             // The thumb's travel starts and ends half a thumb in from the slider's ends.
             const CGFloat span = slider->bounds().width() - UISlider::kThumbSize;
             auto at = [&](double value) {
                 return slider->convertPointToView(
                     CGPointMake(UISlider::kThumbSize / 2 + span * value / 10, slider->bounds().midY()), m_window);
             };
             finger.drag({at(0), at(3), at(7.5)}, 0.3);
         },
         Value(7.5), 2},
        {"direction",
         [&] {
             auto control = cast<UISegmentedControl>(msgSend<id>(cellAt(page, 2), sel("control")));
             const CGRect second = control->frameOfSegment(1);
             finger.tap(control->convertPointToView(CGPointMake(second.midX(), second.midY()), m_window));
         },
         Value(1), 1},
        {"name",
         [&] {
             tapRow(page, 3);
             auto field = cast<UITextField>(cast<PSEditTextCell>(cellAt(page, 3))->textField());
             ASSERT_TRUE(field->isEditing()) << "a tap on the row puts its field in editing";
             field->insertText("Zoe");
             field->pressReturn();
             EXPECT_FALSE(field->isEditing());
         },
         Value("Zoe"), 1},
        {"count",
         [&] {
             auto field = cast<UITextField>(cast<PSEditTextCell>(cellAt(page, 4))->textField());
             finger.tap(centreOf(field));
             field->insertText("42");
             field->pressReturn();
         },
         Value(42), 1},
        {"colour",
         [&] {
             tapRow(page, 5);
             auto list = cast<PSListItemsController>(m_navigation->topViewController());
             ASSERT_TRUE(list) << "a link list opens the list of its titles";
             tapRow(list, 2);
         },
         Value("blue"), 1},
    };
    for (const auto& c : cases) {
        platform::clearNotificationRecords();
        c.use();
        const Value stored = CFPreferencesCopyAppValue(c.key, kDomain);
        EXPECT_EQ(stored, c.expected) << c.key;
        EXPECT_EQ(stored.type(), c.expected.type()) << c.key << " is stored with its value's type";
        EXPECT_EQ(posts(), c.posts) << c.key;
    }
}

TEST_F(SpecifierRows, ASliderTakesItsRangeAndStoredValueAndCanShowIt) {
    CFPreferencesSetAppValue("level", Value(30), kDomain);
    auto page = showItems({keyed("PSSliderCell", "level", {{"min", 10}, {"max", 50}, {"showValue", true}}),
                           keyed("PSSliderCell", "count", {{"default", 0.25}})});
    auto first = cast<PSSliderTableCell>(cellAt(page, 0));
    auto slider = cast<UISlider>(first->control());
    EXPECT_EQ(slider->minimumValue(), 10);
    EXPECT_EQ(slider->maximumValue(), 50);
    EXPECT_EQ(slider->value(), 30);
    auto shown = [&](const Ref<UITableViewCell>& cell) {
        std::vector<std::string> texts;
        for (const auto& v : cell->contentView()->subviews())
            if (auto l = cast<UILabel>(v); l && !l->isHidden() && !l->text().empty()) texts.push_back(l->text());
        return texts;
    };
    EXPECT_EQ(shown(first), std::vector<std::string>{"30"});
    slider->setValue(42);
    slider->sendActionsForControlEvents(UIControlEventValueChanged);
    EXPECT_EQ(shown(first), std::vector<std::string>{"42"});
    EXPECT_LT(slider->frame().maxX(), first->contentView()->bounds().width() - 44) << "room for the value";

    auto second = cast<PSSliderTableCell>(cellAt(page, 1));
    EXPECT_EQ(cast<UISlider>(second->control())->maximumValue(), 1) << "0 to 1 without min and max";
    EXPECT_FLOAT_EQ(cast<UISlider>(second->control())->value(), 0.25f) << "the default when nothing is stored";
    EXPECT_TRUE(shown(second).empty());
}

TEST_F(SpecifierRows, ATextRowShowsItsValuePlaceholderAndKeyboard) {
    CFPreferencesSetAppValue("count", Value(7), kDomain);
    auto page = showItems({keyed("PSEditTextCell", "name", {{"placeholder", "Your name"}}),
                           keyed("PSEditTextCell", "count", {{"isNumeric", true}})});
    auto name = cast<UITextField>(cast<PSEditTextCell>(cellAt(page, 0))->textField());
    auto count = cast<UITextField>(cast<PSEditTextCell>(cellAt(page, 1))->textField());
    EXPECT_EQ(name->text(), "");
    EXPECT_EQ(name->placeholder(), "Your name");
    EXPECT_EQ(count->text(), "7") << "a stored number shows as its digits";
    EXPECT_EQ(count->keyboardType(), UITextField::kKeyboardNumberPad);
    EXPECT_EQ(name->keyboardType(), 0);
    auto title = cellAt(page, 0)->textLabel();
    EXPECT_GE(name->frame().minX(), title->frame().minX() + title->intrinsicContentSize().width)
        << "the field follows the title";
    EXPECT_GT(name->frame().width(), 100) << "and takes the rest of the row";

    // Text that is no number stays text in a numeric row; leaving the field stores as return does.
    count->becomeFirstResponder();
    count->insertText("x");
    count->resignFirstResponder();
    EXPECT_EQ(CFPreferencesCopyAppValue("count", kDomain), Value("7x"));
}

TEST_F(SpecifierRows, ALinkListShowsTheStoredChoiceAndMovesTheCheckMark) {
    CFPreferencesSetAppValue("direction", Value(1), kDomain);
    auto page = showItems({keyed("PSLinkListCell", "direction",
                                 {{"validValues", Value::Array{0, 1, 2}}, {"validTitles", Value::Array{"Up", "Down", "Sideways"}}})});
    EXPECT_EQ(cellAt(page, 0)->detailTextLabel()->text(), "Down");
    EXPECT_EQ(cellAt(page, 0)->accessoryType(), UITableViewCellAccessoryDisclosureIndicator);

    tapRow(page, 0);
    auto list = cast<PSListItemsController>(m_navigation->topViewController());
    ASSERT_TRUE(list);
    EXPECT_EQ(list->title(), "direction");
    auto checks = [&] {
        std::vector<std::string> marked;
        for (long r = 0; r < 3; ++r)
            if (cellAt(list, r)->accessoryType() == UITableViewCellAccessoryCheckmark)
                marked.push_back(cellAt(list, r)->textLabel()->text());
        return marked;
    };
    EXPECT_EQ(checks(), std::vector<std::string>{"Down"});
    tapRow(list, 2);
    EXPECT_EQ(CFPreferencesCopyAppValue("direction", kDomain), Value(2));
    EXPECT_EQ(checks(), std::vector<std::string>{"Sideways"});
    EXPECT_EQ(m_navigation->topViewController(), list) << "the list stays open";

    m_navigation->popViewControllerAnimated(false);
    platform::RunLoop::main().drain();
    m_window->layoutIfNeeded();
    EXPECT_EQ(cellAt(page, 0)->detailTextLabel()->text(), "Sideways") << "the row shows the new choice on return";

    // A stored value that is none of the values: no title, no check mark.
    CFPreferencesSetAppValue("direction", Value("sideways"), kDomain);
    page->table()->reloadData();
    m_window->layoutIfNeeded();
    EXPECT_EQ(cellAt(page, 0)->detailTextLabel()->text(), "");
    tapRow(page, 0);
    list = cast<PSListItemsController>(m_navigation->topViewController());
    EXPECT_TRUE(checks().empty());
}

TEST_F(SpecifierRows, TheStoredValueChoosesItsSegment) {
    struct Case {
        Value stored;
        long segment;
    };
    const Case cases[] = {
        {Value(0), 0},
        {Value(1.0), 1},          // a number matches the value it equals, whatever its kind
        {Value(true), 1},         // a boolean YES is the number 1, as NSNumber compares it
        {Value(7), UISegmentedControl::kNoSegment},
        {Value("1"), UISegmentedControl::kNoSegment},  // text is no number
        {Value(), UISegmentedControl::kNoSegment},     // nothing stored, no default
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        CFPreferencesSetAppValue("direction", c.stored, kDomain);
        auto page = showItems({keyed("PSSegmentCell", "direction", {{"validValues", Value::Array{0, 1}},
                                                                    {"validTitles", Value::Array{"Up", "Down"}}})});
        auto control = cast<UISegmentedControl>(cast<PSSegmentTableCell>(cellAt(page, 0))->control());
        EXPECT_EQ(control->numberOfSegments(), 2);
        EXPECT_EQ(control->selectedSegmentIndex(), c.segment) << "case " << i;
        m_window->setRootViewController(nullptr);
    }
}

TEST_F(SpecifierRows, CustomRowsByCellClassAndTheirHeights) {
    RowsTestCustomView::made = 0;
    struct Case {
        const char* cellClass;
        Value height;  // None for no "height"
        const char* expectedClass;
        CGFloat expectedHeight;
    };
    const Case cases[] = {
        {"RowsTestCustomView", Value(), "RowsTestCustomView", 100},     // its preferred height
        {"RowsTestCustomView", Value(70), "RowsTestCustomView", 70},    // "height" wins
        {"RowsTestStyledCell", Value(), "RowsTestStyledCell", UITableView::kDefaultRowHeight},
        {"RowsTestStyledCell", Value(70.5), "RowsTestStyledCell", 70.5},
        {"NoSuchCellClass", Value(), "PSSwitchTableCell", UITableView::kDefaultRowHeight},  // the standard row
        {"HostTestTarget", Value(), "PSSwitchTableCell", UITableView::kDefaultRowHeight},   // no cell class
        {"RowsTestCustomView", Value("tall"), "RowsTestCustomView", 100},  // a "height" that is no number
        {"RowsTestCustomView", Value(0), "RowsTestCustomView", 100},       // nor above 0
    };
    Value::Array items;
    for (const auto& c : cases) {
        Value::Dictionary more{{"cellClass", c.cellClass}};
        if (!c.height.isNone()) more["height"] = c.height;
        items.push_back(keyed("PSSwitchCell", "toggle", more));
    }
    auto page = showItems(items);
    for (long r = 0; r < static_cast<long>(std::size(cases)); ++r) {
        const auto& c = cases[r];
        EXPECT_EQ(cellAt(page, r)->className(), std::string(c.expectedClass)) << r << " " << c.cellClass;
        EXPECT_DOUBLE_EQ(page->table()->rectForRowAtIndexPath({0, r}).height(), c.expectedHeight) << r;
    }
    EXPECT_EQ(RowsTestCustomView::made, 4) << "one view per entry, kept while the entry is on the page";

    // Each placement reaches the same view again, as the device re-places its custom views.
    auto custom = cast<RowsTestCustomView>(cellAt(page, 0));
    const int before = custom->placements;
    EXPECT_GE(before, 1);
    page->table()->reloadData();
    m_window->layoutIfNeeded();
    EXPECT_EQ(cellAt(page, 0), custom);
    EXPECT_EQ(custom->placements, before + 1);
    EXPECT_EQ(RowsTestCustomView::made, 4);
}

}  // namespace

namespace {

// A row refreshed on screen lays itself out again: an icon that comes later (the account picture) moves the title
// aside, one that goes gives the margin back, also on a reused row whose image view already exists.
TEST_F(SpecifierRows, ARefreshedRowLaysItsTitleOutAgain) {
    auto plain = PSSpecifier::preferenceSpecifierNamedTargetSetGetDetailCellEdit(
        "Apple ID", nullptr, nullptr, nullptr, nullptr, PSSpecifier::PSLinkCell, nullptr);
    auto withIcon = PSSpecifier::preferenceSpecifierNamedTargetSetGetDetailCellEdit(
        "Apple ID", nullptr, nullptr, nullptr, nullptr, PSSpecifier::PSLinkCell, nullptr);
    withIcon->setPropertyForKey(Property(UIImage::systemImageNamed("person.crop.circle")), "iconImage");
    auto cell = alloc<PSTableCell>();
    cell->initWithStyleReuseIdentifierSpecifier(UITableViewCellStyleDefault, "Cell", plain);
    cell->setFrame({{0, 0}, {375, 44}});
    cell->layoutIfNeeded();
    const CGFloat margin = cell->textLabel()->frame().minX();
    for (const auto& [specifier, moved] : {std::pair{withIcon, true}, std::pair{plain, false}, std::pair{withIcon, true}}) {
        msgSend<void>(cell, sel("refreshCellContentsWithSpecifier:"), specifier);
        cell->layoutIfNeeded();
        if (moved)
            EXPECT_GT(cell->textLabel()->frame().minX(), margin);
        else
            EXPECT_EQ(cell->textLabel()->frame().minX(), margin);
    }
}

}  // namespace
