#pragma once

// A small solver for systems of linear equalities with priorities, in the spirit of Cassowary restricted to
// equalities (which is all the system's layouts use).
//
// Equations are added one at a time; each is reduced against the equations already taken (Gauss-Jordan
// elimination on sparse rows). One that reduces to 0 = 0 is redundant and kept out; one that reduces to 0 = c
// with c ≠ 0 contradicts what was taken and is dropped (the caller decides the order, so the rule "the earlier
// wins" is the caller's). Variables no equation determines keep the default value given when they were made, as
// if a weakest "stay" equation held them; `solve` substitutes those defaults into the taken equations.

#include <cstddef>
#include <utility>
#include <vector>

namespace platform::layout {

class LinearSolver {
public:
    using Var = std::size_t;
    struct Term {
        Var var;
        double coefficient;
    };

    // A new variable; `fallback` is its value when nothing determines it.
    Var addVariable(double fallback = 0);
    std::size_t variableCount() const { return m_fallback.size(); }
    void setFallback(Var v, double fallback) { m_fallback[v] = fallback; }

    enum class Outcome { Taken, Redundant, Conflicting };
    // Adds  Σ coefficient × var + constant = 0.
    Outcome addEquation(const std::vector<Term>& terms, double constant);
    // True when `v` is fixed by the equations taken so far (no free variable in its expression).
    bool isDetermined(Var v) const;

    // The values of all variables.
    std::vector<double> solve() const;

    void clear();

private:
    // A row expresses its basic variable:  basic = constant + Σ terms (free variables only).
    struct Row {
        Var basic;
        double constant = 0;
        std::vector<Term> terms;
    };
    static void addScaled(std::vector<Term>& into, const std::vector<Term>& from, double scale);

    std::vector<double> m_fallback;
    std::vector<long> m_rowOf;  // row index of a basic variable, −1 for free ones
    std::vector<Row> m_rows;
    // For each free variable, the rows whose expression mentions it (may hold stale entries; checked on use).
    std::vector<std::vector<std::size_t>> m_uses;
};

}  // namespace platform::layout
