#pragma once
#include <QString>
#include <QtGlobal>

// A level's point factor as the teacher wrote it ("1.5", "0.7", "2"). It is
// kept as an exact decimal so that 10 points × 0.7 gives 7 (binary floating
// point would give 6) and the results screen shows "0.7", not 0.699999988.
class PointFactor {
public:
    PointFactor() = default;
    static PointFactor fromText(const QString& text); // leading decimal number of the text
    static PointFactor fromScaled(qint64 mantissa, int decimals);

    // floor(points × factor), exact.
    qint64 apply(qint64 points) const;
    // Plain decimal text without trailing zeros.
    QString text() const;
    double value() const;
    bool operator==(const PointFactor&) const = default;

private:
    qint64 mantissa_ = 0; // factor = mantissa / 10^decimals
    int decimals_ = 0;
};
