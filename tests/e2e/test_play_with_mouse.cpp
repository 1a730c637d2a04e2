// A pupil's whole visit with the mouse, every click through the X server:
// name, lobby, ten problems with one wrong answer, results, back to the
// lobby; then what was stored, shown and played.
#include "base/text_file.h"
#include "e2e_program.h"

#include <QListView>
#include <QListWidget>
#include <QRegularExpression>
#include <QTest>
#include <cstring>

class TestPlayWithMouse : public QObject {
    Q_OBJECT
private slots:
    void onePupilOneRun();
};

namespace {
constexpr int kWait = 10000;
} // namespace

void TestPlayWithMouse::onePupilOneRun()
{
    E2eProgram p(E2eProgram::Time::Real);
    QVERIFY(p.start());
    const QDate day = QDate::currentDate();
    const double before = QTime::currentTime().msecsSinceStartOfDay() / 86400000.0;

    // The name selection screen: やまだ (pupil 1, the younger cohort) is listed last.
    QVERIFY(waitForScreen(p, QStringLiteral("namesel")));
    auto* names = p.find<QListWidget>(QStringLiteral("List1"));
    QVERIFY(names && names->count() == 3);
    QListWidgetItem* hanako = names->item(2);
    QVERIFY(hanako->text().contains(QStringLiteral("やまだ　はな")));
    QVERIFY(E2eProgram::click(names->viewport(), names->visualItemRect(hanako).center()));
    QTRY_VERIFY_WITH_TIMEOUT(p.text(QStringLiteral("Label1")).endsWith(QStringLiteral(" やまだ　はな")), kWait);
    QVERIFY(E2eProgram::click(p.find(QStringLiteral("Command14"))));

    // The lobby, nothing done yet.
    QVERIFY(waitForScreen(p, QStringLiteral("seisekitime1")));
    QCOMPARE(p.s.pupilNumber, qint16(1));
    QCOMPARE(p.text(QStringLiteral("Label13")), QStringLiteral("1:テスト教室"));
    QCOMPARE(p.text(QStringLiteral("Label14(1)")), QStringLiteral("-----"));
    QCOMPARE(p.text(QStringLiteral("Label15(1)")), QStringLiteral("------"));
    QCOMPARE(p.text(QStringLiteral("Label18")), QStringLiteral("本日総回数＝0回"));
    QVERIFY(E2eProgram::click(p.find(QStringLiteral("Command4(1)"))));

    // The drill: every equation read off the screen and answered by clicks.
    QVERIFY(waitForScreen(p, QStringLiteral("MainFrm")));
    for (int i = 1; i <= 4; ++i)
        QCOMPARE(p.text(QStringLiteral("LblDD1(%1)").arg(i)), kOperatorCaptions[std::size_t(i)]);
    int right = 0, remaining = 10;
    bool wrongDone = false;
    while (remaining > 0) {
        QVERIFY2(right < 20, "the run does not end");
        const auto eq = readEquation(p);
        QVERIFY(eq);
        if (right == 3 && !wrongDone) {
            // A wrong answer: its value is shown, O.K. gives way to the review's button.
            const auto wrong = wrongPair(*eq);
            QVERIFY(wrong);
            QVERIFY(placeOperators(p, *wrong));
            QVERIFY(E2eProgram::click(p.find(QStringLiteral("Command5"))));
            QTRY_VERIFY_WITH_TIMEOUT(p.shown(QStringLiteral("Command1")), kWait);
            QVERIFY(!p.shown(QStringLiteral("Command5")));
            QCOMPARE(p.text(QStringLiteral("Label3")), QStringLiteral("あなたの答えは"));
            QCOMPARE(p.text(QStringLiteral("Label1")), hundredths(*valueOf(*eq, wrong->first, wrong->second)));
            remaining += 1; // one right answer fewer
            QTRY_COMPARE_WITH_TIMEOUT(p.text(QStringLiteral("sLabel9")), QString::number(remaining), kWait);
            QVERIFY(!p.find(QStringLiteral("LblDD1(1)"))->isEnabled());
            QVERIFY(E2eProgram::click(p.find(QStringLiteral("Command1"))));
            QTRY_VERIFY_WITH_TIMEOUT(p.shown(QStringLiteral("Command5")), kWait);
            QVERIFY(!p.shown(QStringLiteral("Label1")) && p.text(QStringLiteral("LblDD2(1)")).isEmpty());
            QCOMPARE(readEquation(p)->r, eq->r); // the same problem again
            wrongDone = true;
            continue;
        }
        const auto pair = rightPair(*eq);
        QVERIFY(pair);
        QVERIFY(placeOperators(p, *pair));
        QVERIFY(E2eProgram::click(p.find(QStringLiteral("Command5"))));
        ++right;
        --remaining;
        if (remaining > 0)
            QTRY_COMPARE_WITH_TIMEOUT(p.text(QStringLiteral("sLabel9")), QString::number(remaining), kWait);
    }
    QCOMPARE(right, 11);

    // The results screen, its buttons after half a second.
    QVERIFY(waitForScreen(p, QStringLiteral("FrmSyuuryou")));
    const int score = p.s.runScore;
    QVERIFY(score > 0 && score < 300);
    const int points = runPoints(score, 40);
    QCOMPARE(p.text(QStringLiteral("Label15")), QStringLiteral("ソルメア"));
    QCOMPARE(p.text(QStringLiteral("Label16")), QStringLiteral("＋－"));
    QCOMPARE(p.text(QStringLiteral("Label17")), QStringLiteral("やまだ　はなこ"));
    QCOMPARE(p.text(QStringLiteral("Label18")), QStringLiteral("今の成績：%1秒").arg(score));
    QCOMPARE(p.text(QStringLiteral("Label19")), QStringLiteral("獲得ポイント：%1点×1→%1点").arg(points));
    QCOMPARE(p.text(QStringLiteral("Label20")), QStringLiteral("！！！最高新記録！！！"));
    QCOMPARE(p.text(QStringLiteral("Label13")), QStringLiteral(" (このレベル　1回目)"));
    QCOMPARE(p.text(QStringLiteral("Label14")), QStringLiteral("（1回目)"));
    QVERIFY(p.shown(QStringLiteral("Command5"))); // level 1 is not done enough yet
    QVERIFY(E2eProgram::click(p.find(QStringLiteral("Command4"))));

    // Back in the lobby, the run counted.
    QVERIFY(waitForScreen(p, QStringLiteral("seisekitime1")));
    const double after = QTime::currentTime().msecsSinceStartOfDay() / 86400000.0;
    if (QDate::currentDate() != day) QSKIP("the run went past midnight");
    const QString counts = QStringLiteral("1回/%1点").arg(points);
    QCOMPARE(p.text(QStringLiteral("Label14(1)")), counts);
    QCOMPARE(p.text(QStringLiteral("Label15(1)")), counts);
    QCOMPARE(p.text(QStringLiteral("Label14(2)")), QStringLiteral("-----"));
    QCOMPARE(p.text(QStringLiteral("Label18")), QStringLiteral("本日総回数＝1回"));
    QCOMPARE(p.text(QStringLiteral("Label8(1)")), QStringLiteral("最近7日=1回 / %1点").arg(points));
    auto* ranking = p.find<QListView>(QStringLiteral("List5(1)"));
    QVERIFY(ranking && ranking->model()->rowCount() == 2);
    QCOMPARE(ranking->model()->index(0, 0).data().toString(),
             QStringLiteral(" 1●やまだ　は%1/%2").arg(points, 3).arg(points, 5));

    // The record, byte for byte; the time of day is the one moment not known
    // beforehand, so it is taken from the file and checked against the clock.
    const QByteArray result = p.resultFile();
    QCOMPARE(result.size(), 44);
    double stored = 0;
    std::memcpy(&stored, result.constData() + 8, 8); // the test machines are little-endian
    QVERIFY2(stored >= before && stored <= after, qPrintable(QString::number(stored)));
    const double date = serialDay(day);
    QCOMPARE(result, expectedResultRecord(date, stored, 1, 1, score, "12345"));
    QCOMPARE(p.sharedLog(),
             expectedSharedLogRecord(encodeCp932(QStringLiteral("ソルメア\\")), date, stored, 1, 1, score, "12345"));

    // The cues: three right, the wrong one, eight right, the best of all.
    const QString folder = p.soundFolderString();
    const QStringList trace = p.traceLines();
    QCOMPARE(trace.size(), 13);
    for (int i = 0; i < trace.size(); ++i) {
        QString cue = QStringLiteral("seikai[12]");
        if (i == 3) cue = QStringLiteral("machigai1");
        if (i == 12) cue = QStringLiteral("最高1");
        const QRegularExpression line(QRegularExpression::anchoredPattern(
            QStringLiteral("play %1%2\\.wav wait\t0").arg(QRegularExpression::escape(folder), cue)));
        QVERIFY2(line.match(trace[i]).hasMatch(), qPrintable(trace[i]));
    }
    QVERIFY(p.dialogs.texts.isEmpty());
    QVERIFY(!p.end.requested());
}

QTEST_MAIN(TestPlayWithMouse)
#include "test_play_with_mouse.moc"
