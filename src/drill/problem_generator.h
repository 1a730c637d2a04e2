#pragma once
#include "base/random_source.h"

#include <functional>

// One equation N1 □ N2 □ N3 ＝ R and the kind (operator pair 1–16) it was built from.
struct EquationProblem {
    int n1 = 0, n2 = 0, n3 = 0, r = 0;
    int kind = 0;
};

// Every operand lies in kOperandMin..kOperandMax; every R in 0..kLargestResult
// (10 × 10 ＋ 10 and 10 ＋ 10 × 10; a product of three stays at most 100).
inline constexpr int kOperandMin = 2, kOperandMax = 10;
inline constexpr int kLargestResult = 110;

// The kind for a level (1–4) from one uniform value. Any other level mixes
// all sixteen kinds, as level 4 does.
int chooseKind(int level, float u);
// Builds a problem of the given kind by rejection sampling, look-alikes
// (R = N1 and N3 = N2) thrown away.
EquationProblem buildProblem(int kind, RandomSource& random);
// The same from any source of uniform values in [0, 1) (tests script it).
EquationProblem buildProblem(int kind, const std::function<float()>& uniform);
// Chooses the kind for the level, then builds the problem.
EquationProblem generateProblem(int level, RandomSource& random);
