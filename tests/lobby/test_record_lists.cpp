#include "base/text_util.h"
#include "lobby/record_lists.h"
#include "records/record_format.h"
#include "records/record_passes.h"
#include "state/catalogue.h"
#include "state/shared_state.h"
#include "support/installation.h"

#include <QTest>
#include <cmath>

using namespace lists;

class TestRecordLists : public QObject {
    Q_OBJECT
private slots:
    void pieces_data();
    void pieces();
    void rankByTime_data();
    void rankByTime();
    void rankByPoints_data();
    void rankByPoints();
    void levelRanking_data();
    void levelRanking();
    void runLists_data();
    void runLists();
};

namespace {
const QDate kToday(2026, 12, 8);

struct Run {
    int pupil, level, score;
    int daysAgo = 0;
    QTime at = QTime(10, 0);
};

QByteArray recordBytes(const QList<Run>& runs)
{
    QByteArray out;
    for (const Run& r : runs) {
        ResultRecord rec;
        rec.date = double(daySerial(kToday.addDays(-r.daysAgo)));
        rec.time = dayFraction(r.at);
        rec.pupilNumber = qint16(r.pupil);
        rec.level = qint16(r.level);
        rec.score = r.score;
        out += encodeResultRecord(rec);
    }
    return out;
}

// Four pupils of school year 2026, listed in the order 1, 2, 3, 4:
// 1 小３ (the current pupil), 2 小５ "⑤", 3 中１ "Ⅰ", 4 小６ "⑥".
void fillRoster(RosterTables& r)
{
    r.schoolYear = 2026;
    const char16_t* names[] = {u"やまだ　はなこ", u"すずき　たろう", u"さとう　けん", u"たなか"};
    const qint16 years[] = {2017, 2015, 2013, 2014};
    for (int p = 1; p <= 4; ++p) {
        r.names[std::size_t(p)] = fixedWidth(QString::fromUtf16(names[p - 1]), 20);
        r.birthYears[std::size_t(p)] = years[p - 1];
    }
    r.listed = {1, 2, 3, 4};
}

QString joined(const std::vector<ListLine>& lines)
{
    QStringList out;
    for (const ListLine& l : lines) out << l.text;
    return out.join(QStringLiteral(" | "));
}

QString order(const std::vector<Ranked>& ranked)
{
    QStringList out;
    for (const Ranked& r : ranked) out << QStringLiteral("%1:%2").arg(r.pupil).arg(r.rank);
    return out.join(u' ');
}
} // namespace

void TestRecordLists::pieces_data()
{
    QTest::addColumn<QString>("piece");
    QTest::addColumn<QString>("expected");
    QTest::newRow("R2, R3, R5, R6 at their widths and past them, whole")
        << QStringList{R2(99),        R2(100),       Rn(999, 3),     Rn(1000, 3),     Rn(99999, 5),
                       Rn(100000, 5), Rn(999999, 6), Rn(1000000, 6), R5Seconds(9999), R5Seconds(123456)}
               .join(u'|')
        << "99|100|999|1000|99999|100000|999999|1000000|9999秒|123456秒";
    QTest::newRow("R5 of a short time") << R5Seconds(7) << "   7秒";
    QTest::newRow("R6 of 99999 keeps one blank") << Rn(99999, 6) << " 99999";
    QTest::newRow("R6 of 7 has only four blanks") << Rn(7, 6) << "    7";
    QTest::newRow("short name filled to ten half columns") << listName(QStringLiteral("ab  ")) << "ab　　　　";
    QTest::newRow("half-width name as wide as a full-width one")
        << listName(QStringLiteral("Ken Smith")) + u'|' + listName(QStringLiteral("山田　花子"))
        << "Ken Smith |山田　花子";
    QTest::newRow("half-width katakana and ASCII cut at ten")
        << listName(QStringLiteral("ｹﾝ ｽﾐｽ ABCDE")) << "ｹﾝ ｽﾐｽ ABC";
    QTest::newRow("no character cut in half") << listName(QStringLiteral("a山田花子子")) << "a山田花子 ";
    QTest::newRow("date") << listDate(double(daySerial(QDate(2026, 3, 9)))) << "2026/03/09";
    // Stored fractions of a day: to the millisecond, then cut to the second.
    const auto at = [](double seconds, double toward) { return std::nextafter(seconds / 86400, toward); };
    QTest::newRow("10:00:00 a hair below and above, 11:00 a hair below")
        << listClock(at(36000, 0)) + u'|' + listClock(at(36000, 1)) + u'|' + timeOfDayText(at(39600, 0), false)
        << "10:00:00|10:00:00|11:00";
    QTest::newRow("10:59:59.6 is cut, hh:mm too")
        << listClock(39599.6 / 86400) + u'|' + timeOfDayText(39599.6 / 86400, false) << "10:59:59|10:59";
    QTest::newRow("10:59:59.9996 rounds to 11:00:00") << listClock(39599.9996 / 86400) << "11:00:00";
    QTest::newRow("23:59:59.9996 stays in its day")
        << listClock(86399.9996 / 86400) + u'|' + timeOfDayText(86399.9996 / 86400, false) << "23:59:59|23:59";
    QTest::newRow("midnight a hair below zero") << listClock(at(0, -1)) << "00:00:00";
    QTest::newRow("a date beyond the calendar") << listDate(1e300) << "----/--/--";
}

