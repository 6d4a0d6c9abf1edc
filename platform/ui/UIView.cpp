#include "platform/ui/UIView.h"

#include "platform/core/Runtime.h"
#include "platform/gfx/UIColor.h"
#include "platform/layout/LayoutEngine.h"
#include "platform/ui/AnimationCenter.h"
#include "platform/ui/CALayer.h"
#include "platform/ui/NSLayoutConstraint.h"
#include "platform/ui/UIGestureRecognizer.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UIStackView.h"
#include "platform/ui/UITraitCollection.h"
#include "platform/ui/UIViewController.h"
#include "platform/ui/UIViewControllerForAncestor.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <functional>
#include <sstream>
#include <unordered_set>

namespace {

Ref<UIViewController> viewControllerForAncestorImp(NSObject* self, SEL) {
    return platform::viewControllerForAncestor(self->self<UIView>());
}

}  // namespace

VT_REGISTER_CLASS(UIView, [](Class c) {
    using namespace platform::runtime;
    // Published as the platform's own method, not added at run time, so it is no entry of the hook log.
    setMethod(c, selector("_viewControllerForAncestor"), reinterpret_cast<AnyImp>(&viewControllerForAncestorImp),
              signatureOf<Ref<UIViewController>>());
    addMethod<&UIView::initWithFrame>(c, "initWithFrame:");
    addMethod<&UIView::setFrame>(c, "setFrame:");
    addMethod<&UIView::layoutSubviews>(c, "layoutSubviews");
    addMethod<&UIView::didMoveToSuperview>(c, "didMoveToSuperview");
    addMethod<&UIView::didMoveToWindow>(c, "didMoveToWindow");
    addMethod<&UIView::drawRect>(c, "drawRect:");
    addMethod<&UIView::gestureRecognizerShouldBegin>(c, "gestureRecognizerShouldBegin:");
    addMethod<&UIView::sizeThatFits>(c, "sizeThatFits:");
    addMethod<&UIView::intrinsicContentSize>(c, "intrinsicContentSize");
})

namespace {
std::atomic<std::size_t> g_liveViews{0};
std::uint64_t g_layoutGeneration = 1;
std::vector<Weak<UIView>> g_windows;
bool g_animationsEnabled = true;

platform::AnimationCenter& animations() { return platform::AnimationCenter::shared(); }
bool capturing() { return g_animationsEnabled && animations().isCapturing(); }

// The map from a view's own coordinates to its superview's: around the bounds centre, through the transform, onto
// the centre.
CGPoint toSuper(const UIView& v, CGPoint p) {
    CGRect b = v.bounds();
    CGPoint rel{p.x - b.midX(), p.y - b.midY()};
    CGPoint t = v.transform().apply(rel);
    return {v.center().x + t.x, v.center().y + t.y};
}

CGPoint fromSuper(const UIView& v, CGPoint p) {
    CGAffineTransform m = v.transform();
    CGFloat det = m.a * m.d - m.b * m.c;
    CGPoint rel{p.x - v.center().x - m.tx, p.y - v.center().y - m.ty};
    CGPoint q = rel;
    if (det != 0) q = {(m.d * rel.x - m.c * rel.y) / det, (-m.b * rel.x + m.a * rel.y) / det};
    CGRect b = v.bounds();
    return {q.x + b.midX(), q.y + b.midY()};
}

CGPoint toRoot(const UIView* v, CGPoint p) {
    for (; v; v = v->superview().get()) p = toSuper(*v, p);
    return p;
}

CGPoint fromRoot(const UIView* v, CGPoint p) {
    std::vector<const UIView*> chain;
    for (; v; v = v->superview().get()) chain.push_back(v);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) p = fromSuper(**it, p);
    return p;
}

CGRect boundingBox(const CGPoint (&pts)[4]) {
    CGFloat x0 = pts[0].x, x1 = pts[0].x, y0 = pts[0].y, y1 = pts[0].y;
    for (const auto& p : pts) {
        x0 = std::min(x0, p.x), x1 = std::max(x1, p.x), y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
    }
    return {{x0, y0}, {x1 - x0, y1 - y0}};
}

std::vector<double> colorComponents(const Ref<UIColor>& c) {
    if (!c) return {0, 0, 0, 0};
    auto v = c->rgba();
    return {v.red, v.green, v.blue, v.alpha};
}

