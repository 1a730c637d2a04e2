#include "base/folder_path.h"
#include "base/text_file.h"
#include "roster/roster_reader.h"
#include "state/settings.h"
#include "state/shared_state.h"
#include "support/installation.h"
#include "support/test_services.h"

#include <QFile>
#include <QTest>

namespace {
// The default installation (start month 4, status option 0, roster mode 1),
// today 8 December 2026: school year 2026.
struct Fixture {
    TestInstallation inst;
    TestServices t;
    SharedState s;
    QStringList listed; // "number code" of each pupil handed to the list

    Fixture()
    {
        inst.writeDefaults();
        s.programFolder = toFolderString(inst.programFolder());
        loadSettings(s);
    }
    void roster(const QString& text) { inst.write(QStringLiteral("生徒用名簿.txt"), text); }
    RosterReadResult read()
    {
        listed.clear();
        return readRoster(s, t.services, [this](const RosterRecord& r, const QString& code) {
            listed << QStringLiteral("%1 %2").arg(r.number).arg(code);
        });
    }
    QList<int> order() const
    {
        QList<int> o;
        for (int p = 1; p <= s.roster.count; ++p) o << s.roster.order[std::size_t(p)];
        return o;
    }
};

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString line(int number, int birthYear, const QString& name, const QString& status)
{
    return QStringLiteral("%1,%2,0,0,\"%3\",%4,\"\",\"\"\n").arg(number).arg(birthYear).arg(name, status);
}
} // namespace

class TestRoster : public QObject {
    Q_OBJECT
private slots:
    void statusDecidesListing_data();
    void statusDecidesListing();
    void schoolYearTurnsAtTheStartMonth_data();
    void schoolYearTurnsAtTheStartMonth();
    void gradeCodesAndLabels_data();
    void gradeCodesAndLabels();
    void readerHandsGradesToTheList();
    void fourthRecordEndsTheProgram_data();
    void fourthRecordEndsTheProgram();
    void schoolRosterHasNoCapacityLimit();
    void namesAreHeldAtTwentyCharacters();
    void damagedLinesAreSkipped_data();
    void damagedLinesAreSkipped();
    void duplicateNumbersShareEntries();
    void missingRosterGivesAnEmptyListAndANote();
    void lineWrittenBack_data();
    void lineWrittenBack();
    void recoveryRenamesTheTemporaryFile();
};

void TestRoster::statusDecidesListing_data()
{
    QTest::addColumn<QString>("statuses"); // one line per status, pupils 1, 2, 3
    QTest::addColumn<int>("option");
    QTest::addColumn<QList<int>>("order");
    QTest::newRow("status 1 is skipped and its position reused") << "0|1|0" << 0 << QList<int>{1, 3};
    QTest::newRow("status 2 listed with option 1") << "0|2|0" << 1 << QList<int>{1, 2, 3};
    QTest::newRow("status 2 skipped with option 0") << "0|2|0" << 0 << QList<int>{1, 3};
    QTest::newRow("empty status reads as 0") << "|0|" << 0 << QList<int>{1, 2, 3};
    QTest::newRow("quoted number counts as that number") << "\"0\"|\"1\"|0" << 0 << QList<int>{1, 3};
    QTest::newRow("text status is not listed") << "\"済\"|0|\"\"" << 0 << QList<int>{2};
    QTest::newRow("status 3 and -1 not listed") << "3|-1|0" << 0 << QList<int>{3};
}

void TestRoster::statusDecidesListing()
{
    QFETCH(QString, statuses);
    QFETCH(int, option);
    QFETCH(QList<int>, order);
    Fixture f;
    f.s.rosterStatusOption = option;
    const QStringList st = statuses.split(u'|');
    QString text;
    for (int i = 0; i < st.size(); ++i) text += line(i + 1, 2017, QStringLiteral("生徒%1").arg(i + 1), st[i]);
    f.roster(text);
    const RosterReadResult r = f.read();
    QVERIFY(!r.capacityExceeded);
    QVERIFY(r.skippedLines.isEmpty());
    QCOMPARE(f.order(), order);
    QCOMPARE(f.listed.size(), order.size());
    // Unlisted pupils still have their entries.
    QCOMPARE(f.s.roster.names[2], QStringLiteral("生徒2") + QString(17, u' '));
    QVERIFY(!f.t.end.requested());
}

