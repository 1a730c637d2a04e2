#include "app/stage.h"
#include "app/startup.h"
#include "drill/equation.h"
#include "drill/main_frm.h"
#include "results/frm_syuuryou.h"
#include "support/installation.h"
#include "support/test_services.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

// A whole run on the real screens: the lobby's start button, ten answers on
// the drill, the record stored, the results screen, and another run.
class TestWholeRun : public QObject {
    Q_OBJECT
private slots:
    void drillToResultsAndOnceMore();
};

namespace {

template <typename W> W* control(Stage& stage, const QString& name)
{
    return stage.current() ? stage.current()->findChild<W*>(name) : nullptr;
}

// The operators that make the equation hold.
std::pair<Op, Op> solution(const EquationProblem& p)
{
    for (Op a : {Op::Plus, Op::Minus, Op::Times, Op::Divide})
        for (Op b : {Op::Plus, Op::Minus, Op::Times, Op::Divide})
            if (evaluate(p.n1, a, p.n2, b, p.n3) == std::optional<Rational>(Rational(p.r))) return {a, b};
    return {Op::None, Op::None};
}

} // namespace

void TestWholeRun::drillToResultsAndOnceMore()
{
    TestInstallation inst;
    inst.writeDefaults();
    TestServices t;
    SharedState s;
    Stage stage(s, t.services);
    QVERIFY(startUp(stage.app(), inst.programFolder()));
    // The name selection screen: pupil 1 (the younger cohort, listed last).
    stage.activatePending();
    auto* names = control<QListWidget>(stage, QStringLiteral("List1"));
    QVERIFY(names);
    names->setCurrentRow(names->count() - 1);
    QTest::mouseClick(control<QPushButton>(stage, QStringLiteral("Command14")), Qt::LeftButton);
    QCOMPARE(s.pupilNumber, qint16(1));
    stage.activatePending();

    // Level 1 (target 40 s, second 60 s) from the lobby.
    auto* start = control<QPushButton>(stage, QStringLiteral("Command1(1)"));
    QVERIFY(start);
    QTest::mouseClick(start, Qt::LeftButton);
    auto* drill = qobject_cast<MainFrm*>(stage.current());
    QVERIFY(drill);
    stage.activatePending();
    QCOMPARE(s.currentLevel, qint16(1));

    // Ten right answers, two seconds each, the run clock ticking along.
    for (int i = 0; i < 10; ++i) {
        QVERIFY2(stage.current() == drill, qPrintable(QString::number(i)));
        const auto [a, b] = solution(drill->problem());
        QVERIFY(a != Op::None);
        for (Op op : {a, b}) {
            auto* l = control<QLabel>(stage, QStringLiteral("LblDD1(%1)").arg(int(op)));
            QVERIFY(l);
            QCOMPARE(l->text(), opText(op));
            QTest::mouseDClick(l, Qt::LeftButton);
        }
        t.clock.advanceSeconds(2);
        drill->sTimer1_Timer();
        QTest::mouseClick(control<QPushButton>(stage, QStringLiteral("Command5")), Qt::LeftButton);
    }
    // The end of the run has waited its second and handed over.
    auto* results = qobject_cast<FrmSyuuryou*>(stage.current());
    QVERIFY(results);
    stage.activatePending();
    QCOMPARE(s.runScore, 20);
    QCOMPARE(control<QLabel>(stage, "Label18")->text(), QStringLiteral("今の成績：20秒"));
    QCOMPARE(control<QLabel>(stage, "Label19")->text(), QStringLiteral("獲得ポイント：11点×1→11点"));
    QCOMPARE(control<QLabel>(stage, "Label20")->text(), QStringLiteral("！！！最高新記録！！！"));
    QCOMPARE(control<QLabel>(stage, "Label13")->text(), QStringLiteral(" (このレベル　1回目)"));
    QVERIFY(t.sound.commands.last().contains(QStringLiteral("最高1.wav")));
    QCOMPARE(s.records.newOverallBest, qint16(0));
    QVERIFY(!stage.waitScreen());

    results->Timer1_Timer();
    auto* again = control<QPushButton>(stage, QStringLiteral("Command5"));
    QVERIFY(again && !again->isHidden());
    QTest::mouseClick(again, Qt::LeftButton);
    auto* second = qobject_cast<MainFrm*>(stage.current());
    QVERIFY(second);
    stage.activatePending();
    QCOMPARE(s.currentLevel, qint16(1));
    QCOMPARE(s.run.endFlowDone, qint16(0));
    QVERIFY(!stage.waitScreen()); // the drill took it down when it was ready
}

QTEST_MAIN(TestWholeRun)
#include "test_whole_run.moc"
