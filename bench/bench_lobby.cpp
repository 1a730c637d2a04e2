// The step lobby's show step and its longest list build, on a result file of
// 20 000 records of three pupils, each against a plain read of that file in
// the same run; and the data part of the selection screen's list build (the
// counters, the roster and the four figures of every pupil).
//   build/bench/bench_lobby --benchmark_repetitions=10 --benchmark_report_aggregates_only=true
#include "app/catalogue.h"
#include "app/dispatch.h"
#include "app/folder_path.h"
#include "app/settings.h"
#include "app/stage.h"
#include "lobby/seisekitime1.h"
#include "records/record_format.h"
#include "records/record_store.h"
#include "roster/roster_reader.h"
#include "support/installation.h"
#include "support/test_services.h"

#include <QApplication>
#include <QFile>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

const QDate kToday(2026, 12, 8);

// 20 000 runs of pupils 1–3 at levels 1–4 over the last 60 days, one in 50
// out of time.
struct Installation {
    TestInstallation inst;
    TestServices t;
    SharedState s;
    Stage stage{s, t.services};
    QString resultFile;

    Installation()
    {
        t.clock.set(QDateTime(kToday, QTime(10, 0)));
        inst.writeDefaults();
        inst.write(QStringLiteral("生徒用名簿.txt"), QStringLiteral("1,2017,0,0,\"やまだ　はなこ\",0,\"\",\"\"\n"
                                                                "2,2015,0,0,\"すずき　たろう\",0,\"\",\"\"\n"
                                                                "3,2013,0,0,\"さとう　けん\",0,\"\",\"\"\n"));
        s.backgroundColour = 0x008080;
        s.programFolder = toFolderString(inst.programFolder());
        loadSettings(s);
        setLobbyLevels(s);
        readRosterTables(s, kToday, true, {});
        s.pupilNumber = 1;
        s.pupilName = s.roster.names[1];
        s.pupilGradeLabel = s.roster.gradeLabels[1];
        resultFile = resultFilePath(s);
        QByteArray bytes;
        quint32 seed = 7;
        for (int k = 0; k < 20000; ++k) {
            seed = seed * 1664525u + 1013904223u;
            ResultRecord r;
            r.date = double(daySerial(kToday.addDays(-qint64((seed >> 8) % 60))));
            r.time = double((seed >> 4) % 86400) / 86400.0;
            r.pupilNumber = qint16(1 + (seed >> 12) % 3);
            r.level = qint16(1 + (seed >> 3) % 4);
            r.score = (seed % 50 == 0) ? 99999 : qint32(10 + (seed >> 16) % 200);
            bytes += encodeResultRecord(r);
        }
        QFile f(resultFile);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) std::abort();
    }

    seisekitime1* showLobby()
    {
        showLobbyScreen(stage.app());
        stage.activatePending();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return qobject_cast<seisekitime1*>(stage.current());
    }
};

// Made on first use, gone before the application object.
std::unique_ptr<Installation> theInstallation;
Installation& installation()
{
    if (!theInstallation) theInstallation = std::make_unique<Installation>();
    return *theInstallation;
}

void BM_PlainRead20k(benchmark::State& state)
{
    const QString path = installation().resultFile;
    for (auto _ : state) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) state.SkipWithError("cannot open");
        QByteArray bytes = f.readAll();
        benchmark::DoNotOptimize(bytes.data());
    }
}

// Loading the lobby and its show step: the counters, the default ranking
// lists, the counts of every column.
void BM_LobbyShowStep(benchmark::State& state)
{
    Installation& in = installation();
    in.showLobby();
    for (auto _ : state) {
        seisekitime1* lobby = in.showLobby();
        if (!lobby) state.SkipWithError("no lobby");
        benchmark::DoNotOptimize(lobby);
    }
}

// The longest list: every run of the last 3650 days, 20 000 lines.
void BM_AllRunsList(benchmark::State& state)
{
    Installation& in = installation();
    seisekitime1* lobby = in.showLobby();
    lobby->Option2_Click(0);
    for (auto _ : state) lobby->Option1_Click(3);
}

// What the selection screen computes for its list: the counters, the roster,
// and each listed pupil's runs and points today and in all over levels 1–35.
void BM_SelectionListData(benchmark::State& state)
{
    Installation& in = installation();
    for (auto _ : state) {
        if (!回数求(in.s, in.t.services)) state.SkipWithError("loader failed");
        qint64 figures = 0;
        readRosterTables(in.s, kToday, true, [&](const RosterRecord& r, const QString&) {
            for (int level = 1; level < kLevelCount; ++level) {
                const PupilLevelStats& st = std::as_const(in.s.records).stats(level, r.number);
                figures += st.todayRunCount + st.runCount + st.todayPoints + st.totalPoints;
            }
        });
        benchmark::DoNotOptimize(figures);
    }
}

} // namespace

BENCHMARK(BM_PlainRead20k)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LobbyShowStep)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AllRunsList)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SelectionListData)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    theInstallation.reset();
    benchmark::Shutdown();
    return 0;
}
