#include "platform/layout/LinearSolver.h"

#include <gtest/gtest.h>

using platform::layout::LinearSolver;
using Outcome = LinearSolver::Outcome;

namespace {

TEST(LinearSolver, ChainsOfEqualitiesResolveWhateverTheOrder) {
    // a = 10, c = b + 5, b = a * 2  (added out of order, so substitution has to reach rows taken earlier)
    LinearSolver s;
    auto a = s.addVariable(), b = s.addVariable(), c = s.addVariable();
    EXPECT_EQ(s.addEquation({{c, 1}, {b, -1}}, -5), Outcome::Taken);
    EXPECT_FALSE(s.isDetermined(c));
    EXPECT_EQ(s.addEquation({{b, 1}, {a, -2}}, 0), Outcome::Taken);
    EXPECT_EQ(s.addEquation({{a, 1}}, -10), Outcome::Taken);
    EXPECT_TRUE(s.isDetermined(c));
    auto v = s.solve();
    EXPECT_DOUBLE_EQ(v[a], 10);
    EXPECT_DOUBLE_EQ(v[b], 20);
    EXPECT_DOUBLE_EQ(v[c], 25);
}

TEST(LinearSolver, RedundantAndContradictoryEquationsAreToldApart) {
    LinearSolver s;
    auto x = s.addVariable(), w = s.addVariable();
    ASSERT_EQ(s.addEquation({{x, 1}}, -5), Outcome::Taken);          // x = 5
    ASSERT_EQ(s.addEquation({{x, 1}, {w, 1}}, -105), Outcome::Taken);  // x + w = 105
    // centre = x + w/2 = 55 follows from the two: redundant, not a conflict
    EXPECT_EQ(s.addEquation({{x, 1}, {w, 0.5}}, -55), Outcome::Redundant);
    // w = 90 contradicts: dropped, the earlier values stand
    EXPECT_EQ(s.addEquation({{w, 1}}, -90), Outcome::Conflicting);
    auto v = s.solve();
    EXPECT_DOUBLE_EQ(v[x], 5);
    EXPECT_DOUBLE_EQ(v[w], 100);
}

TEST(LinearSolver, FreeVariablesTakeTheirFallbackAndCarryIt) {
    LinearSolver s;
    auto x = s.addVariable(7), y = s.addVariable(3);
    s.addEquation({{y, 1}, {x, -1}}, -2);  // y = x + 2, x free
    auto v = s.solve();
    // Either variable may have become the basic one; the free one keeps its fallback and the other follows.
    EXPECT_DOUBLE_EQ(v[y] - v[x], 2);
    EXPECT_TRUE(v[x] == 7 || v[y] == 3);
    EXPECT_FALSE(s.isDetermined(x));
}

TEST(LinearSolver, ManyVariablesStayExact) {
    // 400 views in a column, each 10 below the previous: a long chain through substitution.
    LinearSolver s;
    std::vector<LinearSolver::Var> ys;
    for (int i = 0; i < 400; ++i) ys.push_back(s.addVariable());
    for (int i = 399; i > 0; --i) s.addEquation({{ys[i], 1}, {ys[i - 1], -1}}, -10);
    s.addEquation({{ys[0], 1}}, -1);
    auto v = s.solve();
    for (int i = 0; i < 400; ++i) ASSERT_NEAR(v[ys[i]], 1 + 10.0 * i, 1e-9) << i;
}

}  // namespace
