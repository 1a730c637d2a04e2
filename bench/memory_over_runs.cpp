// Memory run after run: starts the program on a temporary installation with
// 20 000 records, then plays whole runs (lobby → drill → ten answers →
// results → lobby) and prints the resident memory after each block of runs.
// The figures should level off: a screen that is left must give back what it
// took.
//   xvfb-run -a -s "-screen 0 1024x768x24" build/bench/memory_over_runs [RUNS]
#include "base/folder_path.h"
#include "drill/drill_screen.h"
#include "drill/equation.h"
#include "lobby/lobby_screen.h"
#include "program/navigation.h"
#include "program/startup.h"
#include "records/record_format.h"
#include "results/results_screen.h"
#include "state/catalogue.h"
#include "support/installation.h"
#include "support/test_services.h"
#include "ui/stage.h"

#include <QApplication>
#include <QFile>
#include <cstdio>

namespace {

long statusKb(const char* field)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qsizetype(std::strlen(field))).trimmed().split(' ').value(0).toLong();
    return -1;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;

    TestInstallation inst;
    inst.writeDefaults();
    TestServices t;
    SharedState s;
    ProgramStage stage(s, t.services);
    {
        QByteArray bytes;
        const QDate today = t.clock.today();
        for (int k = 0; k < 20000; ++k) {
            ResultRecord r;
            r.date = double(daySerial(today.addDays(-(k % 60))));
            r.pupilNumber = qint16(1 + k % 2);
            r.level = qint16(1 + k % 4);
            r.score = 20 + k % 150;
            bytes += encodeResultRecord(r);
        }
        QDir().mkpath(inst.programFolder());
        QFile f(inst.programFolder() + QStringLiteral("/成績累積データ.dat"));
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) return 1;
    }
    if (!startUp(stage.app(), inst.programFolder())) return 1;
    stage.activatePending();
    auto settle = [&] {
        stage.activatePending();
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    settle();
    std::printf("first screen      resident %6ld kB, peak %6ld kB\n", statusKb("VmRSS:"), statusKb("VmHWM:"));

    s.pupilNumber = 1;
    s.pupilName = QStringLiteral("山田　花子");
    stage.app().navigator.openLobby();
    settle();
    for (int run = 1; run <= runs; ++run) {
        auto* lobby = qobject_cast<LobbyScreen*>(stage.current());
        if (!lobby) return 2;
        lobby->startLevel(1);
        settle();
        auto* drill = qobject_cast<DrillScreen*>(stage.current());
        if (!drill) return 3;
        for (int answer = 0; answer < 10 && stage.current() == drill; ++answer) {
            const EquationProblem& p = drill->problem();
            [&] {
                for (int a = 1; a <= 4; ++a)
                    for (int b = 1; b <= 4; ++b)
                        if (const auto v = evaluate(p.n1, Op(a), p.n2, Op(b), p.n3); v && *v == Rational(p.r)) {
                            drill->operatorPressed(a);
                            drill->operatorPressed(b);
                            return;
                        }
            }();
            t.clock.advanceSeconds(2);
            drill->submitAnswer();
        }
        settle();
        auto* results = qobject_cast<ResultsScreen*>(stage.current());
        if (!results) return 4;
        results->showButtons();
        results->backToLobby();
        settle();
        if (run % 5 == 0 || run == 1)
            std::printf(
                "after %3d runs    resident %6ld kB, peak %6ld kB, %lld objects under the stage, %lld windows\n", run,
                statusKb("VmRSS:"), statusKb("VmHWM:"), qint64(stage.findChildren<QObject*>().size()),
                qint64(QApplication::topLevelWidgets().size()));
    }
    return 0;
}
