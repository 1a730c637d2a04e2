#pragma once
#include <QFont>
#include <QString>

// The two fonts the screens were designed with; IPAGothic and IPAPGothic
// stand in for them with the same metrics.
inline const QString kGothic = QStringLiteral("ＭＳ ゴシック");
inline const QString kPGothic = QStringLiteral("ＭＳ Ｐゴシック");
void installFontSubstitutions();
QFont designFont(const QString& family, double points, bool bold = false);
