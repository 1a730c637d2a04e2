#include "app/text_util.h"

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
        if (c >= u'0' && c <= u'9') { num += c; digits = true; }
        else if (c == u'.' && !point) { num += c; point = true; }
        else break;
        ++i;
    }
    if (!digits) return 0;
    if (i < t.size() && (t[i] == u'e' || t[i] == u'E')) {
        qsizetype j = i + 1;
        QString exp = QStringLiteral("e");
        if (j < t.size() && (t[j] == u'+' || t[j] == u'-')) exp += t[j++];
        bool expDigits = false;
        while (j < t.size() && t[j] >= u'0' && t[j] <= u'9') { exp += t[j++]; expDigits = true; }
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
