#include "platform/layout/LayoutEngine.h"

#include "platform/layout/LayoutAttribute.h"
#include "platform/layout/LinearSolver.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace platform::layout {

namespace {

std::size_t g_lastDropped = 0;
std::size_t g_lastVariables = 0;

struct Node {
    LayoutItem* item = nullptr;
    long parent = -1;         // index of the parent's node
    bool involved = false;    // placed by constraints itself or named by a relation
    bool takesPart = false;   // involved or an ancestor of an involved item
    bool placed = false;      // gets its frame from the solution
    CGPoint origin;           // current origin in root coordinates
    LinearSolver::Var x = 0;  // then y = x + 1, width = x + 2, height = x + 3
};

using Terms = std::vector<LinearSolver::Term>;

// The attribute as a linear expression of the item's four variables.
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

// One solve: the items of the tree in depth-first order (parents before children), the relations that belong to
// the tree, and the system built from them.
class Pass {
public:
    explicit Pass(LayoutItem& root) { collectItems(root, -1, {0, 0}); }

    // Resets every relation's verdict and keeps those whose items are all in the tree; the items they name take
    // part. Answers false when nothing of the tree takes part, so there is nothing to solve.
    bool gatherRelations() {
        for (const Node& n : m_nodes) {
            for (std::size_t i = 0, count = n.item->layoutRelationCount(); i < count; ++i) {
                LayoutRelation& r = n.item->layoutRelation(i);
                r.setDroppedInLastLayout(false);
                LayoutItem* second = r.secondLayoutItem();
                if (second && !m_index.count(second)) continue;  // reaches outside this tree: not part of it
                m_relations.push_back(&r);
                if (second) m_nodes[m_index[second]].involved = true;
            }
        }
        return std::any_of(m_nodes.begin(), m_nodes.end(), [](const Node& n) { return n.involved; });
    }

    // The root and every ancestor of an involved item take part, so positions can add up from the root.
    void markParticipants() {
        m_nodes[0].takesPart = true;
        for (std::size_t i = m_nodes.size(); i-- > 1;) {
            if (m_nodes[i].involved) m_nodes[i].takesPart = true;
            if (m_nodes[i].takesPart) m_nodes[m_nodes[i].parent].takesPart = true;
        }
    }

    // Four variables per participant, each falling back to the item's current value.
    void addVariables() {
        for (Node& n : m_nodes) {
            if (!n.takesPart) continue;
            CGSize size = n.item->layoutSize();
            n.x = m_solver.addVariable(n.origin.x);
            m_solver.addVariable(n.origin.y);
            m_solver.addVariable(size.width);
            m_solver.addVariable(size.height);
        }
        g_lastVariables = m_solver.variableCount();
    }

    // Step 1: the root and the frame-set items are where their frames put them.
    void fixRootAndFrameSetItems() {
        const Node& r = m_nodes[0];
        CGSize size = r.item->layoutSize();
        m_solver.addEquation({{r.x, 1}}, 0);
        m_solver.addEquation({{r.x + 1, 1}}, 0);
        m_solver.addEquation({{r.x + 2, 1}}, -size.width);
        m_solver.addEquation({{r.x + 3, 1}}, -size.height);
        for (std::size_t i = 1; i < m_nodes.size(); ++i) {
            const Node& n = m_nodes[i];
            if (!n.takesPart || n.placed) continue;
            const Node& p = m_nodes[n.parent];
            CGRect f = n.item->layoutFrame();
            m_solver.addEquation({{n.x, 1}, {p.x, -1}}, -f.minX());
            m_solver.addEquation({{n.x + 1, 1}, {p.x + 1, -1}}, -f.minY());
            m_solver.addEquation({{n.x + 2, 1}}, -f.width());
            m_solver.addEquation({{n.x + 3, 1}}, -f.height());
        }
    }

