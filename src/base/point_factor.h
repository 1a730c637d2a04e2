#pragma once
#include <QString>
#include <QtGlobal>
#include <optional>

// A level's point factor as the teacher wrote it ("1.5", "0.7", "2"). It is
// kept as an exact decimal so that 10 points × 0.7 gives 7 (binary floating
// point would give 6) and the results screen shows "0.7", not 0.699999988.
class PointFactor {
public:
    PointFactor() = default;
    // The leading decimal number of the text (0 when the text does not start
    // with one), or nothing when that number is one the exact decimal cannot
    // hold: more than kMaxWholeDigits digits before the point or more than
    // kMaxDecimals after it (trailing zeros aside). Such a factor would make
    // the point totals of 20 000 runs overflow, or lose digits unseen.
    static std::optional<PointFactor> parse(const QString& text);
    static PointFactor fromText(const QString& text) { return parse(text).value_or(PointFactor{}); }
    static PointFactor fromScaled(qint64 mantissa, int decimals);

    // floor(points × factor), exact.
    qint64 apply(qint64 points) const;
    // Plain decimal text without trailing zeros.
    QString text() const;
    double value() const;
    bool operator==(const PointFactor&) const = default;

    static constexpr int kMaxWholeDigits = 12;
    static constexpr int kMaxDecimals = 6;

private:
    qint64 mantissa_ = 0; // factor = mantissa / 10^decimals
    int decimals_ = 0;
};
