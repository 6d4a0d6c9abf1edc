// The root page's changelog: the card presented from the grid's Changelog button and from rows.
#include "prefs/pane/VNTPrimraryController.h"

#include "prefs/changelog/VNTChangelogViewController.h"

#include "platform/ui/UINavigationController.h"

namespace {

Ref<VNTChangelogViewController> g_changelogController;

}  // namespace

Ref<VNTChangelogViewController> VNTPrimraryController::changelogController() { return g_changelogController; }

void VNTPrimraryController::openChangelogController(id) {
    g_changelogController = alloc<VNTChangelogViewController>();
    g_changelogController->init();
    // A page shown in a navigation controller presents through it, as the device resolves the presentation context;
    // a page in no window cannot present, and the device then only warns.
    if (!window()) return;
    Ref<UIViewController> context = navigationController();
    (context ? context : self<UIViewController>())->presentViewControllerAnimatedCompletion(g_changelogController, true);
}
