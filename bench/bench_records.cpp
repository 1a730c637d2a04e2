// loadRecordsAndCounts runs whenever the lobby or the results screen opens. Compared here
// against a plain read of the same file, and on a file of 1 000 000 records
// against one of 20 000 (only the newest 20 000 are loaded, so the cost must
// stay flat).
#include "base/clock.h"
#include "base/dialogs.h"
#include "base/folder_path.h"
#include "base/program_end.h"
#include "base/program_launcher.h"
#include "records/record_loading.h"
#include "records/record_passes.h"
#include "records/scores.h"
#include "sound/sound_device.h"
#include "state/services.h"
#include "state/shared_state.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

struct NoSound final : SoundDevice {
    int send(const QString&, QString&) override { return 0; }
    QString errorText(int) override { return {}; }
};
struct NoDialogs final : Dialogs {
    void message(const QString&, const QString&, Icon) override {}
};
struct NoLauncher final : ProgramLauncher {
    bool startDetached(const QString&, const QStringList&) override { return true; }
};
struct FixedClock final : Clock {
    QDateTime now() const override { return QDateTime(QDate(2026, 12, 8), QTime(10, 0)); }
    qint64 tickMs() const override { return 0; }
    void waitMs(qint64) override {}
};

// A result file of `count` records: `pupils` pupils, four levels, two months.
QString writeResultFile(const QString& folder, qint64 count, int pupils)
{
    QDir().mkpath(folder);
    QFile f(folder + QStringLiteral("/成績累積データ.dat"));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
    const double today = double(daySerial(QDate(2026, 12, 8)));
    QByteArray chunk;
    quint32 seed = 7;
    for (qint64 k = 0; k < count; ++k) {
        seed = seed * 1664525u + 1013904223u;
        ResultRecord r;
        r.date = today - double((seed >> 8) % 60);
        r.time = double((seed >> 4) % 86400) / 86400.0;
        r.pupilNumber = qint16(1 + (seed >> 12) % quint32(pupils));
        r.level = qint16(1 + (seed >> 3) % 4);
        r.score = (seed % 50 == 0) ? score::kOutOfTime : qint32(10 + (seed >> 16) % 200);
        r.siteCode = QStringLiteral("12345");
        chunk += encodeResultRecord(r);
        if (chunk.size() > (1 << 20)) {
            f.write(chunk);
            chunk.clear();
        }
    }
    f.write(chunk);
    return f.fileName();
}

// A large school (3000 pupils: the per-pupil cells are spread over the whole
// table) and a class of 40.
struct Installation {
    QTemporaryDir dir;
    QString folder20k, folder20kClass, folder1m, file20k;
    Installation()
    {
        folder20k = dir.path() + QStringLiteral("/school");
        folder20kClass = dir.path() + QStringLiteral("/class");
        folder1m = dir.path() + QStringLiteral("/large");
        file20k = writeResultFile(folder20k, 20000, 3000);
        writeResultFile(folder20kClass, 20000, 40);
        writeResultFile(folder1m, 1000000, 3000);
    }
};

Installation& installation()
{
    static Installation inst;
    return inst;
}

struct Program {
    FixedClock clock;
    NoSound sound;
    NoDialogs dialogs;
    NoLauncher launcher;
    ProgramEnd end;
    Services sv{clock, sound, dialogs, launcher, end};
    std::unique_ptr<SharedState> s = std::make_unique<SharedState>();

    explicit Program(const QString& recordsFolder)
    {
        s->recordsFolder = toFolderString(recordsFolder) + u'\\';
        s->levelTable[1] = {40, 60, 100, 5, PointFactor::fromText(QStringLiteral("1")), 20, 300, 7, 30, {}};
        s->levelTable[2] = {45, 70, 100, 5, PointFactor::fromText(QStringLiteral("1.5")), 20, 300, 7, 30, {}};
        s->levelTable[3] = {60, 90, 120, 5, PointFactor::fromText(QStringLiteral("0.7")), 20, 300, 7, 30, {}};
        s->levelTable[4] = {60, 90, 150, 5, PointFactor::fromText(QStringLiteral("2")), 20, 300, 7, 30, {}};
    }
};

void BM_PlainRead20k(benchmark::State& state)
{
    const QString path = installation().file20k;
    for (auto _ : state) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) state.SkipWithError("cannot open");
        QByteArray bytes = f.readAll();
        benchmark::DoNotOptimize(bytes.data());
    }
}

void countersOf(benchmark::State& state, const QString& folder)
{
    Program p(folder);
    loadRecordsAndCounts(*p.s, p.sv); // the first computation also faults the tables in
    for (auto _ : state) {
        if (!loadRecordsAndCounts(*p.s, p.sv)) state.SkipWithError("loader failed");
        benchmark::DoNotOptimize(p.s->records.recordCount);
    }
    state.counters["records"] = p.s->records.recordCount;
}

void BM_Kaisuu20k(benchmark::State& state) { countersOf(state, installation().folder20k); }
void BM_Kaisuu20kClass(benchmark::State& state) { countersOf(state, installation().folder20kClass); }
void BM_Kaisuu1M(benchmark::State& state) { countersOf(state, installation().folder1m); }

} // namespace

BENCHMARK(BM_PlainRead20k)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Kaisuu20k)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Kaisuu20kClass)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Kaisuu1M)->Unit(benchmark::kMicrosecond);

namespace {
// The floor: decoding and checking each record of the file, nothing counted.
void BM_DecodeOnly20k(benchmark::State& state)
{
    QFile f(installation().file20k);
    if (!f.open(QIODevice::ReadOnly)) state.SkipWithError("cannot open");
    const QByteArray bytes = f.readAll();
    for (auto _ : state) {
        qint64 sum = 0;
        for (qint64 k = 0; k < bytes.size() / 44; ++k) {
            const ResultRecordView r(bytes.constData() + k * 44);
            const double date = r.date();
            const qint16 pupil = r.pupilNumber(), level = r.level();
            const qint32 score = r.score();
            if (recordSkipReason(date, pupil, level, score) != SkipReason::None) continue;
            sum += score + pupil + level + qint64(date);
        }
        benchmark::DoNotOptimize(sum);
    }
}
} // namespace
BENCHMARK(BM_DecodeOnly20k)->Unit(benchmark::kMicrosecond);

namespace {
// The counting alone, on records already in memory.
void BM_CountInMemory20kClass(benchmark::State& state)
{
    QFile f(installation().folder20kClass + QStringLiteral("/成績累積データ.dat"));
    if (!f.open(QIODevice::ReadOnly)) state.SkipWithError("cannot open");
    const QByteArray bytes = f.readAll();
    Program p(installation().folder20kClass);
    const QDate today(2026, 12, 8);
    loadAndCount(p.s->records, bytes.constData(), bytes.size() / 44, p.s->levelTable, today);
    for (auto _ : state) {
        loadAndCount(p.s->records, bytes.constData(), bytes.size() / 44, p.s->levelTable, today);
        benchmark::DoNotOptimize(p.s->records.recordCount);
    }
}
} // namespace
BENCHMARK(BM_CountInMemory20kClass)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