void TestRoster::schoolYearTurnsAtTheStartMonth_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<int>("startMonth");
    QTest::addColumn<int>("year");
    QTest::newRow("15 March is the previous school year") << QDate(2027, 3, 15) << 4 << 2026;
    QTest::newRow("31 March is the previous school year") << QDate(2027, 3, 31) << 4 << 2026;
    QTest::newRow("1 April starts the new one") << QDate(2027, 4, 1) << 4 << 2027;
    QTest::newRow("December") << QDate(2026, 12, 8) << 4 << 2026;
    QTest::newRow("start month 1") << QDate(2027, 1, 1) << 1 << 2027;
    QTest::newRow("start month 0 never turns back") << QDate(2027, 1, 1) << 0 << 2027;
}

void TestRoster::schoolYearTurnsAtTheStartMonth()
{
    QFETCH(QDate, today);
    QFETCH(int, startMonth);
    QFETCH(int, year);
    QCOMPARE(schoolYear(today, startMonth), year);
}

// clang-format off
void TestRoster::gradeCodesAndLabels_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("label");
    QTest::newRow("-100") << -100 << "幼-" << "";
    QTest::newRow("-10") << -10 << "幼-" << "";
    QTest::newRow("-3") << -3 << "幼-" << "";
    QTest::newRow("-2") << -2 << "幼1" << "";
    QTest::newRow("-1") << -1 << "幼2" << "";
    QTest::newRow("0") << 0 << "幼3" << "幼３";
    QTest::newRow("1") << 1 << "小1" << "小１";
    QTest::newRow("6") << 6 << "小6" << "小６";
    QTest::newRow("7") << 7 << "中1" << "中１";
    QTest::newRow("9") << 9 << "中3" << "中３";
    QTest::newRow("10") << 10 << "高1" << "高１";
    QTest::newRow("11") << 11 << "高2" << "";
    QTest::newRow("12") << 12 << "高3" << "";
    QTest::newRow("13") << 13 << "大+" << "";
    QTest::newRow("40") << 40 << "大+" << "";
}
// clang-format on

void TestRoster::gradeCodesAndLabels()
{
    QFETCH(int, offset);
    QFETCH(QString, code);
    QFETCH(QString, label);
    QCOMPARE(gradeCode(offset), code);
    QCOMPARE(gradeLabel(offset), label);
}

void TestRoster::readerHandsGradesToTheList()
{
    Fixture f;
    f.s.roster.gradeLabels[2] = QStringLiteral("前の値");
    f.roster(line(1, 2026 - 7, QStringLiteral("いち"), QStringLiteral("0")) +
             line(2, 2026 - 17, QStringLiteral("に"), QStringLiteral("0")) +
             line(3, 2026 - 3, QStringLiteral("さん"), QStringLiteral("0")));
    f.read();
    QCOMPARE(f.s.roster.schoolYear, 2026);
    QCOMPARE(f.listed, (QStringList{QStringLiteral("1 小1"), QStringLiteral("2 高2"), QStringLiteral("3 幼-")}));
    QCOMPARE(f.s.roster.gradeLabels[1], QStringLiteral("小１"));
    QCOMPARE(f.s.roster.gradeLabels[2], QStringLiteral("前の値")); // offset 11: left as it was
    QCOMPARE(f.s.roster.birthYears[3], qint16(2023));
}

void TestRoster::fourthRecordEndsTheProgram_data()
{
    QTest::addColumn<QString>("statuses");
    QTest::addColumn<bool>("ends");
    QTest::newRow("three listed") << "0|0|0" << false;
    QTest::newRow("fourth listed") << "0|0|0|0" << true;
    QTest::newRow("fourth of status 1") << "0|0|0|1" << true;
    QTest::newRow("unlisted ones in between") << "0|1|0|1|0" << false;
}

