// Every screen change's own work on a result file of 20 000 records of three
// pupils, painted, against a plain read of that file in the same run: the
// selection screen (its load and activation, two list builds), names →
// lobby, the lobby shown again, lobby → drill, the end of a run (tenth answer
// → results screen, without the one-second wait and the cues), results →
// lobby, each list kind of the lobby and the progress report of four levels.
//   build/bench/bench_screens --benchmark_repetitions=10 --benchmark_report_aggregates_only=true
#include "base/folder_path.h"
#include "drill/drill_screen.h"
#include "drill/equation.h"
#include "lobby/lobby_screen.h"
#include "program/navigation.h"
#include "records/record_file.h"
#include "records/record_format.h"
#include "records/scores.h"
#include "results/results_screen.h"
#include "roster/name_selection_screen.h"
#include "state/catalogue.h"
#include "state/settings.h"
#include "support/installation.h"
#include "support/test_services.h"
#include "ui/stage.h"

#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

const QDate kToday(2026, 12, 8);

// Three pupils with 20 000 runs at levels 1–4 over the last 60 days, one in
// 50 out of time; the program started on it as startUp does.
struct Program {
    TestInstallation inst;
    TestServices t;
    SharedState s;
    ProgramStage stage{s, t.services};
    QString resultFile;

    Program()
    {
        t.clock.set(QDateTime(kToday, QTime(10, 0)));
        inst.writeDefaults();
        inst.write(QStringLiteral("生徒用名簿.txt"), QStringLiteral("1,2017,0,0,\"山田　花子\",0,\"\",\"\"\n"
                                                                    "2,2015,0,0,\"鈴木　太郎\",0,\"\",\"\"\n"
                                                                    "3,2013,0,0,\"佐藤　健\",0,\"\",\"\"\n"));
        s.programFolder = toFolderString(inst.programFolder());
        loadSettings(s);
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
            r.score = (seed % 50 == 0) ? score::kOutOfTime : qint32(10 + (seed >> 16) % 200);
            bytes += encodeResultRecord(r);
        }
        QFile f(resultFile);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) std::abort();
        stage.show(nullptr);
        stage.QWidget::show();
    }

    // Runs the pending activation and paints what is on view.
    template <typename S> S* settle()
    {
        stage.activatePending();
        stage.repaint();
        return qobject_cast<S*>(stage.current());
    }
    void forget() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    NameSelectionScreen* names()
    {
        stage.app().navigator.showNameSelection();
        auto* n = settle<NameSelectionScreen>();
        forget();
        return n;
    }
    LobbyScreen* lobby()
    {
        s.pupilNumber = 1;
        s.pupilName = s.roster.names[1];
        stage.app().navigator.openLobby();
        auto* l = settle<LobbyScreen>();
        forget();
        return l;
    }
    // A drill with nine right answers given and the tenth placed.
    DrillScreen* drillAtTheTenthAnswer()
    {
        s.currentLevel = 1;
        stage.app().navigator.startRun();
        auto* d = settle<DrillScreen>();
        forget();
        s.run.correctCount = 9;
        const EquationProblem& p = d->problem();
        for (int a = 1; a <= 4; ++a)
            for (int b = 1; b <= 4; ++b)
                if (const auto v = evaluate(p.n1, Op(a), p.n2, Op(b), p.n3); v && *v == Rational(p.r)) {
                    d->operatorPressed(a);
                    d->operatorPressed(b);
                    return d;
                }
        return d;
    }
};

std::unique_ptr<Program> theProgram; // made on first use, gone before the application object
Program& program()
{
    if (!theProgram) theProgram = std::make_unique<Program>();
    return *theProgram;
}

void BM_PlainRead20k(benchmark::State& state)
{
    const QString path = program().resultFile;
    for (auto _ : state) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) state.SkipWithError("cannot open");
        QByteArray bytes = f.readAll();
        benchmark::DoNotOptimize(bytes.data());
    }
}

void BM_SelectionScreen(benchmark::State& state)
{
    Program& p = program();
    for (auto _ : state)
        if (!p.names()) state.SkipWithError("no selection screen");
}

// The lobby's load and show step: the counters, the default ranking lists,
// the counts of every column.
void BM_LobbyShowStep(benchmark::State& state)
{
    Program& p = program();
    for (auto _ : state)
        if (!p.lobby()) state.SkipWithError("no lobby");
}

