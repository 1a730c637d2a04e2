#pragma once
#include <QString>

struct SharedState;
struct Services;

// The result file of this title and the shared log, as native paths.
QString resultFilePath(const SharedState& s);
QString sharedLogPath(const SharedState& s);

// Stores the current pupil's finished run (runScore) at `level`: sets
// qualified, the new-best flags and bests, and appends the record.
// Returns false when a file error ended the program.
bool Seisekikiroku(SharedState& s, Services& sv, int level);
// Appends the current run to the result file and, when applicable, the shared log.
bool 成績ランダムファイル記録(SharedState& s, Services& sv);
// Loads the newest 20 000 usable records and the bests.
bool 成績ランダムファイル表示(SharedState& s, Services& sv);
// Loads the records and computes every counter. Returns false when the
// program is ending (a loader failure).
bool 回数求(SharedState& s, Services& sv);
