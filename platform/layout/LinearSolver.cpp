#include "platform/layout/LinearSolver.h"

#include <cmath>

namespace platform::layout {

namespace {
constexpr double kCoefficientEpsilon = 1e-9;
constexpr double kConstantEpsilon = 1e-6;
}  // namespace

LinearSolver::Var LinearSolver::addVariable(double fallback) {
    m_fallback.push_back(fallback);
    m_rowOf.push_back(-1);
    m_uses.emplace_back();
    return m_fallback.size() - 1;
}

void LinearSolver::clear() {
    m_fallback.clear();
    m_rowOf.clear();
    m_rows.clear();
    m_uses.clear();
}

void LinearSolver::addScaled(std::vector<Term>& into, const std::vector<Term>& from, double scale) {
    for (const Term& t : from) {
        bool merged = false;
        for (Term& u : into) {
            if (u.var == t.var) {
                u.coefficient += scale * t.coefficient;
                merged = true;
                break;
            }
        }
        if (!merged) into.push_back({t.var, scale * t.coefficient});
    }
    std::erase_if(into, [](const Term& t) { return std::fabs(t.coefficient) < kCoefficientEpsilon; });
}

LinearSolver::Outcome LinearSolver::addEquation(const std::vector<Term>& terms, double constant) {
    // Reduce the equation to free variables only.
    std::vector<Term> expr;
    double k = constant;
    for (const Term& t : terms) {
        long row = m_rowOf[t.var];
        if (row < 0) {
            addScaled(expr, {t}, 1);
        } else {
            k += t.coefficient * m_rows[row].constant;
            addScaled(expr, m_rows[row].terms, t.coefficient);
        }
    }
    if (expr.empty()) return std::fabs(k) < kConstantEpsilon ? Outcome::Redundant : Outcome::Conflicting;

    // The pivot with the largest coefficient keeps the elimination stable.
    std::size_t pivotIndex = 0;
    for (std::size_t i = 1; i < expr.size(); ++i)
        if (std::fabs(expr[i].coefficient) > std::fabs(expr[pivotIndex].coefficient)) pivotIndex = i;
    Var pivot = expr[pivotIndex].var;
    double c = expr[pivotIndex].coefficient;

    Row row;
    row.basic = pivot;
    row.constant = -k / c;
    for (std::size_t i = 0; i < expr.size(); ++i)
        if (i != pivotIndex) row.terms.push_back({expr[i].var, -expr[i].coefficient / c});

    // Substitute the pivot in every row that mentions it, so that rows stay in terms of free variables.
    for (std::size_t r : m_uses[pivot]) {
        Row& other = m_rows[r];
        double a = 0;
        for (const Term& t : other.terms)
            if (t.var == pivot) a = t.coefficient;
        if (a == 0) continue;
        std::erase_if(other.terms, [&](const Term& t) { return t.var == pivot; });
        other.constant += a * row.constant;
        addScaled(other.terms, row.terms, a);
        for (const Term& t : row.terms) m_uses[t.var].push_back(r);
    }
    m_uses[pivot].clear();

    std::size_t index = m_rows.size();
    for (const Term& t : row.terms) m_uses[t.var].push_back(index);
    m_rowOf[pivot] = static_cast<long>(index);
    m_rows.push_back(std::move(row));
    return Outcome::Taken;
}

bool LinearSolver::isDetermined(Var v) const {
    long row = m_rowOf[v];
    return row >= 0 && m_rows[row].terms.empty();
}

std::vector<double> LinearSolver::solve() const {
    std::vector<double> values = m_fallback;
    for (const Row& row : m_rows) {
        double v = row.constant;
        for (const Term& t : row.terms) v += t.coefficient * m_fallback[t.var];
        values[row.basic] = v;
    }
    return values;
}

}  // namespace platform::layout
