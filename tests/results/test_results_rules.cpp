#include "results/results_rules.h"
#include "state/shared_state.h"

#include <QTest>

Q_DECLARE_METATYPE(ResultCue)
Q_DECLARE_METATYPE(ClearedLineChange)

class TestResultsRules : public QObject {
    Q_OBJECT
private slots:
    void pointsLine_data();
    void pointsLine();
    void timeLine_data();
    void timeLine();
    void countLines();
    void clearedAndDoneEnough_data();
    void clearedAndDoneEnough();
    void designatedLevel();
    void bannerAllowed();
    void recordOutcome_data();
    void recordOutcome();
    void passCue_data();
    void passCue();
    void buttons_data();
    void buttons();
};

// clang-format off
void TestResultsRules::pointsLine_data()
{
    QTest::addColumn<qint64>("score");
    QTest::addColumn<qint64>("target");
    QTest::addColumn<QString>("factor");
    QTest::addColumn<QString>("expected");
    QTest::newRow("20 against 40, factor 2") << 20LL << 40LL << "2" << "獲得ポイント：11点×2→22点";
    QTest::newRow("at the target gives 5") << 40LL << 40LL << "1" << "獲得ポイント：5点×1→5点";
    QTest::newRow("one over the target gives 4") << 41LL << 40LL << "1" << "獲得ポイント：4点×1→4点";
    QTest::newRow("just under twice gives 4") << 79LL << 40LL << "1" << "獲得ポイント：4点×1→4点";
    QTest::newRow("twice the target gives 1") << 80LL << 40LL << "1" << "獲得ポイント：1点×1→1点";
    QTest::newRow("just under ten times gives 1") << 399LL << 40LL << "1" << "獲得ポイント：1点×1→1点";
    QTest::newRow("ten times the target gives 0") << 400LL << 40LL << "1" << "獲得ポイント：0点×1→0点";
    QTest::newRow("no time at all gives 55") << 0LL << 40LL << "1.5" << "獲得ポイント：55点×1.5→82点";
    QTest::newRow("10 points times 0.7 is 7") << 53LL << 100LL << "0.7" << "獲得ポイント：10点×0.7→7点";
    QTest::newRow("timed out gives 0") << 99999LL << 40LL << "2" << "獲得ポイント：0点×2→0点";
    QTest::newRow("no target time gives 0") << 20LL << 0LL << "1" << "獲得ポイント：0点×1→0点";
}
// clang-format on

void TestResultsRules::pointsLine()
{
    QFETCH(qint64, score);
    QFETCH(qint64, target);
    QFETCH(QString, factor);
    QFETCH(QString, expected);
    QCOMPARE(::pointsLine(score, target, PointFactor::fromText(factor)), expected);
}

void TestResultsRules::timeLine_data()
{
    QTest::addColumn<qint64>("score");
    QTest::addColumn<QString>("expected");
    QTest::newRow("a finished run") << 20LL << "今の成績：20秒";
    QTest::newRow("the last real score") << 99997LL << "今の成績：99997秒";
    QTest::newRow("all runs failed") << 99998LL << "記録なし";
    QTest::newRow("timed out") << 99999LL << "記録なし";
}

void TestResultsRules::timeLine()
{
    QFETCH(qint64, score);
    QFETCH(QString, expected);
    QCOMPARE(::timeLine(score), expected);
}

void TestResultsRules::countLines()
{
    QCOMPARE(levelRunsLine(3), QStringLiteral(" (このレベル　3回目)"));
    QCOMPARE(todayRunsLine(12), QStringLiteral("（12回目)"));

    RecordTables r;
    r.touch(1, 7).todayRunCount = 2;
    r.touch(4, 7).todayRunCount = 3;
    r.touch(35, 7).todayRunCount = 1;
    r.touch(0, 7).todayRunCount = 50; // level 0 is not a level of the course
    r.touch(2, 8).todayRunCount = 9;  // another pupil
    QCOMPARE(runsTodayAllLevels(r, 7), 6);
}

