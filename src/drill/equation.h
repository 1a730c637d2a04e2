#pragma once
#include <QString>
#include <QtGlobal>
#include <optional>

// The four operators; None is an empty blank.
enum class Op { None, Plus, Minus, Times, Divide };

// The operator's full-width character ("＋", "－", "×", "÷"; "" for None) and back.
QString opText(Op op);
Op opFromText(const QString& text);

// An exact fraction with a positive denominator, always in lowest terms.
class Rational {
public:
    constexpr Rational(qint64 n = 0) : num_(n), den_(1) {}
    Rational(qint64 num, qint64 den);
    qint64 num() const { return num_; }
    qint64 den() const { return den_; }
    bool isWhole() const { return den_ == 1; }
    Rational operator+(const Rational& o) const;
    Rational operator-(const Rational& o) const;
    Rational operator*(const Rational& o) const;
    Rational operator/(const Rational& o) const; // o must not be 0
    bool operator==(const Rational& o) const = default;
    bool operator<(const Rational& o) const;
    // floor(100 × value) ÷ 100 as a plain decimal: "12", "3.33", "-2.5", "-4.34".
    QString hundredthsText() const;

private:
    qint64 num_, den_;
};

// N1 op1 N2 op2 N3 with × and ÷ before ＋ and －, left to right otherwise.
// Nothing when a blank is empty. The one function both the generator and
// the judge use.
std::optional<Rational> evaluate(qint64 n1, Op op1, qint64 n2, Op op2, qint64 n3);
