#include "roster/name_list.h"

#include <QTest>

// The lines of the name selection screen's list, their order and the filter.
class TestNameList : public QObject {
    Q_OBJECT
private slots:
    void lines_data();
    void lines();
    void order_data();
    void order();
    void gradeFilter_data();
    void gradeFilter();
    void nameLabels();
};

namespace {
const QString W = QStringLiteral("　"); // full-width blank
QString wide(int n) { return QString(n, QChar(0x3000)); }
} // namespace

// clang-format off
void TestNameList::lines_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name"); // as held in the roster
    QTest::addColumn<int>("mode"); // the index of the option buttons
    QTest::addColumn<QList<qint64>>("figures"); // runs today, all, points today, all
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("line");

    const QList<qint64> none{0, 0, 0, 0};
    QTest::newRow("mode 0, 小3, four-character name, 2 today and 15 in all")
        << "小3" << "山田花子            " << 0 << QList<qint64>{2, 15, 0, 0}
        << "小3 山田花子" + wide(2) + "  2回/   15回" << "2017小3 山田花子" + wide(2) + "  2回/   15回*7";
    QTest::newRow("no runs, mode 0") << "小3" << "山田花子" << 0 << none << "小3 山田花子" + wide(2) + "     /     " + W
                                     << "";
    QTest::newRow("no runs, mode 1") << "小3" << "山田花子" << 1 << none << "小3 山田花子" + wide(2) + "  " + W + "/       "
                                     << "";
    QTest::newRow("no runs, mode 2") << "小3" << "山田花子" << 2 << none << "小3 山田花子" + wide(2) + "  " + W + "/     "
                                     << "";
    QTest::newRow("no runs, mode 3") << "小3" << "山田花子" << 3 << none
                                     << "小3 山田花子" + wide(2) + "       /     " + W << "";
    QTest::newRow("kindergarten, mode 0: two more fill") << "幼3" << "はな" << 0 << none
                                                         << "幼3 はな" + wide(6) + "     /     " + W << "";
    QTest::newRow("kindergarten, mode 1: the same fill") << "幼-" << "はな" << 1 << none
                                                         << "幼- はな" + wide(4) + "  " + W + "/       " << "";
    QTest::newRow("kindergarten, mode 3: two more fill") << "幼1" << "はな" << 3 << none
                                                         << "幼1 はな" + wide(6) + "       /     " + W << "";
    QTest::newRow("999 and 99999 runs fill their fields") << "中1" << "けん" << 0 << QList<qint64>{999, 99999, 0, 0} << "中1 けん" + wide(4) + "999回/99999回" << "";
    QTest::newRow("1000 and 100000 runs shown whole") << "中1" << "けん" << 0 << QList<qint64>{1000, 100000, 0, 0} << "中1 けん" + wide(4) + "1000回/100000回" << "";
    QTest::newRow("12345 and 99999999 points, whole") << "小6" << "けん" << 1 << QList<qint64>{0, 0, 12345, 99999999} << "小6 けん" + wide(4) + "12345/99999999" << "";
    QTest::newRow("half-width name lines up with full-width") << "小3" << "Ken Smith" << 0 << none << "小3 Ken Smith " + W + "     /     " + W << "";
    QTest::newRow("points and runs of today") << "小6" << "けん" << 2 << QList<qint64>{3, 9, 17, 99}
                                             << "小6 けん" + wide(4) + "  17/  3回" << "";
    QTest::newRow("blanks around the name are trimmed, the full-width ones kept")
        << "小1" << "  山田　花 " << 0 << none << "小1 山田　花" + wide(2) + "     /     " + W << "";
    QTest::newRow("a name longer than its column is cut to it")
        << "小5" << "すずき　たろう" << 0 << QList<qint64>{1, 1, 0, 0} << "小5 すずき　たろ  1回/    1回"
        << "2015小5 すずき　たろう  1回/    1回*7";
    QTest::newRow("a name holding * is shown whole")
        << "小5" << "a*b" << 0 << none << "小5 a*b " + wide(4) + "     /     " + W << "";
    QTest::newRow("no character cut in half") << "小5" << "abcdefghijk山" << 0 << none << "小5 abcdefghijk      /     " + W << "";
}
// clang-format on

