#include "prefs/pane/PageTitles.h"

#include "platform/core/NSMutableArray.h"
#include "platform/core/NSProcessInfo.h"
#include "platform/core/Runtime.h"
#include "platform/gfx/UIImage.h"
#include "platform/host/PSListController.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UINavigationBar.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UINavigationItem.h"

namespace vnt {

void turnOffLargeTitles(UIViewController& page) {
    if (!NSProcessInfo::processInfo()->isOperatingSystemAtLeastVersion({11, 0, 0})) return;
    if (auto navigation = page.navigationController()) navigation->navigationBar()->setPrefersLargeTitles(false);
    page.navigationItem()->setLargeTitleDisplayMode(UINavigationItemLargeTitleDisplayModeNever);
}

void setTitleImage(UIViewController& page, Ref<UIImage> image) {
    auto view = alloc<UIImageView>();
    view->initWithImage(std::move(image));
    page.navigationItem()->setTitleView(view);
}

Ref<NSMutableArray> loadPageList(PSListController& page, const std::string& name) {
    return platform::msgSend<Ref<NSMutableArray>>(&page, sel("loadSpecifiersFromPlistName:target:"), name, page.self());
}

}  // namespace vnt
