#include "records/record_passes.h"

#include "records/points.h"
#include "records/scores.h"

#include <algorithm>
#include <cmath>
#include <cstring>

QString skipReasonText(SkipReason reason, const ResultRecord& r)
{
    switch (reason) {
    case SkipReason::None: return {};
    case SkipReason::Date: return QStringLiteral("日付が負か数ではありません（%1）").arg(r.date);
    case SkipReason::Pupil: return QStringLiteral("生徒番号 %1 が 1～5000 の範囲外です").arg(r.pupilNumber);
    case SkipReason::Level: return QStringLiteral("レベル %1 が 1～35 の範囲外です").arg(r.level);
    case SkipReason::Score: return QStringLiteral("タイム %1 が負です").arg(r.score);
    }
    return {};
}

namespace {

// Step 5 of loading: the overall best is the smallest personal best.
void computeOverallBests(RecordTables& t)
{
    t.overallBest.fill(score::kNoBest);
    t.cells.forEach([&](int level, int pupil, const PupilLevelStats& c) {
        if (level < 1 || pupil < 1) return;
        qint32& best = t.overallBest[std::size_t(level)];
        best = std::min(best, c.personalBest);
    });
}

using I16x4 = qint16 __attribute__((vector_size(8)));
using I64x2 = qint64 __attribute__((vector_size(16)));

// What a record adds to its cell depends on its day only through which
// windows hold it: the masks of each window in the order recent window,
// limit window, all, today (-1 in, 0 out).
struct DayMasks {
    I16x4 counts;       // added for a finished run
    I64x2 windowPoints; // recent window, limit window
    I64x2 otherPoints;  // all, today
    qint32 today;
};

DayMasks dayMasks(double date, double window1From, double window2From, double todayFrom, double todayTo)
{
    const qint64 recent = -qint64(date > window1From), window2 = -qint64(date > window2From);
    const qint64 today = -qint64((date >= todayFrom) & (date < todayTo));
    return {I16x4{qint16(recent), qint16(window2), -1, qint16(today)}, I64x2{recent, window2}, I64x2{-1, today},
            qint32(today)};
}

// One record added to its cell: the four counts (finished runs only) and
// the four point totals go in as one vector each, masked rather than
// branched on: dates come in any order.
inline void addRecord(PupilLevelStats& c, qint32 score, qint64 points, const DayMasks& m)
{
    const qint32 finished = -qint32(score < score::kFinishedBelow);
    I16x4 counts;
    std::memcpy(&counts, &c.recentRunCount, sizeof counts);
    counts -= m.counts & qint16(finished);
    std::memcpy(&c.recentRunCount, &counts, sizeof counts);
    ++c.recordCount;

    const qint32 finishedScore = score & finished; // only finished runs make an average
    c.scoreSum += finishedScore;
    c.todayScoreSum += finishedScore & m.today;

    I64x2 windowPoints, otherPoints;
    std::memcpy(&windowPoints, &c.recentPoints, sizeof windowPoints);
    std::memcpy(&otherPoints, &c.totalPoints, sizeof otherPoints);
    const I64x2 p = I64x2{points, points};
    windowPoints += p & m.windowPoints;
    otherPoints += p & m.otherPoints;
    std::memcpy(&c.recentPoints, &windowPoints, sizeof windowPoints);
    std::memcpy(&c.totalPoints, &otherPoints, sizeof otherPoints);
    c.personalBest = std::min(c.personalBest, score);
}

} // namespace

void LevelPoints::prepare(RecordTables::PointsCache& cache, const LevelRow& r)
{
    row = &r;
    if (cache.targetTime != r.targetTime || !(cache.factor == r.pointFactor)) {
        cache.targetTime = r.targetTime;
        cache.factor = r.pointFactor;
        // From ten times the target on a run earns nothing.
        const qint64 n = std::clamp<qint64>(qint64(r.targetTime) * 10 + 1, 1, 1 << 16);
        cache.byScore.resize(std::size_t(n));
        for (qint64 score = 0; score < n; ++score)
            cache.byScore[std::size_t(score)] = runPoints(score, r.targetTime, r.pointFactor);
    }
    byScore = cache.byScore.data();
    reach = quint32(cache.byScore.size());
}

