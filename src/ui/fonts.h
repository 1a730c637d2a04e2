#pragma once
#include <QFont>
#include <QString>

// The two fonts the screens were designed with; IPAGothic and IPAPGothic
// stand in for them with the same metrics.
inline const QString kGothic = QStringLiteral("ＭＳ ゴシック");
inline const QString kPGothic = QStringLiteral("ＭＳ Ｐゴシック");
void installFontSubstitutions();
QFont designFont(const QString& family, double points, bool bold = false);
// Menus and message boxes, the second-copy notice among them: the screens'
// proportional Gothic at the menu bar's size, set on each one, because a
// desktop theme gives these classes fonts of its own.
QFont uiFont();
