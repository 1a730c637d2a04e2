// A whole visit with the keyboard only, every key through the X server:
// arrows and Enter on the names, the level's digit in the lobby, + - * /,
// Backspace and Enter in the drill, Enter on the results screen. Then the
// drill's presses and keys as a child makes them, on the real clock.
#include "drill/drill_screen.h"
#include "e2e_program.h"
#include "program/navigation.h"
#include "state/catalogue.h"

#include <QProcess>
#include <QTest>
#include <cstring>
#include <memory>

class TestPlayWithKeyboard : public QObject {
    Q_OBJECT
private slots:
    void keysOnly();
    void pressesAndKeys_data();
    void pressesAndKeys();

private:
    int cues(const char* kind) const { return int(p->traceLines().filter(QLatin1String(kind)).size()); }
    std::unique_ptr<E2eProgram> p;
};

namespace {
const QString kKeys[5] = {QString(), QStringLiteral("plus"), QStringLiteral("minus"), QStringLiteral("asterisk"),
                          QStringLiteral("slash")};
}

void TestPlayWithKeyboard::keysOnly()
{
    E2eProgram p(E2eProgram::Time::Real);
    QVERIFY(p.start());
    QVERIFY(waitForScreen(p, QStringLiteral("namesel")));
    // すずき (pupil 2, the older cohort) is the first name under the dashes.
    for (int i = 0; i < 3 && !p.text(QStringLiteral("Label1")).endsWith(QStringLiteral("すずき　たろ")); ++i) {
        QVERIFY(E2eProgram::keys({QStringLiteral("Down")}));
        QTest::qWait(100);
    }
    QVERIFY(p.text(QStringLiteral("Label1")).endsWith(QStringLiteral(" すずき　たろ")));
    QVERIFY(E2eProgram::keys({QStringLiteral("Return")}));
    QVERIFY(waitForScreen(p, QStringLiteral("seisekitime1")));
    QCOMPARE(p.s.pupilNumber, qint16(2));
    QVERIFY(E2eProgram::keys({QStringLiteral("1")}));
    QVERIFY(waitForScreen(p, QStringLiteral("MainFrm")));
    QCOMPARE(p.s.currentLevel, qint16(1));

    int right = 0, remaining = 10;
    bool wrongDone = false;
    while (remaining > 0) {
        QVERIFY2(right < 20, "the run does not end");
        const auto eq = readEquation(p);
        QVERIFY(eq);
        if (right == 2 && !wrongDone) {
            // × and ÷ (a level of ＋ and － never needs them), then Enter on
            // the review's button.
            const auto wrong = wrongPair(*eq, {{3, 4}, {4, 3}, {3, 3}, {4, 4}});
            QVERIFY(wrong);
            QVERIFY(E2eProgram::keys({kKeys[wrong->first], kKeys[wrong->second], QStringLiteral("Return")}));
            QTRY_VERIFY(p.shown(QStringLiteral("Command1")));
            QCOMPARE(p.text(QStringLiteral("Label1")), hundredths(*valueOf(*eq, wrong->first, wrong->second)));
            ++remaining; // one right answer fewer
            QTRY_COMPARE(p.text(QStringLiteral("sLabel9")), QString::number(remaining));
            QVERIFY(E2eProgram::keys({QStringLiteral("Return")}));
            QTRY_VERIFY(p.shown(QStringLiteral("Command5")));
            wrongDone = true;
            continue;
        }
        const auto pair = rightPair(*eq);
        QVERIFY(pair);
        if (right == 5) {
            // Backspace empties the blanks.
            QVERIFY(E2eProgram::keys({QStringLiteral("slash"), QStringLiteral("BackSpace")}));
            QTRY_VERIFY(p.text(QStringLiteral("LblDD2(1)")).isEmpty());
        }
        QVERIFY(E2eProgram::keys({kKeys[pair->first], kKeys[pair->second], QStringLiteral("Return")}));
        ++right;
        if (--remaining > 0) QTRY_COMPARE(p.text(QStringLiteral("sLabel9")), QString::number(remaining));
    }

    // Enter on the results screen presses "メニューへ", which has the focus.
    QVERIFY(waitForScreen(p, QStringLiteral("FrmSyuuryou")));
    const int score = p.s.runScore;
    QCOMPARE(p.text(QStringLiteral("Label18")), QStringLiteral("今の成績：%1秒").arg(score));
    QVERIFY(E2eProgram::keys({QStringLiteral("Return")}));
    QVERIFY(waitForScreen(p, QStringLiteral("seisekitime1")));
    const int points = runPoints(score, 40);
    QCOMPARE(p.text(QStringLiteral("Label15(1)")), QStringLiteral("1回/%1点").arg(points));

    const QByteArray record = p.resultFile();
    QCOMPARE(record.size(), 44);
    qint16 pupil = 0, level = 0;
    qint32 stored = 0;
    std::memcpy(&pupil, record.constData() + 16, 2);
    std::memcpy(&level, record.constData() + 18, 2);
    std::memcpy(&stored, record.constData() + 20, 4);
    QCOMPARE(pupil, qint16(2));
    QCOMPARE(level, qint16(1));
    QCOMPARE(stored, score);
    QCOMPARE(p.sharedLog().size(), 66);

    // Eleven right answers, one wrong, and the first run of the level is the best of all.
    const QStringList trace = p.traceLines();
    QCOMPARE(trace.size(), 13);
    QVERIFY(trace[2].contains(QStringLiteral("machigai1.wav wait\t0")));
    QVERIFY(trace[12].contains(QStringLiteral("最高1.wav wait\t0")));
    QVERIFY(p.dialogs.texts.isEmpty());
}

// clang-format off
void TestPlayWithKeyboard::pressesAndKeys_data()
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
// clang-format on

void TestPlayWithKeyboard::pressesAndKeys()
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
        p->stage.app().navigator.startRun();
        QVERIFY(waitForScreen(*p, QStringLiteral("MainFrm")));
    }
    auto* frm = qobject_cast<DrillScreen*>(p->stage.current());
    if (p->shown(QStringLiteral("Command1"))) p->find<QPushButton>(QStringLiteral("Command1"))->click();
    frm->clearBlanks();
    const auto eq = readEquation(*p);
    if (!placed.isEmpty()) QVERIFY(placeOperators(*p, *(placed == u"right" ? rightPair(*eq) : wrongPair(*eq))));
    const int right = cues("seikai"), wrong = cues("machigai");
    auto* ok = p->find<QPushButton>(QStringLiteral("Command5"));
    const QPoint at = ok->mapToGlobal(ok->rect().center());
    QProcess x;
    x.start(QStringLiteral("xdotool"),
            xdotool.replace(QStringLiteral("%OK"), QStringLiteral("%1 %2").arg(at.x()).arg(at.y())).split(u' '));
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

QTEST_MAIN(TestPlayWithKeyboard)
#include "test_play_with_keyboard.moc"
