#pragma once
#include "base/level_table.h"

#include <QString>
#include <QStringList>
#include <vector>

// The texts of the step lobby outside its record lists, and its plan and
// level check, each a plain function so they can be checked without a window.
namespace lobby {

// The 23 lines of List6, the lobby's instructions to the pupil.
QStringList instructionLines();

// Label17: "起動後12分".
QString minutesLine(qint32 minutes);
// Whole minutes since the pupil signed in. The sign-in time is kept rounded
// to the nearest second, so the clock may still read up to half a second
// before it: that is no time at all, not a day gone round.
qint32 signInMinutes(double nowDaySeconds, qint32 nameConfirmedSeconds);
// Label18: "本日総回数＝7回", the total shown whole.
QString todayTotalLine(qint64 runs);
// Label14(i): "2回/15点", or "-----" without a run today.
QString todayCountsLine(qint64 runs, qint64 points);
// Label15(i): "12回/150点", or "------" without any run.
QString allCountsLine(qint64 runs, qint64 points);
// Label8(i) of a named level: "最近7日=3回 / 45点".
QString recentLine(double dayWindow, qint64 runs, qint64 points);
// Label7(i): "目標=40秒 --------" (no point target, 9999), "目標=40秒 5回/100点(×1.5)",
// or for an unnamed level "◎=40点以上".
QString targetLine(const LevelRow& row, bool namedLevel);
// Label12: the trimmed name, a blank, the grade label.
QString pupilLine(const QString& pupilName, const QString& gradeLabel);
// Label13: "2:テスト教室".
QString schoolLine(int pupilNumber, const QString& organisationName);
// Label11's point size: 20 for a title of more than 9 characters, else 24.
double titlePoints(const QString& title);

// Caption and tooltip of Label3(i). A level made by a pupil has a name whose
// first four characters are that pupil's number: its caption is the middle
// of the name with "_1" or "_2", at 11 points, its tooltip the maker's name.
struct LevelTitle {
    QString caption;
    QString toolTip;
    bool small = false;
};
LevelTitle levelTitle(const QString& levelName, int level, const std::vector<QString>& rosterNames);
// Caption of Command4(i): "ｽﾀｰﾄ(&1)", or "(&1)by" and the maker for a level
// whose descriptor names a pupil (characters 1–5 the school code, 7–10 the
// pupil number).
QString startCaption(int level, const QString& descriptor, const QString& siteCode,
                     const std::vector<QString>& rosterNames);

// The print button of the report is the teacher's: a name containing "先生".
bool seesPrintButton(const QString& pupilName);
// The teacher's entry itself: the trimmed name is "先生".
bool isTeacher(const QString& pupilName);

// No teacher's step plan is in force in this program (nothing turns the plan
// on); the plan and level check keeps its terms.
constexpr bool kStepPlan = false;
constexpr bool kPlanFinished = false;

// The level sequence of the plan and level check: which start buttons it
// enables and which blank boxes (under the practice buttons) it hides. Index
// 1..N of `gates`.
struct LevelGate {
    bool practice = false;
    bool cleared = false;                // the recent window holds the points and the runs
    bool doneEnough = false;             // the limit window reached a mark
    bool nextWithoutPointTarget = false; // level i + 1 has the point target 9999
};
struct LevelSequence {
    std::vector<bool> enable;       // 1..N
    std::vector<bool> hideBlankBox; // 1..N
};
LevelSequence levelSequence(const std::vector<LevelGate>& gates, bool teacher, bool planFinished,
                            bool designatedCleared);

} // namespace lobby
