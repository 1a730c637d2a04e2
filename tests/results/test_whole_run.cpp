#include "drill/drill_screen.h"
#include "drill/equation.h"
#include "program/navigation.h"
#include "program/startup.h"
#include "results/results_screen.h"
#include "roster/roster_reader.h"
#include "support/answers.h"
#include "support/screen_fixture.h"
#include "ui/stage.h"

#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

// The whole loop on the real screens: the lobby's start button, ten answers
// on the drill, the record stored, the results screen, another run, and back
// to the lobby with the counts and lists updated.
class TestWholeRun : public QObject {
    Q_OBJECT
private slots:
    void lobbyDrillResultsLobby();
};

void TestWholeRun::lobbyDrillResultsLobby()
{
    ScreenFixture f;
    auto& [inst, t, s, stage] = f;
    QVERIFY(startUp(stage.app(), inst.programFolder()));
    // The name selection screen: pupil 1 (the younger cohort, listed last).
    stage.activatePending();
    auto* names = f.get<QListWidget>(QStringLiteral("List1"));
    QVERIFY(names);
    names->setCurrentRow(names->count() - 1);
    QTest::mouseClick(f.get<QPushButton>(QStringLiteral("Command14")), Qt::LeftButton);
    QCOMPARE(s.pupilNumber, qint16(1));
    stage.activatePending();
    QCOMPARE(stage.current()->objectName(), QStringLiteral("seisekitime1"));
    QCOMPARE(f.text(QStringLiteral("Label14(1)")), QStringLiteral("-----"));
    QCOMPARE(f.text(QStringLiteral("Label15(1)")), QStringLiteral("------"));

    // Level 1 (target 40 s, second 60 s) from the lobby.
    auto* start = f.get<QPushButton>(QStringLiteral("Command4(1)"));
    QVERIFY(start);
    QTest::mouseClick(start, Qt::LeftButton);
    QCOMPARE(s.currentLevel, qint16(1));

    // Ten right answers, two seconds each, the run clock ticking along; twice.
    for (int run = 1; run <= 2; ++run) {
        auto* drill = qobject_cast<DrillScreen*>(stage.current());
        QVERIFY(drill);
        stage.activatePending();
        for (int i = 0; i < 10; ++i) {
            QVERIFY2(stage.current() == drill, qPrintable(QString::number(i)));
            const auto [a, b] = operatorsFor(drill->problem());
            QVERIFY(a != Op::None);
            for (Op op : {a, b}) {
                auto* l = f.get<QLabel>(QStringLiteral("LblDD1(%1)").arg(int(op)));
                QVERIFY(l);
                QCOMPARE(l->text(), opText(op));
                QTest::mouseDClick(l, Qt::LeftButton);
            }
            t.clock.advanceSeconds(2);
            drill->runTimerTick();
            QTest::mouseClick(f.get<QPushButton>(QStringLiteral("Command5")), Qt::LeftButton);
        }
        // The end of the run has waited its second and handed over.
        auto* results = qobject_cast<ResultsScreen*>(stage.current());
        QVERIFY(results);
        stage.activatePending();
        QCOMPARE(s.runScore, 20);
        QCOMPARE(f.text(QStringLiteral("Label18")), QStringLiteral("今の成績：20秒"));
        QCOMPARE(f.text(QStringLiteral("Label19")), QStringLiteral("獲得ポイント：11点×1→11点"));
        QCOMPARE(f.text(QStringLiteral("Label13")), QStringLiteral(" (このレベル　%1回目)").arg(run));
        QVERIFY(!stage.waitScreen());
        results->showButtons();
        if (run == 1) {
            QCOMPARE(f.text(QStringLiteral("Label20")), QStringLiteral("！！！最高新記録！！！"));
            QVERIFY(t.sound.commands.last().contains(QStringLiteral("最高1.wav")));
            auto* again = f.get<QPushButton>(QStringLiteral("Command5"));
            QVERIFY(again && !again->isHidden());
            QTest::mouseClick(again, Qt::LeftButton);
            QCOMPARE(s.currentLevel, qint16(1));
            QCOMPARE(s.run.endFlowDone, false);
        } else {
            QTest::mouseClick(f.get<QPushButton>(QStringLiteral("Command4")), Qt::LeftButton);
        }
    }

    // Back in the lobby: the two runs are counted and ranked.
    QCOMPARE(stage.current()->objectName(), QStringLiteral("seisekitime1"));
    stage.activatePending();
    QVERIFY(!stage.waitScreen());
    QCOMPARE(f.text(QStringLiteral("Label14(1)")), QStringLiteral("2回/22点"));
    QCOMPARE(f.text(QStringLiteral("Label15(1)")), QStringLiteral("2回/22点"));
    QCOMPARE(f.text(QStringLiteral("Label18")), QStringLiteral("本日総回数＝2回"));
    QCOMPARE(f.text(QStringLiteral("Label8(1)")), QStringLiteral("最近7日=2回 / 22点"));
    auto* list = f.get<QListView>(QStringLiteral("List5(1)"));
    QVERIFY(list && list->model()->rowCount() == 2);
    QCOMPARE(list->model()->index(0, 0).data().toString(), QStringLiteral(" 1●やまだ　は 22/   22"));
}

QTEST_MAIN(TestWholeRun)
#include "test_whole_run.moc"
