#pragma once
#include <QString>
#include <QStringList>
#include <optional>

// The mark of a grade code in the records lists: 1–6 "①"–"⑥", 7–9 "Ⅰ"–"Ⅲ",
// anything else a full-width space.
QString gradeMark(int code);
// The grade filter's choices, as the name selection screen and the lobby
// offer them: every grade, the two schools, then the single grades from the
// top down.
QStringList gradeFilterChoices();
// Whether a pupil's grade code (1–6 primary, 7–9 lower secondary) passes a
// filter that names grades ("全学年", "小学生全体", "中学生全体", "小１"…"小６",
// "中１"…"中３"); no answer for any other filter text.
std::optional<bool> gradeFilterPasses(int code, const QString& filter);
// Whether a pupil's grade code passes the grade filter chosen in the lobby:
// those above, and "家族", which passes everyone; any other text passes nobody.
bool gradeMatches(int code, const QString& filter);
