#pragma once
#include "lobby/record_lists.h"

#include <QDate>
#include <QString>
#include <vector>

struct SharedState;

// The figures of the progress report: one pupil at one level against every
// pupil of the roster list, as the lobby's rankings count them.
namespace report {

struct LevelFigures {
    qint64 runs = 0;                 // the pupil's finished runs
    int timeRank = 0;                // 0: the pupil has no run
    int pupilsRanked = 0;            // pupils in the rankings (the roster list)
    qint32 ownBest = score::kNoBest; // 99998 / 99999: no best
    qint32 overallBest = score::kNoBest;
    qint32 ownAverage = -1; // -1: no average
    qint32 overallAverage = -1;
    int pointRank = 0;        // rank by all-time points
    qint64 points = 0;        // all-time points
    int pupilsWithPoints = 0; // of the pupils the lists show
    qint64 pointsOfThem = 0;
    // The average over pupils with points, rounded; -1 when nobody has any.
    qint64 averagePoints() const;
};

// The pupil is found in the rankings by number, never by name: names are cut
// to five characters there and one can contain another.
LevelFigures levelFigures(const SharedState& s, int level, int pupil, const lists::Viewer& v);

// The pupil's finished run times at `level` within the last `windowDays`
// days, in the order of the record file (`count` 44-byte records).
std::vector<qint32> runTimes(const char* bytes, qint64 count, int pupil, int level, QDate today, int windowDays = 3650);

// A figure of the table: right-aligned in `width` characters.
QString figure(qint64 value, int width);
// A time of the table, or "--" when there is none.
QString timeFigure(qint32 seconds, int width);

// The pupil chooser's line: grade, " /  ", name, "/", number.
QString chooserLine(const QString& gradeLabel, const QString& name, int pupil);
// The pupil number of a chooser line: the text after its last "/".
int chooserPupil(const QString& line);

} // namespace report
