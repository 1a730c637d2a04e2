#pragma once
#include "app/level_table.h"
#include "records/points.h"
#include "records/record_format.h"
#include "records/record_tables.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <vector>

class QFile;
struct SharedState;
struct Services;

// The result file of this title and the shared log, as native paths.
QString resultFilePath(const SharedState& s);
QString sharedLogPath(const SharedState& s);
// The shared log's titleFolder: the last folder name of recordsFolder with its
// trailing "\" ("ソルメア\").
QString titleFolderName(const SharedState& s);

// The message of a run that could not be stored in the file at `path`.
QString storeFailureText(const QString& path, const QString& reason);

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

// Opens the result file for random access (read and write), creating it
// empty when it does not exist yet. Returns false when it cannot be opened.
bool openResultFile(const SharedState& s, QFile& file);

// Appends one fixed-length record under a whole-file lock: the record goes at
// (length ÷ record size) whole records, so a torn tail is overwritten, and the
// bytes reach the file before the lock is released. When the write fails part
// of the way (a full disk), the file is cut back to where the record began
// before the lock is released: it never keeps part of a record. `error` gets
// the system's reason in Japanese (systemErrorText).
bool appendRecordLocked(const QString& path, const QByteArray& record, QString* error);

// ---- The loader's and the counters' rules, free of screens and clocks, so
// that the solmea-records tool computes exactly what the program shows.

constexpr qint64 kLoadWindow = 20000; // only the newest records are loaded

enum class SkipReason { None, Date, Pupil, Level, Score };
// Why the loader would not use a record (None: it is used). A pupil outside
// 1–5000, a level outside 1–35 or a negative score would index past the
// tables or become a permanent best.
inline SkipReason recordSkipReason(double date, qint16 pupil, qint16 level, qint32 score)
{
    if (!(date >= 0)) return SkipReason::Date; // negative, or not a number at all
    if (pupil < 1 || pupil >= kPupilCount) return SkipReason::Pupil;
    if (level < 1 || level >= kLevelCount) return SkipReason::Level;
    if (score < 0) return SkipReason::Score;
    return SkipReason::None;
}
QString skipReasonText(SkipReason reason, const ResultRecord& r);

// The newest `window` whole records of an open result file, read into one
// buffer (for the lists, which go through them more than once).
struct ResultTail {
    QByteArray bytes;         // `count` records of 44 bytes
    qint64 count = 0;
    qint64 firstRecord = 1;   // record number of the first one
    qint64 totalRecords = 0;  // whole records in the file
};
bool readResultTail(QFile& file, qint64 window, ResultTail& tail, QString* error);

// Steps 1 and 3–5 of loading: the bests and hasRecords from consecutive
// 44-byte records, given in one or more chunks.
class LoadingPass {
public:
    explicit LoadingPass(RecordTables& t);
    void add(const char* bytes, qint64 count);
    void finish();

private:
    RecordTables& t_;
    int used_ = 0;
};
void loadRecords(RecordTables& t, const char* bytes, qint64 count);

// A level's points by score, from its cache: a few scores recur thousands
// of times, and each costs a cube and a division. Filled when the level is
// first met; scores past the cache (a target of over 6553 s) are computed.
struct LevelPoints {
    const qint64* byScore = nullptr;
    quint32 reach = 0;
    const LevelRow* row = nullptr;

    void prepare(RecordTables::PointsCache& cache, const LevelRow& r);
    qint64 operator()(qint32 score) const
    {
        return quint32(score) < reach ? byScore[score] : runPoints(score, row->targetTime, row->pointFactor);
    }
};

// The loading and the counter computation of 回数求 together, in one pass
// over the records (given in one or more chunks), as of `today`.
class CountingPass {
public:
    CountingPass(RecordTables& t, const LevelTable& levels, QDate today);
    ~CountingPass();
    void add(const char* bytes, qint64 count);
    void finish();

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};
void loadAndCount(RecordTables& t, const char* bytes, qint64 count, const LevelTable& levels, QDate today);
// The points a record earns at its level (0 for a level outside 1–35).
qint64 recordPoints(const LevelTable& levels, int level, qint32 score);