void BM_NamesToLobby(benchmark::State& state)
{
    Program& p = program();
    for (auto _ : state) {
        state.PauseTiming();
        NameSelectionScreen* n = p.names();
        n->findChild<QListWidget*>(QStringLiteral("List1"))->setCurrentRow(1);
        n->showChosenName();
        state.ResumeTiming();
        n->confirmName();
        if (!p.settle<LobbyScreen>()) state.SkipWithError("no lobby");
        state.PauseTiming();
        p.forget();
        state.ResumeTiming();
    }
}

void BM_LobbyToDrill(benchmark::State& state)
{
    Program& p = program();
    for (auto _ : state) {
        state.PauseTiming();
        LobbyScreen* l = p.lobby();
        state.ResumeTiming();
        l->startLevel(1);
        if (!p.settle<DrillScreen>()) state.SkipWithError("no drill");
        state.PauseTiming();
        p.forget();
        state.ResumeTiming();
    }
}

// The tenth right answer: the run is stored, the wait screen shown, the
// results screen built, its counters recomputed and painted. The cues go
// to the recording device and the one-second wait to the test clock.
void BM_EndOfRun(benchmark::State& state)
{
    Program& p = program();
    for (auto _ : state) {
        state.PauseTiming();
        DrillScreen* d = p.drillAtTheTenthAnswer();
        state.ResumeTiming();
        d->submitAnswer();
        if (!p.settle<ResultsScreen>()) state.SkipWithError("no results screen");
        state.PauseTiming();
        p.forget();
        state.ResumeTiming();
    }
}

void BM_ResultsToLobby(benchmark::State& state)
{
    Program& p = program();
    for (auto _ : state) {
        state.PauseTiming();
        p.drillAtTheTenthAnswer()->submitAnswer();
        auto* r = p.settle<ResultsScreen>();
        p.forget();
        r->showButtons();
        state.ResumeTiming();
        r->backToLobby();
        if (!p.settle<LobbyScreen>()) state.SkipWithError("no lobby");
        state.PauseTiming();
        p.forget();
        state.ResumeTiming();
    }
}

// One list kind: the display option (0 times, 1 points, 2 personal) and the
// variant (1–3).
void BM_LobbyList(benchmark::State& state)
{
    Program& p = program();
    LobbyScreen* l = p.lobby();
    const int kind = int(state.range(0)), variant = int(state.range(1));
    l->showDisplay(LobbyScreen::Display(kind));
    for (auto _ : state) {
        if (kind == 2) l->showDisplay(LobbyScreen::Display::PersonalTimes);
        else l->showScope(LobbyScreen::Scope(variant));
        l->repaint();
    }
}

// The progress report of four levels drawn on screen ("表示"): the figures of
// each level through the ranking rules, the graphs, the tables, painted.
void BM_ReportFourLevels(benchmark::State& state)
{
    Program& p = program();
    LobbyScreen* l = p.lobby();
    l->showDisplay(LobbyScreen::Display::PersonalTimes);
    l->findChild<QPushButton*>(QStringLiteral("Command17"))->click();
    auto* levels = l->findChild<QListWidget*>(QStringLiteral("List3"));
    auto* show = l->findChild<QPushButton*>(QStringLiteral("Command24(0)"));
    if (!levels || !show || levels->count() < 4) {
        state.SkipWithError("no report panel");
        return;
    }
    for (int k = 0; k < 4; ++k) levels->item(k)->setSelected(true);
    for (auto _ : state) {
        show->click();
        l->repaint();
    }
    l->showDisplay(LobbyScreen::Display::Times);
}

} // namespace

BENCHMARK(BM_PlainRead20k)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SelectionScreen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NamesToLobby)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LobbyShowStep)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LobbyToDrill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EndOfRun)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ResultsToLobby)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LobbyList)
    ->ArgNames({"display", "variant"})
    ->Args({0, 1})
    ->Args({0, 2})
    ->Args({0, 3})
    ->Args({1, 1})
    ->Args({1, 2})
    ->Args({1, 3})
    ->Args({2, 0})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReportFourLevels)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    theProgram.reset();
    return 0;
}
