// A run that runs out of time, on the test clock: two right answers, then
// the run clock's own tick finds the limit (5 × the second time) reached.
#include "base/text_file.h"
#include "e2e_program.h"

#include <QListWidget>
#include <QTest>

class TestRunTimesOut : public QObject {
    Q_OBJECT
private slots:
    void timeRunsOut();
};

void TestRunTimesOut::timeRunsOut()
{
    E2eProgram p(E2eProgram::Time::Test);
    const QDateTime signIn(QDate(2026, 12, 8), QTime(10, 0));
    p.testClock.set(signIn);
    QVERIFY(p.start());

    QVERIFY(waitForScreen(p, QStringLiteral("namesel")));
    auto* names = p.find<QListWidget>(QStringLiteral("List1"));
    QVERIFY(names && names->count() == 3);
    QVERIFY(E2eProgram::click(names->viewport(), names->visualItemRect(names->item(2)).center()));
    QTRY_COMPARE(p.text(QStringLiteral("Label1")), QStringLiteral("小3 やまだ　はな"));
    QVERIFY(E2eProgram::click(p.find(QStringLiteral("Command14"))));
    QVERIFY(waitForScreen(p, QStringLiteral("seisekitime1")));
    QVERIFY(E2eProgram::click(p.find(QStringLiteral("Command4(1)"))));
    QVERIFY(waitForScreen(p, QStringLiteral("MainFrm")));

    for (int answer = 1; answer <= 2; ++answer) {
        const auto eq = readEquation(p);
        QVERIFY(eq);
        QVERIFY(placeOperators(p, *rightPair(*eq)));
        QVERIFY(E2eProgram::click(p.find(QStringLiteral("Command5"))));
        QTRY_COMPARE(p.text(QStringLiteral("sLabel9")), QString::number(10 - answer));
    }

    // Level 1's second time is 60 s: the run ends at 300 s. While the end of
    // the run waits its second, the cover says the time is up.
    bool coverSeen = false, timeUpShown = false, recordingShown = true;
    p.testClock.onWait = [&] {
        if (coverSeen || p.screenName() != u"MainFrm") return;
        coverSeen = p.shown(QStringLiteral("sPicture2"));
        timeUpShown = p.shown(QStringLiteral("lblsss2"));
        recordingShown = p.shown(QStringLiteral("lblsss1"));
    };
    p.testClock.advanceSeconds(300);
    QVERIFY(waitForScreen(p, QStringLiteral("FrmSyuuryou"), 5000)); // the real timer ticks each second
    QVERIFY(coverSeen && timeUpShown && !recordingShown);
    QCOMPARE(p.s.runScore, 99999);
    QCOMPARE(p.text(QStringLiteral("Label18")), QStringLiteral("記録なし"));
    QCOMPARE(p.text(QStringLiteral("Label19")), QStringLiteral("獲得ポイント：0点×1→0点"));
    QCOMPARE(p.text(QStringLiteral("Label20")), QStringLiteral("時間切れ"));
    // A run that did not finish is not counted as one of today's runs.
    QCOMPARE(p.text(QStringLiteral("Label13")), QStringLiteral(" (このレベル　0回目)"));
    QVERIFY(p.shown(QStringLiteral("Command5")));

    // Stored with the time of the tick that found the limit.
    const double date = serialDay(signIn.date());
    const double time = (10 * 3600 + 300) / 86400.0;
    QCOMPARE(p.resultFile(), expectedResultRecord(date, time, 1, 1, 99999, "12345"));
    QCOMPARE(p.sharedLog(),
             expectedSharedLogRecord(encodeCp932(QStringLiteral("ソルメア\\")), date, time, 1, 1, 99999, "12345"));

    QVERIFY(E2eProgram::click(p.find(QStringLiteral("Command4"))));
    QVERIFY(waitForScreen(p, QStringLiteral("seisekitime1")));
    QCOMPARE(p.text(QStringLiteral("Label14(1)")), QStringLiteral("-----"));
    QCOMPARE(p.text(QStringLiteral("Label15(1)")), QStringLiteral("------"));
    QCOMPARE(p.text(QStringLiteral("Label8(1)")), QStringLiteral("最近7日=0回 / 0点"));
    QCOMPARE(p.text(QStringLiteral("Label18")), QStringLiteral("本日総回数＝0回"));

    // Two right-answer cues; a run out of time plays nothing on the results screen.
    const QStringList trace = p.traceLines();
    QCOMPARE(trace.size(), 2);
    for (const QString& line : trace)
        QVERIFY2(line.startsWith(QStringLiteral("play ") + p.soundFolderString() + QStringLiteral("seikai")) &&
                     line.endsWith(QStringLiteral(".wav wait\t0")),
                 qPrintable(line));
    QVERIFY(p.dialogs.texts.isEmpty());
}

QTEST_MAIN(TestRunTimesOut)
#include "test_run_times_out.moc"
