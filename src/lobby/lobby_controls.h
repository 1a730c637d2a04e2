#pragma once
#include <QColor>
#include <QRect>
#include <QString>
#include <Qt>

class QLabel;
class QWidget;

// The colours and labels the step lobby and its level columns are made of.
namespace lobby {

// Colours by palette, not style sheets: a sheet per control makes the lobby
// slow to build.
struct Colours {
    QColor text;
    QColor back; // invalid: the parent's background shows through
};
inline Colours styleFor(const QColor& text, const QColor& back = QColor()) { return {text, back}; }

void applyColours(QWidget* w, const Colours& c);

// A label of the lobby's proportional font, named `name`, at `at`.
QLabel* makeLabel(QWidget* parent, const QString& name, const QRect& at, double points, bool bold, const Colours& style,
                  Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter);

} // namespace lobby