// Autoresizing of one axis: the flexible parts among (margin before, size, margin after) share the change in
// proportion to their current lengths (equally when those are all zero); with none flexible nothing moves.
void resizeAxis(CGFloat& origin, CGFloat& size, CGFloat parentOld, CGFloat parentNew, bool flexBefore, bool flexSize,
                bool flexAfter) {
    CGFloat delta = parentNew - parentOld;
    if (delta == 0 || !(flexBefore || flexSize || flexAfter)) return;
    CGFloat before = origin, after = parentOld - origin - size;
    CGFloat total = (flexBefore ? before : 0) + (flexSize ? size : 0) + (flexAfter ? after : 0);
    int count = int(flexBefore) + int(flexSize) + int(flexAfter);
    auto share = [&](bool flex, CGFloat len) -> CGFloat {
        if (!flex) return 0;
        return total != 0 ? delta * len / total : delta / count;
    };
    origin += share(flexBefore, before);
    size += share(flexSize, size);
}
}  // namespace

UIView::UIView() { ++g_liveViews; }

UIView::~UIView() { --g_liveViews; }

std::size_t UIView::liveViewCount() { return g_liveViews.load(); }
std::uint64_t UIView::layoutGeneration() { return g_layoutGeneration; }
void UIView::bumpLayoutGeneration() { ++g_layoutGeneration; }

void UIView::initWithFrame(CGRect frame) {
    m_layer = CALayer::layer();
    m_layer->setDelegateView(self<UIView>());
    m_bounds = {{0, 0}, frame.size};
    m_center = {frame.midX(), frame.midY()};
    m_lastStyle = UITraitCollection::currentTraitCollection()->userInterfaceStyle();
    if (isWindow()) {
        std::erase_if(g_windows, [](const Weak<UIView>& w) { return w.expired(); });
        g_windows.push_back(self<UIView>());
    }
    bumpLayoutGeneration();
}

// ----- geometry -----

CGRect UIView::frame() const {
    CGFloat w = m_bounds.width(), h = m_bounds.height();
    if (m_transform.isIdentity()) return {{m_center.x - w / 2, m_center.y - h / 2}, {w, h}};
    CGPoint corners[4] = {{-w / 2, -h / 2}, {w / 2, -h / 2}, {w / 2, h / 2}, {-w / 2, h / 2}};
    for (auto& p : corners) {
        CGPoint t = m_transform.apply(p);
        p = {m_center.x + t.x, m_center.y + t.y};
    }
    return boundingBox(corners);
}

void UIView::setFrame(CGRect frame) { setFrameInternal(frame); }

void UIView::setFrameInternal(CGRect frame) {
    setCenter({frame.midX(), frame.midY()});
    setBoundsSize(frame.size);
}

void UIView::setBoundsSize(CGSize size) { setBounds({m_bounds.origin, size}); }

void UIView::setBounds(CGRect bounds) {
    if (bounds == m_bounds) return;
    if (capturing())
        animations().recordChange(m_layer, "bounds",
                                  {m_bounds.minX(), m_bounds.minY(), m_bounds.width(), m_bounds.height()},
                                  {bounds.minX(), bounds.minY(), bounds.width(), bounds.height()});
    CGSize old = m_bounds.size;
    m_bounds = bounds;
    if (old != bounds.size) {
        bumpLayoutGeneration();
        setNeedsLayout();
        autoresizeSubviews(old);
    }
}

void UIView::setCenter(CGPoint center) {
    if (center == m_center) return;
    if (capturing()) animations().recordChange(m_layer, "position", {m_center.x, m_center.y}, {center.x, center.y});
    m_center = center;
    bumpLayoutGeneration();
}

void UIView::setTransform(CGAffineTransform t) {
    if (t == m_transform) return;
    if (capturing())
        animations().recordChange(m_layer, "transform",
                                  {m_transform.a, m_transform.b, m_transform.c, m_transform.d, m_transform.tx,
                                   m_transform.ty},
                                  {t.a, t.b, t.c, t.d, t.tx, t.ty});
    m_transform = t;
}

