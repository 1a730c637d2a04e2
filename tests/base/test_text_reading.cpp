#include "base/file_error.h"
#include "base/folder_path.h"
#include "base/point_factor.h"
#include "base/text_file.h"
#include "base/text_util.h"
#include "state/settings.h"
#include "state/shared_state.h"

#include <QTest>

class TestTextReading : public QObject {
    Q_OBJECT
private slots:
    void listInput_data();
    void listInput();
    void tooFewValuesNamesTheFile();
    void trailingEmptyLinesReadAsNone();
    void trimKeepsFullWidthSpace();
    void leadingNumber_data();
    void leadingNumber();
    void layouts_data();
    void layouts();
    void organisationSplit_data();
    void organisationSplit();
    void levelTable();
    void levelTableRefusesZeroTimes();
    void pointFactor_data();
    void pointFactor();
    void pointFactorTheDecimalCannotHold_data();
    void pointFactorTheDecimalCannotHold();
};

void TestTextReading::listInput_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("values");
    QTest::newRow("quotes hold commas") << "\"a,b\",c" << QStringList{"a,b", "c"};
    QTest::newRow("blanks around values are skipped") << "  1 ,  two  ,\" x \"" << QStringList{"1", "two", " x "};
    QTest::newRow("empty values between commas") << "1,,3" << QStringList{"1", "", "3"};
    QTest::newRow("CRLF and LF both end lines") << "1,2\r\n3\n4" << QStringList{"1", "2", "3", "4"};
    QTest::newRow("comma at line end gives an empty value") << "1,\r\n2" << QStringList{"1", "", "2"};
    QTest::newRow("blank lines between records are skipped") << "1\r\n\r\n2" << QStringList{"1", "2"};
    QTest::newRow("full-width text kept whole") << "\"やまだ　はなこ\",0" << QStringList{"やまだ　はなこ", "0"};
}

void TestTextReading::listInput()
{
    QFETCH(QString, text);
    QFETCH(QStringList, values);
    ListReader in(text, "x.txt", "/p/x.txt");
    QStringList got;
    while (!in.atEnd()) got << in.readText();
    QCOMPARE(got, values);
}

void TestTextReading::tooFewValuesNamesTheFile()
{
    ListReader in("1,2", QStringLiteral("設定.txt"), "/inst/設定.txt");
    in.readNumber();
    in.readNumber();
    try {
        in.readNumber();
        QFAIL("reading past the end must fail");
    } catch (const FileError& e) {
        QCOMPARE(e.fileName(), QStringLiteral("設定.txt"));
        QVERIFY(e.message().contains("/inst/設定.txt"));
        QVERIFY(e.message().contains(QStringLiteral("3 個目")));
    }
}

void TestTextReading::trailingEmptyLinesReadAsNone()
{
    ListReader a("1,2\r\n", "a", "a");
    ListReader b("1,2\r\n\r\n  \r\n", "b", "b");
    for (ListReader* r : {&a, &b}) {
        QCOMPARE(r->readNumber(), 1.0);
        QCOMPARE(r->readNumber(), 2.0);
        QVERIFY(r->atEnd());
    }
    // An empty numeric value reads as 0, a number takes its leading number.
    ListReader c(",12abc,x", "c", "c");
    QCOMPARE(c.readNumber(), 0.0);
    QCOMPARE(c.readInt32(), 12);
    QCOMPARE(c.readNumber(), 0.0);
}

void TestTextReading::trimKeepsFullWidthSpace()
{
    QCOMPARE(trimBlanks(QStringLiteral("　はなこ　  ")), QStringLiteral("　はなこ　"));
    QCOMPARE(trimBlanks(QStringLiteral("\t a b ")), QStringLiteral("a b"));
}

void TestTextReading::leadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("plain") << "42" << 42.0;
    QTest::newRow("decimal") << " 1.5" << 1.5;
    QTest::newRow("negative") << "-3x" << -3.0;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("zero code") << "00000" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
}

void TestTextReading::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(::leadingNumber(text), value);
}

void TestTextReading::layouts_data()
{
    QTest::addColumn<double>("flag");
    QTest::addColumn<QString>("data");
    QTest::addColumn<QString>("records");
    QTest::addColumn<QString>("sound");
    QTest::newRow("layout 1") << 1.0 << R"(C:\X\prog\..\files\)"
                              << R"(C:\X\prog\)"
                              << R"(C:\X\prog\..\files\..\files\)";
    QTest::newRow("layout 0") << 0.0 << R"(C:\X\prog\..\)"
                              << R"(C:\X\prog\..\prog\)" << QStringLiteral(R"(C:\X\prog\..\音フォルダ\)");
    QTest::newRow("any other value is layout 0")
        << 2.0 << R"(C:\X\prog\..\)"
        << R"(C:\X\prog\..\prog\)" << QStringLiteral(R"(C:\X\prog\..\音フォルダ\)");
}

void TestTextReading::layouts()
{
    QFETCH(double, flag);
    const InstallFolders f = installFolders(R"(C:\X\prog)", flag);
    QTEST(f.dataFolder, "data");
    QTEST(f.recordsFolder, "records");
    QTEST(f.soundFolder, "sound");
    QCOMPARE(f.programFolderName, QStringLiteral("prog"));
    // A native folder turns into the same form and back.
    QCOMPARE(toFolderString("/tmp/a/ソルメア/"), QStringLiteral(R"(\tmp\a\ソルメア)"));
    QCOMPARE(nativePath(R"(\tmp\a\..\b\x.txt)"), QStringLiteral("/tmp/a/../b/x.txt"));
}

