#include "lobby/lobby_controls.h"

#include "ui/fonts.h"
#include "ui/screen.h"

#include <QLabel>
#include <QPalette>

namespace lobby {

void applyColours(QWidget* w, const Colours& c)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, c.text);
    if (c.back.isValid()) {
        pal.setColor(QPalette::Window, c.back);
        w->setAutoFillBackground(true);
    }
    w->setPalette(pal);
}

QLabel* makeLabel(QWidget* parent, const QString& name, const QRect& at, double points, bool bold, const Colours& style,
                  Qt::Alignment align)
{
    auto* l = Screen::make<QLabel>(parent, name, at, designFont(kPGothic, points, bold));
    applyColours(l, style);
    l->setAlignment(align);
    return l;
}

} // namespace lobby