void UIView::autoresizeSubviews(CGSize old) {
    if (!m_autoresizesSubviews) return;
    for (const auto& sub : m_subviews) {
        unsigned long m = sub->m_autoresizingMask;
        if (!sub->m_translatesMask || m == UIViewAutoresizingNone) continue;
        CGRect f = sub->frame();
        resizeAxis(f.origin.x, f.size.width, old.width, m_bounds.width(), m & UIViewAutoresizingFlexibleLeftMargin,
                   m & UIViewAutoresizingFlexibleWidth, m & UIViewAutoresizingFlexibleRightMargin);
        resizeAxis(f.origin.y, f.size.height, old.height, m_bounds.height(), m & UIViewAutoresizingFlexibleTopMargin,
                   m & UIViewAutoresizingFlexibleHeight, m & UIViewAutoresizingFlexibleBottomMargin);
        platform::msgSend<void>(sub.get(), sel("setFrame:"), f);
    }
}

// ----- tree -----

Ref<UIView> UIView::window() const {
    for (auto v = std::const_pointer_cast<UIView>(self<UIView>()); v; v = v->superview())
        if (v->isWindow()) return v;
    return nullptr;
}

Ref<UIView> UIView::rootView() const {
    auto v = std::const_pointer_cast<UIView>(self<UIView>());
    while (auto up = v->superview()) v = up;
    return v;
}

bool UIView::isDescendantOfView(const Ref<UIView>& view) const {
    if (!view) return false;
    for (const UIView* v = this; v; v = v->superview().get())
        if (v == view.get()) return true;
    return false;
}

void UIView::addSubview(const Ref<UIView>& view) { insertSubviewAtIndex(view, static_cast<long>(m_subviews.size())); }

void UIView::insertSubviewAtIndex(const Ref<UIView>& view, long index) {
    if (!view || view.get() == this) return;
    if (isDescendantOfView(view))
        throw platform::RuntimeError("addSubview: the view " + view->description() + " is an ancestor of " +
                                     description());
    Ref<UIView> keep = view;
    Ref<UIView> oldWindow = keep->window();
    Ref<UIView> oldSuper = keep->superview();
    if (oldSuper.get() == this) {
        // A move within the same superview: no life-cycle messages, as on the device.
        auto it = std::find(m_subviews.begin(), m_subviews.end(), keep);
        long from = it - m_subviews.begin();
        m_subviews.erase(it);
        if (index > from) --index;
        index = std::clamp<long>(index, 0, static_cast<long>(m_subviews.size()));
        m_subviews.insert(m_subviews.begin() + index, keep);
        return;
    }
    if (oldSuper) {
        oldSuper->willRemoveSubview(keep);
        std::erase(oldSuper->m_subviews, keep);
        oldSuper->setNeedsLayout();
    }
    index = std::clamp<long>(index, 0, static_cast<long>(m_subviews.size()));
    m_subviews.insert(m_subviews.begin() + index, keep);
    keep->m_superview = self<UIView>();
    bumpLayoutGeneration();
    setNeedsLayout();
    keep->setNeedsLayout();
    Ref<UIView> newWindow = window();
    if (newWindow != oldWindow) keep->moveToWindow(oldWindow, newWindow);
    platform::msgSend<void>(keep.get(), sel("didMoveToSuperview"));
    propagateTraitChanges(keep);
    didAddSubview(keep);
}

void UIView::insertSubviewBelowSubview(const Ref<UIView>& view, const Ref<UIView>& sibling) {
    auto it = std::find(m_subviews.begin(), m_subviews.end(), sibling);
    if (it == m_subviews.end()) return addSubview(view);
    insertSubviewAtIndex(view, it - m_subviews.begin());
}

void UIView::insertSubviewAboveSubview(const Ref<UIView>& view, const Ref<UIView>& sibling) {
    auto it = std::find(m_subviews.begin(), m_subviews.end(), sibling);
    if (it == m_subviews.end()) return addSubview(view);
    insertSubviewAtIndex(view, it - m_subviews.begin() + 1);
}

void UIView::bringSubviewToFront(const Ref<UIView>& view) {
    if (view && view->superview().get() == this) insertSubviewAtIndex(view, static_cast<long>(m_subviews.size()));
}

void UIView::sendSubviewToBack(const Ref<UIView>& view) {
    if (view && view->superview().get() == this) insertSubviewAtIndex(view, 0);
}