LoadingPass::LoadingPass(RecordTables& t) : t_(t)
{
    // Step 1 of loading: bests and hasRecords only; the counters stay those
    // of the last computation.
    t.cells.forEach([](int, int, PupilLevelStats& c) { c.personalBest = score::kNoBest; });
    std::fill(t.hasRecords.begin(), t.hasRecords.end(), quint8(0));
}

void LoadingPass::add(const char* bytes, qint64 count)
{
    for (qint64 k = 0; k < count; ++k) {
        const ResultRecordView r(bytes + k * kResultRecordSize);
        const qint16 pupil = r.pupilNumber(), level = r.level();
        const qint32 score = r.score();
        if (recordSkipReason(r.date(), pupil, level, score) != SkipReason::None) continue;
        ++used_;
        PupilLevelStats& c = t_.touch(level, pupil);
        c.personalBest = std::min(c.personalBest, score);
        t_.hasRecords[std::size_t(pupil)] = 1;
    }
}

void LoadingPass::finish()
{
    t_.recordCount = used_;
    computeOverallBests(t_);
}

void loadRecords(RecordTables& t, const char* bytes, qint64 count)
{
    LoadingPass pass(t);
    pass.add(bytes, count);
    pass.finish();
}

qint64 recordPoints(const LevelTable& levels, int level, qint32 score)
{
    if (level < 1 || level >= kLevelCount || score < 0) return 0;
    const LevelRow& row = levels[std::size_t(level)];
    return runPoints(score, row.targetTime, row.pointFactor);
}

namespace {

// What the counting loop reads of a level for every record, in one cache
// line: the level's points by score and its windows by days before today.
// A whole-day date (every stored date) finds its masks with two lookups and
// no branch on the date; other dates (fractions, days after today, or past
// windows of over ten years) and scores past a very long target are worked
// out one by one, out of the loop's way.
struct alignas(64) LevelHot {
    const qint64* byScore = nullptr; // null: the level was not met yet
    const quint8* classOfDay = nullptr;
    const DayMasks* masks = nullptr;
    quint32 lastScore = 0;     // scores from here on take this score's points...
    quint32 lastDay = 0;       // days from here on take this day's class...
    bool scoresBeyond = false; // ...unless the table stops short of ten times the target
    bool daysBeyond = false;   // ...unless the windows reach past the table
};

// The tables behind a level's LevelHot.
struct LevelDays {
    double window1From = 0, window2From = 0;
    std::vector<quint8> classOfDay; // days before today → index into masks
    std::array<DayMasks, 8> masks{};
    LevelPoints points;

    LevelHot prepare(RecordTables::PointsCache& cache, const LevelRow& row, double todayFrom, double todayTo)
    {
        points.prepare(cache, row);
        window1From = todayFrom - row.dayWindow1;
        window2From = todayFrom - row.dayWindow2;
        const double widest = std::max({row.dayWindow1, row.dayWindow2, 0.0});
        const bool bounded = widest < 4094;
        // With bounded windows the table's last day lies in no window, and so
        // does every older day.
        const qint64 days = bounded ? qint64(std::ceil(widest)) + 2 : 4096;
        classOfDay.resize(std::size_t(days));
        masks[0] = dayMasks(-1, 0, 0, 0, 0); // in no window
        for (qint64 d = 0; d < days; ++d) {
            const DayMasks m = dayMasks(todayFrom - double(d), window1From, window2From, todayFrom, todayTo);
            // The class is the mask bits: recent window, limit window, today.
            const int c = (m.counts[0] & 1) | (m.counts[1] & 1) << 1 | (m.counts[3] & 1) << 2;
            masks[std::size_t(c)] = m;
            classOfDay[std::size_t(d)] = quint8(c);
        }
        LevelHot h;
        h.byScore = points.byScore;
        h.lastScore = points.reach - 1;
        // The table runs to ten times the target, whose points (0) every
        // longer time earns, unless it was cut short.
        h.scoresBeyond = qint64(points.reach) < qint64(row.targetTime) * 10 + 1;
        h.classOfDay = classOfDay.data();
        h.masks = masks.data();
        h.lastDay = quint32(days - 1);
        h.daysBeyond = !bounded;
        return h;
    }
};

} // namespace

struct CountingPass::Impl {
    RecordTables& t;
    const LevelTable& levels;
    const double todayFrom, todayTo;
    const qint64 todayDay;
    int used = 0;
    std::array<LevelHot, kLevelCount> hot{};
    std::array<LevelDays, kLevelCount> days{};

