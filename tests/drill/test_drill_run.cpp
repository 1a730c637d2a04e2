// The timed run under a test clock: the tick handlers are called after the
// clock is moved on, as the real timers would call them.
#define QTEST_QPA_MOUSE_HANDLING
#include "base/twips.h"
#include "drill_fixture.h"

#include <QFileInfo>
#include <QTimer>

class TestDrillRun : public QObject {
    Q_OBJECT
private slots:
    void passLampsGoOutBeforeTheTarget();
    void skippedTickCatchesUp();
    void barAndMarks();
    void timeUpStores99999();
    void tenthAnswerAfterTheTickStoresThatTick();
    void bothEndingsAtOnceRunTheFlowOnce_data();
    void bothEndingsAtOnceRunTheFlowOnce();
    void practiceLevelReturnsWithoutStoring();
    void runAcrossMidnight_data();
    void runAcrossMidnight();
    void todayCountsAddLevels1To15();
    void noNewProblemOnceTheRunIsOver();
    void closingTheWindow_data();
    void closingTheWindow();
};

void TestDrillRun::passLampsGoOutBeforeTheTarget()
{
    DrillFixture f(1, levelTable50());
    QVERIFY(f.openAndMark());
    for (int e = 1; e <= 60; ++e) {
        f.tickAt(e + 0.02);
        QCOMPARE(f.s.run.elapsedSeconds, e);
        QCOMPARE(f.text("sLabel10"), QString::number(e));
        for (int n = 30; n <= 39; ++n) QCOMPARE(f.lampLit(n), e < 41 + (n - 30));
        for (int n = 10; n <= 29; ++n) QVERIFY(f.lampLit(n)); // Best and YourBest have no time to follow
    }
}

void TestDrillRun::skippedTickCatchesUp()
{
    DrillFixture f(1, levelTable50());
    QVERIFY(f.openAndMark());
    f.tickAt(41.1);
    QVERIFY(!f.lampLit(30) && f.lampLit(31));
    f.tickAt(44.0); // 42 and 43 never ticked
    for (int n = 30; n <= 33; ++n) QVERIFY(!f.lampLit(n));
    for (int n = 34; n <= 39; ++n) QVERIFY(f.lampLit(n));
}

void TestDrillRun::barAndMarks()
{
    DrillFixture f(1, levelTable50());
    QVERIFY(f.openAndMark());
    QCOMPARE(f.s.run.runTimeLimit, 300);
    QWidget* track = f.w("sShape5");
    const double scale = f.s.run.barScale;
    QCOMPARE(scale, double(track->width() * 15) / 300);
    QCOMPARE(f.w("sShape2")->width(), 0);
    QCOMPARE(f.w("sShape3")->width(), tw(50 * scale));
    QCOMPARE(f.w("sShape4")->width(), tw(60 * scale));
    for (const char* mark : {"sShape2", "sShape3", "sShape4"}) {
        QCOMPARE(f.w(mark)->x(), track->x());
        QCOMPARE(f.w(mark)->y(), track->y());
    }
    f.tickAt(150.3);
    QCOMPARE(f.drill->elapsedBarTwips(), 150 * scale);
    QCOMPARE(f.w("sShape2")->width(), tw(150 * scale));
    f.tickAt(299.4);
    QCOMPARE(f.drill->elapsedBarTwips(), 299 * scale);
    QCOMPARE(f.s.run.timeUp, false);
    QCOMPARE(f.currentScreen(), QStringLiteral("MainFrm"));
}

void TestDrillRun::timeUpStores99999()
{
    DrillFixture f(1, levelTable50());
    QPointer<DrillScreen> drill = f.openAndMark();
    QVERIFY(drill);
    f.answer(true);
    f.tickAt(299.4);
    QVERIFY(f.records().empty());
    // Look at the drill during the one-second wait, before the results
    // screen takes over.
    bool looked = false;
    f.t.clock.onWait = [&] {
        if (looked || !drill) return;
        looked = true;
        QVERIFY(!drill->runTimer()->isActive());
        QCOMPARE(drill->findChild<QWidget*>("sShape2")->width(), drill->findChild<QWidget*>("sShape5")->width());
        QVERIFY(drill->findChild<QWidget*>("sPicture2")->isVisibleTo(drill));
        QVERIFY(drill->findChild<QWidget*>("lblsss2")->isVisibleTo(drill));
        QVERIFY(!drill->findChild<QWidget*>("lblsss1")->isVisibleTo(drill));
        QCOMPARE(f.records().size(), size_t(1)); // stored before the wait
    };
    f.tickAt(300.1);
    f.t.clock.onWait = nullptr;
    QVERIFY(looked);
    QCOMPARE(f.s.run.timeUp, true);
    QCOMPARE(f.s.runScore, 99999);
    const auto stored = f.records();
    QCOMPARE(stored.size(), size_t(1));
    QCOMPARE(stored[0].score, 99999);
    QCOMPARE(f.currentScreen(), QStringLiteral("FrmSyuuryou"));
    // A late answer, if the drill is still there, changes nothing.
    const int count = f.s.run.correctCount;
    if (drill) drill->submitAnswer();
    QCOMPARE(f.s.run.correctCount, count);
    QCOMPARE(f.records().size(), size_t(1));
}

