#include "base/text_util.h"

#include <cmath>

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

QString trimLeftBlanks(const QString& s)
{
    qsizetype i = 0;
    while (i < s.size() && isBlank(s[i])) ++i;
    return s.mid(i);
}

QString trimRightBlanks(const QString& s)
{
    qsizetype n = s.size();
    while (n > 0 && isBlank(s[n - 1])) --n;
    return s.left(n);
}

QString trimBlanks(const QString& s) { return trimRightBlanks(trimLeftBlanks(s)); }

double leadingNumber(const QString& s)
{
    const QString t = trimLeftBlanks(s);
    qsizetype i = 0;
    QString num;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-')) num += t[i++];
    bool digits = false, point = false;
    while (i < t.size()) {
        const QChar c = t[i];
        if (c >= u'0' && c <= u'9') {
            num += c;
            digits = true;
        } else if (c == u'.' && !point) {
            num += c;
            point = true;
        } else break;
        ++i;
    }
    if (!digits) return 0;
    if (i < t.size() && (t[i] == u'e' || t[i] == u'E')) {
        qsizetype j = i + 1;
        QString exp = QStringLiteral("e");
        if (j < t.size() && (t[j] == u'+' || t[j] == u'-')) exp += t[j++];
        bool expDigits = false;
        while (j < t.size() && t[j] >= u'0' && t[j] <= u'9') {
            exp += t[j++];
            expDigits = true;
        }
        if (expDigits) num += exp;
    }
    bool ok = false;
    const double v = num.toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0;
}

QString plainDecimal(double v)
{
    if (!std::isfinite(v)) return QStringLiteral("0");
    QString s = QString::number(v, 'f', 6);
    if (s.contains(u'.')) {
        while (s.endsWith(u'0')) s.chop(1);
        if (s.endsWith(u'.')) s.chop(1);
    }
    if (s == QLatin1String("-0")) s = QStringLiteral("0");
    return s;
}

QString fixedWidth(const QString& s, int width)
{
    if (s.size() >= width) return s.left(width);
    return s + QString(width - s.size(), u' ');
}

namespace {
int charWidth(char32_t c) { return c < 0x80 || (c >= 0xFF61 && c <= 0xFF9F) ? 1 : 2; }

// Calls f(width, length in UTF-16 units) for each character of s until f says stop.
template <typename F> void eachChar(QStringView s, F f)
{
    for (qsizetype i = 0; i < s.size();) {
        const bool pair = s[i].isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate();
        const qsizetype units = pair ? 2 : 1;
        if (!f(pair ? 2 : charWidth(s[i].unicode()), units)) return;
        i += units;
    }
}
} // namespace

int displayWidth(QStringView s)
{
    int width = 0;
    eachChar(s, [&](int w, qsizetype) {
        width += w;
        return true;
    });
    return width;
}

QString cutToWidth(const QString& s, int halfColumns)
{
    int width = 0;
    qsizetype units = 0;
    eachChar(s, [&](int w, qsizetype n) {
        if (width + w > halfColumns) return false;
        width += w;
        units += n;
        return true;
    });
    return s.left(units);
}

QString blanksOfWidth(int halfColumns)
{
    if (halfColumns <= 0) return {};
    return (halfColumns % 2 ? QStringLiteral(" ") : QString()) + QString(halfColumns / 2, QChar(0x3000));
}

QString fitToWidth(const QString& s, int halfColumns)
{
    const QString cut = cutToWidth(s, halfColumns);
    return cut + blanksOfWidth(halfColumns - displayWidth(cut));
}
