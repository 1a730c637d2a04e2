#include "ui/fitted_text.h"

#include "ui/fonts.h"

#include <QFontMetrics>
#include <QLabel>

void fitNameLine(QLabel* label, const QString& name, const std::function<QString(const QString&)>& line, double points,
                 double smallestPoints)
{
    const QString whole = line(name);
    // The frame and margins take their share of the width.
    const int room = label->contentsRect().width() - 2 * label->margin() - 2 * label->indent() - 2;
    const QFont base = label->font();
    QFont font = base;
    auto fits = [&](const QString& text) { return QFontMetrics(font).horizontalAdvance(text) <= room; };
    for (double p = points; p >= smallestPoints; p -= 1) {
        font = designFont(base.family(), p, base.bold());
        if (fits(whole)) {
            label->setFont(font);
            label->setText(whole);
            label->setToolTip({});
            return;
        }
    }
    font = designFont(base.family(), smallestPoints, base.bold());
    QString shown = line(QString());
    // Cut whole characters (never half of a surrogate pair) until it fits.
    for (qsizetype n = name.size() - 1; n > 0; --n) {
        if (name.at(n).isLowSurrogate()) continue;
        const QString candidate = line(name.left(n) + u'…');
        if (fits(candidate)) {
            shown = candidate;
            break;
        }
    }
    label->setFont(font);
    label->setText(shown);
    label->setToolTip(whole);
}