void TestRoster::fourthRecordEndsTheProgram()
{
    QFETCH(QString, statuses);
    QFETCH(bool, ends);
    Fixture f;
    const QStringList st = statuses.split(u'|');
    QString text;
    for (int i = 0; i < st.size(); ++i) text += line(i + 1, 2017, QStringLiteral("生徒"), st[i]);
    f.roster(text);
    const RosterReadResult r = f.read();
    QCOMPARE(r.capacityExceeded, ends);
    QCOMPARE(f.t.end.requested(), ends);
    QCOMPARE(f.t.dialogs.texts,
             ends ? QStringList{QStringLiteral("家庭用は3人までしか登録できません")} : QStringList{});
    if (!ends) QCOMPARE(f.s.roster.count, 3);
}

void TestRoster::schoolRosterHasNoCapacityLimit()
{
    Fixture f;
    f.s.rosterFileMode = 0;
    QString text;
    for (int i = 1; i <= 6; ++i) text += line(i, 2017, QStringLiteral("生徒"), QStringLiteral("0"));
    f.inst.write(QStringLiteral("新名簿.txt"), text);
    f.read();
    QCOMPARE(f.s.roster.count, 6);
    QVERIFY(!f.t.end.requested());
}

void TestRoster::namesAreHeldAtTwentyCharacters()
{
    Fixture f;
    f.roster(line(1, 2017, QStringLiteral("あいうえおかきくけこさしすせそたちつてとなにぬねの"), QStringLiteral("0")) +
             line(2, 2017, QStringLiteral("山田　花"), QStringLiteral("0")));
    f.read();
    QCOMPARE(f.s.roster.names[1], QStringLiteral("あいうえおかきくけこさしすせそたちつてと"));
    QCOMPARE(f.s.roster.names[2], QStringLiteral("山田　花") + QString(16, u' '));
}

// clang-format off
void TestRoster::damagedLinesAreSkipped_data()
{
    QTest::addColumn<QString>("damaged");
    QTest::addColumn<QString>("reason");
    QTest::newRow("seven values") << "2,2017,0,0,\"に\",0,\"\"" << "値が 8 個ありません";
    QTest::newRow("only a number") << "2" << "値が 8 個ありません";
    QTest::newRow("number not a number") << "x2,2017,0,0,\"に\",0,\"\",\"\"" << "番号が整数ではありません";
    QTest::newRow("birth year with letters") << "2,20l7,0,0,\"に\",0,\"\",\"\"" << "生まれた年が整数ではありません";
    QTest::newRow("number beyond 16 bits") << "70000,2017,0,0,\"に\",0,\"\",\"\"" << "番号が整数ではありません";
    QTest::newRow("number 0") << "0,2017,0,0,\"に\",0,\"\",\"\"" << "番号 0 は 1～5000 の範囲外です";
    QTest::newRow("number 5001") << "5001,2017,0,0,\"に\",0,\"\",\"\"" << "番号 5001 は";
    QTest::newRow("negative number") << "-3,2017,0,0,\"に\",0,\"\",\"\"" << "番号 -3 は";
}
// clang-format on

void TestRoster::damagedLinesAreSkipped()
{
    QFETCH(QString, damaged);
    QFETCH(QString, reason);
    Fixture f;
    f.roster(line(1, 2017, QStringLiteral("いち"), QStringLiteral("0")) + damaged + u'\n' +
             line(3, 2017, QStringLiteral("さん"), QStringLiteral("0")));
    const RosterReadResult r = f.read();
    QCOMPARE(f.order(), (QList<int>{1, 3}));
    QCOMPARE(r.skippedLines.size(), 1);
    QVERIFY2(r.skippedLines[0].startsWith(QStringLiteral("2 行目：")) && r.skippedLines[0].contains(reason),
             qPrintable(r.skippedLines[0]));
    QCOMPARE(f.s.roster.names[3], QStringLiteral("さん") + QString(18, u' ')); // the next line is intact
    QVERIFY(f.s.roster.names[2].isEmpty());
    QVERIFY(!f.t.end.requested());
}

void TestRoster::duplicateNumbersShareEntries()
{
    Fixture f;
    f.roster(line(5, 2017, QStringLiteral("まえ"), QStringLiteral("0")) +
             line(5, 2015, QStringLiteral("あと"), QStringLiteral("0")));
    f.read();
    QCOMPARE(f.order(), (QList<int>{5, 5}));
    QCOMPARE(f.s.roster.names[5], QStringLiteral("あと") + QString(18, u' '));
    QCOMPARE(f.s.roster.birthYears[5], qint16(2015));
}

