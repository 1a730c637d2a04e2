#pragma once
#include "base/level_table.h"
#include "base/point_factor.h"
#include "records/record_tables.h"

#include <QString>

struct SharedState;

// The decisions of the results screen, each a plain function of the level's
// settings and the pupil's counters, so they can be checked without a window.

// A level is cleared when the recent window holds enough points and runs.
bool levelCleared(const LevelRow& row, const PupilLevelStats& stats);
// A level is done enough when the limit window reaches a run mark or a point
// mark; a mark of 0 is no mark.
bool levelDoneEnough(const LevelRow& row, const PupilLevelStats& stats);
// Whether the current pupil has cleared the level that completes the course
// (state.finalLevel). The lobby keeps the answer in
// state.designatedLevelCleared; the results screen reads that.
bool designatedLevelCleared(const SharedState& s);
// The "target level cleared" banner is not shown when a level of the table
// has 9999 required runs (a course that is not meant to be completed).
bool clearBannerAllowed(const LevelTable& table);

// "獲得ポイント：11点×2→22点": the points factor, the level's factor as the
// teacher wrote it, and the points.
QString pointsLine(qint64 score, qint64 targetTime, const PointFactor& factor);
// "今の成績：20秒", or "記録なし" when the run ran out of time.
QString timeLine(qint64 score);
// " (このレベル　3回目)": runs today at this level.
QString levelRunsLine(qint64 runsToday);
// "（12回目)": runs today over all levels.
QString todayRunsLine(qint64 runsToday);
// The pupil's runs today over levels 1–35.
qint64 runsTodayAllLevels(const RecordTables& records, int pupil);

enum class ResultCue { None, Best, PersonalBest, Fail };
struct RecordOutcome {
    QString message; // empty: Label20 stays as it is
    ResultCue cue = ResultCue::None;
    bool operator==(const RecordOutcome&) const = default;
};
// The record message and the cue of a finished run: time up (silent), a new
// overall best, a new personal best, or no record (the fail cue unless the
// score is above the level's second time).
RecordOutcome recordOutcome(bool timeUp, bool newOverallBest, bool newPersonalBest, qint64 score, qint64 secondTime);
// The pass cue plays on the run that first clears the final level: cleared
// now, and the store did not count the level as cleared before the run.
bool passCuePlays(bool cleared, bool atFinalLevel, bool qualified);

// What the button timer does after showing "メニューへ".
enum class ClearedLineChange { Keep, EmptyAndHide, NextLevel };
struct ButtonOffer {
    bool offerAgain = true; // "もう一度" is shown
    ClearedLineChange clearedLine = ClearedLineChange::Keep;
    bool operator==(const ButtonOffer&) const = default;
};
ButtonOffer buttonOffer(bool doneEnough, bool cleared, bool atFinalLevel, bool designatedCleared);
// The text of the cleared line for ClearedLineChange::NextLevel.
QString nextLevelText();
