#pragma once

// The retained view tree.
//
// Geometry is kept as bounds + center + transform, as UIKit keeps it; `frame` is derived (the bounding box of the
// transformed bounds) and setting it sets the center and the bounds size. Subviews are ordered back to front: later
// siblings are on top, then the layer's zPosition reorders siblings (higher on top; the order of the list breaks
// ties), for drawing and for hit-testing alike.
//
// Methods the platform reaches by name are published under the device's selectors and are sent with
// platform::msgSend, so both subclass overrides and hooks take effect (signatures exactly as below):
//   "initWithFrame:"              void initWithFrame(CGRect)
//   "setFrame:"                   void setFrame(CGRect)
//   "layoutSubviews"              void layoutSubviews()
//   "didMoveToSuperview"          void didMoveToSuperview()
//   "didMoveToWindow"             void didMoveToWindow()
//   "drawRect:"                   void drawRect(CGRect)
//   "traitCollectionDidChange:"   void traitCollectionDidChange(Ref<UITraitCollection>)   (UIResponder)
//   "gestureRecognizerShouldBegin:" bool gestureRecognizerShouldBegin(Ref<UIGestureRecognizer>)
//   "sizeThatFits:"               CGSize sizeThatFits(CGSize)
//   "intrinsicContentSize"        CGSize intrinsicContentSize()
//
// Layout pass: layoutIfNeeded on any view lays out the whole tree it belongs to (from its root): the constraint
// system of the tree is solved (platform/layout), constrained views get their frames, and then every view marked
// as needing layout gets "layoutSubviews", parents before children. The pass repeats while it dirtied something,
// at most 8 times. The renderer, the dump and the touch driver run it before they look at the tree.
//
// Moving a view: "didMoveToWindow" goes to every view of the moved subtree (when the window changed), then
// "didMoveToSuperview" to the moved view, then the trait walk below runs over the subtree, then the new superview's
// didAddSubview. A move within the same superview (re-adding, bring to front) sends nothing.
//
// Traits: a view's traits are those of the nearest ancestor-or-self with an override of the interface style, else
// the system's (UITraitCollection::systemTraitCollection). When they change — an override set, the system
// appearance switched, the view moved under a different override — the platform walks the affected subtree itself,
// parents first, and sends "traitCollectionDidChange:" to each view whose style changed, to that view's controller
// before the view, with the view's new collection current. A view that overrides the callback without calling up
// therefore cannot cut its children off. A view starts with the style current at its initWithFrame.

#include "platform/core/Object.h"
#include "platform/gfx/Geometry.h"
#include "platform/layout/LayoutItem.h"
#include "platform/ui/NSLayoutAnchor.h"
#include "platform/ui/UIResponder.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class UIColor;
class CALayer;
class UITraitCollection;
class UIGestureRecognizer;
class NSLayoutConstraint;

// UIViewAutoresizing bits.
enum UIViewAutoresizing : unsigned long {
    UIViewAutoresizingNone = 0,
    UIViewAutoresizingFlexibleLeftMargin = 1,
    UIViewAutoresizingFlexibleWidth = 2,
    UIViewAutoresizingFlexibleRightMargin = 4,
    UIViewAutoresizingFlexibleTopMargin = 8,
    UIViewAutoresizingFlexibleHeight = 16,
    UIViewAutoresizingFlexibleBottomMargin = 32,
};

// UIViewContentMode numbers.
enum UIViewContentMode : long {
    UIViewContentModeScaleToFill = 0,
    UIViewContentModeScaleAspectFit = 1,
    UIViewContentModeScaleAspectFill = 2,
    UIViewContentModeRedraw = 3,
    UIViewContentModeCenter = 4,
};

// The value of an absent intrinsic dimension (UIViewNoIntrinsicMetric).
inline constexpr CGFloat UIViewNoIntrinsicMetric = -1;

// A view is the constraint solver's item (platform/layout/LayoutItem.h); that face is private to the layout pass.
class UIView : public UIResponder, public platform::layout::LayoutItem {
    VT_OBJECT(UIView, UIResponder)
public:
    UIView();
    ~UIView() override;

    // Second phase of creation; every subclass initialiser calls up first. Sets the frame and makes the layer.
    virtual void initWithFrame(CGRect frame);
    void init() { initWithFrame(CGRectZero); }

    // A window is the root of a displayed tree. UIWindow answers true; the default is false.
    virtual bool isWindow() const { return false; }

