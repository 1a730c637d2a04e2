#pragma once
#include <QString>
#include <functional>

class QLabel;

// Puts a line that holds a name (a pupil's name, perhaps with the grade after
// it) into a header label without cutting it off at the label's edge: the
// label's font shrinks, from `points` down to `smallestPoints`, until the
// line fits; a line still too long then has its name cut, ending in "…",
// while the rest of the line (the grade) stays whole. A shortened name shows
// in full as the label's tooltip.
void fitNameLine(QLabel* label, const QString& name, const std::function<QString(const QString& name)>& line,
                 double points, double smallestPoints);
