#pragma once
#include "base/level_table.h"
#include "records/scores.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

struct RosterTables;
struct RecordTables;
struct SharedState;

// The lines of the lobby's record lists (List5 of each level): rankings by
// time and by points, today's runs, all runs and one pupil's times.
namespace lists {

// ---- Pieces of a line. Numbers are right-aligned by putting blanks in front
// and keeping the last n characters; a number wider than that is kept whole
// and its line grows by the extra characters.
QString R2(qint64 rank);           // " " + rank, last 2
QString Rn(qint64 value, int n);   // "    " + value, last n (R3, R5, R6)
QString R5Seconds(qint64 seconds); // "      " + t + "秒", last 5
// The same appended to `out`, for lists of many lines.
void appendRn(QString& out, qint64 value, int n, int blanks = 4);
void appendR5Seconds(QString& out, qint64 seconds);
void appendNumber(QString& out, qint64 value);
// Five full-width characters wide (ten half columns): the right-trimmed name
// cut and filled by display width, so half-width names line up too.
constexpr int kListNameWidth = 10;
QString listName(const QString& rosterName);
// A record's date as yyyy/MM/dd and its time of day as HH:mm:ss (cut to the
// second, as everywhere).
QString listDate(double serial);
QString listClock(double dayFraction);

// Whose lists they are, and for which grades.
struct Viewer {
    const RosterTables* roster = nullptr;
    int currentPupil = 0;
    QString filter = QStringLiteral("全学年");

    int gradeNumber(int pupil) const;
    bool passes(int pupil) const;
    QString mark(int pupil) const; // "●" for the current pupil, else the grade symbol
    QString tail(int pupil) const; // "●" for the current pupil, else "　"
    QString name(int pupil) const; // ten half columns wide
};

// The pupils the rankings cover, in the order of the selection screen's list
// (the roster's file order when that list is not known).
std::vector<int> rosterList(const RosterTables& roster);

// ---- Rankings of one level.
enum class Order { Times = 1, Points = 2 };

// The key a pupil's best takes in a time ranking.
qint32 bestTimeKey(qint32 personalBest, bool hasRuns);

struct Ranked {
    int pupil = 0;
    int rank = 0;
    qint32 key = 0;       // times: the best-time key
    qint64 primary = 0;   // points: the points ranked by
    qint64 secondary = 0; // points: the other points, ranked by among equals
};
// Pupils with equal keys end in the reverse of their order in `pupils`; a
// pupil whose key equals the one before shares its rank, and every pupil
// takes a position. An unnamed level ranks higher values first, pupils
// without a value last.
std::vector<Ranked> rankByTime(const std::vector<int>& pupils, const std::vector<qint32>& keys, bool namedLevel);
// By (primary, secondary), both descending; ranks are shared on equal
// primary points.
std::vector<Ranked> rankByPoints(const std::vector<int>& pupils, const std::vector<qint64>& primary,
                                 const std::vector<qint64>& secondary);

struct ListLine {
    QString text;
    qint32 seconds = -1;  // the time the line shows, -1 when it shows none
    bool current = false; // a line of the current pupil
};

struct LevelRanking {
    std::vector<Ranked> ranked;  // every pupil of the roster list, in ranking order
    std::vector<ListLine> lines; // the lines shown: pupils the grade filter lets through
};
// Which points rank first: all-time points, or today's (only pupils with
// points today are ranked).
enum class PointRanking { SoFar = 1, Today = 2 };
// The ranking list of `level`: by best time, or by points as `ranking` says.
LevelRanking rankLevel(const SharedState& s, int level, Order order, PointRanking ranking, const Viewer& v);

// ---- Lists of runs, read from the record file.
enum class RunList { Today, AllRuns, OnePupil };
struct RunListRequest {
    RunList kind = RunList::Today;
    Order order = Order::Times; // all runs: the time form or the point form
    QDate today;
    int levelCount = 0;
    int windowDays = 3650; // all runs and one pupil: the last so many days
    const LevelTable* levels = nullptr;
};
// How many of the newest records a list reads.
qint64 runListWindow(RunList kind);
// This title's points always come from the time (the point-source flag is 0).
constexpr int kPointSourceFlag = 0;
// The points of one run in the lists: without the level's factor.
qint64 listPoints(qint32 score, qint32 targetTime, qint32 storedPoints, int pointSource = kPointSourceFlag);
// One line of a list of runs: what its record says. A list holds up to
// 20 000 of them and shows a dozen, so a line's text is made when it is shown.
struct RunLine {
    double date = 0;
    double time = 0;
    qint64 points = 0;
    qint32 score = 0;
    qint16 pupil = 0;
    bool current = false; // a line of the current pupil

    qint32 seconds() const { return score >= score::kFailedFrom ? -1 : score; }
};

// How the lines of one build of run lists read: the kind of list, and each
// pupil's marks and name as they were when the lists were built.
class RunLineText {
public:
    RunLineText(RunList kind, Order order) : kind_(kind), order_(order) {}
    QString text(const RunLine& line) const;
    // A pupil's marks and name around it, as the lines show them.
    void setWho(int pupil, const QString& who) { who_.insert(pupil, who); }
    bool knows(int pupil) const { return who_.contains(pupil); }

private:
    RunList kind_;
    Order order_;
    QHash<int, QString> who_;
};

struct RunLists {
    std::vector<std::vector<RunLine>> levels; // levels 1..N, index 0 unused
    std::shared_ptr<const RunLineText> text;
};

// The lines of each level 1..N, in file order, from `count` consecutive
// 44-byte records. Records the record store would not use, and levels above
// N, are left out. `progress` hears how many records were read.
RunLists runLists(const char* bytes, qint64 count, const RunListRequest& request, const Viewer& v,
                  const std::function<void(qint64)>& progress = {});

} // namespace lists
