#include "platform/ui/UIWindow.h"

#include "platform/ui/UIInputSetHostView.h"
#include "platform/ui/UITextField.h"

#include "platform/core/Runtime.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIViewController.h"

#include <algorithm>

VT_REGISTER_CLASS(UIWindow, [](Class c) {
    platform::runtime::addMethod<&UIWindow::makeKeyAndVisible>(c, "makeKeyAndVisible");
})

UIWindow::UIWindow() = default;
UIWindow::~UIWindow() = default;

void UIWindow::setRootViewController(Ref<UIViewController> controller) {
    if (controller == m_root) return;
    auto old = m_root;
    m_root = controller;
    if (old) {
        if (m_visible) old->beginAppearanceTransition(false, false);
        if (auto v = old->viewIfLoaded()) v->removeFromSuperview();
        if (m_visible) old->endAppearanceTransition();
    }
    if (!controller) return;
    auto v = controller->view();
    v->setFrame(bounds());
    v->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    insertSubviewAtIndex(v, 0);
    if (m_visible) {
        controller->beginAppearanceTransition(true, false);
        controller->endAppearanceTransition();
    }
}

void UIWindow::makeKeyWindow() { UIApplication::sharedApplication()->windowBecameKey(self<UIWindow>()); }

void UIWindow::makeKeyAndVisible() {
    auto app = UIApplication::sharedApplication();
    app->windowBecameVisible(self<UIWindow>());
    app->windowBecameKey(self<UIWindow>());
    setHidden(false);
    if (m_visible) return;
    m_visible = true;
    if (m_root) {
        m_root->beginAppearanceTransition(true, false);
        m_root->endAppearanceTransition();
    }
}

bool UIWindow::isKeyWindow() const { return UIApplication::sharedApplication()->keyWindow().get() == this; }

Ref<UIViewController> UIWindow::topmostPresentedController() const {
    auto c = m_root;
    while (c && c->presentedViewController()) c = c->presentedViewController();
    return c;
}

void UIWindow::layoutSubviews() {
    UIView::layoutSubviews();
    if (!m_root) return;
    if (auto v = m_root->viewIfLoaded(); v && v->superview().get() == this) v->setFrame(bounds());
    // Controllers of the whole presented chain, each with its children, hear about the layout; so do controllers
    // presented by a child (a sheet a pushed page presents).
    std::vector<Ref<UIViewController>> pending{m_root};
    for (auto p = m_root->presentedViewController(); p; p = p->presentedViewController()) pending.push_back(p);
    std::vector<Ref<UIViewController>> seen = pending;
    while (!pending.empty()) {
        auto c = pending.front();
        pending.erase(pending.begin());
        c->notifyLayout();
        for (auto& child : c->childViewControllers()) {
            if (!child->viewIfLoaded() || !child->viewIfLoaded()->window()) continue;
            pending.push_back(child);
            for (auto p = child->presentedViewController(); p; p = p->presentedViewController())
                if (std::find(seen.begin(), seen.end(), p) == seen.end()) {
                    seen.push_back(p);
                    pending.push_back(p);
                }
        }
    }
}

void UIWindow::touchWillBegin(const Ref<UIView>& hitView) {
    auto field = cast<UITextField>(UIResponder::currentFirstResponder());
    if (!field || field->window().get() != this) return;
    if (hitView && hitView->isDescendantOfView(field)) return;
    if (auto host = UIInputSetHostView::current(); host && hitView && hitView->isDescendantOfView(host)) return;
    field->resignFirstResponder();
}
