// A whole visit with the keyboard only, every key through the X server:
// arrows and Enter on the names, the level's digit in the lobby, + - * /,
// Backspace and Enter in the drill, Enter on the results screen.
#include "e2e_program.h"

#include <QTest>
#include <cstring>

class TestPlayWithKeyboard : public QObject {
    Q_OBJECT
private slots:
    void keysOnly();
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

QTEST_MAIN(TestPlayWithKeyboard)
#include "test_play_with_keyboard.moc"