void UIView::removeFromSuperview() {
    auto parent = superview();
    if (!parent) return;
    Ref<UIView> keep = self<UIView>();
    Ref<UIView> oldWindow = window();

    // Constraints that tie the leaving subtree to the rest of the tree go, as on the device.
    // The leaving subtree is gathered once, so each constraint's test is a look-up instead of a walk up the
    // superview chain (which made removing a view cost the tree's size times its depth).
    std::unordered_set<const UIView*> leaving;
    std::vector<const UIView*> pending{this};
    while (!pending.empty()) {
        const UIView* v = pending.back();
        pending.pop_back();
        leaving.insert(v);
        for (const auto& s : v->m_subviews) pending.push_back(s.get());
    }
    std::vector<Ref<NSLayoutConstraint>> crossing;
    std::vector<const UIView*> walk{rootView().get()};
    while (!walk.empty()) {
        const UIView* v = walk.back();
        walk.pop_back();
        for (const auto& c : v->m_constraints) {
            auto a = c->firstItem(), b = c->secondItem();
            bool aIn = a && leaving.count(a.get()), bIn = b && leaving.count(b.get());
            if (b && aIn != bIn) crossing.push_back(c);
        }
        for (const auto& s : v->m_subviews) walk.push_back(s.get());
    }
    for (const auto& c : crossing) c->setActive(false);

    parent->willRemoveSubview(keep);
    std::erase(parent->m_subviews, keep);
    m_superview.reset();
    bumpLayoutGeneration();
    parent->setNeedsLayout();
    if (oldWindow) moveToWindow(oldWindow, nullptr);
    platform::msgSend<void>(this, sel("didMoveToSuperview"));
    propagateTraitChanges(keep);
}

void UIView::moveToWindow(const Ref<UIView>& oldWindow, const Ref<UIView>& newWindow) { windowWalk(self<UIView>(), true); }

void UIView::windowWalk(const Ref<UIView>& view, bool sendMessages) {
    if (sendMessages) platform::msgSend<void>(view.get(), sel("didMoveToWindow"));
    auto children = view->m_subviews;  // a callback may change the list
    for (const auto& s : children) windowWalk(s, sendMessages);
}

std::vector<Ref<UIView>> UIView::subviewsInDrawingOrder() const {
    std::vector<Ref<UIView>> order = m_subviews;
    std::stable_sort(order.begin(), order.end(), [](const Ref<UIView>& a, const Ref<UIView>& b) {
        return a->layer()->zPosition() < b->layer()->zPosition();
    });
    return order;
}

// ----- look -----

void UIView::setHidden(bool hidden) {
    if (hidden == m_hidden) return;
    m_hidden = hidden;
    // Stack views and anything else that leaves room for visible views only lay out again.
    if (auto s = superview()) s->setNeedsLayout();
}

void UIView::setAlpha(CGFloat alpha) {
    if (alpha == m_alpha) return;
    if (capturing()) animations().recordChange(m_layer, "opacity", {m_alpha}, {alpha});
    m_alpha = alpha;
}

void UIView::setBackgroundColor(Ref<UIColor> color) {
    if (capturing() && color != m_backgroundColor)
        animations().recordChange(m_layer, "backgroundColor", colorComponents(m_backgroundColor),
                                  colorComponents(color));
    m_backgroundColor = std::move(color);
}

Ref<UIView> UIView::viewWithTag(long tag) {
    if (m_tag == tag) return self<UIView>();
    for (const auto& s : m_subviews)
        if (auto found = s->viewWithTag(tag)) return found;
    return nullptr;
}

Ref<UIColor> UIView::tintColor() const {
    for (const UIView* v = this; v; v = v->superview().get())
        if (v->m_tintColor) return v->m_tintColor;
    return nullptr;
}

void UIView::setTintColor(Ref<UIColor> color) {
    m_tintColor = std::move(color);
    std::function<void(UIView*)> notify = [&](UIView* v) {
        v->tintColorDidChange();
        for (const auto& s : v->m_subviews)
            if (!s->m_tintColor) notify(s.get());
    };
    notify(this);
}

// ----- layout -----

void UIView::setTranslatesAutoresizingMaskIntoConstraints(bool translates) {
    if (translates == m_translatesMask) return;
    m_translatesMask = translates;
    bumpLayoutGeneration();
    setNeedsLayout();
}