void TestRecordLists::pieces()
{
    QFETCH(QString, piece);
    QFETCH(QString, expected);
    QCOMPARE(piece, expected);
}

void TestRecordLists::rankByTime_data()
{
    QTest::addColumn<QList<int>>("keys"); // of pupils 1, 2, 3, … in roster-list order
    QTest::addColumn<bool>("named");
    QTest::addColumn<QString>("ranking"); // pupil:rank in list order
    QTest::newRow("ties share a rank, the next takes its position, tied pupils reversed")
        << QList<int>{30, 40, 40, 50} << true << "1:1 3:2 2:2 4:4";
    QTest::newRow("three equal, all reversed") << QList<int>{10, 10, 10} << true << "3:1 2:1 1:1";
    QTest::newRow("all failed after every time, before no run")
        << QList<int>{99999, 99998, 20} << true << "3:1 2:2 1:3";
    QTest::newRow("unnamed level: higher first, no record last") << QList<int>{5, 99999, 9} << false << "3:1 1:2 2:3";
}

void TestRecordLists::rankByTime()
{
    QFETCH(QList<int>, keys);
    QFETCH(bool, named);
    QFETCH(QString, ranking);
    std::vector<int> pupils;
    std::vector<qint32> k;
    for (int i = 0; i < keys.size(); ++i) {
        pupils.push_back(i + 1);
        k.push_back(keys[i]);
    }
    QCOMPARE(order(lists::rankByTime(pupils, k, named)), ranking);
}

void TestRecordLists::rankByPoints_data()
{
    QTest::addColumn<QList<int>>("primary");
    QTest::addColumn<QList<int>>("secondary");
    QTest::addColumn<QString>("ranking");
    // 1 000 000 − 1000 × primary − secondary would put pupil 1 first.
    QTest::newRow("12 today and 300 in all above 10 today and 2500 in all")
        << QList<int>{10, 12} << QList<int>{2500, 300} << "2:1 1:2";
    QTest::newRow("equal primary: ordered by secondary, rank shared")
        << QList<int>{5, 5, 3} << QList<int>{1, 9, 0} << "2:1 1:1 3:3";
    QTest::newRow("equal pairs reversed") << QList<int>{4, 4} << QList<int>{1, 1} << "2:1 1:1";
}

void TestRecordLists::rankByPoints()
{
    QFETCH(QList<int>, primary);
    QFETCH(QList<int>, secondary);
    QFETCH(QString, ranking);
    std::vector<int> pupils;
    std::vector<qint64> p, s;
    for (int i = 0; i < primary.size(); ++i) {
        pupils.push_back(i + 1);
        p.push_back(primary[i]);
        s.push_back(secondary[i]);
    }
    QCOMPARE(order(lists::rankByPoints(pupils, p, s)), ranking);
}

// clang-format off
void TestRecordLists::levelRanking_data()
{
    QTest::addColumn<int>("order");
    QTest::addColumn<int>("pointRanking");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("lines");
    // Level 1 (target 40). Times: pupil 1 best 30; pupil 2 only ran out of
    // time; pupil 3 no run; pupil 4 best 30. Points (factor 1): 1 has 11
    // today (20 s); 2 has 5 today (40 s) and 55 ten days ago; 4 has 11
    // yesterday; 3 none.
    const QString times = QStringLiteral(" 1⑥たなか　　    30 　 |  1●やまだ　は    30 ● |  3⑤すずき　た*失敗* 　 | "
                                         "--Ⅰさとう　け------ 　");
    QTest::newRow("times: shared ranks, ● and tail, failed, no run") << 1 << 1 << "全学年" << times;
    QTest::newRow("times: the filter hides, places stay") << 1 << 1 << "小５" << " 3⑤すずき　た*失敗* 　";
    QTest::newRow("all-time points, rank shared on equal points")
        << 2 << 1 << "全学年"
        << " 1⑤すずき　た  5/   60 |  2●やまだ　は 11/   11 |  2⑥たなか　　  0/   11 |  4Ⅰさとう　け  0/    0";
    QTest::newRow("today's points: only pupils with points today") << 2 << 2 << "全学年"
                                                                 << " 1●やまだ　は 11/   11 |  2⑤すずき　た  5/   60";
    QTest::newRow("today's points: a gap where the filter hides a pupil") << 2 << 2 << "小５"
                                                                          << " 2⑤すずき　た  5/   60";
}
// clang-format on