    // ----- geometry -----
    CGRect frame() const;
    virtual void setFrame(CGRect frame);
    CGRect bounds() const { return m_bounds; }
    // Changing the size autoresizes frame-set subviews by their masks and marks the view as needing layout.
    void setBounds(CGRect bounds);
    CGPoint center() const { return m_center; }
    void setCenter(CGPoint center);
    CGAffineTransform transform() const { return m_transform; }
    void setTransform(CGAffineTransform transform);

    // ----- tree -----
    const std::vector<Ref<UIView>>& subviews() const { return m_subviews; }
    // Null when the view has no superview (or it was released).
    Ref<UIView> superview() const { return m_superview.lock(); }
    // The nearest ancestor-or-self that isWindow(); null when the tree has none.
    Ref<UIView> window() const;
    // The topmost ancestor-or-self.
    Ref<UIView> rootView() const;
    // Adds on top. A view that has another superview is moved; adding self, null or an ancestor does nothing
    // (misuse throws platform::RuntimeError for an ancestor, as the device raises).
    void addSubview(const Ref<UIView>& view);
    // Inserts at `index` (clamped to 0…count).
    void insertSubviewAtIndex(const Ref<UIView>& view, long index);
    void insertSubviewBelowSubview(const Ref<UIView>& view, const Ref<UIView>& sibling);
    void insertSubviewAboveSubview(const Ref<UIView>& view, const Ref<UIView>& sibling);
    void bringSubviewToFront(const Ref<UIView>& view);
    void sendSubviewToBack(const Ref<UIView>& view);
    // Detaches from the superview; the view's constraints that reach outside it are deactivated.
    void removeFromSuperview();
    bool isDescendantOfView(const Ref<UIView>& view) const;
    // Subviews back to front as they draw and hit-test: by zPosition, then list order.
    std::vector<Ref<UIView>> subviewsInDrawingOrder() const;

    // ----- hooks for subclasses -----
    virtual void didAddSubview(const Ref<UIView>& subview) {}
    virtual void willRemoveSubview(const Ref<UIView>& subview) {}
    virtual void didMoveToSuperview() {}
    virtual void didMoveToWindow() {}

    // ----- look -----
    bool isHidden() const { return m_hidden; }
    void setHidden(bool hidden);
    CGFloat alpha() const { return m_alpha; }
    void setAlpha(CGFloat alpha);
    // Null when none (transparent).
    const Ref<UIColor>& backgroundColor() const { return m_backgroundColor; }
    virtual void setBackgroundColor(Ref<UIColor> color);
    bool clipsToBounds() const { return m_clipsToBounds; }
    void setClipsToBounds(bool clips) { m_clipsToBounds = clips; }
    bool isOpaque() const { return m_opaque; }
    void setOpaque(bool opaque) { m_opaque = opaque; }
    bool isUserInteractionEnabled() const { return m_userInteractionEnabled; }
    void setUserInteractionEnabled(bool enabled) { m_userInteractionEnabled = enabled; }
    long tag() const { return m_tag; }
    void setTag(long tag) { m_tag = tag; }
    // Self or the first descendant (depth first, in list order) with that tag; null when none.
    Ref<UIView> viewWithTag(long tag);
    // The tint: the view's own, else the nearest ancestor's; null when nobody set one (the renderer then uses the
    // system blue).
    Ref<UIColor> tintColor() const;
    void setTintColor(Ref<UIColor> color);
    // Called on the view and its subtree whenever the inherited tint changes.
    virtual void tintColorDidChange() {}
    long contentMode() const { return m_contentMode; }
    void setContentMode(long mode) { m_contentMode = mode; }
    unsigned long autoresizingMask() const { return m_autoresizingMask; }
    void setAutoresizingMask(unsigned long mask) { m_autoresizingMask = mask; }
    bool autoresizesSubviews() const { return m_autoresizesSubviews; }
    void setAutoresizesSubviews(bool a) { m_autoresizesSubviews = a; }
    // The view's backing layer; never null after initWithFrame.
    const Ref<CALayer>& layer() const { return m_layer; }

    // ----- layout -----
    bool translatesAutoresizingMaskIntoConstraints() const { return m_translatesMask; }
    void setTranslatesAutoresizingMaskIntoConstraints(bool translates);
    virtual void layoutSubviews() {}
    virtual void setNeedsLayout();
    bool needsLayout() const { return m_needsLayout; }
    // Runs the layout pass on the tree this view belongs to (see above). Called from inside a pass (from a
    // layoutSubviews), it updates the constraints and lays out this view's subtree only.
    virtual void layoutIfNeeded();
    // The view's own size: each dimension UIViewNoIntrinsicMetric when it has none (the default).
    virtual CGSize intrinsicContentSize();
    // Tells the layout that the own size changed.
    void invalidateIntrinsicContentSize();
    // The size that fits: the default answers the current bounds size.
    virtual CGSize sizeThatFits(CGSize size);
    // Resizes the bounds to sizeThatFits(bounds size), keeping the frame's origin.
    void sizeToFit();