void UIView::setNeedsLayout() { m_needsLayout = true; }

CGSize UIView::intrinsicContentSize() { return {UIViewNoIntrinsicMetric, UIViewNoIntrinsicMetric}; }

void UIView::invalidateIntrinsicContentSize() {
    bumpLayoutGeneration();
    if (auto s = superview()) s->setNeedsLayout();
    setNeedsLayout();
}

CGSize UIView::sizeThatFits(CGSize) { return m_bounds.size; }

void UIView::sizeToFit() {
    CGSize fit = platform::msgSend<CGSize>(this, sel("sizeThatFits:"), m_bounds.size);
    CGRect f = frame();
    platform::msgSend<void>(this, sel("setFrame:"), CGRect{f.origin, fit});
}

namespace {
Weak<UIView> weakOf(const UIView* v) { return std::const_pointer_cast<UIView>(v->self<UIView>()); }
}  // namespace

NSLayoutAnchor UIView::topAnchor() const { return {weakOf(this), NSLayoutAttributeTop}; }
NSLayoutAnchor UIView::bottomAnchor() const { return {weakOf(this), NSLayoutAttributeBottom}; }
NSLayoutAnchor UIView::leadingAnchor() const { return {weakOf(this), NSLayoutAttributeLeading}; }
NSLayoutAnchor UIView::trailingAnchor() const { return {weakOf(this), NSLayoutAttributeTrailing}; }
NSLayoutAnchor UIView::leftAnchor() const { return {weakOf(this), NSLayoutAttributeLeft}; }
NSLayoutAnchor UIView::rightAnchor() const { return {weakOf(this), NSLayoutAttributeRight}; }
NSLayoutAnchor UIView::centerXAnchor() const { return {weakOf(this), NSLayoutAttributeCenterX}; }
NSLayoutAnchor UIView::centerYAnchor() const { return {weakOf(this), NSLayoutAttributeCenterY}; }
NSLayoutAnchor UIView::widthAnchor() const { return {weakOf(this), NSLayoutAttributeWidth}; }
NSLayoutAnchor UIView::heightAnchor() const { return {weakOf(this), NSLayoutAttributeHeight}; }

void UIView::installConstraint(const Ref<NSLayoutConstraint>& constraint) {
    if (std::find(m_constraints.begin(), m_constraints.end(), constraint) == m_constraints.end())
        m_constraints.push_back(constraint);
    bumpLayoutGeneration();
    setNeedsLayout();
    if (auto s = superview()) s->setNeedsLayout();
}

void UIView::uninstallConstraint(const NSLayoutConstraint* constraint) {
    std::erase_if(m_constraints, [&](const Ref<NSLayoutConstraint>& c) { return c.get() == constraint; });
    bumpLayoutGeneration();
    setNeedsLayout();
}

bool UIView::isPlacedByConstraints() const {
    if (m_translatesMask) return false;
    // A stack view places its arranged views itself, so they count as frame-set here.
    auto stack = cast<UIStackView>(superview());
    if (!stack) return true;
    const auto& arranged = stack->arrangedSubviews();
    return std::none_of(arranged.begin(), arranged.end(), [&](const Ref<UIView>& v) { return v.get() == this; });
}

CGSize UIView::intrinsicLayoutSize() { return platform::msgSend<CGSize>(this, sel("intrinsicContentSize")); }

platform::layout::LayoutRelation& UIView::layoutRelation(std::size_t index) const { return *m_constraints[index]; }

bool UIView::applyLayoutFrame(CGRect frame) {
    if (m_transform.isIdentity()) {
        if (this->frame() == frame) return false;
        platform::msgSend<void>(this, sel("setFrame:"), frame);
    } else {
        // Under a transform the frame is a bounding box; the solution is the untransformed placement.
        CGPoint c{frame.midX(), frame.midY()};
        if (m_center == c && m_bounds.size == frame.size) return false;
        setCenter(c);
        setBounds({m_bounds.origin, frame.size});
    }
    return true;
}

namespace {
int g_passDepth = 0;
}

