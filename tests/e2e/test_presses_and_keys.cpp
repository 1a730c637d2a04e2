// The drill's presses and keys as a child makes them, through the X server, on the real clock.
#include "app/catalogue.h"
#include "app/dispatch.h"
#include "drill/main_frm.h"
#include "e2e_program.h"

#include <QProcess>
#include <QTest>
#include <memory>

class TestPressesAndKeys : public QObject {
    Q_OBJECT
private slots:
    void drill_data();
    void drill();

private:
    int cues(const char* kind) const { return int(p->traceLines().filter(QLatin1String(kind)).size()); }
    std::unique_ptr<E2eProgram> p;
};

void TestPressesAndKeys::drill_data()
{
    QTest::addColumn<QString>("placed"); // "right", "wrong" or "": operators clicked first
    QTest::addColumn<QString>("xdotool"); // %OK: the middle of "O.K."
    QTest::addColumn<int>("wrongCues");
    QTest::addColumn<QString>("blanks"); // then, the first one current; "_" an empty blank, "" not looked at
    for (const char* gap : {"150", "300", "500", "900"}) {
        QTest::addRow("double click %s ms apart", gap) << "right" << QStringLiteral("mousemove %OK click --repeat 2 --delay %1 1").arg(gap) << 0 << "__";
        QTest::addRow("double Enter %s ms apart", gap) << "right" << QStringLiteral("key --delay %1 Return Return").arg(gap) << 0 << "__";
    }
    QTest::newRow("double keypad Enter") << "right" << "key --delay 300 KP_Enter KP_Enter" << 0 << "__";
    QTest::newRow("Enter held 1.5 s") << "right" << "keydown Return sleep 1.5 keyup Return" << 0 << "__";
    QTest::newRow("an empty answer a second on is judged") << "" << "sleep 1.2 key Return" << 1 << "";
    QTest::newRow("Space moves on and never answers") << "" << "key plus space" << 0 << "＋_";
    QTest::newRow("Space after a wrong answer") << "wrong" << "key --delay 500 Return space" << 1 << "__";
    QTest::newRow("Enter after a wrong answer") << "wrong" << "key --delay 500 Return Return" << 1 << "__";
}

void TestPressesAndKeys::drill()
{
    QFETCH(QString, placed);
    QFETCH(QString, xdotool);
    QFETCH(int, wrongCues);
    QFETCH(QString, blanks);
    if (!p) { // one program for every row, signed in as pupil 1
        p = std::make_unique<E2eProgram>(E2eProgram::Time::Real);
        QVERIFY(p->start() && waitForScreen(*p, QStringLiteral("namesel")));
        setLobbyLevels(p->s);
        p->s.pupilNumber = 1;
    }
    if (!p->find(QStringLiteral("LblDD5")) || p->s.run.correctCount >= 7) {
        p->s.currentLevel = 1;
        startRun(p->stage.app());
        QVERIFY(waitForScreen(*p, QStringLiteral("MainFrm")));
    }
    auto* frm = qobject_cast<MainFrm*>(p->stage.current());
    if (p->shown(QStringLiteral("Command1"))) p->find<QPushButton>(QStringLiteral("Command1"))->click();
    frm->LblDD5_Click();
    const auto eq = readEquation(*p);
    if (!placed.isEmpty()) QVERIFY(placeOperators(*p, *(placed == u"right" ? rightPair(*eq) : wrongPair(*eq))));
    const int right = cues("seikai"), wrong = cues("machigai");
    auto* ok = p->find<QPushButton>(QStringLiteral("Command5"));
    const QPoint at = ok->mapToGlobal(ok->rect().center());
    QProcess x;
    x.start(QStringLiteral("xdotool"), xdotool.replace(QStringLiteral("%OK"), QStringLiteral("%1 %2").arg(at.x()).arg(at.y())).split(u' '));
    QVERIFY(QTest::qWaitFor([&] { return x.state() == QProcess::NotRunning; }, 15000) && x.exitCode() == 0);
    QTest::qWait(800); // the last press's cue

    QCOMPARE(p->stage.current(), frm);
    QCOMPARE(cues("seikai") - right, int(placed == u"right")); // one right answer, never two
    QCOMPARE(cues("machigai") - wrong, wrongCues);
    QCOMPARE(p->text(QStringLiteral("sLabel9")), QString::number(10 - p->s.run.correctCount));
    for (int i = 0; i < 2 && !blanks.isEmpty(); ++i) { // the current blank alone wears the orange frame
        QLabel* blank = p->find<QLabel>(QStringLiteral("LblDD2(%1)").arg(i + 1));
        QCOMPARE(blank->text(), QString(blanks[i]).remove(u'_'));
        QCOMPARE(blank->grab().toImage().pixelColor(4, blank->height() / 2) == QColor(0xff, 0x6a, 0x00), i == 0);
    }
}

QTEST_MAIN(TestPressesAndKeys)
#include "test_presses_and_keys.moc"
