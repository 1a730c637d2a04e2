#include "lobby/report_figures.h"

#include "base/text_util.h"
#include "records/record_format.h"
#include "records/record_passes.h"
#include "state/shared_state.h"

#include <algorithm>

namespace report {

qint64 LevelFigures::averagePoints() const
{
    if (pupilsWithPoints <= 0) return -1;
    return (2 * pointsOfThem + pupilsWithPoints) / (2 * qint64(pupilsWithPoints));
}

LevelFigures levelFigures(const SharedState& s, int level, int pupil, const lists::Viewer& v)
{
    LevelFigures f;
    if (level < 1 || level >= kLevelCount) return f;
    const RecordTables& records = s.records;
    const lists::LevelRanking byTime = lists::rankLevel(s, level, lists::Order::Times, lists::PointRanking::SoFar, v);
    const lists::LevelRanking byPoints = lists::rankLevel(s, level, lists::Order::Points, lists::PointRanking::SoFar,
                                                          v);
    f.pupilsRanked = int(byTime.ranked.size());

    qint64 sum = 0, count = 0;
    for (const lists::Ranked& r : byTime.ranked) {
        if (r.pupil < 0 || r.pupil >= kPupilCount) continue;
        const PupilLevelStats& st = records.stats(level, r.pupil);
        sum += st.scoreSum;
        count += st.runCount;
        if (r.key < score::kAllFailedBest) f.overallBest = std::min(f.overallBest, r.key);
        if (r.pupil == pupil) {
            f.ownBest = r.key;
            // Ranked as the lobby's list ranks it: a pupil whose runs all
            // timed out comes after every time, only a pupil without runs has no rank.
            if (r.key < score::kNoBest) f.timeRank = r.rank;
        }
    }
    if (count > 0) f.overallAverage = qint32((2 * sum + count) / (2 * count));
    for (const lists::Ranked& r : byPoints.ranked) {
        if (r.pupil == pupil) {
            f.pointRank = r.rank;
            f.points = r.primary;
        }
        // The average counts the pupils the lists show who have points.
        if (r.primary > 0 && v.passes(r.pupil)) {
            ++f.pupilsWithPoints;
            f.pointsOfThem += r.primary;
        }
    }
    if (pupil >= 0 && pupil < kPupilCount) {
        const PupilLevelStats& own = records.stats(level, pupil);
        f.runs = own.runCount;
        if (own.runCount > 0) f.ownAverage = own.averageScore;
    }
    return f;
}

std::vector<qint32> runTimes(const char* bytes, qint64 count, int pupil, int level, QDate today, int windowDays)
{
    std::vector<qint32> out;
    const double from = double(daySerial(today)) - windowDays;
    for (qint64 k = 0; k < count; ++k) {
        const ResultRecordView r(bytes + k * kResultRecordSize);
        const double date = r.date();
        const qint16 who = r.pupilNumber();
        const qint16 at = r.level();
        const qint32 score = r.score();
        if (who != pupil || at != level || recordSkipReason(date, who, at, score) != SkipReason::None) continue;
        // Finished runs only: a time-out would flatten the graph.
        if (date > from && score < score::kFinishedBelow) out.push_back(score);
    }
    return out;
}

QString figure(qint64 value, int width) { return QString::number(value).rightJustified(width, u' '); }

QString timeFigure(qint32 seconds, int width)
{
    if (seconds < 0 || seconds >= score::kAllFailedBest) return QStringLiteral("--").rightJustified(width, u' ');
    return figure(seconds, width);
}

QString chooserLine(const QString& gradeLabel, const QString& name, int pupil)
{
    return gradeLabel + QStringLiteral(" /  ") + trimBlanks(name) + u'/' + QString::number(pupil);
}

int chooserPupil(const QString& line) { return line.mid(line.lastIndexOf(u'/') + 1).toInt(); }

} // namespace report