void UIView::layoutIfNeeded() {
    auto root = rootView();
    if (g_passDepth > 0) {
        // Asked from inside a pass (a layoutSubviews that lays out a child at once): bring the constraints up to
        // date and lay out this subtree only; the outer pass finishes the rest, so nothing recurses without end.
        if (root->m_solvedGeneration != g_layoutGeneration) {
            platform::layout::LayoutEngine::solveAndApply(*root);
            root->m_solvedGeneration = g_layoutGeneration;
        }
        bool ranAny = false;
        ++g_passDepth;
        try {
            layoutWalk(self<UIView>(), ranAny);
        } catch (...) {
            --g_passDepth;
            throw;
        }
        --g_passDepth;
        return;
    }
    ++g_passDepth;
    try {
        runLayoutPass(root);
    } catch (...) {
        --g_passDepth;
        throw;
    }
    --g_passDepth;
}

void UIView::runLayoutPass(const Ref<UIView>& root) {
    // Frames set by the solve or by layoutSubviews can change what the constraints see (autoresized children,
    // moved frame-set views), so the pass repeats until a round changed nothing, with bounds against a
    // layoutSubviews that never settles.
    for (int round = 0; round < 8; ++round) {
        for (int attempt = 0; attempt < 3 && root->m_solvedGeneration != g_layoutGeneration; ++attempt) {
            std::uint64_t before = g_layoutGeneration;
            platform::layout::LayoutEngine::solveAndApply(*root);
            root->m_solvedGeneration = before == g_layoutGeneration ? before : 0;
        }
        root->m_solvedGeneration = g_layoutGeneration;
        bool ranAny = false;
        layoutWalk(root, ranAny);
        if (!ranAny) return;
    }
}

void UIView::layoutWalk(const Ref<UIView>& view, bool& ranAny) {
    // A view whose layoutSubviews is running (it asked for a nested pass) is not entered again.
    if (view->m_needsLayout && !view->m_inLayoutSubviews) {
        view->m_needsLayout = false;
        ranAny = true;
        UITraitCollection::CurrentScope scope(view->traitCollection());
        view->m_inLayoutSubviews = true;
        try {
            platform::msgSend<void>(view.get(), sel("layoutSubviews"));
        } catch (...) {
            view->m_inLayoutSubviews = false;
            throw;
        }
        view->m_inLayoutSubviews = false;
    }
    auto children = view->m_subviews;
    for (const auto& s : children) layoutWalk(s, ranAny);
}

// ----- input -----

bool UIView::pointInside(CGPoint point) const { return m_bounds.contains(point); }

Ref<UIView> UIView::hitTest(CGPoint point) {
    if (m_hidden || m_alpha < 0.01 || !m_userInteractionEnabled) return nullptr;
    bool inside = pointInside(point);
    if (m_clipsToBounds && !inside) return nullptr;
    auto order = subviewsInDrawingOrder();
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        if (auto hit = (*it)->hitTest(fromSuper(**it, point))) return hit;
    }
    return inside ? self<UIView>() : nullptr;
}

void UIView::addGestureRecognizer(const Ref<UIGestureRecognizer>& recognizer) {
    if (!recognizer) return;
    if (auto old = recognizer->view(); old && old.get() != this) old->removeGestureRecognizer(recognizer);
    if (std::find(m_gestureRecognizers.begin(), m_gestureRecognizers.end(), recognizer) == m_gestureRecognizers.end())
        m_gestureRecognizers.push_back(recognizer);
    recognizer->attachToView(self<UIView>());
}

void UIView::removeGestureRecognizer(const Ref<UIGestureRecognizer>& recognizer) {
    if (!recognizer) return;
    auto before = m_gestureRecognizers.size();
    std::erase(m_gestureRecognizers, recognizer);
    if (before != m_gestureRecognizers.size()) recognizer->attachToView(nullptr);
}

// ----- coordinates -----

CGPoint UIView::convertPointToView(CGPoint point, const Ref<UIView>& view) const {
    CGPoint r = toRoot(this, point);
    if (!view) {
        // Nothing means the window: the window's coordinates are the root's when the root is the window.
        auto w = window();
        return w ? fromRoot(w.get(), r) : r;
    }
    return fromRoot(view.get(), r);
}

CGPoint UIView::convertPointFromView(CGPoint point, const Ref<UIView>& view) const {
    CGPoint r = point;
    if (view) r = toRoot(view.get(), point);
    else if (auto w = window()) r = toRoot(w.get(), point);
    return fromRoot(this, r);
}