void TestResultsRules::clearedAndDoneEnough_data()
{
    QTest::addColumn<int>("requiredPoints");
    QTest::addColumn<int>("requiredRuns");
    QTest::addColumn<double>("runMark");
    QTest::addColumn<double>("pointMark");
    QTest::addColumn<int>("recentRuns");
    QTest::addColumn<int>("recentPoints");
    QTest::addColumn<int>("window2Runs");
    QTest::addColumn<int>("window2Points");
    QTest::addColumn<bool>("cleared");
    QTest::addColumn<bool>("doneEnough");
    QTest::newRow("both just reached") << 100 << 5 << 0.0 << 0.0 << 5 << 100 << 0 << 0 << true << false;
    QTest::newRow("points short by one") << 100 << 5 << 0.0 << 0.0 << 9 << 99 << 0 << 0 << false << false;
    QTest::newRow("runs short by one") << 100 << 5 << 0.0 << 0.0 << 4 << 500 << 0 << 0 << false << false;
    QTest::newRow("run mark reached") << 100 << 5 << 20.0 << 0.0 << 0 << 0 << 20 << 0 << false << true;
    QTest::newRow("run mark missed by one") << 100 << 5 << 20.0 << 300.0 << 0 << 0 << 19 << 299 << false << false;
    QTest::newRow("point mark reached") << 100 << 5 << 20.0 << 300.0 << 0 << 0 << 1 << 300 << false << true;
    QTest::newRow("both marks 0 is never done enough")
        << 100 << 5 << 0.0 << 0.0 << 50 << 5000 << 1000 << 100000 << true << false;
    QTest::newRow("nothing required is cleared at once") << 0 << 0 << 0.0 << 0.0 << 0 << 0 << 0 << 0 << true << false;
}

void TestResultsRules::clearedAndDoneEnough()
{
    QFETCH(int, requiredPoints);
    QFETCH(int, requiredRuns);
    QFETCH(double, runMark);
    QFETCH(double, pointMark);
    QFETCH(int, recentRuns);
    QFETCH(int, recentPoints);
    QFETCH(int, window2Runs);
    QFETCH(int, window2Points);
    LevelRow row;
    row.requiredPoints = requiredPoints;
    row.requiredRuns = qint16(requiredRuns);
    row.window2RunMark = runMark;
    row.window2PointMark = pointMark;
    PupilLevelStats st;
    st.recentRunCount = recentRuns;
    st.recentPoints = recentPoints;
    st.window2RunCount = window2Runs;
    st.window2Points = window2Points;
    // All-time counts must not matter.
    st.runCount = 0;
    st.totalPoints = 0;
    QFETCH(bool, cleared);
    QFETCH(bool, doneEnough);
    QCOMPARE(levelCleared(row, st), cleared);
    QCOMPARE(levelDoneEnough(row, st), doneEnough);
}

void TestResultsRules::designatedLevel()
{
    SharedState s;
    s.finalLevel = 4;
    s.pupilNumber = 3;
    s.levelTable[4].requiredPoints = 150;
    s.levelTable[4].requiredRuns = 5;
    s.records.touch(4, 3).recentRunCount = 5;
    s.records.touch(4, 3).recentPoints = 149;
    // Another level cleared, or another pupil at the final level, does not count.
    s.records.touch(1, 3).recentRunCount = 99;
    s.records.touch(1, 3).recentPoints = 9999;
    s.records.touch(4, 2).recentRunCount = 99;
    s.records.touch(4, 2).recentPoints = 9999;
    QVERIFY(!designatedLevelCleared(s));
    s.records.touch(4, 3).recentPoints = 150;
    QVERIFY(designatedLevelCleared(s));
    s.finalLevel = 0; // the catalogue has not set it yet
    QVERIFY(!designatedLevelCleared(s));
}

