#include "platform/ui/UIViewControllerForAncestor.h"

#include "platform/ui/UIView.h"
#include "platform/ui/UIViewController.h"

namespace platform {

Ref<UIViewController> viewControllerForAncestor(const Ref<UIView>& view) {
    for (Ref<UIView> v = view; v; v = v->superview())
        if (auto controller = cast<UIViewController>(v->viewController())) return controller;
    return nullptr;
}

}  // namespace platform