void TestNameList::lines()
{
    QFETCH(QString, code);
    QFETCH(QString, name);
    QFETCH(int, mode);
    QFETCH(QList<qint64>, figures);
    QFETCH(QString, shown);
    QFETCH(QString, line);
    const int year = line.isEmpty() ? 2016 : line.left(4).toInt();
    const PupilEntry e = pupilEntry(7, year, code, name, DisplayMode(mode),
                                    {figures[0], figures[1], figures[2], figures[3]});
    QCOMPARE(e.shown, shown);
    if (!line.isEmpty()) QCOMPARE(e.line, line);
    QCOMPARE(e.number, 7);
    QVERIFY(e.tail.endsWith(u"*7"));
    QCOMPARE(e.line, QString::number(year) + e.tail);
}

void TestNameList::order_data()
{
    QTest::addColumn<QStringList>("pupils"); // "birthYear name number" in roster order
    QTest::addColumn<QStringList>("listed"); // "name number" in list order
    QTest::newRow("same cohort by name, older cohort above")
        << QStringList{"2016 たなか 1", "2016 あべ 2", "2014 わだ 3"} << QStringList{"わだ 3", "あべ 2", "たなか 1"};
    QTest::newRow("hiragana and katakana alike: the number decides")
        << QStringList{"2016 たろう 2", "2016 タロウ 1"} << QStringList{"タロウ 1", "たろう 2"};
    QTest::newRow("lines alike but for kana: code points decide")
        << QStringList{"2016 タロウ 5", "2016 たろう 5"} << QStringList{"たろう 5", "タロウ 5"};
    QTest::newRow("a birth year stored as 0 sorts by its text")
        << QStringList{"2015 あ 1", "0 い 2"} << QStringList{"い 2", "あ 1"};
    QTest::newRow("kanji after kana") << QStringList{"2016 山田 1", "2016 やまだ 2"}
                                      << QStringList{"やまだ 2", "山田 1"};
}

void TestNameList::order()
{
    QFETCH(QStringList, pupils);
    QFETCH(QStringList, listed);
    std::vector<PupilEntry> entries;
    for (const QString& pupil : pupils) {
        const QStringList p = pupil.split(u' ');
        entries.push_back(
            pupilEntry(p[2].toInt(), p[0].toInt(), QStringLiteral("小1"), p[1], DisplayMode::RunsTodayAll, {}));
    }
    sortPupilEntries(entries);
    QStringList got;
    for (const PupilEntry& e : entries)
        got << e.shown.mid(3).section(QChar(0x3000), 0, 0) + u' ' + QString::number(e.number);
    QCOMPARE(got, listed);
}

void TestNameList::gradeFilter_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QList<int>>("offsets");
    QTest::addColumn<QString>("kept"); // one character per line
    const QList<int> offsets{0, 1, 6, 7, 9, 10};
    QTest::newRow("全学年") << "全学年" << offsets << "111111";
    QTest::newRow("小学生全体") << "小学生全体" << offsets << "011000";
    QTest::newRow("中学生全体") << "中学生全体" << offsets << "000110";
    QTest::newRow("小６") << "小６" << offsets << "001000";
    QTest::newRow("中１") << "中１" << offsets << "000100";
    QTest::newRow("unknown text keeps nothing from the start") << "家族" << offsets << "000000";
}

void TestNameList::gradeFilter()
{
    QFETCH(QString, filter);
    QFETCH(QList<int>, offsets);
    QFETCH(QString, kept);
    QString got;
    bool previous = false;
    for (int offset : offsets) {
        previous = gradeFilterKeeps(filter, offset, previous);
        got += previous ? u'1' : u'0';
    }
    QCOMPARE(got, kept);
    // An unknown text keeps the decision of the line before it.
    QVERIFY(gradeFilterKeeps(QStringLiteral("?"), 3, true));
}

void TestNameList::nameLabels()
{
    const QString entry = "小3 山田　花子" + wide(1) + "  2回/   15回";
    constexpr DisplayMode runs = DisplayMode::RunsTodayAll;
    QCOMPARE(clickedNameLabel(entry, runs), QStringLiteral("小3 山田　花子　"));
    QCOMPARE(clickedNameLabel(
                 pupilEntry(7, 2017, QStringLiteral("小3"), QStringLiteral("Ken Smith"), runs, {123, 4}).shown, runs),
             "小3 Ken Smith " + W);
    QCOMPARE(doubleClickedNameLabel(entry), "小3 山田　花子" + wide(1) + "  2回");
    QCOMPARE(clickedNameLabel(QStringLiteral("小1 ab          /"), runs), QStringLiteral("小1 ab"));
    QCOMPARE(programMenuPath(QStringLiteral("C:\\X\\prog")),
             QStringLiteral("C:\\X\\prog\\..\\起動\\プログラムメニュー.exe"));
}

QTEST_MAIN(TestNameList)
#include "test_name_list.moc"
