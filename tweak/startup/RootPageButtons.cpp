#include "tweak/startup/RootPageButtons.h"

#include "platform/core/Runtime.h"
#include "platform/gfx/UIImage.h"
#include "platform/ui/NSIndexPath.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIBarButtonItem.h"
#include "platform/ui/UIImpactFeedbackGenerator.h"
#include "platform/ui/UINavigationItem.h"
#include "platform/ui/UISearchBar.h"
#include "platform/ui/UISearchController.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UIViewController.h"
#include "platform/ui/UIWindow.h"
#include "tweak/startup/RootPageHooks.h"
#include "tweak/startup/UIImageResizeCategory.h"

namespace vantile::rootpage {

namespace {

Ref<UIBarButtonItem> button(Ref<UIImage> image, UIViewController& target, std::string_view action,
                            UIEdgeInsets insets) {
    auto item = alloc<UIBarButtonItem>();
    item->initWithImageStyleTargetAction(std::move(image), UIBarButtonItemStylePlain, target.self(), sel(action));
    item->setImageInsets(insets);
    return item;
}

Ref<UIImage> symbolButtonImage(std::string_view symbol) {
    auto image = imageWithSize(UIImage::systemImageNamed(symbol), kSymbolImageSize);
    return image ? image->imageWithRenderingMode(UIImageRenderingMode::AlwaysTemplate) : nullptr;
}

Ref<UIImage> accountButtonImage() {
    const auto& icon = state().accountIcon;
    auto image = imageWithSize(icon ? icon->object<UIImage>() : nullptr, kAccountImageSize);
    return image ? image->imageWithRenderingMode(UIImageRenderingMode::AlwaysOriginal) : nullptr;
}

}  // namespace

void setNavigationButtons(UIViewController& root) {
    auto item = root.navigationItem();
    // Without a remembered picture the button still stands, without image, and still opens the account page.
    item->setRightBarButtonItems({button(accountButtonImage(), root, "pushToIcloudPage", kAccountInsets)});
    item->setLeftBarButtonItems({button(symbolButtonImage(kGearSymbol), root, "deployVantSettingsVC", kGearInsets),
                                 button(symbolButtonImage(kSearchSymbol), root, "displaySeachBar", kSearchInsets)});
}

void buttonHaptic() {
    RootPageState& s = state();
    if (!s.toggleHaptics) return;
    s.impactGenerator = alloc<UIImpactFeedbackGenerator>();
    s.impactGenerator->initWithStyle(UIImpactFeedbackStyleLight);
    s.impactGenerator->impactOccurred();
}

void deployVantSettingsVC(UIViewController& root) {
    buttonHaptic();
    // The editor is found by name, as the device's add-on does; a process without it opens nothing.
    Class editorClass = objc_getClass("VantileViewController");
    auto editor = cast<UIViewController>(platform::runtime::createInstance(editorClass));
    if (!editor) return;
    // The editor publishes its initialiser; through the run-time a replacement of it takes effect too.
    if (editor->respondsToSelector(sel("init"))) platform::msgSend<void>(editor.get(), sel("init"));
    else editor->init();
    auto window = UIApplication::sharedApplication()->keyWindow();
    auto presenter = window ? window->rootViewController() : nullptr;
    // Presenting needs a presenter whose view is on screen; without one the device only warns.
    if (!presenter || !presenter->isViewLoaded() || !presenter->window()) return;
    state().vantileViewController = editor;
    presenter->presentViewControllerAnimatedCompletion(editor, true);
}

void displaySeachBar(UIViewController& root) {
    buttonHaptic();
    auto search = root.navigationItem()->searchController();
    auto bar = search ? search->searchBar() : nullptr;
    if (!bar) return;
    bar->becomeFirstResponder();
    // Sent to whatever holds the focus now, so text already in the field is selected, ready to be typed over.
    UIApplication::sharedApplication()->sendActionToFromForEvent(sel("selectAll:"), nullptr, nullptr, nullptr);
}

void pushToIcloudPage(UIViewController& root) {
    buttonHaptic();
    // The account page is the root list's first row; the host's own selection opens it.
    static const SEL tableSel = sel("table");
    static const SEL didSelect = sel("tableView:didSelectRowAtIndexPath:");
    if (!root.respondsToSelector(tableSel) || !root.respondsToSelector(didSelect)) return;
    auto table = platform::msgSend<Ref<UITableView>>(&root, tableSel);
    platform::msgSend<void, Ref<UITableView>, Ref<NSIndexPath>>(&root, didSelect, table,
                                                                NSIndexPath::indexPathForRowInSection(0, 0));
}

}  // namespace vantile::rootpage
