#include "app/point_factor.h"

#include "app/text_util.h"

#include <algorithm>
#include <cmath>

namespace {
// The largest factor held (twelve nines); larger ones saturate to it.
constexpr qint64 kMaxWhole = 999999999999LL;
} // namespace

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

PointFactor PointFactor::fromText(const QString& text)
{
    const QString t = trimLeftBlanks(text);
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-')) negative = t[i++] == u'-';
    qint64 mantissa = 0;
    int decimals = 0;
    bool point = false, digits = false, tooLarge = false;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c >= u'0' && c <= u'9') {
            digits = true;
            // Beyond nine decimals or a huge factor the text is not a teacher's
            // factor any more: further decimals are dropped (floor), a whole
            // part past the largest factor saturates.
            if (mantissa > kMaxWhole / 10 || (point && decimals >= 9)) {
                if (!point) tooLarge = true;
                continue;
            }
            mantissa = mantissa * 10 + (c.unicode() - u'0');
            if (point) ++decimals;
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!digits) return {};
    if (i < t.size() && (t[i] == u'e' || t[i] == u'E')) {
        // An exponent form is rare in a hand-written table: its value, to six
        // decimals, read as if written out (plainDecimal writes no exponent).
        return fromText(plainDecimal(std::clamp(leadingNumber(text), -double(kMaxWhole), double(kMaxWhole))));
    }
    if (tooLarge) return fromScaled(negative ? -kMaxWhole : kMaxWhole, 0);
    return fromScaled(negative ? -mantissa : mantissa, decimals);
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

double PointFactor::value() const
{
    return double(mantissa_) / std::pow(10.0, decimals_);
}

QString PointFactor::text() const
{
    QString digits = QString::number(mantissa_ < 0 ? -mantissa_ : mantissa_);
    if (decimals_ > 0) {
        if (digits.size() <= decimals_) digits = QString(decimals_ - digits.size() + 1, u'0') + digits;
        digits.insert(digits.size() - decimals_, u'.');
    }
    return (mantissa_ < 0 ? QStringLiteral("-") : QString()) + digits;
}
