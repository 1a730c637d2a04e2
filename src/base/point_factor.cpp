#include "base/point_factor.h"

#include "base/text_util.h"

#include <cmath>

PointFactor PointFactor::fromScaled(qint64 mantissa, int decimals)
{
    PointFactor f;
    while (decimals > 0 && mantissa % 10 == 0) {
        mantissa /= 10;
        --decimals;
    }
    f.mantissa_ = mantissa;
    f.decimals_ = decimals;
    return f;
}

std::optional<PointFactor> PointFactor::parse(const QString& text)
{
    const QString t = trimLeftBlanks(text);
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-')) negative = t[i++] == u'-';
    // The digits as written, and where the point stands among them.
    QString digits;
    qsizetype point = -1;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c >= u'0' && c <= u'9') digits += c;
        else if (c == u'.' && point < 0) point = digits.size();
        else break;
    }
    if (digits.isEmpty()) return PointFactor{};
    qsizetype whole = point < 0 ? digits.size() : point; // digits before the point
    if (i < t.size() && (t[i] == u'e' || t[i] == u'E')) {
        qsizetype j = i + 1;
        bool expNegative = false;
        if (j < t.size() && (t[j] == u'+' || t[j] == u'-')) expNegative = t[j++] == u'-';
        qint64 exponent = 0;
        bool expDigits = false;
        for (; j < t.size() && t[j] >= u'0' && t[j] <= u'9'; ++j) {
            expDigits = true;
            exponent = std::min<qint64>(exponent * 10 + (t[j].unicode() - u'0'), 1000000);
        }
        if (expDigits) whole += expNegative ? -exponent : exponent;
    }
    // Leading and trailing zeros hold nothing.
    qsizetype first = 0;
    while (first < digits.size() && digits[first] == u'0') ++first;
    digits = digits.mid(first);
    whole -= first;
    while (!digits.isEmpty() && digits.endsWith(u'0')) digits.chop(1);
    if (digits.isEmpty()) return PointFactor{};
    const qsizetype decimals = std::max<qsizetype>(0, digits.size() - whole);
    if (whole > kMaxWholeDigits || decimals > kMaxDecimals) return std::nullopt;
    // At most 18 significant digits: the mantissa fits 64 bits.
    qint64 mantissa = 0;
    for (const QChar c : digits) mantissa = mantissa * 10 + (c.unicode() - u'0');
    for (qsizetype k = digits.size(); k < whole; ++k) mantissa *= 10;
    return fromScaled(negative ? -mantissa : mantissa, int(decimals));
}

qint64 PointFactor::apply(qint64 points) const
{
    qint64 scale = 1;
    for (int i = 0; i < decimals_; ++i) scale *= 10;
    const __int128 product = __int128(points) * mantissa_;
    __int128 q = product / scale;
    if (product % scale != 0 && product < 0) --q; // floor towards minus infinity
    return qint64(q);
}

double PointFactor::value() const { return double(mantissa_) / std::pow(10.0, decimals_); }

QString PointFactor::text() const
{
    QString digits = QString::number(mantissa_ < 0 ? 0 - quint64(mantissa_) : quint64(mantissa_));
    if (decimals_ > 0) {
        if (digits.size() <= decimals_) digits = QString(decimals_ - digits.size() + 1, u'0') + digits;
        digits.insert(digits.size() - decimals_, u'.');
    }
    return (mantissa_ < 0 ? QStringLiteral("-") : QString()) + digits;
}
