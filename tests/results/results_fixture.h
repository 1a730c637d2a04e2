#pragma once
#include "records/record_file.h"
#include "records/record_loading.h"
#include "results/results_screen.h"
#include "support/screen_fixture.h"

#include <QRegularExpression>

namespace results_test {

// A whole installation with its own level table, the pupil signed in, and a
// way to store runs through the record store as the drill does.
struct Fixture : ScreenFixture {
    explicit Fixture(const QString& levelTable = {}) : ScreenFixture(levelTable)
    {
        readSettings();
        s.pupilNumber = 1;
        s.pupilName = QStringLiteral("  やまだ　はなこ ");
    }

    // One run of `pupil` at `level`, stored as the drill's end of run does:
    // the counters are those of the last computation, then the store.
    bool storeRun(int level, int score, int pupil = 1)
    {
        const qint16 me = s.pupilNumber;
        s.pupilNumber = qint16(pupil);
        s.currentLevel = qint16(level);
        s.run = RunState{};
        s.run.timeUp = score >= 99999;
        s.runScore = score;
        s.records.newPersonalBest = false;
        s.records.newOverallBest = false;
        const bool ok = loadRecordsAndCounts(s, t.services) && ::storeRun(s, t.services, level);
        s.pupilNumber = me;
        return ok;
    }

    // The results screen after the run just stored, its activation done.
    ResultsScreen* showResults()
    {
        settle();
        t.sound.commands.clear();
        stage.showWaitScreen();
        auto* f = new ResultsScreen(stage.app());
        stage.show(f);
        stage.activatePending();
        return f;
    }

    // The cues played, by file name without folder and ending.
    QStringList cues() const
    {
        QStringList out;
        static const QRegularExpression file(QStringLiteral("([^\\\\/]+)\\.wav\"? wait$"));
        for (const QString& c : t.sound.commands) out << file.match(c).captured(1);
        return out;
    }
};

// Level 1: target 40, second 60, factor 2, cleared by 3 runs and 30 points,
// done enough after 4 runs. Level 2 has no marks. Level 4 (the final level):
// cleared by 2 runs and 10 points.
inline const QString kTable = QStringLiteral("0,0,0,0,1,0,0,7,30,0,0,0\n"
                                             "40,60,30,3,2,4,0,7,30,0,0,0\n"
                                             "45,70,30,3,1.5,0,0,7,30,0,0,0\n"
                                             "60,90,120,5,0.7,20,300,7,30,0,0,0\n"
                                             "60,90,10,2,1,3,0,7,30,0,0,0\n");

} // namespace results_test
