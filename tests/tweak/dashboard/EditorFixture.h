#pragma once

// The Settings root page stand-in for the editor tests and the screen snapshots: a window whose root controller
// shows the dashboard, the editor presented over it as the gear button does, and drags on the editor's rows.

#include "tests/tweak/cards/CardFixture.h"

#include "platform/ui/NSIndexPath.h"

class UITableView;
class UIViewController;
class UIWindow;
class VantileViewController;

namespace vantile::testing {

class EditorFixture : public CardFixture {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    // A new window in `style` (1 light, 2 dark) with the dashboard on its root page, laid out.
    void showDashboard(long style = 1);
    // Shows the dashboard when no window exists, then presents a new editor made by name, unanimated.
    Ref<VantileViewController> open(long style = 1);
    // Drags the row at `from` by its handle until the row's centre is at `centreY` (table content coordinates),
    // then lifts the finger.
    void dragRow(IndexPath from, CGFloat centreY);

    static Ref<UITableView> table();
    const Ref<UIWindow>& window() const { return m_window; }
    const Ref<UIViewController>& presenter() const { return m_root; }
    Ref<UIViewController> presented() const;

private:
    Ref<UIWindow> m_window;
    Ref<UIViewController> m_root;
};

}  // namespace vantile::testing