CGRect UIView::convertRectToView(CGRect rect, const Ref<UIView>& view) const {
    CGPoint pts[4] = {convertPointToView({rect.minX(), rect.minY()}, view),
                      convertPointToView({rect.maxX(), rect.minY()}, view),
                      convertPointToView({rect.maxX(), rect.maxY()}, view),
                      convertPointToView({rect.minX(), rect.maxY()}, view)};
    return boundingBox(pts);
}

CGRect UIView::convertRectFromView(CGRect rect, const Ref<UIView>& view) const {
    CGPoint pts[4] = {convertPointFromView({rect.minX(), rect.minY()}, view),
                      convertPointFromView({rect.maxX(), rect.minY()}, view),
                      convertPointFromView({rect.maxX(), rect.maxY()}, view),
                      convertPointFromView({rect.minX(), rect.maxY()}, view)};
    return boundingBox(pts);
}

CGAffineTransform UIView::transformToRoot() const {
    CGPoint o = toRoot(this, {0, 0}), x = toRoot(this, {1, 0}), y = toRoot(this, {0, 1});
    return {x.x - o.x, x.y - o.y, y.x - o.x, y.y - o.y, o.x, o.y};
}

// ----- responder chain -----

Ref<UIResponder> UIView::nextResponder() const {
    if (auto c = m_viewController.lock()) return c;
    return superview();
}

// ----- traits -----

Ref<UITraitCollection> UIView::traitCollection() const {
    long style = UITraitCollection::systemUserInterfaceStyle();
    for (const UIView* v = this; v; v = v->superview().get()) {
        if (v->m_overrideStyle != UIUserInterfaceStyleUnspecified) {
            style = v->m_overrideStyle;
            break;
        }
    }
    return UITraitCollection::traitCollectionWithStyleScale(style, UIScreen::mainScreen()->scale());
}

void UIView::setOverrideUserInterfaceStyle(long style) {
    if (style == m_overrideStyle) return;
    m_overrideStyle = style;
    propagateTraitChanges(self<UIView>());
}

void UIView::setSystemUserInterfaceStyle(long style) {
    UITraitCollection::setSystemStyleValue(style);
    std::erase_if(g_windows, [](const Weak<UIView>& w) { return w.expired(); });
    auto windows = g_windows;
    for (const auto& w : windows)
        if (auto win = w.lock()) propagateTraitChanges(win);
}

void UIView::propagateTraitChanges(const Ref<UIView>& root) {
    if (!root) return;
    long inherited = UITraitCollection::systemUserInterfaceStyle();
    if (auto s = root->superview()) inherited = s->traitCollection()->userInterfaceStyle();
    traitWalk(root, inherited);
}

void UIView::traitWalk(const Ref<UIView>& view, long inherited) {
    long style = view->m_overrideStyle != UIUserInterfaceStyleUnspecified ? view->m_overrideStyle : inherited;
    if (style != view->m_lastStyle) {
        CGFloat scale = UIScreen::mainScreen()->scale();
        auto previous = UITraitCollection::traitCollectionWithStyleScale(view->m_lastStyle, scale);
        view->m_lastStyle = style;
        UITraitCollection::CurrentScope scope(UITraitCollection::traitCollectionWithStyleScale(style, scale));
        SEL changed = sel("traitCollectionDidChange:");
        if (auto controller = view->viewController(); controller && controller->respondsToSelector(changed))
            platform::msgSend<void>(controller.get(), changed, previous);
        platform::msgSend<void>(view.get(), changed, previous);
    }
    auto children = view->m_subviews;
    for (const auto& s : children) traitWalk(s, style);
}

// ----- animation -----

namespace {
struct PendingCommit {
    id animationID;
    void* context = nullptr;
    double duration = 0.2;
    double delay = 0;
    long curve = 0;
    Weak<NSObject> delegate;
    SEL didStop = nullptr;
};
std::vector<PendingCommit> g_commits;
}  // namespace

void UIView::animateWithDurationAnimations(double duration, const std::function<void()>& block) {
    animateWithDurationDelayOptionsAnimationsCompletion(duration, 0, 0, block, nullptr);
}

