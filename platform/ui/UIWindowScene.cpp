#include "platform/ui/UIWindowScene.h"

#include "platform/core/Runtime.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UIStatusBarManager.h"
#include "platform/ui/UIView.h"

VT_REGISTER_CLASS(UIWindowScene)
VT_REGISTER_CLASS(UIStatusBarManager)

Ref<UIWindowScene> UIWindowScene::sceneOfWindow(const Ref<UIView>& window) {
    if (!window || !window->isWindow()) return nullptr;
    static auto* scene = new Ref<UIWindowScene>(alloc<UIWindowScene>());
    return *scene;
}

Ref<UIStatusBarManager> UIWindowScene::statusBarManager() const {
    static auto* manager = new Ref<UIStatusBarManager>(alloc<UIStatusBarManager>());
    return *manager;
}

CGRect UIStatusBarManager::statusBarFrame() const {
    const auto screen = UIScreen::mainScreen();
    return CGRectMake(0, 0, screen->bounds().width(), screen->profile().statusBarHeight);
}
