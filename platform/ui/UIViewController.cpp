#include "platform/ui/UIViewController.h"

#include "platform/core/RunLoop.h"
#include "platform/core/Runtime.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UINavigationItem.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UITraitCollection.h"
#include "platform/ui/UIView.h"
#include "platform/ui/UIWindow.h"

#include <algorithm>
#include <atomic>

VT_REGISTER_CLASS(UIViewController, [](Class c) {
    using namespace platform::runtime;
    addMethod<&UIViewController::loadView>(c, "loadView");
    addMethod<&UIViewController::viewDidLoad>(c, "viewDidLoad");
    addMethod<&UIViewController::viewWillAppear>(c, "viewWillAppear:");
    addMethod<&UIViewController::viewDidAppear>(c, "viewDidAppear:");
    addMethod<&UIViewController::viewWillDisappear>(c, "viewWillDisappear:");
    addMethod<&UIViewController::viewDidDisappear>(c, "viewDidDisappear:");
    addMethod<&UIViewController::viewWillLayoutSubviews>(c, "viewWillLayoutSubviews");
    addMethod<&UIViewController::viewDidLayoutSubviews>(c, "viewDidLayoutSubviews");
    addMethod<&UIViewController::traitCollectionDidChange>(c, "traitCollectionDidChange:");
    addMethod<&UIViewController::view>(c, "view");
    addMethod<&UIViewController::navigationItem>(c, "navigationItem");
})

using platform::msgSend;

namespace {
std::atomic<std::size_t> g_refusedPresentations{0};
}

UIViewController::UIViewController() = default;
UIViewController::~UIViewController() = default;

void UIViewController::init() {}

std::size_t UIViewController::refusedPresentationCount() { return g_refusedPresentations; }

// ----- the view -----

Ref<UIView> UIViewController::view() {
    if (!m_view && !m_loading) {
        m_loading = true;
        msgSend(this, sel("loadView"));
        m_loading = false;
        if (!m_view) UIViewController::loadView();
        m_view->setViewController(self<UIResponder>());
        msgSend(this, sel("viewDidLoad"));
    }
    return m_view;
}

void UIViewController::setView(Ref<UIView> view) {
    if (m_view) m_view->setViewController(nullptr);
    m_view = std::move(view);
    if (m_view) m_view->setViewController(self<UIResponder>());
}

void UIViewController::loadView() {
    auto v = alloc<UIView>();
    v->initWithFrame(UIScreen::mainScreen()->bounds());
    v->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    setView(v);
}

void UIViewController::viewDidLoad() {}
void UIViewController::viewWillAppear(bool) {}
void UIViewController::viewDidAppear(bool) {}
void UIViewController::viewWillDisappear(bool) {}
void UIViewController::viewDidDisappear(bool) {}
void UIViewController::viewWillLayoutSubviews() {}
void UIViewController::viewDidLayoutSubviews() {}
void UIViewController::traitCollectionDidChange(Ref<UITraitCollection>) {}

Ref<UITraitCollection> UIViewController::traitCollection() const {
    if (m_view) return m_view->traitCollection();
    if (auto parent = m_parent.lock()) return parent->traitCollection();
    if (auto presenter = m_presenter.lock()) return presenter->traitCollection();
    return UIResponder::traitCollection();
}

Ref<UIResponder> UIViewController::nextResponder() const {
    if (m_view)
        if (auto sv = m_view->superview()) return sv;
    if (auto parent = m_parent.lock()) return parent;
    return m_presenter.lock();
}

Ref<UIWindow> UIViewController::window() const {
    if (!m_view) return nullptr;
    return cast<UIWindow>(m_view->window());
}

void UIViewController::setTitle(std::string title) {
    m_title = title;
    navigationItem()->setTitle(std::move(title));
}

Ref<UINavigationItem> UIViewController::navigationItem() {
    if (!m_navigationItem) {
        m_navigationItem = alloc<UINavigationItem>();
        m_navigationItem->initWithTitle(m_title);
    }
    return m_navigationItem;
}

Ref<UINavigationController> UIViewController::navigationController() const {
    for (auto p = m_parent.lock(); p; p = p->m_parent.lock())
        if (auto nav = cast<UINavigationController>(p)) return nav;
    return nullptr;
}

// ----- containment -----

void UIViewController::addChildViewController(Ref<UIViewController> child) {
    if (!child || child.get() == this) return;
    if (auto old = child->m_parent.lock()) {
        if (old.get() == this) return;
        child->removeFromParentViewController();
    }
    auto me = self<UIViewController>();
    child->willMoveToParentViewController(me);
    child->m_parent = me;
    m_children.push_back(child);
}

void UIViewController::removeFromParentViewController() {
    auto parent = m_parent.lock();
    if (!parent) return;
    auto keep = self<UIViewController>();
    std::erase(parent->m_children, keep);
    m_parent.reset();
    didMoveToParentViewController(nullptr);
}

void UIViewController::willMoveToParentViewController(Ref<UIViewController>) {}
void UIViewController::didMoveToParentViewController(Ref<UIViewController>) {}

// ----- appearance -----

void UIViewController::beginAppearanceTransition(bool appearing, bool animated) {
    if (appearing) {
        if (m_appearance == Appearance::Visible || m_appearance == Appearance::Appearing) return;
        view();
        m_appearance = Appearance::Appearing;
        m_appearanceAnimated = animated;
        msgSend<void, bool>(this, sel("viewWillAppear:"), animated);
    } else {
        if (m_appearance == Appearance::Disappeared || m_appearance == Appearance::Disappearing) return;
        m_appearance = Appearance::Disappearing;
        m_appearanceAnimated = animated;
        msgSend<void, bool>(this, sel("viewWillDisappear:"), animated);
    }
    for (auto& child : childrenForAppearance()) child->beginAppearanceTransition(appearing, animated);
}

