#include "base/level_table.h"
#include "lobby/lobby_geometry.h"
#include "lobby/lobby_texts.h"
#include "lobby/record_lists.h"

#include <QTest>

using namespace lobby;

class TestLobbyRules : public QObject {
    Q_OBJECT
private slots:
    void scrollColumn_data();
    void scrollColumn();
    void texts_data();
    void texts();
    void pointsOfOneRun_data();
    void pointsOfOneRun();
};

void TestLobbyRules::scrollColumn_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("expected");
    QTest::newRow("shown: none stored yet starts at 1") << scrollColumnOnShow(0, 2) << 1;
    QTest::newRow("shown: beyond the bar (a content with more levels) gives 1") << scrollColumnOnShow(3, 2) << 1;
    QTest::newRow("shown: kept within the bar") << scrollColumnOnShow(2, 2) << 2;
    QTest::newRow("bar moved beyond the last level gives 1") << scrollColumnOnChange(6, 5) << 1;
    QTest::newRow("bar moved") << scrollColumnOnChange(3, 5) << 3;
}

void TestLobbyRules::scrollColumn()
{
    QFETCH(int, column);
    QFETCH(int, expected);
    QCOMPARE(column, expected);
}

namespace {
LevelRow row(qint32 target, qint32 points, qint16 runs, const char* factor)
{
    LevelRow r;
    r.targetTime = target;
    r.requiredPoints = points;
    r.requiredRuns = runs;
    r.pointFactor = PointFactor::fromText(QString::fromLatin1(factor));
    return r;
}
} // namespace

void TestLobbyRules::texts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("Label7: no point target (9999)") << targetLine(row(40, 9999, 5, "1"), true) << "目標=40秒 --------";
    QTest::newRow("Label7: the factor as the teacher wrote it")
        << targetLine(row(45, 100, 5, "1.5"), true) << "目標=45秒 5回/100点(×1.5)";
    QTest::newRow("Label7: factor 0.7 stays 0.7")
        << targetLine(row(60, 120, 5, "0.7"), true) << "目標=60秒 5回/120点(×0.7)";
    QTest::newRow("Label7: an unnamed level's point mark") << targetLine(row(40, 100, 5, "1"), false) << "◎=40点以上";
    QTest::newRow("Label18: a total beyond 16 bits, whole") << todayTotalLine(40000) << "本日総回数＝40000回";
    QTest::newRow("Label17: seconds dropped") << minutesLine(signInMinutes(36659.9, 36000)) << "起動後10分";
    QTest::newRow("Label17: signed in half a second ahead (rounded) is 0")
        << minutesLine(signInMinutes(36000.6, 36001)) << "起動後0分";
    QTest::newRow("Label17: signed in before midnight") << minutesLine(signInMinutes(400, 86000)) << "起動後13分";
    QTest::newRow("Label12: trimmed name and grade")
        << pupilLine(QStringLiteral("  やまだ　はなこ   "), QStringLiteral("小３")) << "やまだ　はなこ 小３";
    const std::vector<QString> names = {QString(), QString(), QStringLiteral("はなこ  ")};
    QTest::newRow("Label3 of a pupil-made level")
        << levelTitle(QStringLiteral("0002ABCDEFGH"), 3, names).caption << "ABCD_1";
    QTest::newRow("Label3 tooltip of a pupil-made level")
        << levelTitle(QStringLiteral("0002ABCDEFGH"), 4, names).toolTip << "はなこABCDEFGH";
    QTest::newRow("title of 9 characters at 24 points")
        << QString::number(titlePoints(QStringLiteral("123456789"))) << "24";
    QTest::newRow("title of 10 characters at 20 points")
        << QString::number(titlePoints(QStringLiteral("1234567890"))) << "20";
    QTest::newRow("the teacher's print button: 山田先生")
        << QString::number(seesPrintButton(QStringLiteral("山田先生"))) << "1";
    QTest::newRow("no print button for a pupil") << QString::number(seesPrintButton(QStringLiteral("やまだ"))) << "0";
    QTest::newRow("the teacher's entry is the trimmed name 先生")
        << QString::number(isTeacher(QStringLiteral(" 先生  "))) << "1";
    QTest::newRow("山田先生 is not the teacher's entry")
        << QString::number(isTeacher(QStringLiteral("山田先生"))) << "0";
}

void TestLobbyRules::texts()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(text, expected);
}

void TestLobbyRules::pointsOfOneRun_data()
{
    QTest::addColumn<int>("score");
    QTest::addColumn<int>("target");
    QTest::addColumn<int>("source");
    QTest::addColumn<int>("points");
    QTest::newRow("45 s at 60: 50 × (15/60)³ + 5 = 5") << 45 << 60 << 0 << 5;
    QTest::newRow("100 s at 60: 4") << 100 << 60 << 0 << 4;
    QTest::newRow("300 s at 60: 1") << 300 << 60 << 0 << 1;
    QTest::newRow("600 s at 60: 0") << 600 << 60 << 0 << 0;
    QTest::newRow("full score counts (1234 s, not 123)") << 1234 << 200 << 0 << 1;
    QTest::newRow("time ran out: 0") << 99999 << 60 << 0 << 0;
    QTest::newRow("a level without a target earns 0") << 10 << 0 << 0 << 0;
    QTest::newRow("stored points when the level keeps them") << 45 << 60 << 1 << 17;
}

void TestLobbyRules::pointsOfOneRun()
{
    QFETCH(int, score);
    QFETCH(int, target);
    QFETCH(int, source);
    QFETCH(int, points);
    QCOMPARE(lists::listPoints(score, target, 17, source), qint64(points));
}

QTEST_MAIN(TestLobbyRules)
#include "test_lobby_rules.moc"