void TestRoster::missingRosterGivesAnEmptyListAndANote()
{
    Fixture f;
    f.roster(line(1, 2017, QStringLiteral("いち"), QStringLiteral("0")));
    f.read();
    QCOMPARE(f.s.roster.count, 1);
    QVERIFY(QFile::remove(f.inst.path(QStringLiteral("生徒用名簿.txt"))));
    restoreLeftoverRoster(f.s); // no temporary file either: nothing to do
    const RosterReadResult r = f.read();
    QCOMPARE(f.s.roster.count, 0);
    QVERIFY(f.listed.isEmpty());
    QVERIFY(r.missingNote.contains(QStringLiteral("「生徒用名簿.txt」がありません")));
    QVERIFY(!f.t.end.requested());
    QVERIFY(f.t.dialogs.texts.isEmpty());
}

// clang-format off
void TestRoster::lineWrittenBack_data()
{
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    const QString b20(20, u' ');
    QTest::newRow("number status")
        << "1,2017,0,0,\"はなこ\",0,\"\",\"\"" << "1,2017,0,0,\"はなこ" + QString(17, u' ') + "\",0,\"" + b20 + "\",\"" + b20 + "\"";
    QTest::newRow("quoted status stays quoted")
        << "2,2015,3,-4,\"a\",\"1\",\"x\",\"y\""
        << "2,2015,3,-4,\"a" + QString(19, u' ') + "\",\"1\",\"x" + QString(19, u' ') + "\",\"y" + QString(19, u' ') + "\"";
    QTest::newRow("empty status stays empty")
        << "3,2015,0,0,\"a\",,\"\",\"\"" << "3,2015,0,0,\"a" + QString(19, u' ') + "\",,\"" + b20 + "\",\"" + b20 + "\"";
    QTest::newRow("spare texts cut at 20")
        << "4,2015,0,0,\"a\",2,\"123456789012345678901234\",\"\""
        << "4,2015,0,0,\"a" + QString(19, u' ') + "\",2,\"12345678901234567890\",\"" + b20 + "\"";
    QTest::newRow("quote inside a name cannot break the line")
        << "5,2015,0,0,山\"田,0,\"\",\"\"" << "5,2015,0,0,\"山”田" + QString(17, u' ') + "\",0,\"" + b20 + "\",\"" + b20 + "\"";
}
// clang-format on

void TestRoster::lineWrittenBack()
{
    QFETCH(QString, in);
    QFETCH(QString, out);
    RosterRecord r;
    QVERIFY(parseRosterLine(in, r));
    QCOMPARE(rosterLine(r), out);
    RosterRecord again;
    QVERIFY(parseRosterLine(rosterLine(r), again));
    QCOMPARE(rosterLine(again), out);
    QCOMPARE(again.status(), r.status());
}

void TestRoster::recoveryRenamesTheTemporaryFile()
{
    Fixture f;
    const QString main = f.inst.path(QStringLiteral("生徒用名簿.txt"));
    const QString temp = f.inst.path(QStringLiteral("生徒用名簿temp.txt"));
    // Both present: nothing changes.
    f.inst.write(QStringLiteral("生徒用名簿temp.txt"), line(9, 2017, QStringLiteral("新"), QStringLiteral("0")));
    const QByteArray before = readBytes(main);
    restoreLeftoverRoster(f.s);
    QCOMPARE(readBytes(main), before);
    QVERIFY(QFile::exists(temp));
    // Only the temporary file: it takes the roster's name.
    QVERIFY(QFile::remove(main));
    const QByteArray tempBytes = readBytes(temp);
    restoreLeftoverRoster(f.s);
    QVERIFY(!QFile::exists(temp));
    QCOMPARE(readBytes(main), tempBytes);
    f.read();
    QCOMPARE(f.order(), QList<int>{9});
}

QTEST_GUILESS_MAIN(TestRoster)
#include "test_roster.moc"