    Impl(RecordTables& tables, const LevelTable& l, QDate today)
        : t(tables), levels(l), todayFrom(double(daySerial(today))), todayTo(todayFrom + 1), todayDay(daySerial(today))
    {}

    Q_DECL_COLD_FUNCTION void prepare(int level)
    {
        hot[std::size_t(level)] = days[std::size_t(level)].prepare(t.pointsCache[std::size_t(level)],
                                                                   levels[std::size_t(level)], todayFrom, todayTo);
    }
    Q_DECL_COLD_FUNCTION qint64 pointsBeyond(int level, qint32 score) const
    {
        return days[std::size_t(level)].points(score);
    }
    Q_DECL_COLD_FUNCTION DayMasks masksOf(int level, double date) const
    {
        const LevelDays& lv = days[std::size_t(level)];
        return dayMasks(date, lv.window1From, lv.window2From, todayFrom, todayTo);
    }

    void add(const char* bytes, qint64 count)
    {
        // The loader's records and the counters in one pass.
        const char* const end = bytes + count * kResultRecordSize;
        for (const char* p = bytes; p != end; p += kResultRecordSize) {
            const ResultRecordView r(p);
            const double date = r.date();
            const qint16 pupil = r.pupilNumber();
            const qint16 level = r.level();
            const qint32 score = r.score();
            // recordSkipReason's rule in one test: a record the loader would
            // not use is rare, and the one branch is always predicted.
            if (!(date >= 0) | (quint16(pupil - 1) >= kPupilCount - 1) | (quint16(level - 1) >= kLevelCount - 1) |
                (score < 0)) [[unlikely]]
                continue;
            ++used;
            PupilLevelStats& c = t.cells.touch(level, pupil);
            if (!hot[std::size_t(level)].byScore) [[unlikely]]
                prepare(level);
            const LevelHot& h = hot[std::size_t(level)];

            // The full score, whatever its length; a level without a target earns 0.
            qint64 points = h.byScore[std::min(quint32(score), h.lastScore)];
            if (h.scoresBeyond && quint32(score) > h.lastScore) [[unlikely]]
                points = pointsBeyond(level, score);

            // A date no calendar holds (1e300, infinity) is not converted, which
            // would be undefined; -1 sends it to the comparisons.
            const qint64 day = date < 1e15 ? qint64(date) : -1;
            const quint64 ago = quint64(todayDay - day); // a later day is far past every table
            const bool inTable = (double(day) == date) & ((ago <= h.lastDay) | !h.daysBeyond) & (day <= todayDay);
            if (inTable) [[likely]] {
                addRecord(c, score, points, h.masks[h.classOfDay[std::min<quint64>(ago, h.lastDay)]]);
            } else {
                addRecord(c, score, points, masksOf(level, date));
            }
        }
    }
};

CountingPass::CountingPass(RecordTables& t, const LevelTable& levels, QDate today)
    : d_(std::make_unique<Impl>(t, levels, today))
{
    // Steps 1 of both the counters and the loader.
    t.cells.resetCounts();
}

CountingPass::~CountingPass() = default;

void CountingPass::add(const char* bytes, qint64 count) { d_->add(bytes, count); }

void CountingPass::finish()
{
    RecordTables& t = d_->t;
    t.recordCount = d_->used;
    std::fill(t.hasRecords.begin(), t.hasRecords.end(), quint8(0));
    // Step 4 of the counters, integer part of (sum ÷ count + 0.5) in
    // integers, and step 5 of the loader.
    t.overallBest.fill(score::kNoBest);
    t.cells.forEach([&](int level, int pupil, PupilLevelStats& c) {
        if (c.runCount > 0) c.averageScore = qint16((2 * qint64(c.scoreSum) + c.runCount) / (2 * qint64(c.runCount)));
        if (c.todayRunCount >= 1)
            c.todayAverageScore = qint16((2 * qint64(c.todayScoreSum) + c.todayRunCount) /
                                         (2 * qint64(c.todayRunCount)));
        if (c.recordCount > 0) t.hasRecords[std::size_t(pupil)] = 1;
        if (level < 1 || pupil < 1) return;
        qint32& best = t.overallBest[std::size_t(level)];
        best = std::min(best, c.personalBest);
    });
}

void loadAndCount(RecordTables& t, const char* bytes, qint64 count, const LevelTable& levels, QDate today)
{
    CountingPass pass(t, levels, today);
    pass.add(bytes, count);
    pass.finish();
}
