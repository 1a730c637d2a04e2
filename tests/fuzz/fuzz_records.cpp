// Any bytes as 成績累積データ.dat, with a level table and a day taken from
// the input's first bytes: the loader and the counters of loadRecordsAndCounts (through
// the real file, its stream and the loader's retries, with the clock and the
// end of the program stubbed) must agree with the same rules computed the
// plain way, record by record, whatever the records hold.
#include "fuzz_support.h"

#include "base/folder_path.h"
#include "records/points.h"
#include "records/record_format.h"
#include "records/record_loading.h"
#include "records/record_passes.h"
#include "records/result_file_stream.h"
#include "state/shared_state.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <map>

namespace {

struct Expected {
    std::map<std::pair<int, int>, PupilLevelStats> cells;
    std::array<qint32, kLevelCount> overallBest{};
    std::vector<quint8> hasRecords = std::vector<quint8>(kPupilCount, 0);
    int used = 0;
};

// The loader's and the counters' rules, one record at a time.
Expected plainCount(const QByteArray& records, const LevelTable& levels, QDate today)
{
    Expected e;
    const double from = double(daySerial(today)), to = from + 1;
    for (qint64 k = 0; k < records.size() / kResultRecordSize; ++k) {
        const char* p = records.constData() + k * kResultRecordSize;
        const double date = getLeDouble(p);
        const qint16 pupil = getLe16(p + 16), level = getLe16(p + 18);
        const qint32 score = getLe32(p + 20);
        if (recordSkipReason(date, pupil, level, score) != SkipReason::None) continue;
        ++e.used;
        e.hasRecords[std::size_t(pupil)] = 1;
        PupilLevelStats& c = e.cells[{level, pupil}];
        const LevelRow& row = levels[std::size_t(level)];
        const qint64 points = runPoints(score, row.targetTime, row.pointFactor);
        const bool finished = score < 6000;
        ++c.recordCount;
        c.runCount += finished;
        if (date > from - row.dayWindow1) {
            c.recentRunCount += finished;
            c.recentPoints += points;
        }
        if (date > from - row.dayWindow2) {
            c.window2RunCount += finished;
            c.window2Points += points;
        }
        c.totalPoints += points;
        if (finished) c.scoreSum += score;
        if (date >= from && date < to) {
            c.todayRunCount += finished;
            if (finished) c.todayScoreSum += score;
            c.todayPoints += points;
        }
        c.personalBest = std::min(c.personalBest, score);
    }
    e.overallBest.fill(99999);
    for (auto& [key, c] : e.cells) {
        // Integer part of (sum ÷ count + 0.5).
        if (c.runCount > 0) c.averageScore = qint16(std::floor(double(c.scoreSum) / c.runCount + 0.5));
        if (c.todayRunCount > 0)
            c.todayAverageScore = qint16(std::floor(double(c.todayScoreSum) / c.todayRunCount + 0.5));
        e.overallBest[std::size_t(key.first)] = std::min(e.overallBest[std::size_t(key.first)], c.personalBest);
    }
    return e;
}

void sameCounts(const RecordTables& t, const Expected& e)
{
    FUZZ_CHECK(t.recordCount == e.used);
    FUZZ_CHECK(t.overallBest == e.overallBest);
    FUZZ_CHECK(t.hasRecords == e.hasRecords);
    std::size_t cells = 0;
    t.cells.forEach([&](int level, int pupil, const PupilLevelStats& c) {
        const auto it = e.cells.find({level, pupil});
        if (it == e.cells.end()) {
            FUZZ_CHECK(c.recordCount == 0);
            return;
        }
        ++cells;
        const PupilLevelStats& x = it->second;
        FUZZ_CHECK(c.recordCount == x.recordCount);
        FUZZ_CHECK(c.runCount == x.runCount && c.recentRunCount == x.recentRunCount);
        FUZZ_CHECK(c.window2RunCount == x.window2RunCount && c.todayRunCount == x.todayRunCount);
        FUZZ_CHECK(c.totalPoints == x.totalPoints && c.recentPoints == x.recentPoints);
        FUZZ_CHECK(c.window2Points == x.window2Points && c.todayPoints == x.todayPoints);
        FUZZ_CHECK(c.scoreSum == x.scoreSum && c.todayScoreSum == x.todayScoreSum);
        FUZZ_CHECK(c.personalBest == x.personalBest);
        FUZZ_CHECK(c.averageScore == x.averageScore && c.todayAverageScore == x.todayAverageScore);
    });
    FUZZ_CHECK(cells == e.cells.size());
}

// A number of days as the level table holds them: small whole numbers
// mostly, sometimes any finite value (the reader never gives NaN).
double dayWindow(FuzzedDataProvider& in)
{
    if (in.ConsumeBool()) return in.ConsumeIntegralInRange<int>(-3, 4000);
    const double v = in.ConsumeFloatingPoint<double>();
    return std::isfinite(v) ? v : 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    // The records come first; the level rows and the day are taken from the
    // input's end (where the provider reads its numbers).
    LevelTable levels{};
    std::array<LevelRow, 4> rows;
    for (LevelRow& r : rows) {
        // Mostly a target a teacher would write: a large one fills a points
        // cache of 65 536 scores per level, which slows the fuzzing.
        const bool anyTarget = in.ConsumeIntegralInRange<int>(0, 7) == 0;
        r.targetTime = anyTarget ? in.ConsumeIntegral<qint32>() : in.ConsumeIntegralInRange<qint32>(-1, 300);
        r.pointFactor = PointFactor::fromScaled(in.ConsumeIntegralInRange<qint64>(-100000, 100000),
                                                in.ConsumeIntegralInRange<int>(0, 4));
        r.dayWindow1 = dayWindow(in);
        r.dayWindow2 = dayWindow(in);
    }
    for (int level = 0; level < kLevelCount; ++level) levels[std::size_t(level)] = rows[std::size_t(level % 4)];
    const QDate today = QDate(2026, 12, 8).addDays(in.ConsumeIntegralInRange<int>(-800, 800));
    const int chunk = in.ConsumeIntegralInRange<int>(1, 7);
    const QByteArray file = inputBytes(data, in.remaining_bytes());
    const QByteArray records = file.left(file.size() / kResultRecordSize * kResultRecordSize);
    const qint64 count = records.size() / kResultRecordSize;

    // The counters in one pass, against the plain computation.
    const Expected expected = plainCount(records, levels, today);
    RecordTables whole;
    loadAndCount(whole, records.constData(), count, levels, today);
    sameCounts(whole, expected);

    // Fed a few records at a time, as the loader reads the file.
    RecordTables chunked;
    {
        CountingPass pass(chunked, levels, today);
        for (qint64 k = 0; k < count; k += chunk)
            pass.add(records.constData() + k * kResultRecordSize, std::min<qint64>(chunk, count - k));
        pass.finish();
    }
    sameCounts(chunked, expected);

    // The loader alone gives the same bests.
    RecordTables loaded;
    loadRecords(loaded, records.constData(), count);
    FUZZ_CHECK(loaded.recordCount == expected.used);
    FUZZ_CHECK(loaded.overallBest == expected.overallBest);
    FUZZ_CHECK(loaded.hasRecords == expected.hasRecords);
    loaded.cells.forEach([&](int level, int pupil, const PupilLevelStats& c) {
        const auto it = expected.cells.find({level, pupil});
        FUZZ_CHECK(it != expected.cells.end() && c.personalBest == it->second.personalBest);
    });

    // Through the file: a partial record at its end is never read, and the
    // stream hands over exactly the whole records, a chunk at a time.
    const QString dir = scratchFolder().path();
    const QString path = dir + QStringLiteral("/成績累積データ.dat");
    writeFile(path, file);
    {
        QFile f(path);
        FUZZ_CHECK(f.open(QIODevice::ReadOnly));
        const qint64 newest = chunk == 7 ? 3 : -1;
        ResultFileStream stream(f, chunk, newest);
        FUZZ_CHECK(stream.ok() && stream.totalRecords() == count &&
                   stream.trailingBytes() == file.size() - records.size());
        QByteArray read;
        while (stream.next()) read.append(stream.bytes(), stream.count() * kResultRecordSize);
        FUZZ_CHECK(stream.ok());
        FUZZ_CHECK(read == (newest < 0 ? records : records.right(std::min<qint64>(count, newest) * kResultRecordSize)));
    }
    StubServices stubs;
    stubs.clock.at = QDateTime(today, QTime(12, 0));
    static SharedState s; // one for the whole run: making one costs more than a loading
    s.recordsFolder = toFolderString(dir) + u'\\';
    s.levelTable = levels;
    s.records = RecordTables();
    FUZZ_CHECK(loadRecordsAndCounts(s, stubs.services));
    FUZZ_CHECK(stubs.dialogs.messages == 0 && !stubs.end.requested());
    sameCounts(s.records, expected);
    return 0;
}
