#include "results/results_rules.h"

#include "records/points.h"
#include "state/shared_state.h"

bool levelCleared(const LevelRow& row, const PupilLevelStats& stats)
{
    return stats.recentPoints >= row.requiredPoints && stats.recentRunCount >= row.requiredRuns;
}

bool levelDoneEnough(const LevelRow& row, const PupilLevelStats& stats)
{
    return (row.window2RunMark != 0 && stats.window2RunCount >= row.window2RunMark) ||
           (row.window2PointMark != 0 && double(stats.window2Points) >= row.window2PointMark);
}

bool designatedLevelCleared(const SharedState& s)
{
    const int d = s.finalLevel;
    if (d < 1 || d >= kLevelCount) return false;
    return levelCleared(s.levelTable[d], s.records.stats(d, s.pupilNumber));
}

bool clearBannerAllowed(const LevelTable& table)
{
    for (int level = 1; level < kLevelCount; ++level)
        if (table[level].requiredRuns == 9999) return false;
    return true;
}

QString pointsLine(qint64 score, qint64 targetTime, const PointFactor& factor)
{
    const int f = runPointsFactor(score, targetTime);
    return QStringLiteral("獲得ポイント：%1点×%2→%3点")
        .arg(QString::number(f), factor.text(), QString::number(runPoints(score, targetTime, factor)));
}

QString timeLine(qint64 score)
{
    if (score > 99997) return QStringLiteral("記録なし");
    return QStringLiteral("今の成績：%1秒").arg(score);
}

QString levelRunsLine(qint64 runsToday) { return QStringLiteral(" (このレベル　%1回目)").arg(runsToday); }

QString todayRunsLine(qint64 runsToday) { return QStringLiteral("（%1回目)").arg(runsToday); }

qint64 runsTodayAllLevels(const RecordTables& records, int pupil)
{
    qint64 sum = 0;
    for (int level = 1; level < kLevelCount; ++level) sum += records.stats(level, pupil).todayRunCount;
    return sum;
}

RecordOutcome recordOutcome(bool timeUp, bool newOverallBest, bool newPersonalBest, qint64 score, qint64 secondTime)
{
    if (timeUp) return {QStringLiteral("時間切れ"), ResultCue::None};
    if (newOverallBest) return {QStringLiteral("！！！最高新記録！！！"), ResultCue::Best};
    if (newPersonalBest) return {QStringLiteral("新記録おめでとう"), ResultCue::PersonalBest};
    return {QString(), score <= secondTime ? ResultCue::Fail : ResultCue::None};
}

bool passCuePlays(bool cleared, bool atFinalLevel, bool qualified) { return cleared && atFinalLevel && !qualified; }

ButtonOffer buttonOffer(bool doneEnough, bool cleared, bool atFinalLevel, bool designatedCleared)
{
    if (!doneEnough || !cleared) return {true, ClearedLineChange::Keep};
    if (atFinalLevel) return {true, ClearedLineChange::EmptyAndHide};
    if (!designatedCleared) return {false, ClearedLineChange::NextLevel};
    return {true, ClearedLineChange::Keep};
}

QString nextLevelText() { return QStringLiteral("次のレベルへ進みましょう"); }
