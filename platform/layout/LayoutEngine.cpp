#include "platform/layout/LayoutEngine.h"

#include "platform/core/Runtime.h"
#include "platform/layout/LinearSolver.h"
#include "platform/layout/NSLayoutConstraint.h"
#include "platform/layout/UIStackView.h"
#include "platform/ui/UIView.h"

#include <algorithm>
#include <unordered_map>

namespace platform::layout {

namespace {

std::size_t g_lastDropped = 0;
std::size_t g_lastVariables = 0;

struct Node {
    UIView* view = nullptr;
    long parent = -1;         // index of the superview's node
    bool involved = false;    // constrained itself or named by a constraint
    bool takesPart = false;   // involved or an ancestor of an involved view
    bool constrained = false; // gets its frame from the solution
    CGPoint origin;           // current origin in root coordinates
    LinearSolver::Var x = 0;  // then y = x + 1, width = x + 2, height = x + 3
};

using Terms = std::vector<LinearSolver::Term>;

// The attribute as a linear expression of the view's four variables.
void addAttribute(Terms& terms, const Node& n, long attribute, double scale) {
    LinearSolver::Var x = n.x, y = n.x + 1, w = n.x + 2, h = n.x + 3;
    switch (attribute) {
    case NSLayoutAttributeLeft:
    case NSLayoutAttributeLeading:
        terms.push_back({x, scale});
        break;
    case NSLayoutAttributeRight:
    case NSLayoutAttributeTrailing:
        terms.push_back({x, scale});
        terms.push_back({w, scale});
        break;
    case NSLayoutAttributeCenterX:
        terms.push_back({x, scale});
        terms.push_back({w, scale * 0.5});
        break;
    case NSLayoutAttributeTop:
        terms.push_back({y, scale});
        break;
    case NSLayoutAttributeBottom:
        terms.push_back({y, scale});
        terms.push_back({h, scale});
        break;
    case NSLayoutAttributeCenterY:
        terms.push_back({y, scale});
        terms.push_back({h, scale * 0.5});
        break;
    case NSLayoutAttributeWidth:
        terms.push_back({w, scale});
        break;
    case NSLayoutAttributeHeight:
        terms.push_back({h, scale});
        break;
    default:
        break;
    }
}

bool isArrangedInStack(const UIView* view) {
    auto parent = view->superview();
    auto stack = parent ? cast<UIStackView>(parent) : nullptr;
    if (!stack) return false;
    const auto& arranged = stack->arrangedSubviews();
    return std::any_of(arranged.begin(), arranged.end(), [&](const Ref<UIView>& v) { return v.get() == view; });
}

void collect(UIView* view, long parent, CGPoint parentOrigin, std::vector<Node>& nodes,
             std::unordered_map<const UIView*, std::size_t>& index) {
    Node n;
    n.view = view;
    n.parent = parent;
    CGRect f = view->frame();
    n.origin = parent < 0 ? CGPoint{0, 0} : CGPoint{parentOrigin.x + f.minX(), parentOrigin.y + f.minY()};
    // A stack view places its arranged views itself, so they count as frame-set here.
    n.constrained = parent >= 0 && !view->translatesAutoresizingMaskIntoConstraints() && !isArrangedInStack(view);
    n.involved = n.constrained || !view->constraints().empty();
    std::size_t me = nodes.size();
    index[view] = me;
    nodes.push_back(n);
    CGPoint origin = nodes[me].origin;
    for (const auto& s : view->subviews()) collect(s.get(), static_cast<long>(me), origin, nodes, index);
}

}  // namespace

std::size_t LayoutEngine::lastDroppedCount() { return g_lastDropped; }
std::size_t LayoutEngine::lastVariableCount() { return g_lastVariables; }

std::size_t LayoutEngine::solveAndApply(const Ref<UIView>& root) {
    g_lastDropped = 0;
    g_lastVariables = 0;
    if (!root) return 0;

    std::vector<Node> nodes;
    std::unordered_map<const UIView*, std::size_t> index;
    collect(root.get(), -1, {0, 0}, nodes, index);

    // The constraints of the tree, and the views they name.
    std::vector<NSLayoutConstraint*> constraints;
    for (const Node& n : nodes) {
        for (const auto& c : n.view->constraints()) {
            c->setDroppedInLastLayout(false);
            auto second = c->secondItem();
            if (second && !index.count(second.get())) continue;  // reaches outside this tree: not part of it
            constraints.push_back(c.get());
            if (second) nodes[index[second.get()]].involved = true;
        }
    }
    bool any = std::any_of(nodes.begin(), nodes.end(), [](const Node& n) { return n.involved; });
    if (!any) return 0;
    nodes[0].takesPart = true;
    for (std::size_t i = nodes.size(); i-- > 1;) {
        if (nodes[i].involved) nodes[i].takesPart = true;
        if (nodes[i].takesPart) nodes[nodes[i].parent].takesPart = true;
    }

    LinearSolver solver;
    for (Node& n : nodes) {
        if (!n.takesPart) continue;
        CGSize size = n.view->bounds().size;
        n.x = solver.addVariable(n.origin.x);
        solver.addVariable(n.origin.y);
        solver.addVariable(size.width);
        solver.addVariable(size.height);
    }
    g_lastVariables = solver.variableCount();

    // 1. The root and the frame-set views are where their frames put them.
    {
        const Node& r = nodes[0];
        CGSize size = root->bounds().size;
        solver.addEquation({{r.x, 1}}, 0);
        solver.addEquation({{r.x + 1, 1}}, 0);
        solver.addEquation({{r.x + 2, 1}}, -size.width);
        solver.addEquation({{r.x + 3, 1}}, -size.height);
    }
    for (std::size_t i = 1; i < nodes.size(); ++i) {
        const Node& n = nodes[i];
        if (!n.takesPart || n.constrained) continue;
        const Node& p = nodes[n.parent];
        CGRect f = n.view->frame();
        solver.addEquation({{n.x, 1}, {p.x, -1}}, -f.minX());
        solver.addEquation({{n.x + 1, 1}, {p.x + 1, -1}}, -f.minY());
        solver.addEquation({{n.x + 2, 1}}, -f.width());
        solver.addEquation({{n.x + 3, 1}}, -f.height());
    }

    // 2. The constraints: stronger first, then in the order they were activated; the later of two that contradict
    //    each other is the one dropped.
    std::stable_sort(constraints.begin(), constraints.end(), [](NSLayoutConstraint* a, NSLayoutConstraint* b) {
        if (a->priority() != b->priority()) return a->priority() > b->priority();
        return a->activationOrder() < b->activationOrder();
    });
    for (NSLayoutConstraint* c : constraints) {
        auto first = c->firstItem();
        if (!first) continue;
        Terms terms;
        addAttribute(terms, nodes[index[first.get()]], c->firstAttribute(), 1);
        if (auto second = c->secondItem())
            addAttribute(terms, nodes[index[second.get()]], c->secondAttribute(), -c->multiplier());
        if (solver.addEquation(terms, -c->constant()) == LinearSolver::Outcome::Conflicting) {
            c->setDroppedInLastLayout(true);
            ++g_lastDropped;
        }
    }

    // 3. Own sizes, 4. current values, for what the constraints left open.
    for (Node& n : nodes) {
        if (!n.constrained) continue;
        if (solver.isDetermined(n.x + 2) && solver.isDetermined(n.x + 3)) continue;
        CGSize own = platform::msgSend<CGSize>(n.view, sel("intrinsicContentSize"));
        if (own.width >= 0) solver.addEquation({{n.x + 2, 1}}, -own.width);
        if (own.height >= 0) solver.addEquation({{n.x + 3, 1}}, -own.height);
    }
    for (Node& n : nodes) {
        if (!n.constrained) continue;
        CGSize size = n.view->bounds().size;
        solver.addEquation({{n.x + 2, 1}}, -size.width);
        solver.addEquation({{n.x + 3, 1}}, -size.height);
    }
    for (Node& n : nodes) {
        if (!n.constrained) continue;
        // Relative to the superview, so an unplaced view moves with its parent.
        const Node& p = nodes[n.parent];
        CGRect f = n.view->frame();
        solver.addEquation({{n.x, 1}, {p.x, -1}}, -f.minX());
        solver.addEquation({{n.x + 1, 1}, {p.x + 1, -1}}, -f.minY());
    }

    std::vector<double> v = solver.solve();
    std::size_t changed = 0;
    for (std::size_t i = 1; i < nodes.size(); ++i) {
        const Node& n = nodes[i];
        if (!n.constrained) continue;
        const Node& p = nodes[n.parent];
        CGRect frame{{v[n.x] - v[p.x], v[n.x + 1] - v[p.x + 1]}, {v[n.x + 2], v[n.x + 3]}};
        UIView* view = n.view;
        if (view->transform().isIdentity()) {
            if (view->frame() == frame) continue;
            platform::msgSend<void>(view, sel("setFrame:"), frame);
        } else {
            // Under a transform the frame is a bounding box; the solution is the untransformed placement.
            CGPoint c{frame.midX(), frame.midY()};
            if (view->center() == c && view->bounds().size == frame.size) continue;
            view->setCenter(c);
            view->setBounds({view->bounds().origin, frame.size});
        }
        ++changed;
    }
    return changed;
}

}  // namespace platform::layout
