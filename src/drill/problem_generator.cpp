#include "drill/problem_generator.h"

#include "drill/equation.h"

#include <cmath>

namespace {
struct KindOps {
    Op op1, op2;
};
constexpr KindOps kKinds[17] = {
    {Op::None, Op::None},     {Op::Plus, Op::Plus},   {Op::Plus, Op::Minus},   {Op::Minus, Op::Plus},
    {Op::Minus, Op::Minus},   {Op::Times, Op::Times}, {Op::Times, Op::Divide}, {Op::Divide, Op::Times},
    {Op::Divide, Op::Divide}, {Op::Times, Op::Plus},  {Op::Times, Op::Minus},  {Op::Divide, Op::Plus},
    {Op::Divide, Op::Minus},  {Op::Plus, Op::Times},  {Op::Plus, Op::Divide},  {Op::Minus, Op::Times},
    {Op::Minus, Op::Divide},
};

using Uniform = std::function<float()>;
int operand(const Uniform& random)
{
    return int(std::floor(kOperandMin + (kOperandMax - kOperandMin + 1.0) * double(random())));
}
bool whole(const Rational& v) { return v.isWhole(); }
bool nonNegative(const Rational& v) { return !(v < Rational(0)); }

// One accepted problem of the kind, by its own redraw rule.
EquationProblem buildOnce(int kind, const Uniform& random)
{
    const KindOps ops = kKinds[kind];
    EquationProblem p;
    p.kind = kind;
    auto result = [&] { return *evaluate(p.n1, ops.op1, p.n2, ops.op2, p.n3); };
    auto drawAll = [&] {
        p.n1 = operand(random);
        p.n2 = operand(random);
        p.n3 = operand(random);
    };
    auto quotientWhole = [](int a, int b) { return a % b == 0; };
    Rational r;
    // Redraws the pair (a, b) until a ÷ b is whole.
    auto drawWholeQuotient = [&](int& a, int& b) {
        do {
            a = operand(random);
            b = operand(random);
        } while (!quotientWhole(a, b));
    };
    switch (kind) {
    case 7: // N3 is drawn only after N1 ÷ N2 passes
        drawWholeQuotient(p.n1, p.n2);
        p.n3 = operand(random);
        r = result();
        break;
    case 8:
        do {
            drawWholeQuotient(p.n1, p.n2);
            p.n3 = operand(random);
            r = result();
        } while (!whole(r));
        break;
    case 14: // N1 once; only N2 and N3 are redrawn
        p.n1 = operand(random);
        drawWholeQuotient(p.n2, p.n3);
        r = result();
        break;
    case 16: // a fresh N1 only when the result would be negative
        do {
            p.n1 = operand(random);
            drawWholeQuotient(p.n2, p.n3);
            r = result();
        } while (!nonNegative(r));
        break;
    default:
        for (;;) {
            drawAll();
            r = result();
            bool ok = true;
            switch (kind) {
            case 2:
            case 10:
            case 15: ok = nonNegative(r); break;
            case 3:
            case 4: ok = p.n1 >= p.n2 && nonNegative(r); break;
            case 5: ok = !(Rational(100) < r); break;
            case 6:
            case 11: ok = whole(r); break;
            case 12: ok = whole(r) && nonNegative(r); break;
            default: break; // 1, 9, 13: always
            }
            if (ok) break;
        }
        break;
    }
    p.r = int(r.num());
    return p;
}
} // namespace

int chooseKind(int level, float u)
{
    const double x = double(u);
    switch (level) {
    case 1: return int(std::floor(4 * x + 1));
    case 2: return int(std::floor(4 * x + 5));
    case 3: return int(std::floor(8 * x + 9));
    default: return int(std::floor(16 * x + 1)); // level 4, mixed
    }
}

EquationProblem buildProblem(int kind, RandomSource& random)
{
    return buildProblem(kind, [&random] { return random.uniform(); });
}

EquationProblem buildProblem(int kind, const std::function<float()>& random)
{
    Q_ASSERT(kind >= 1 && kind <= 16);
    for (;;) {
        const EquationProblem p = buildOnce(kind, random);
        // a □ b □ b ＝ a gives itself away: throw it away whatever its kind.
        if (!(p.r == p.n1 && p.n3 == p.n2)) return p;
    }
}

EquationProblem generateProblem(int level, RandomSource& random)
{
    return buildProblem(chooseKind(level, random.uniform()), random);
}