void UIView::animateWithDurationAnimationsCompletion(double duration, const std::function<void()>& block,
                                                     std::function<void(bool)> completion) {
    animateWithDurationDelayOptionsAnimationsCompletion(duration, 0, 0, block, std::move(completion));
}

void UIView::animateWithDurationDelayOptionsAnimationsCompletion(double duration, double delay, unsigned long options,
                                                                 const std::function<void()>& block,
                                                                 std::function<void(bool)> completion) {
    // The curve lives in bits 16–19 of the options, as UIViewAnimationOptionCurve… encodes it.
    long curve = static_cast<long>((options >> 16) & 0xF);
    animations().beginCapture(duration, delay, curve, std::move(completion));
    try {
        if (block) block();
    } catch (...) {
        animations().endCapture();
        throw;
    }
    animations().endCapture();
}

void UIView::beginAnimationsContext(const id& animationID, void* context) {
    PendingCommit p;
    p.animationID = animationID;
    p.context = context;
    g_commits.push_back(p);
    animations().beginCapture(p.duration, 0, 0, nullptr);
}

void UIView::setAnimationDuration(double seconds) {
    if (g_commits.empty()) return;
    g_commits.back().duration = seconds;
    animations().updateOpenGroup(seconds, g_commits.back().delay, g_commits.back().curve);
}

void UIView::setAnimationDelay(double seconds) {
    if (g_commits.empty()) return;
    g_commits.back().delay = seconds;
    animations().updateOpenGroup(g_commits.back().duration, seconds, g_commits.back().curve);
}

void UIView::setAnimationCurve(long curve) {
    if (g_commits.empty()) return;
    g_commits.back().curve = curve;
    animations().updateOpenGroup(g_commits.back().duration, g_commits.back().delay, curve);
}

void UIView::setAnimationDelegate(const id& delegate) {
    if (!g_commits.empty()) g_commits.back().delegate = delegate;
}

void UIView::setAnimationDidStopSelector(SEL selector) {
    if (!g_commits.empty()) g_commits.back().didStop = selector;
}

void UIView::commitAnimations() {
    if (g_commits.empty()) return;
    PendingCommit p = g_commits.back();
    g_commits.pop_back();
    animations().setOpenGroupCompletion([p](bool finished) {
        auto delegate = p.delegate.lock();
        if (!delegate || !p.didStop) return;
        std::string_view name = platform::runtime::selectorName(p.didStop);
        if (name.find(':') == std::string_view::npos) platform::msgSend<void>(delegate.get(), p.didStop);
        else platform::msgSend<void>(delegate.get(), p.didStop, p.animationID, finished, p.context);
    });
    animations().endCapture();
}

void UIView::performWithoutAnimation(const std::function<void()>& actions) {
    bool was = g_animationsEnabled;
    g_animationsEnabled = false;
    try {
        if (actions) actions();
    } catch (...) {
        g_animationsEnabled = was;
        throw;
    }
    g_animationsEnabled = was;
}

bool UIView::areAnimationsEnabled() { return g_animationsEnabled; }
void UIView::setAnimationsEnabled(bool enabled) { g_animationsEnabled = enabled; }

CGFloat UIView::presentationAlpha() const {
    if (auto v = animations().presentation(m_layer.get(), "opacity"); v && v->size() == 1) return v->front();
    return m_alpha;
}

CGRect UIView::presentationFrame() const {
    CGPoint c = m_center;
    CGSize s = m_bounds.size;
    if (auto v = animations().presentation(m_layer.get(), "position"); v && v->size() == 2) c = {(*v)[0], (*v)[1]};
    if (auto v = animations().presentation(m_layer.get(), "bounds"); v && v->size() == 4) s = {(*v)[2], (*v)[3]};
    return {{c.x - s.width / 2, c.y - s.height / 2}, s};
}

CGAffineTransform UIView::presentationTransform() const {
    if (auto v = animations().presentation(m_layer.get(), "transform"); v && v->size() == 6)
        return {(*v)[0], (*v)[1], (*v)[2], (*v)[3], (*v)[4], (*v)[5]};
    return m_transform;
}

std::string UIView::description() const {
    std::ostringstream out;
    out << "<" << className() << " frame=" << frame();
    if (m_tag) out << " tag=" << m_tag;
    if (m_hidden) out << " hidden";
    out << ">";
    return out.str();
}
