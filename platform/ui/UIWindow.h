#pragma once

// A window: the root of a view tree on the screen. It holds the root view controller's view (filling the window),
// the views of presented controllers above it, and any floating subviews added directly.
//
// The window's overrideUserInterfaceStyle (0 unspecified, 1 light, 2 dark) decides the traits of every view and
// controller in it; changing it sends "traitCollectionDidChange:" to each view and to each controller (root,
// children, presented chain) whose traits changed, through platform::msgSend.

#include "platform/ui/UIView.h"

class UIViewController;
class UITraitCollection;

class UIWindow : public UIView {
    VT_OBJECT(UIWindow, UIView)
public:
    UIWindow();
    ~UIWindow() override;

    // Null when none was set.
    Ref<UIViewController> rootViewController() const { return m_root; }
    // Installs the controller's view filling the window. When the window is visible the old root disappears and the
    // new one appears (unanimated).
    void setRootViewController(Ref<UIViewController> controller);

    // Makes the window the application's key window and shows it: the root controller gets its appearance messages.
    void makeKeyAndVisible();
    void makeKeyWindow();
    bool isKeyWindow() const;
    bool isVisible() const { return m_visible; }

    // The controller at the end of the presented chain starting at the root, or the root, or null.
    Ref<UIViewController> topmostPresentedController() const;

    bool isWindow() const override { return true; }
    // Keeps the root controller's view filling the window and the presented controllers' views at their frames,
    // then sends the controllers "viewWillLayoutSubviews" and "viewDidLayoutSubviews".
    void layoutSubviews() override;
    // Told by the touch machinery before a touch that begins on `hitView` is delivered: a text field being edited
    // in this window is asked to end editing unless the touch lands on it, its keyboard or its accessory.
    void touchWillBegin(const Ref<UIView>& hitView);

private:
    Ref<UIViewController> m_root;
    bool m_visible = false;
};
