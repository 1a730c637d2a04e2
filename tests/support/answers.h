#pragma once
// The operators a test places to answer a problem the drill shows.
#include "drill/equation.h"

#include <utility>

// A pair of operators that makes the equation hold (right), or one that does
// not; {None, None} when there is none.
inline std::pair<Op, Op> operatorsFor(const EquationProblem& p, bool right = true)
{
    for (Op a : {Op::Plus, Op::Minus, Op::Times, Op::Divide})
        for (Op b : {Op::Plus, Op::Minus, Op::Times, Op::Divide}) {
            const auto v = evaluate(p.n1, a, p.n2, b, p.n3);
            if (bool(v && *v == Rational(p.r)) == right) return {a, b};
        }
    return {Op::None, Op::None};
}