    NSLayoutAnchor topAnchor() const;
    NSLayoutAnchor bottomAnchor() const;
    NSLayoutAnchor leadingAnchor() const;
    NSLayoutAnchor trailingAnchor() const;
    NSLayoutAnchor leftAnchor() const;
    NSLayoutAnchor rightAnchor() const;
    NSLayoutAnchor centerXAnchor() const;
    NSLayoutAnchor centerYAnchor() const;
    NSLayoutAnchor widthAnchor() const;
    NSLayoutAnchor heightAnchor() const;
    // Anchors are small values naming this view (weakly) and an attribute.
    // The active constraints whose first item is this view, in activation order.
    const std::vector<Ref<NSLayoutConstraint>>& constraints() const { return m_constraints; }
    // For NSLayoutConstraint::setActive.
    void installConstraint(const Ref<NSLayoutConstraint>& constraint);
    void uninstallConstraint(const NSLayoutConstraint* constraint);

    // ----- drawing -----
    // Views that draw themselves override this; the renderer calls it through msgSend with the bounds.
    virtual void drawRect(CGRect rect) {}
    // True for classes that override drawRect (the renderer skips the call for the others). Subclasses that draw
    // answer true.
    virtual bool drawsContent() const { return false; }
    // How far, in points, the renderer blurs what lies behind this view before painting it (a blur material's
    // backdrop); 0 for ordinary views, which let the backdrop show through unchanged.
    virtual CGFloat backdropBlurRadius() const { return 0; }
    void setNeedsDisplay() { ++m_displayRequests; }
    std::size_t displayRequestCount() const { return m_displayRequests; }

    // ----- input -----
    // The deepest visible, interactive descendant-or-self containing `point` (in this view's coordinates): hidden
    // views, views with alpha < 0.01 and views with user interaction off are skipped with their subtree; points
    // outside a clipping view's bounds do not reach its subviews; subviews are tried front to back (zPosition,
    // then order). Null when none.
    virtual Ref<UIView> hitTest(CGPoint point);
    virtual bool pointInside(CGPoint point) const;
    void addGestureRecognizer(const Ref<UIGestureRecognizer>& recognizer);
    void removeGestureRecognizer(const Ref<UIGestureRecognizer>& recognizer);
    const std::vector<Ref<UIGestureRecognizer>>& gestureRecognizers() const { return m_gestureRecognizers; }
    // Asked before one of the view's recognisers, or a recogniser of an ancestor tracking a touch that began on
    // this view, begins; false keeps it from recognising. The default answers true.
    virtual bool gestureRecognizerShouldBegin(Ref<UIGestureRecognizer> recognizer) { return true; }

    // ----- coordinates (through centers, bounds origins and transforms; views of different trees are related
    //       as if their roots were at the same place) -----
    CGPoint convertPointToView(CGPoint point, const Ref<UIView>& view) const;
    CGPoint convertPointFromView(CGPoint point, const Ref<UIView>& view) const;
    CGRect convertRectToView(CGRect rect, const Ref<UIView>& view) const;
    CGRect convertRectFromView(CGRect rect, const Ref<UIView>& view) const;
    // The affine map from this view's coordinates to its root's.
    CGAffineTransform transformToRoot() const;

    // ----- responder chain, controller -----
    Ref<UIResponder> nextResponder() const override;
    // The controller whose view this is (set by UIViewController); null for ordinary views.
    Ref<UIResponder> viewController() const { return m_viewController.lock(); }
    void setViewController(const Ref<UIResponder>& controller) { m_viewController = controller; }

    // ----- traits -----
    Ref<UITraitCollection> traitCollection() const override;
    // 0 inherits; 1 light; 2 dark. Setting it propagates to the subtree as described above.
    long overrideUserInterfaceStyle() const { return m_overrideStyle; }
    void setOverrideUserInterfaceStyle(long style);
    // Sets the simulated device's appearance and propagates it through every window.
    static void setSystemUserInterfaceStyle(long style);
    // Walks the subtree of `root` and sends the trait callbacks to views whose style changed.
    static void propagateTraitChanges(const Ref<UIView>& root);