void UIViewController::endAppearanceTransition() {
    auto keep = self<UIViewController>();
    bool animated = m_appearanceAnimated;
    if (m_appearance == Appearance::Appearing) {
        m_appearance = Appearance::Visible;
        msgSend<void, bool>(this, sel("viewDidAppear:"), animated);
    } else if (m_appearance == Appearance::Disappearing) {
        m_appearance = Appearance::Disappeared;
        msgSend<void, bool>(this, sel("viewDidDisappear:"), animated);
    } else {
        return;
    }
    for (auto& child : childrenForAppearance()) child->endAppearanceTransition();
}

void UIViewController::notifyLayout() {
    if (!m_view) return;
    msgSend(this, sel("viewWillLayoutSubviews"));
    msgSend(this, sel("viewDidLayoutSubviews"));
}

// ----- presentation -----

Ref<UIViewController> UIViewController::presentingViewController() const {
    if (auto p = m_presenter.lock()) return p;
    if (auto parent = m_parent.lock()) return parent->presentingViewController();
    return nullptr;
}

CGRect UIViewController::presentedFrame(UIModalPresentationStyle style, CGRect windowBounds) const {
    if (style == UIModalPresentationPageSheet) {
        // A sheet starts a little below the status bar, as the device's card does.
        CGFloat top = UIScreen::mainScreen()->profile().statusBarHeight + 10;
        return CGRectMake(0, top, windowBounds.width(), windowBounds.height() - top);
    }
    return windowBounds;
}

void UIViewController::presentViewControllerAnimatedCompletion(Ref<UIViewController> controller, bool animated,
                                                               std::function<void()> completion) {
    if (!controller) throw platform::RuntimeError("presentViewController: with a nil controller");
    if (controller->m_presenter.lock() || controller.get() == this)
        throw platform::RuntimeError("presentViewController: the controller " + std::string(controller->className()) +
                                     " is already presented");
    if (m_presented) {
        ++g_refusedPresentations;
        return;
    }
    auto win = window();
    if (!win)
        throw platform::RuntimeError("presentViewController: the presenting controller " + std::string(className()) +
                                     " is not in a window");
    auto me = self<UIViewController>();
    m_presented = controller;
    controller->m_presenter = me;
    controller->m_inTransition = true;

    UIModalPresentationStyle style = controller->modalPresentationStyle();
    auto v = controller->view();
    v->setFrame(presentedFrame(style, win->bounds()));
    win->addSubview(v);

    // Only a full-screen presentation takes the presenter off the screen; sheets and over-context leave it.
    Ref<UIViewController> covered;
    if (style == UIModalPresentationFullScreen) {
        covered = win->rootViewController();
        for (auto p = covered; p && p->m_presented && p->m_presented != controller; p = p->m_presented)
            covered = p->m_presented;
        if (covered == controller) covered = nullptr;
    }
    controller->m_covered = covered;
    controller->beginAppearanceTransition(true, animated);
    if (covered) covered->beginAppearanceTransition(false, animated);

    auto finish = [controller, covered, completion = std::move(completion)] {
        controller->m_inTransition = false;
        if (covered) {
            if (auto cv = covered->viewIfLoaded()) cv->setHidden(true);
            covered->endAppearanceTransition();
        }
        controller->endAppearanceTransition();
        if (completion) completion();
    };
    if (animated) platform::RunLoop::main().scheduleAfter(kTransitionDuration, std::move(finish));
    else finish();
}

void UIViewController::dismissViewControllerAnimatedCompletion(bool animated, std::function<void()> completion) {
    if (!m_presented) {
        if (auto presenter = m_presenter.lock()) {
            presenter->dismissViewControllerAnimatedCompletion(animated, std::move(completion));
        } else if (auto parent = m_parent.lock()) {
            parent->dismissViewControllerAnimatedCompletion(animated, std::move(completion));
        }
        return;
    }
    auto presented = m_presented;
    if (presented->m_inTransition && presented->m_appearance == Appearance::Disappearing) return;
    auto me = self<UIViewController>();
    presented->m_inTransition = true;
    // Whatever the presented controller presents itself goes away with it.
    std::vector<Ref<UIViewController>> chain;
    for (auto p = presented; p; p = p->m_presented) chain.push_back(p);
    auto covered = presented->m_covered;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) (*it)->beginAppearanceTransition(false, animated);
    if (covered) {
        if (auto cv = covered->viewIfLoaded()) cv->setHidden(false);
        covered->beginAppearanceTransition(true, animated);
    }
    auto finish = [me, chain, covered, completion = std::move(completion)] {
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
            auto& c = *it;
            if (auto v = c->viewIfLoaded()) v->removeFromSuperview();
            c->endAppearanceTransition();
            c->m_inTransition = false;
            c->m_covered = nullptr;
            if (auto p = c->m_presenter.lock()) p->m_presented = nullptr;
            c->m_presenter.reset();
        }
        if (covered) covered->endAppearanceTransition();
        if (completion) completion();
    };
    if (animated) platform::RunLoop::main().scheduleAfter(kTransitionDuration, std::move(finish));
    else finish();
}

bool UIViewController::userSwipeToDismiss() {
    if (!m_presenter.lock() || m_inTransition) return false;
    if (m_modalInPresentation || m_modalStyle != UIModalPresentationPageSheet) return false;
    dismissViewControllerAnimatedCompletion(true, {});
    return true;
}
