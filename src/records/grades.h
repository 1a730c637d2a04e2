#pragma once
#include <QString>

// The mark of a grade code in the records lists: 1–6 "①"–"⑥", 7–9 "Ⅰ"–"Ⅲ",
// anything else a full-width space.
QString gradeMark(int code);
// Whether a pupil's grade code passes the grade filter chosen in the lobby
// ("全学年", "家族", "小学生全体", "中学生全体", "小１"…"小６", "中１"…"中３").
bool gradeMatches(int code, const QString& filter);