    // ----- animation (AnimationCenter.h) -----
    // Changes made in `animations` to alpha, frame, bounds, center, transform and background colour animate over
    // `duration` seconds; `completion` (may be empty) gets finished YES at the end, NO when interrupted.
    static void animateWithDurationAnimations(double duration, const std::function<void()>& animations);
    static void animateWithDurationAnimationsCompletion(double duration, const std::function<void()>& animations,
                                                        std::function<void(bool)> completion);
    static void animateWithDurationDelayOptionsAnimationsCompletion(double duration, double delay,
                                                                    unsigned long options,
                                                                    const std::function<void()>& animations,
                                                                    std::function<void(bool)> completion);
    // The begin/commit form. The did-stop selector is sent to the delegate (weak) when the group ended, as
    // msgSend<void>(delegate, sel, id animationID, bool finished, void* context) — so the method is published as
    // `void member(id animationID, bool finished, void* context)` — or with no arguments for a selector without
    // colons. `animationID` is null (the stand-in has no NSString); `context` is what was given to begin.
    static void beginAnimationsContext(const id& animationID = nullptr, void* context = nullptr);
    static void setAnimationDuration(double seconds);
    static void setAnimationDelay(double seconds);
    static void setAnimationCurve(long curve);
    static void setAnimationDelegate(const id& delegate);
    static void setAnimationDidStopSelector(SEL selector);
    static void commitAnimations();
    // Runs `actions` with animation capture suspended (changes are immediate).
    static void performWithoutAnimation(const std::function<void()>& actions);
    static bool areAnimationsEnabled();
    static void setAnimationsEnabled(bool enabled);
    // What is on screen now; the model value when nothing animates it.
    CGFloat presentationAlpha() const;
    CGRect presentationFrame() const;
    CGAffineTransform presentationTransform() const;

    // ----- bookkeeping -----
    // UIView instances alive in the process.
    static std::size_t liveViewCount();
    // Internal to the layout pass: the style the view last had.
    long lastNotifiedStyle() const { return m_lastStyle; }
    void setLastNotifiedStyle(long style) { m_lastStyle = style; }
    // Internal: whether constraints should be re-solved for the tree (any change of frames, constraints or own
    // sizes). A process-wide generation counter.
    static std::uint64_t layoutGeneration();
    static void bumpLayoutGeneration();

    std::string description() const override;

private:
    // The view as the solver's item: frame and bounds size, placed when it does not translate its mask and no
    // stack view arranges it, intrinsicContentSize sent through the run-time (so overrides and hooks answer), the
    // subviews, the installed constraints, and the solved frame set through "setFrame:".
    CGRect layoutFrame() const override { return frame(); }
    CGSize layoutSize() const override { return m_bounds.size; }
    bool isPlacedByConstraints() const override;
    CGSize intrinsicLayoutSize() override;
    std::size_t layoutChildCount() const override { return m_subviews.size(); }
    platform::layout::LayoutItem& layoutChild(std::size_t index) const override { return *m_subviews[index]; }
    std::size_t layoutRelationCount() const override { return m_constraints.size(); }
    platform::layout::LayoutRelation& layoutRelation(std::size_t index) const override;
    bool applyLayoutFrame(CGRect frame) override;

    void setFrameInternal(CGRect frame);
    void setBoundsSize(CGSize size);
    void autoresizeSubviews(CGSize oldSize);
    static void runLayoutPass(const Ref<UIView>& root);
    static void layoutWalk(const Ref<UIView>& view, bool& ranAny);
    static void traitWalk(const Ref<UIView>& view, long inheritedStyle);
    static void windowWalk(const Ref<UIView>& view, bool sendMessages);
    void moveToWindow(const Ref<UIView>& oldWindow, const Ref<UIView>& newWindow);

    Weak<UIView> m_superview;
    std::vector<Ref<UIView>> m_subviews;
    Ref<CALayer> m_layer;
    CGRect m_bounds;
    CGPoint m_center;
    CGAffineTransform m_transform;
    Ref<UIColor> m_backgroundColor;
    Ref<UIColor> m_tintColor;
    std::vector<Ref<UIGestureRecognizer>> m_gestureRecognizers;
    std::vector<Ref<NSLayoutConstraint>> m_constraints;
    Weak<UIResponder> m_viewController;
    CGFloat m_alpha = 1;
    long m_tag = 0;
    long m_contentMode = UIViewContentModeScaleToFill;
    unsigned long m_autoresizingMask = UIViewAutoresizingNone;
    long m_overrideStyle = 0;
    long m_lastStyle = 0;
    std::size_t m_displayRequests = 0;
    bool m_hidden = false;
    bool m_clipsToBounds = false;
    bool m_opaque = true;
    bool m_userInteractionEnabled = true;
    bool m_autoresizesSubviews = true;
    bool m_translatesMask = true;
    bool m_needsLayout = true;
    bool m_inLayoutSubviews = false;
    std::uint64_t m_solvedGeneration = ~std::uint64_t(0);
};