void TestTextReading::organisationSplit_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    QTest::newRow("five digits") << QStringLiteral("01234ひまわり塾") << "01234" << QStringLiteral("ひまわり塾");
    QTest::newRow("letters") << QStringLiteral("ABCDEひまわり塾") << "" << QStringLiteral("ABCDEひまわり塾");
    QTest::newRow("zero code keeps the line")
        << QStringLiteral("00000ひまわり塾") << "" << QStringLiteral("00000ひまわり塾");
}

void TestTextReading::organisationSplit()
{
    QFETCH(QString, line);
    QString code = "junk", name;
    splitOrganisationLine(line, code, name);
    QTEST(code, "code");
    QTEST(name, "name");
}

void TestTextReading::levelTable()
{
    QString rows;
    for (int r = 0; r < 38; ++r) rows += QStringLiteral("%1,%2,3,4,0.5,6,7,8,9,10,11,12\r\n").arg(r + 1).arg(r + 100);
    SharedState s;
    readLevelTable(s, rows, "t");
    QCOMPARE(s.levelTable[0].targetTime, 1);
    QCOMPARE(s.levelTable[35].targetTime, 36);
    QCOMPARE(s.levelTable[35].secondTime, 135);
    QCOMPARE(s.levelTable[35].pointFactor.text(), QStringLiteral("0.5"));
    QCOMPARE(s.levelTable[35].dayWindow2, 9.0);

    SharedState empty;
    readLevelTable(empty, "", "t");
    QCOMPARE(empty.levelTable[1].targetTime, 0);

    SharedState partial;
    QVERIFY_THROWS_EXCEPTION(FileError, readLevelTable(partial, "1,2,3\r\n", "t"));
}

void TestTextReading::levelTableRefusesZeroTimes()
{
    SharedState s;
    readLevelTable(s, "0,0,0,0,0,0,0,0,0,0,0,0\n40,60,0,0,1,0,0,7,30,0,0,0\n40,0,0,0,1,0,0,7,30,0,0,0\n", "t");
    try {
        checkOfferedLevels(s, "/x/t");
        QFAIL("a zero second time at level 2 must be refused");
    } catch (const FileError& e) {
        QVERIFY(e.reason().contains(QStringLiteral("レベル 2")));
        QVERIFY(e.reason().contains(QStringLiteral("2 列目")));
    }
}

void TestTextReading::pointFactor_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("points");
    QTest::addColumn<qint64>("product");
    QTest::addColumn<QString>("shown");
    QTest::newRow("0.7 of 10 is 7") << "0.7" << qint64(10) << qint64(7) << "0.7";
    QTest::newRow("1.5 of 30 is 45") << "1.5" << qint64(30) << qint64(45) << "1.5";
    QTest::newRow("2 of 11 is 22") << "2" << qint64(11) << qint64(22) << "2";
    QTest::newRow("trailing zeros dropped") << "1.50" << qint64(3) << qint64(4) << "1.5";
    QTest::newRow("0.1 of 30 is 3") << "0.1" << qint64(30) << qint64(3) << "0.1";
    QTest::newRow("empty is 0") << "" << qint64(30) << qint64(0) << "0";
    QTest::newRow("not a number is 0") << "x1" << qint64(30) << qint64(0) << "0";
    QTest::newRow("negative kept") << "-0.5" << qint64(3) << qint64(-2) << "-0.5";
    QTest::newRow("exponent read exactly") << "1.5e2" << qint64(2) << qint64(300) << "150";
    QTest::newRow("twelve whole digits") << "999999999999" << qint64(55) << qint64(54999999999945) << "999999999999";
    QTest::newRow("six decimals") << "0.000001" << qint64(55) << qint64(0) << "0.000001";
    QTest::newRow("zeros past six decimals") << "2.5000000000" << qint64(2) << qint64(5) << "2.5";
}

void TestTextReading::pointFactor()
{
    QFETCH(QString, text);
    QFETCH(qint64, points);
    const std::optional<PointFactor> f = PointFactor::parse(text);
    QVERIFY(f);
    QTEST(f->apply(points), "product");
    QTEST(f->text(), "shown");
}

void TestTextReading::pointFactorTheDecimalCannotHold_data()
{
    QTest::addColumn<QString>("factor");
    QTest::newRow("thirteen whole digits") << "1000000000000";
    QTest::newRow("1e13, once a negative factor") << "1e13";
    QTest::newRow("seven decimals") << "0.1234567";
    QTest::newRow("a tiny exponent") << "5e-9";
    QTest::newRow("a huge negative factor") << "-1e20";
}

void TestTextReading::pointFactorTheDecimalCannotHold()
{
    QFETCH(QString, factor);
    QVERIFY(!PointFactor::parse(factor));
    // At start-up the table is refused, naming the level and the column.
    SharedState s;
    QString table = QStringLiteral("0,0,0,0,1,0,0,7,30,0,0,0\n40,60,100,5,1,0,0,7,30,0,0,0\n"
                                   "45,70,100,5,%1,0,0,7,30,0,0,0\n")
                        .arg(factor);
    try {
        readLevelTable(s, table, QStringLiteral("/inst/タイム回数データ.txt"));
        QFAIL("the table was read");
    } catch (const FileError& e) {
        QVERIFY2(e.reason().contains(QStringLiteral("レベル 2 のポイント倍率（5 列目）")), qPrintable(e.reason()));
        QVERIFY(e.reason().contains(factor));
    }
}

QTEST_GUILESS_MAIN(TestTextReading)
#include "test_text_reading.moc"
