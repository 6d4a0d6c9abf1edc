#pragma once

// A stack of controllers shown one at a time under a navigation bar.
//
// Life cycle: a push sends the new top controller "viewWillAppear:" and the old one "viewWillDisappear:", then,
// after the transition on the virtual clock (kTransitionDuration when animated, at once otherwise),
// "viewDidDisappear:" to the old and "viewDidAppear:" to the new. A pop does the same the other way. Only the top
// controller's view is in the navigation controller's view; the others are children without a view on screen.

#include "platform/ui/UIViewController.h"

#include <vector>

class UINavigationBar;

class UINavigationController : public UIViewController {
    VT_OBJECT(UINavigationController, UIViewController)
public:
    // Height of the bar without large titles, and with them, in points.
    static constexpr CGFloat kBarHeight = 44;
    static constexpr CGFloat kLargeTitleBarHeight = 96;

    void init() override;
    // init, then the root controller without animation. A null root gives an empty stack.
    void initWithRootViewController(Ref<UIViewController> root);

    // Pushes `controller` on top. Pushing nil or a controller already in the stack is a RuntimeError.
    void pushViewControllerAnimated(Ref<UIViewController> controller, bool animated);
    // Pops the top controller and returns it; null (and nothing changes) when only the root is left.
    Ref<UIViewController> popViewControllerAnimated(bool animated);
    // Pops down to the root; returns the popped controllers in stack order (empty when only the root is left).
    std::vector<Ref<UIViewController>> popToRootViewControllerAnimated(bool animated);

    // Bottom first. Empty when nothing was pushed.
    std::vector<Ref<UIViewController>> viewControllers() const;
    // The top of the stack, or null.
    Ref<UIViewController> topViewController() const;
    // The top controller, or what it presents.
    Ref<UIViewController> visibleViewController() const;

    Ref<UINavigationBar> navigationBar();
    bool isNavigationBarHidden() const { return m_barHidden; }
    void setNavigationBarHidden(bool hidden);

    void loadView() override;
    void viewDidLayoutSubviews() override;

protected:
    std::vector<Ref<UIViewController>> childrenForAppearance() const override;

private:
    void showTop(Ref<UIViewController> incoming, Ref<UIViewController> outgoing, bool animated);
    void layoutContent();

    std::vector<Ref<UIViewController>> m_stack;
    Ref<UINavigationBar> m_bar;
    bool m_barHidden = false;
};