void TestRecordLists::levelRanking()
{
    QFETCH(int, order);
    QFETCH(int, pointRanking);
    QFETCH(QString, filter);
    QFETCH(QString, lines);
    SharedState s;
    setLobbyLevels(s);
    s.levelTable[1].targetTime = 40;
    s.levelTable[1].pointFactor = PointFactor::fromText(QStringLiteral("1"));
    fillRoster(s.roster);
    const QByteArray bytes = order == 1
                                 ? recordBytes(
                                       {{1, 1, 30, 3}, {2, 1, 99999}, {2, 1, 99999, 2}, {4, 1, 30, 5}, {3, 2, 50}})
                                 : recordBytes({{1, 1, 20}, {2, 1, 40}, {2, 1, 0, 10}, {4, 1, 20, 1}, {3, 2, 50}});
    loadAndCount(s.records, bytes.constData(), bytes.size() / 44, s.levelTable, kToday);
    Viewer v{&s.roster, 1, filter};
    QCOMPARE(joined(rankLevel(s, 1, Order(order), PointRanking(pointRanking), v).lines), lines);
}

void TestRecordLists::runLists_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("order");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("levels"); // the lines of levels 1–4
    const QString failed = QStringLiteral("　　× ");
    QTest::newRow("today's runs") << int(RunList::Today) << 1 << "全学年"
                                  << QStringList{"  25秒 09:05●やまだ　は●7", failed + "09:10⑤すずき　た⑤", "",
                                                 "  60秒 23:59●やまだ　は●5"};
    QTest::newRow("today's runs of 小５ only")
        << int(RunList::Today) << 1 << "小５" << QStringList{"", failed + "09:10⑤すずき　た⑤", "", ""};
    QTest::newRow("all runs, time form") << int(RunList::AllRuns) << 1 << "全学年"
                                         << QStringList{"  25秒 12/08●やまだ　は●7 |   50秒 12/07Ⅰさとう　けⅠ4",
                                                        failed + "12/08⑤すずき　た⑤", "", "  60秒 12/08●やまだ　は●5"};
    QTest::newRow("all runs, point form")
        << int(RunList::AllRuns) << 2 << "全学年"
        << QStringList{"    7 12/08●やまだ　は●25秒 |     4 12/07Ⅰさとう　けⅠ50秒", failed + "12/08⑤すずき　た⑤", "",
                       "    5 12/08●やまだ　は●60秒"};
    QTest::newRow("one pupil's times") << int(RunList::OnePupil) << 1 << "全学年"
                                       << QStringList{"2026/12/08 09:05:30  25秒", "", "", "2026/12/08 23:59:59  60秒"};
}

void TestRecordLists::runLists()
{
    QFETCH(int, kind);
    QFETCH(int, order);
    QFETCH(QString, filter);
    QFETCH(QStringList, levels);
    RosterTables roster;
    fillRoster(roster);
    LevelTable table{};
    for (int l = 1; l <= 4; ++l) table[std::size_t(l)].targetTime = l == 4 ? 60 : 40;
    // Records the store would not use, a level beyond the four shown and a
    // run older than 3650 days are never listed.
    const QByteArray bytes = recordBytes({
        {1, 1, 25, 0, QTime(9, 5, 30)},
        {2, 2, 99999, 0, QTime(9, 10)},
        {3, 1, 50, 1, QTime(8, 0)},
        {0, 1, 10},
        {1, 9, 10},
        {1, 1, 30, 4000},
        {6000, 1, 10},
        {1, 0, 10},
        {1, 1, -5},
        {1, 4, 60, 0, QTime(23, 59, 59, 600)},
    });
    RunListRequest request;
    request.kind = RunList(kind);
    request.order = Order(order);
    request.today = kToday;
    request.levelCount = 4;
    request.levels = &table;
    const auto lines = lists::runLists(bytes.constData(), bytes.size() / 44, request, Viewer{&roster, 1, filter});
    QCOMPARE(int(lines.levels.size()), 5);
    for (int l = 1; l <= 4; ++l) {
        QStringList texts;
        for (const RunLine& run : lines.levels[std::size_t(l)]) texts << lines.text->text(run);
        QCOMPARE(texts.join(QStringLiteral(" | ")), levels[l - 1]);
    }
}

QTEST_MAIN(TestRecordLists)
#include "test_record_lists.moc"
