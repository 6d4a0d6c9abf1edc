#pragma once

// A Settings process with the add-on switched on, for the root page tests: the regrouping and root-page
// constructors run once per test program with `toggleVantile` stored YES (the hooks stay for the process, as on the
// device), on the card tests' shared device so the dashboard's cards find their bindings.
//
// TestSettingsRoot is a small Settings root page: its view holds the root table as first subview, fed from its
// specifiers; selecting a row is recorded; its navigation item has a search controller.

#include "tests/tweak/cards/CardFixture.h"

#include "platform/host/PSUIPrefsListController.h"
#include "platform/ui/NSIndexPath.h"

#include <vector>

class NSMutableArray;

class UITableView;
class UITableViewCell;
class UIWindow;
class UINavigationController;

class TestSettingsRoot : public PSUIPrefsListController {
    VT_OBJECT(TestSettingsRoot, PSUIPrefsListController)
public:
    void init() override;
    void loadView() override;
    Ref<UITableView> table() { return m_table; }
    long tableViewNumberOfRowsInSection(Ref<UITableView> table, long section);
    Ref<UITableViewCell> tableViewCellForRowAtIndexPath(Ref<UITableView> table, Ref<NSIndexPath> path);
    void tableViewDidSelectRowAtIndexPath(Ref<UITableView> table, Ref<NSIndexPath> path);

    std::vector<IndexPath> selectedRows;

private:
    Ref<UITableView> m_table;
};

namespace vantile::testing {

class RootPageFixture : public CardFixture {
protected:
    static void SetUpTestSuite();
    static void startOnce();
    void SetUp() override;
    void TearDown() override;

    // A root page in a navigation controller in a key window of `style`, shown and laid out.
    // `list` (when given) becomes the page's specifiers before its view loads.
    Ref<TestSettingsRoot> showRootPage(Ref<NSMutableArray> list = nullptr, long style = 1);
    // A root list with the account row first (its picture set when `accountPicture`), then some system pages.
    static Ref<NSMutableArray> accountRootList(bool accountPicture);

    Ref<UIWindow> window;
    Ref<UINavigationController> navigation;
};

}  // namespace vantile::testing
