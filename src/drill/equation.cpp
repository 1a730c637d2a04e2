#include "drill/equation.h"

#include <numeric>

QString opText(Op op)
{
    switch (op) {
    case Op::Plus: return QStringLiteral("＋");
    case Op::Minus: return QStringLiteral("－");
    case Op::Times: return QStringLiteral("×");
    case Op::Divide: return QStringLiteral("÷");
    case Op::None: break;
    }
    return {};
}

Op opFromText(const QString& text)
{
    for (Op op : {Op::Plus, Op::Minus, Op::Times, Op::Divide})
        if (text == opText(op)) return op;
    return Op::None;
}

namespace {
qint64 floorDiv(qint64 a, qint64 b)
{
    qint64 q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}
bool isHigh(Op op) { return op == Op::Times || op == Op::Divide; }
} // namespace

Rational::Rational(qint64 num, qint64 den)
{
    Q_ASSERT(den != 0);
    if (den < 0) {
        num = -num;
        den = -den;
    }
    const qint64 g = std::gcd(num, den);
    num_ = g > 1 ? num / g : num;
    den_ = g > 1 ? den / g : den;
}

Rational Rational::operator+(const Rational& o) const { return {num_ * o.den_ + o.num_ * den_, den_ * o.den_}; }
Rational Rational::operator-(const Rational& o) const { return {num_ * o.den_ - o.num_ * den_, den_ * o.den_}; }
Rational Rational::operator*(const Rational& o) const { return {num_ * o.num_, den_ * o.den_}; }
Rational Rational::operator/(const Rational& o) const { return {num_ * o.den_, den_ * o.num_}; }
bool Rational::operator<(const Rational& o) const { return num_ * o.den_ < o.num_ * den_; }

QString Rational::hundredthsText() const
{
    const qint64 h = floorDiv(num_ * 100, den_);
    const qint64 a = h < 0 ? -h : h;
    QString s = QString::number(a / 100);
    const qint64 cents = a % 100;
    if (cents != 0) {
        s += u'.';
        s += QString::number(cents / 10);
        if (cents % 10 != 0) s += QString::number(cents % 10);
    }
    return h < 0 ? u'-' + s : s;
}

namespace {
std::optional<Rational> apply(const Rational& a, Op op, const Rational& b)
{
    switch (op) {
    case Op::Plus: return a + b;
    case Op::Minus: return a - b;
    case Op::Times: return a * b;
    case Op::Divide:
        if (b.num() == 0) return std::nullopt;
        return a / b;
    case Op::None: break;
    }
    return std::nullopt;
}
} // namespace

std::optional<Rational> evaluate(qint64 n1, Op op1, qint64 n2, Op op2, qint64 n3)
{
    if (op1 == Op::None || op2 == Op::None) return std::nullopt;
    if (!isHigh(op1) && isHigh(op2)) {
        const auto right = apply(n2, op2, n3);
        if (!right) return std::nullopt;
        return apply(n1, op1, *right);
    }
    const auto left = apply(n1, op1, n2);
    if (!left) return std::nullopt;
    return apply(*left, op2, n3);
}
