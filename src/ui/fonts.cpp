#include "ui/fonts.h"

void installFontSubstitutions()
{
    QFont::insertSubstitution(kGothic, QStringLiteral("IPAGothic"));
    QFont::insertSubstitution(kPGothic, QStringLiteral("IPAPGothic"));
}

QFont designFont(const QString& family, double points, bool bold)
{
    QFont f(family);
    // Sizes are for a 96-dpi design; pixel sizes keep the layout the same on
    // any screen density.
    f.setPixelSize(qMax(1, int(points * 96.0 / 72.0 + 0.5)));
    f.setBold(bold);
    return f;
}

QFont uiFont() { return designFont(kPGothic, 11); }
