#pragma once

// A Settings process with the add-on switched on, for the root page and regrouping tests: the regrouping and
// root-page constructors run once per test program with `toggleVantile` stored YES (the hooks stay for the process,
// as on the device), on the card tests' shared device so the dashboard's cards find their bindings. Each test
// starts as a new Settings process would: no regrouping yet, no remembered account, no installed applications.

#include "tests/tweak/cards/CardFixture.h"

#include "platform/host/PSUIPrefsListController.h"
#include "platform/ui/NSIndexPath.h"

class NSMutableArray;
class PSSpecifier;
class UIWindow;
class UINavigationController;

namespace vantile::testing {

class RootPageFixture : public CardFixture {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    // The host's root page in a navigation controller in a key window of `style`, shown, with the host's delayed
    // loads (installed applications, account picture) done. `list` (when given) becomes its specifiers before its
    // view loads; otherwise the host builds its own.
    Ref<PSUIPrefsListController> showRootPage(Ref<NSMutableArray> list = nullptr, long style = 1);
    // A root list with the account row first, then two system pages; every row opens a plain list page.
    static Ref<NSMutableArray> accountRootList();
    // A small picture for the account (red, 2 × 2 pixels, source "account").
    static void giveAccountPicture();
    static Ref<PSSpecifier> row(const std::string& name, const std::string& identifier);
    // The page on top of the root page's navigation stack.
    Ref<UIViewController> topPage() const;

    Ref<UIWindow> window;
    Ref<UINavigationController> navigation;

private:
    static void startOnce();
};

}  // namespace vantile::testing