    // Step 2: the relations, stronger first, then in the order they were activated; the later of two that
    // contradict each other is the one dropped.
    void addRelations() {
        std::stable_sort(m_relations.begin(), m_relations.end(), [](LayoutRelation* a, LayoutRelation* b) {
            if (a->priority() != b->priority()) return a->priority() > b->priority();
            return a->activationOrder() < b->activationOrder();
        });
        for (LayoutRelation* r : m_relations) {
            LayoutItem* first = r->firstLayoutItem();
            if (!first || !m_index.count(first)) continue;
            Terms terms;
            addAttribute(terms, m_nodes[m_index[first]], r->firstAttribute(), 1);
            if (LayoutItem* second = r->secondLayoutItem())
                addAttribute(terms, m_nodes[m_index[second]], r->secondAttribute(), -r->multiplier());
            if (m_solver.addEquation(terms, -r->constant()) == LinearSolver::Outcome::Conflicting) {
                r->setDroppedInLastLayout(true);
                ++g_lastDropped;
            }
        }
    }

    // Steps 3 and 4 for sizes: a placed item's own size where the relations left it open, then its current size.
    // The intrinsic size is asked only where it can still matter, as it may be costly to work out.
    void fillOpenSizes() {
        for (Node& n : m_nodes) {
            if (!n.placed) continue;
            if (m_solver.isDetermined(n.x + 2) && m_solver.isDetermined(n.x + 3)) continue;
            CGSize own = n.item->intrinsicLayoutSize();
            if (own.width >= 0) m_solver.addEquation({{n.x + 2, 1}}, -own.width);
            if (own.height >= 0) m_solver.addEquation({{n.x + 3, 1}}, -own.height);
        }
        for (Node& n : m_nodes) {
            if (!n.placed) continue;
            CGSize size = n.item->layoutSize();
            m_solver.addEquation({{n.x + 2, 1}}, -size.width);
            m_solver.addEquation({{n.x + 3, 1}}, -size.height);
        }
    }

    // Step 4 for positions: relative to the parent, so an unplaced item moves with its parent.
    void holdOpenPositions() {
        for (Node& n : m_nodes) {
            if (!n.placed) continue;
            const Node& p = m_nodes[n.parent];
            CGRect f = n.item->layoutFrame();
            m_solver.addEquation({{n.x, 1}, {p.x, -1}}, -f.minX());
            m_solver.addEquation({{n.x + 1, 1}, {p.x + 1, -1}}, -f.minY());
        }
    }

    // Solves and gives each placed item its frame relative to its parent. Answers the number that changed.
    std::size_t applySolution() {
        std::vector<double> v = m_solver.solve();
        std::size_t changed = 0;
        for (std::size_t i = 1; i < m_nodes.size(); ++i) {
            const Node& n = m_nodes[i];
            if (!n.placed) continue;
            const Node& p = m_nodes[n.parent];
            CGRect frame{{v[n.x] - v[p.x], v[n.x + 1] - v[p.x + 1]}, {v[n.x + 2], v[n.x + 3]}};
            if (n.item->applyLayoutFrame(frame)) ++changed;
        }
        return changed;
    }

private:
    void collectItems(LayoutItem& item, long parent, CGPoint parentOrigin) {
        Node n;
        n.item = &item;
        n.parent = parent;
        CGRect f = item.layoutFrame();
        n.origin = parent < 0 ? CGPoint{0, 0} : CGPoint{parentOrigin.x + f.minX(), parentOrigin.y + f.minY()};
        n.placed = parent >= 0 && item.isPlacedByConstraints();
        n.involved = n.placed || item.layoutRelationCount() > 0;
        std::size_t me = m_nodes.size();
        m_index[&item] = me;
        m_nodes.push_back(n);
        CGPoint origin = m_nodes[me].origin;
        for (std::size_t i = 0, count = item.layoutChildCount(); i < count; ++i)
            collectItems(item.layoutChild(i), static_cast<long>(me), origin);
    }

    std::vector<Node> m_nodes;
    std::unordered_map<const LayoutItem*, std::size_t> m_index;
    std::vector<LayoutRelation*> m_relations;
    LinearSolver m_solver;
};

}  // namespace

std::size_t LayoutEngine::lastDroppedCount() { return g_lastDropped; }
std::size_t LayoutEngine::lastVariableCount() { return g_lastVariables; }

std::size_t LayoutEngine::solveAndApply(LayoutItem& root) {
    g_lastDropped = 0;
    g_lastVariables = 0;
    Pass pass(root);
    if (!pass.gatherRelations()) return 0;
    pass.markParticipants();
    pass.addVariables();
    pass.fixRootAndFrameSetItems();
    pass.addRelations();
    pass.fillOpenSizes();
    pass.holdOpenPositions();
    return pass.applySolution();
}

}  // namespace platform::layout