void TestResultsRules::bannerAllowed()
{
    LevelTable table{};
    table[2].requiredRuns = 9998;
    QVERIFY(clearBannerAllowed(table));
    table[0].requiredRuns = 9999; // level 0 is not looked at
    QVERIFY(clearBannerAllowed(table));
    table[35].requiredRuns = 9999;
    QVERIFY(!clearBannerAllowed(table));
}

void TestResultsRules::recordOutcome_data()
{
    QTest::addColumn<int>("runMode");
    QTest::addColumn<int>("overall");
    QTest::addColumn<int>("personal");
    QTest::addColumn<qint64>("score");
    QTest::addColumn<QString>("message");
    QTest::addColumn<ResultCue>("cue");
    const qint64 second = 60;
    QTest::newRow("time up is silent even with flags") << 1 << 1 << 1 << 99999LL << "時間切れ" << ResultCue::None;
    QTest::newRow("overall and personal best together")
        << 0 << 1 << 1 << 20LL << "！！！最高新記録！！！" << ResultCue::Best;
    QTest::newRow("personal best only") << 0 << 0 << 1 << 20LL << "新記録おめでとう" << ResultCue::PersonalBest;
    QTest::newRow("no record within second time") << 0 << 0 << 0 << second << "" << ResultCue::Fail;
    QTest::newRow("no record over second time") << 0 << 0 << 0 << second + 1 << "" << ResultCue::None;
}

void TestResultsRules::recordOutcome()
{
    QFETCH(int, runMode);
    QFETCH(int, overall);
    QFETCH(int, personal);
    QFETCH(qint64, score);
    QFETCH(QString, message);
    QFETCH(ResultCue, cue);
    const RecordOutcome o = ::recordOutcome(runMode, overall, personal, score, 60);
    QCOMPARE(o.message, message);
    QVERIFY(o.cue == cue);
}

void TestResultsRules::passCue_data()
{
    QTest::addColumn<bool>("cleared");
    QTest::addColumn<bool>("atFinal");
    QTest::addColumn<bool>("qualified");
    QTest::addColumn<bool>("plays");
    QTest::newRow("first clearing of the final level") << true << true << false << true;
    QTest::newRow("final level already cleared before") << true << true << true << false;
    QTest::newRow("final level not cleared") << false << true << false << false;
    QTest::newRow("another level cleared") << true << false << false << false;
}

void TestResultsRules::passCue()
{
    QFETCH(bool, cleared);
    QFETCH(bool, atFinal);
    QFETCH(bool, qualified);
    QFETCH(bool, plays);
    QCOMPARE(passCuePlays(cleared, atFinal, qualified), plays);
}

void TestResultsRules::buttons_data()
{
    QTest::addColumn<bool>("doneEnough");
    QTest::addColumn<bool>("cleared");
    QTest::addColumn<bool>("atFinal");
    QTest::addColumn<bool>("designated");
    QTest::addColumn<bool>("again");
    QTest::addColumn<ClearedLineChange>("clearedLine");
    QTest::newRow("not done enough") << false << true << false << false << true << ClearedLineChange::Keep;
    QTest::newRow("done enough, not cleared") << true << false << false << false << true << ClearedLineChange::Keep;
    QTest::newRow("done and cleared at the final level")
        << true << true << true << false << true << ClearedLineChange::EmptyAndHide;
    QTest::newRow("done and cleared, final level still to clear")
        << true << true << false << false << false << ClearedLineChange::NextLevel;
    QTest::newRow("done and cleared, final level cleared")
        << true << true << false << true << true << ClearedLineChange::Keep;
}

void TestResultsRules::buttons()
{
    QFETCH(bool, doneEnough);
    QFETCH(bool, cleared);
    QFETCH(bool, atFinal);
    QFETCH(bool, designated);
    QFETCH(bool, again);
    QFETCH(ClearedLineChange, clearedLine);
    const ButtonOffer o = buttonOffer(doneEnough, cleared, atFinal, designated);
    QCOMPARE(o.offerAgain, again);
    QVERIFY(o.clearedLine == clearedLine);
}

QTEST_GUILESS_MAIN(TestResultsRules)
#include "test_results_rules.moc"