void TestDrillRun::tenthAnswerAfterTheTickStoresThatTick()
{
    DrillFixture f(1, levelTable50());
    QVERIFY(f.openAndMark());
    for (int k = 0; k < 9; ++k) f.answer(true);
    f.tickAt(37.2);
    QCOMPARE(f.s.run.elapsedSeconds, 37);
    f.t.clock.set(f.runStart.addMSecs(37'800));
    f.answer(true);
    QCOMPARE(f.s.runScore, 37);
    const auto stored = f.records();
    QCOMPARE(stored.size(), size_t(1));
    QCOMPARE(stored[0].score, 37);
    QCOMPARE(f.currentScreen(), QStringLiteral("FrmSyuuryou"));
}

void TestDrillRun::bothEndingsAtOnceRunTheFlowOnce_data()
{
    QTest::addColumn<bool>("answerFirst");
    QTest::addColumn<qint32>("score");
    QTest::newRow("tenth answer first, time-up tick during its flow") << true << 300;
    QTest::newRow("time-up first, tenth answer during its flow") << false << 99999;
}

void TestDrillRun::bothEndingsAtOnceRunTheFlowOnce()
{
    QFETCH(bool, answerFirst);
    QFETCH(qint32, score);
    DrillFixture f(1, levelTable50());
    QPointer<DrillScreen> drill = f.openAndMark();
    QVERIFY(drill);
    for (int k = 0; k < 9; ++k) f.answer(true);
    f.tickAt(299.2);
    f.t.clock.set(f.runStart.addMSecs(300'100));
    const auto [a, b] = operatorsFor(drill->problem());
    f.place(a, b);
    // The second ending arrives while the first lets events run.
    if (answerFirst) {
        QMetaObject::invokeMethod(drill, &DrillScreen::runTimerTick, Qt::QueuedConnection);
        drill->submitAnswer();
    } else {
        // The tick lets events run once before it finds the time up; the
        // answer arrives on the pass after that, inside the end-of-run flow.
        QMetaObject::invokeMethod(
            drill, [drill] { QMetaObject::invokeMethod(drill, &DrillScreen::submitAnswer, Qt::QueuedConnection); },
            Qt::QueuedConnection);
        drill->runTimerTick();
    }
    QCOMPARE(f.s.run.endFlowDone, true);
    QCOMPARE(f.s.runScore, score);
    QCOMPARE(f.s.run.correctCount, answerFirst ? 10 : 9);
    const auto stored = f.records();
    QCOMPARE(stored.size(), size_t(1));
    QCOMPARE(stored[0].score, score);
    QCOMPARE(f.currentScreen(), QStringLiteral("FrmSyuuryou"));
    // A third call finds the flow done.
    if (drill) drill->endRun();
    QCOMPARE(f.records().size(), size_t(1));
}

void TestDrillRun::practiceLevelReturnsWithoutStoring()
{
    DrillFixture f(1, levelTable50());
    f.s.levelNames[1] = QStringLiteral("＋－練習");
    QVERIFY(f.openAndMark());
    QCOMPARE(f.text("sLabel12"), QStringLiteral("－"));
    QCOMPARE(f.text("sLabel11"), QStringLiteral("－"));
    for (int k = 0; k < 10; ++k) f.answer(true);
    QCOMPARE(f.currentScreen(), QStringLiteral("seisekitime1"));
    QVERIFY(f.records().empty());
    // The lobby may open (and so create) the result file, but nothing is appended.
    QCOMPARE(QFileInfo(resultFilePath(f.s)).size(), 0);
    QCOMPARE(f.s.runScore, 0);
    QCOMPARE(f.t.clock.waited, 0);
}

void TestDrillRun::runAcrossMidnight_data()
{
    QTest::addColumn<bool>("byTime");
    QTest::newRow("tenth answer after midnight") << false;
    QTest::newRow("time-up after midnight") << true;
}

void TestDrillRun::runAcrossMidnight()
{
    QFETCH(bool, byTime);
    const QDateTime start(QDate(2026, 12, 8), QTime(23, 59, 50));
    DrillFixture f(1, levelTable50(), start);
    f.s.nameConfirmedSeconds = 86400 - 600; // signed in at 23:50
    QVERIFY(f.openAndMark());
    QCOMPARE(f.text("sLabel13"), QStringLiteral("9"));
    for (int e = 1; e <= 22; ++e) {
        f.tickAt(e + 0.1);
        QCOMPARE(f.s.run.elapsedSeconds, e);
    }
    QCOMPARE(f.t.clock.now().time(), QTime(0, 0, 12, 100));
    f.drill->signInTimerTick();
    QCOMPARE(f.text("sLabel13"), QStringLiteral("10"));
    QCOMPARE(f.s.run.timeUp, false);
    if (byTime) {
        f.tickAt(299.3);
        QCOMPARE(f.s.run.timeUp, false);
        f.tickAt(300.2);
        QCOMPARE(f.s.run.timeUp, true);
    } else {
        for (int k = 0; k < 10; ++k) f.answer(true);
    }
    const auto stored = f.records();
    QCOMPARE(stored.size(), size_t(1));
    QCOMPARE(stored[0].score, byTime ? 99999 : 22);
    QCOMPARE(f.currentScreen(), QStringLiteral("FrmSyuuryou"));
}

void TestDrillRun::todayCountsAddLevels1To15()
{
    DrillFixture f(2);
    f.stage.activatePending(); // the first screen's own computation comes first
    f.s.records.touch(1, 1).todayRunCount = 2;
    f.s.records.touch(2, 1).todayRunCount = 3;
    f.s.records.touch(15, 1).todayRunCount = 4;
    f.s.records.touch(16, 1).todayRunCount = 50; // not counted
    f.s.records.touch(2, 2).todayRunCount = 7;   // another pupil
    QVERIFY(f.open());
    QCOMPARE(f.text("sLabel12"), QStringLiteral("10"));
    QCOMPARE(f.text("sLabel11"), QStringLiteral("4"));
    QCOMPARE(f.text("sLabel8"), QStringLiteral("×÷"));
}

void TestDrillRun::noNewProblemOnceTheRunIsOver()
{
    DrillFixture f(1, levelTable50());
    QPointer<DrillScreen> drill = f.openAndMark();
    QVERIFY(drill);
    drill->showProblem({6, 2, 3, 9, 7});
    f.s.run.timeUp = true;
    drill->nextProblem();
    QCOMPARE(f.text("LblDD3(1)") + f.text("LblDD3(4)"), QStringLiteral("69"));
    f.s.run.timeUp = false;
    f.s.run.runFinished = true;
    QTest::mouseClick(f.op(1), Qt::LeftButton);
    drill->nextProblem();
    QCOMPARE(f.blank(1)->text(), QStringLiteral("＋")); // left exactly as it was
    QCOMPARE(f.text("LblDD3(1)") + f.text("LblDD3(4)"), QStringLiteral("69"));
}

void TestDrillRun::closingTheWindow_data()
{
    QTest::addColumn<bool>("runOver"); // the end of the run has begun
    QTest::addColumn<bool>("yes");     // the answer to "練習をやめますか？"
    QTest::newRow("during a run, yes ends the program") << false << true;
    QTest::newRow("during a run, no goes on, the clock too") << false << false;
    QTest::newRow("after the run it closes without asking") << true << false;
}

void TestDrillRun::closingTheWindow()
{
    QFETCH(bool, runOver);
    QFETCH(bool, yes);
    DrillFixture f(1, levelTable50());
    QVERIFY(f.openAndMark() && QTest::qWaitForWindowExposed(&f.stage));
    f.s.run.endFlowDone = runOver;
    f.t.dialogs.onQuestion = [&](const QString&) { return f.tickAt(15.2), yes; };
    QCOMPARE(f.stage.close(), runOver || yes);
    QCOMPARE(f.t.dialogs.questions, runOver ? QStringList() : QStringList{QStringLiteral("練習をやめますか？")});
    QVERIFY(f.records().empty());
    QCOMPARE(f.t.end.requested(), yes);
    QCOMPARE(f.t.launcher.started.filter(QStringLiteral("/起動/プログラムメニュー.exe 001")).size(), qsizetype(yes));
    if (!runOver && !yes) QVERIFY(f.drill->runTimer()->isActive() && f.text("sLabel10") == u"15");
}

QTEST_MAIN(TestDrillRun)
#include "test_drill_run.moc"
