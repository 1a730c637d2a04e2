#pragma once
#include "base/level_table.h"
#include "records/points.h"
#include "records/record_format.h"
#include "records/record_tables.h"

#include <QDate>
#include <QString>
#include <memory>

// The passes over loaded records, free of screens and clocks, so that the
// solmea-records tool computes exactly what the program shows: which records
// are used, the bests of the loading pass and the counters of the counting pass.

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
inline SkipReason recordSkipReason(const ResultRecordView& r)
{
    return recordSkipReason(r.date(), r.pupilNumber(), r.level(), r.score());
}
QString skipReasonText(SkipReason reason, const ResultRecord& r);

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

// The loading and the counter computation of loadRecordsAndCounts together, in one pass
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
