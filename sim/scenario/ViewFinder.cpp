#include "sim/scenario/ViewFinder.h"

#include "platform/core/Runtime.h"
#include "platform/gfx/UIColor.h"
#include "platform/gfx/UIImage.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UITextField.h"
#include "platform/ui/UIView.h"

#include <algorithm>
#include <set>

namespace sim::scenario {

namespace {

constexpr CGFloat kInvisibleAlpha = 0.01;

void collect(const Ref<UIView>& view, const Ref<UIView>& window, CGRect clip, std::vector<VisibleView>& out) {
    if (view->isHidden() || view->alpha() < kInvisibleAlpha) return;
    CGRect inWindow = view.get() == window.get() ? view->bounds() : view->convertRectToView(view->bounds(), window);
    CGRect shown = inWindow.intersection(clip);
    if (!shown.isEmpty()) out.push_back({view, shown});
    // A view that clips hides what its subviews draw outside it; one that does not leaves them to their own frames.
    CGRect inner = view->clipsToBounds() ? shown : clip;
    if (inner.isEmpty()) return;
    for (const auto& sub : view->subviewsInDrawingOrder()) collect(sub, window, inner, out);
}

// Whether a view hides what was drawn before it: a background that is mostly opaque, or a blur.
bool hidesWhatIsBelow(const Ref<UIView>& view, Class effectClass) {
    if (effectClass && view->isKindOfClass(effectClass)) return true;
    const auto& colour = view->backgroundColor();
    return colour && colour->alphaComponent() * view->alpha() >= 0.5;
}

// Views are listed in painting order, so what covers a view comes after it: a view drawn later over its centre that
// is not inside it (its own subviews are part of what it shows).
std::vector<VisibleView> uncoveredOnly(const std::vector<VisibleView>& painted) {
    Class effectClass = objc_getClass("UIVisualEffectView");
    std::vector<std::size_t> covers;
    for (std::size_t i = 0; i < painted.size(); ++i)
        if (hidesWhatIsBelow(painted[i].view, effectClass)) covers.push_back(i);
    std::vector<VisibleView> out;
    for (std::size_t i = 0; i < painted.size(); ++i) {
        const CGPoint centre = painted[i].centre();
        bool covered = false;
        for (auto it = std::upper_bound(covers.begin(), covers.end(), i); it != covers.end() && !covered; ++it) {
            const VisibleView& above = painted[*it];
            covered = above.rect.contains(centre) && !above.view->isDescendantOfView(painted[i].view);
        }
        if (!covered) out.push_back(painted[i]);
    }
    return out;
}

}  // namespace

std::vector<VisibleView> visibleViews(const Ref<UIView>& window) {
    std::vector<VisibleView> out;
    if (!window) return out;
    window->layoutIfNeeded();
    collect(window, window, window->bounds(), out);
    return uncoveredOnly(out);
}

std::optional<std::string> shownText(const Ref<UIView>& view) {
    if (auto label = cast<UILabel>(view)) {
        if (!label->text().empty()) return label->text();
    } else if (auto field = cast<UITextField>(view)) {
        if (!field->text().empty()) return field->text();
    }
    return std::nullopt;
}

std::optional<std::string> shownSymbol(const Ref<UIView>& view) {
    auto imageView = cast<UIImageView>(view);
    if (!imageView || !imageView->image()) return std::nullopt;
    const std::string& source = imageView->image()->source();
    constexpr std::string_view kPrefix = "symbol:";
    if (!source.starts_with(kPrefix)) return std::nullopt;
    return source.substr(kPrefix.size());
}

std::optional<std::string> shownImageFile(const Ref<UIView>& view) {
    auto imageView = cast<UIImageView>(view);
    if (!imageView || !imageView->image()) return std::nullopt;
    const std::string& source = imageView->image()->source();
    if (!source.starts_with("/")) return std::nullopt;  // symbols, data and pixels made in memory have no file
    return source.substr(source.rfind('/') + 1);
}

std::vector<std::string> visibleTexts(const Ref<UIView>& window) {
    std::vector<std::string> texts;
    std::set<std::string> seen;
    for (const auto& v : visibleViews(window))
        if (auto t = shownText(v.view); t && seen.insert(*t).second) texts.push_back(*t);
    return texts;
}

std::optional<VisibleView> findTarget(const Ref<UIView>& window, std::string_view target) {
    auto views = visibleViews(window);
    for (auto it = views.rbegin(); it != views.rend(); ++it) {
        if (auto t = shownText(it->view); t && *t == target) return *it;
        if (auto s = shownSymbol(it->view); s && *s == target) return *it;
        if (auto f = shownImageFile(it->view); f && *f == target) return *it;
    }
    return std::nullopt;
}

std::optional<VisibleView> findFrontmostOfClass(const Ref<UIView>& window, std::string_view className) {
    Class cls = objc_getClass(std::string(className).c_str());
    if (!cls) return std::nullopt;
    auto views = visibleViews(window);
    for (auto it = views.rbegin(); it != views.rend(); ++it)
        if (it->view->isKindOfClass(cls)) return *it;
    return std::nullopt;
}

std::optional<VisibleView> findControlFor(const Ref<UIView>& window, std::string_view target,
                                          std::string_view className) {
    Class cls = objc_getClass(std::string(className).c_str());
    if (!cls || !window) return std::nullopt;
    auto anchor = target == "bar" ? findFrontmostOfClass(window, "UINavigationBar") : findTarget(window, target);
    if (!anchor) return std::nullopt;
    if (anchor->view->isKindOfClass(cls)) return anchor;
    auto views = visibleViews(window);
    Class scrolling = objc_getClass("UIScrollView");
    for (Ref<UIView> around = anchor->view; around && !around->isWindow(); around = around->superview()) {
        // A label inside the control (a text view's text) names the control itself.
        if (around->isKindOfClass(cls))
            for (const auto& v : views)
                if (v.view == around) return v;
        // A row's controls are searched inside the row, never across the list that holds it.
        if (around != anchor->view && scrolling && around->isKindOfClass(scrolling)) break;
        for (auto it = views.rbegin(); it != views.rend(); ++it)
            if (it->view->isKindOfClass(cls) && it->view->isDescendantOfView(around)) return *it;
    }
    return std::nullopt;
}

}  // namespace sim::scenario
