#pragma once

// A view controller: owns a view that it loads on first use, takes part in presentation and navigation, and
// receives its life-cycle messages in the device's order.
//
// Every life-cycle method is a virtual member published to the run-time under its selector, and the platform only
// ever calls it through platform::msgSend, so a subclass's override and a hook installed with MSHookMessageEx both
// take effect:
//   "loadView"                   void loadView()
//   "viewDidLoad"                void viewDidLoad()
//   "viewWillAppear:"            void viewWillAppear(bool animated)
//   "viewDidAppear:"             void viewDidAppear(bool animated)
//   "viewWillDisappear:"         void viewWillDisappear(bool animated)
//   "viewDidDisappear:"          void viewDidDisappear(bool animated)
//   "viewWillLayoutSubviews"     void viewWillLayoutSubviews()
//   "viewDidLayoutSubviews"      void viewDidLayoutSubviews()
//   "traitCollectionDidChange:"  void traitCollectionDidChange(Ref<UITraitCollection> previous)
// Overrides must call the superclass's version (as on the device); the base versions do nothing of importance.
//
// Presentation runs on the virtual clock: an animated presentation or dismissal completes after kTransitionDuration,
// an unanimated one at once. Order: presented `viewWillAppear:` (and presenter `viewWillDisappear:` unless the style
// keeps the presenter visible), the transition, then `viewDidAppear:` / `viewDidDisappear:`, then the completion.

#include "platform/core/Object.h"
#include "platform/gfx/Geometry.h"
#include "platform/ui/UIResponder.h"

#include <functional>
#include <string>
#include <vector>

class UIView;
class UIWindow;
class UITraitCollection;
class UINavigationController;
class UINavigationItem;

using UIModalPresentationStyle = long;
inline constexpr UIModalPresentationStyle UIModalPresentationFullScreen = 0;
inline constexpr UIModalPresentationStyle UIModalPresentationPageSheet = 1;
inline constexpr UIModalPresentationStyle UIModalPresentationOverCurrentContext = 6;

class UIViewController : public UIResponder {
    VT_OBJECT(UIViewController, UIResponder)
public:
    // Seconds of virtual time an animated presentation, dismissal, push or pop takes.
    static constexpr double kTransitionDuration = 0.35;

    UIViewController();
    ~UIViewController() override;

    // Second creation phase. Subclasses that need set-up before the view loads override and call up.
    virtual void init();

    // The root view, loaded on first access through "loadView" then "viewDidLoad". Never null once loaded.
    Ref<UIView> view();
    // The view if it was loaded, else null; never triggers loading.
    Ref<UIView> viewIfLoaded() const { return m_view; }
    bool isViewLoaded() const { return m_view != nullptr; }
    void setView(Ref<UIView> view);

    virtual void loadView();
    virtual void viewDidLoad();
    virtual void viewWillAppear(bool animated);
    virtual void viewDidAppear(bool animated);
    virtual void viewWillDisappear(bool animated);
    virtual void viewDidDisappear(bool animated);
    virtual void viewWillLayoutSubviews();
    virtual void viewDidLayoutSubviews();
    void traitCollectionDidChange(Ref<UITraitCollection> previous) override;

    // The traits the controller sees: those of its view's window chain, or the screen's when not on screen.
    Ref<UITraitCollection> traitCollection() const override;

    // True between "viewDidAppear:" and "viewWillDisappear:".
    bool isVisible() const { return m_appearance == Appearance::Visible; }

    const std::string& title() const { return m_title; }
    // Also sets the navigation item's title, as on the device.
    void setTitle(std::string title);

    // Created on first access; never null.
    Ref<UINavigationItem> navigationItem();
    // The nearest navigation controller up the parent chain, or null.
    Ref<UINavigationController> navigationController() const;

    // ----- containment -----
    Ref<UIViewController> parentViewController() const { return m_parent.lock(); }
    const std::vector<Ref<UIViewController>>& childViewControllers() const { return m_children; }
    // Adds `child` (removing it from a previous parent first). Adding nil or the receiver itself is ignored.
    void addChildViewController(Ref<UIViewController> child);
    void removeFromParentViewController();
    virtual void willMoveToParentViewController(Ref<UIViewController> parent);
    virtual void didMoveToParentViewController(Ref<UIViewController> parent);

    // ----- presentation -----
    // Page sheet by default, which is what the device's automatic style resolves to for a plain controller.
    UIModalPresentationStyle modalPresentationStyle() const { return m_modalStyle; }
    void setModalPresentationStyle(UIModalPresentationStyle style) { m_modalStyle = style; }
    bool isModalInPresentation() const { return m_modalInPresentation; }
    void setModalInPresentation(bool on) { m_modalInPresentation = on; }

    // Presents `controller` over the receiver, whose view must be in a window; the presenter keeps a strong
    // reference until dismissal. When the receiver already presents a controller nothing happens (the completion
    // is not called; the device only warns), counted in refusedPresentationCount(). Presenting nil, a controller
    // that is already presented, or from a controller whose view is in no window is a RuntimeError.
    void presentViewControllerAnimatedCompletion(Ref<UIViewController> controller, bool animated,
                                                 std::function<void()> completion = {});
    // Dismisses the controller the receiver presents, or, when it presents nothing, the receiver itself from its
    // presenter. Does nothing (the completion is not called) when there is nothing to dismiss.
    void dismissViewControllerAnimatedCompletion(bool animated, std::function<void()> completion = {});
    // The user's swipe down on a sheet: dismisses it unless it is modal in presentation or full screen.
    // Answers whether the sheet went away.
    bool userSwipeToDismiss();

    // The controller presented by the receiver, or null.
    Ref<UIViewController> presentedViewController() const { return m_presented; }
    // The controller that presented the receiver (or one of its ancestors), or null.
    Ref<UIViewController> presentingViewController() const;
    static std::size_t refusedPresentationCount();
    // True while a presentation or dismissal transition of the receiver is running.
    bool isInTransition() const { return m_inTransition; }

    // ----- used by windows and container controllers -----
    // The window the controller's view is in, or null.
    Ref<UIWindow> window() const;
    // A controller's view's superview (UIResponder).
    Ref<UIResponder> nextResponder() const override;
    // Drives the appearance messages; sends nothing when the state does not change. Children follow.
    void beginAppearanceTransition(bool appearing, bool animated);
    void endAppearanceTransition();
    // Sends "viewWillLayoutSubviews" and "viewDidLayoutSubviews"; the window calls it from its layout pass.
    void notifyLayout();

protected:
    // Container controllers decide which children follow their own appearance (the navigation controller lets only
    // its top controller follow).
    virtual std::vector<Ref<UIViewController>> childrenForAppearance() const { return m_children; }
    // Frame of a presented controller's view in its window for a style.
    CGRect presentedFrame(UIModalPresentationStyle style, CGRect windowBounds) const;

private:
    enum class Appearance { Disappeared, Appearing, Visible, Disappearing };
    // The controller whose view a full-screen presentation takes off the screen, and that view's place.
    Ref<UIViewController> m_covered;

    Ref<UIView> m_view;
    bool m_loading = false;
    std::string m_title;
    Ref<UINavigationItem> m_navigationItem;
    Weak<UIViewController> m_parent;
    std::vector<Ref<UIViewController>> m_children;
    Ref<UIViewController> m_presented;
    Weak<UIViewController> m_presenter;
    UIModalPresentationStyle m_modalStyle = UIModalPresentationPageSheet;
    bool m_modalInPresentation = false;
    bool m_inTransition = false;
    Appearance m_appearance = Appearance::Disappeared;
    bool m_appearanceAnimated = false;
};
