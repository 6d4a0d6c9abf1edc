#include "platform/ui/UINavigationController.h"

#include "platform/core/RunLoop.h"
#include "platform/core/Runtime.h"
#include "platform/ui/UINavigationBar.h"
#include "platform/ui/UINavigationItem.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UIView.h"

#include <algorithm>

VT_REGISTER_CLASS(UINavigationController, [](Class c) {
    using namespace platform::runtime;
    addMethod<&UINavigationController::pushViewControllerAnimated>(c, "pushViewController:animated:");
    addMethod<&UINavigationController::popViewControllerAnimated>(c, "popViewControllerAnimated:");
})

void UINavigationController::init() {
    UIViewController::init();
    if (m_bar) return;
    m_bar = alloc<UINavigationBar>();
    m_bar->initWithFrame(CGRectMake(0, 0, UIScreen::mainScreen()->bounds().width(), kBarHeight));
    m_bar->setNavigationController(weakSelf<UINavigationController>());
}

void UINavigationController::initWithRootViewController(Ref<UIViewController> root) {
    init();
    if (root) pushViewControllerAnimated(root, false);
}

Ref<UINavigationBar> UINavigationController::navigationBar() {
    if (!m_bar) init();
    return m_bar;
}

void UINavigationController::setNavigationBarHidden(bool hidden) {
    m_barHidden = hidden;
    if (m_bar) m_bar->setHidden(hidden);
    if (isViewLoaded()) layoutContent();
}

std::vector<Ref<UIViewController>> UINavigationController::viewControllers() const { return m_stack; }

Ref<UIViewController> UINavigationController::topViewController() const {
    return m_stack.empty() ? nullptr : m_stack.back();
}

Ref<UIViewController> UINavigationController::visibleViewController() const {
    if (auto p = presentedViewController()) return p;
    return topViewController();
}

std::vector<Ref<UIViewController>> UINavigationController::childrenForAppearance() const {
    if (m_stack.empty()) return {};
    return {m_stack.back()};
}

void UINavigationController::loadView() {
    auto v = alloc<UIView>();
    v->initWithFrame(UIScreen::mainScreen()->bounds());
    v->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    setView(v);
    v->addSubview(navigationBar());
    if (auto top = topViewController()) v->insertSubviewAtIndex(top->view(), 0);
    layoutContent();
}

void UINavigationController::layoutContent() {
    auto v = viewIfLoaded();
    if (!v) return;
    CGRect b = v->bounds();
    CGFloat statusBar = UIScreen::mainScreen()->profile().statusBarHeight;
    CGFloat height = m_bar->showsLargeTitle() ? kLargeTitleBarHeight : kBarHeight;
    if (m_bar->showsSearchBar()) height += UINavigationBar::kSearchBarHeight;
    m_bar->setFrame(CGRectMake(0, statusBar, b.width(), height));
    // Content lies under the bar, as with the device's translucent bars.
    for (auto& c : m_stack)
        if (auto cv = c->viewIfLoaded(); cv && cv->superview() == v) cv->setFrame(b);
    v->bringSubviewToFront(m_bar);
}

void UINavigationController::viewDidLayoutSubviews() {
    UIViewController::viewDidLayoutSubviews();
    layoutContent();
}

void UINavigationController::showTop(Ref<UIViewController> incoming, Ref<UIViewController> outgoing, bool animated) {
    std::vector<Ref<UINavigationItem>> items;
    for (auto& c : m_stack) items.push_back(c->navigationItem());
    m_bar->setItems(items);
    auto v = viewIfLoaded();
    if (!v) return;
    if (incoming) {
        auto iv = incoming->view();
        iv->setFrame(v->bounds());
        v->insertSubviewBelowSubview(iv, m_bar);
    }
    // Appearance messages only while the navigation controller itself is on screen; otherwise they come when it
    // appears.
    bool onScreen = isVisible();
    if (!onScreen) {
        if (outgoing)
            if (auto ov = outgoing->viewIfLoaded()) ov->removeFromSuperview();
        layoutContent();
        return;
    }
    // The bar takes the incoming page's size (with or without its search bar) before that page hears it will
    // appear, so what the page derives from the bar then (its table's insets) is already final.
    layoutContent();
    if (incoming) incoming->beginAppearanceTransition(true, animated);
    if (outgoing) outgoing->beginAppearanceTransition(false, animated);
    auto finish = [incoming, outgoing] {
        if (outgoing) {
            if (auto ov = outgoing->viewIfLoaded()) ov->removeFromSuperview();
            outgoing->endAppearanceTransition();
        }
        if (incoming) incoming->endAppearanceTransition();
    };
    if (animated) platform::RunLoop::main().scheduleAfter(kTransitionDuration, std::move(finish));
    else finish();
}

void UINavigationController::pushViewControllerAnimated(Ref<UIViewController> controller, bool animated) {
    if (!controller) throw platform::RuntimeError("pushViewController: with a nil controller");
    if (std::find(m_stack.begin(), m_stack.end(), controller) != m_stack.end())
        throw platform::RuntimeError("pushViewController: the controller is already on the navigation stack");
    auto outgoing = topViewController();
    m_stack.push_back(controller);
    addChildViewController(controller);
    showTop(controller, outgoing, animated);
}

Ref<UIViewController> UINavigationController::popViewControllerAnimated(bool animated) {
    if (m_stack.size() <= 1) return nullptr;
    auto outgoing = m_stack.back();
    m_stack.pop_back();
    outgoing->removeFromParentViewController();
    showTop(topViewController(), outgoing, animated);
    return outgoing;
}

std::vector<Ref<UIViewController>> UINavigationController::popToRootViewControllerAnimated(bool animated) {
    std::vector<Ref<UIViewController>> popped;
    if (m_stack.size() <= 1) return popped;
    auto outgoing = m_stack.back();
    popped.assign(m_stack.begin() + 1, m_stack.end());
    m_stack.resize(1);
    for (auto& c : popped) c->removeFromParentViewController();
    // Only the top one was on screen; the ones between leave without appearance messages.
    for (auto& c : popped)
        if (c != outgoing)
            if (auto cv = c->viewIfLoaded()) cv->removeFromSuperview();
    showTop(topViewController(), outgoing, animated);
    return popped;
}
