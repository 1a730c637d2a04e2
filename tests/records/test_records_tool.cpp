#include "base/text_file.h"
#include "records/record_format.h"
#include "records/result_file_stream.h"
#include "support/installation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

// solmea-records run as a teacher would run it, on a real installation.
class TestRecordsTool : public QObject {
    Q_OBJECT
private slots:
    void csvQuotesNamesAndUsesCodePage932();
    void csvInUtf8();
    void statsAsOfAGivenDay();
    void checkReportsDamage();
    void checkOfACleanFile();
    void checkFindsTextFileFaults_data();
    void checkFindsTextFileFaults();
    void streamsAcrossAChunkBoundary();
    void fullOutputExitsWithTwo();
    void nothingIsCreated();
    void errorsExitWithTwo_data();
    void errorsExitWithTwo();
};

namespace {
struct Run {
    int code = -1;
    QByteArray out, err;
};

Run tool(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(RECORDS_TOOL), args);
    Run r;
    if (!p.waitForFinished(60000)) return r;
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

ResultRecord rec(QDate day, QTime time, int pupil, int level, int score)
{
    ResultRecord r;
    r.date = double(daySerial(day));
    r.time = dayFraction(time);
    r.pupilNumber = qint16(pupil);
    r.level = qint16(level);
    r.score = score;
    r.siteCode = QStringLiteral("12345");
    return r;
}

struct Fixture {
    TestInstallation inst;
    Fixture()
    {
        inst.writeDefaults();
        inst.write(QStringLiteral("生徒用名簿.txt"), QStringLiteral("1,2017,0,0,\"山田,はなこ\",0,\"\",\"\"\n"
                                                                    "2,2015,0,0,鈴木\"たろう\",1,\"\",\"\"\n"));
    }
    QString resultPath() const { return inst.path(QStringLiteral("ソルメア/成績累積データ.dat")); }
    void records(const QList<ResultRecord>& list, const QByteArray& tail = {}) const
    {
        QByteArray bytes;
        for (const ResultRecord& r : list) bytes += encodeResultRecord(r);
        inst.writeBytes(QStringLiteral("ソルメア/成績累積データ.dat"), bytes + tail);
    }
};

const QDate kDay(2026, 12, 8);
} // namespace

void TestRecordsTool::csvQuotesNamesAndUsesCodePage932()
{
    Fixture f;
    // 10:59:59.6 is cut to the second, as the lobby shows it.
    f.records({rec(kDay, QTime(10, 59, 59, 600), 1, 1, 30), rec(kDay, QTime(23, 59, 59), 2, 3, 32),
               rec(kDay, QTime(8, 0), 9, 2, 99999)});
    const Run r = tool({QStringLiteral("csv"), f.inst.programFolder()});
    QCOMPARE(r.code, 0);
    QVERIFY(!r.out.startsWith("\xEF\xBB\xBF"));
    const QStringList lines = decodeCp932(r.out).split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 5); // header, three records, and the empty rest after the last CRLF
    QCOMPARE(lines[0], QStringLiteral("日付,時刻,生徒番号,名前,レベル,レベル名,タイム,ポイント,教室コード"));
    QCOMPARE(lines[1], QStringLiteral("2026/12/08,10:59:59,1,\"山田,はなこ\",1,＋－,30,5,12345"));
    QCOMPARE(lines[2], QStringLiteral("2026/12/08,23:59:59,2,\"鈴木\"\"たろう\"\"\",3,＋－と×÷の組合せ,32,7,12345"));
    QCOMPARE(lines[3], QStringLiteral("2026/12/08,08:00:00,9,,2,×÷,99999,0,12345"));
    QCOMPARE(lines[4], QString());
}

void TestRecordsTool::csvInUtf8()
{
    Fixture f;
    f.records({rec(kDay, QTime(10, 0), 1, 4, 60)});
    const Run r = tool({QStringLiteral("csv"), f.inst.programFolder(), QStringLiteral("--utf8")});
    QCOMPARE(r.code, 0);
    QVERIFY(r.out.startsWith("\xEF\xBB\xBF"));
    QCOMPARE(QString::fromUtf8(r.out.mid(3)).split(QStringLiteral("\r\n")).value(1),
             QStringLiteral("2026/12/08,10:00:00,1,\"山田,はなこ\",4,混合,60,10,12345"));
}

void TestRecordsTool::statsAsOfAGivenDay()
{
    Fixture f;
    f.records({rec(kDay, QTime(10, 0), 1, 1, 30), rec(kDay.addDays(-3), QTime(10, 0), 1, 1, 40),
               rec(kDay, QTime(11, 0), 1, 1, 99999), rec(kDay.addDays(-1), QTime(10, 0), 2, 1, 20),
               rec(kDay, QTime(10, 0), 0, 1, 1)});
    const Run r = tool(
        {QStringLiteral("stats"), f.inst.programFolder(), QStringLiteral("--today"), QStringLiteral("2026-12-08")});
    QCOMPARE(r.code, 0);
    const QStringList lines = QString::fromUtf8(r.out).split(u'\n');
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines[0],
             QStringLiteral("pupil\tlevel\tpersonalBest\toverallBest\trunCount\trecentRunCount\trecentPoints\t"
                            "window2RunCount\twindow2Points\ttotalPoints\ttodayRunCount\ttodayPoints\t"
                            "averageScore\ttodayAverageScore"));
    QCOMPARE(lines[1], QStringLiteral("1\t1\t30\t20\t2\t2\t10\t2\t10\t10\t1\t5\t35\t30"));
    QCOMPARE(lines[2], QStringLiteral("2\t1\t20\t20\t1\t1\t11\t1\t11\t11\t0\t0\t20\t0"));
    QCOMPARE(lines[3], QString());

    // A week later the first window has passed.
    const Run later = tool(
        {QStringLiteral("stats"), f.inst.programFolder(), QStringLiteral("--today"), QStringLiteral("2026-12-15")});
    QCOMPARE(QString::fromUtf8(later.out).split(u'\n').value(1),
             QStringLiteral("1\t1\t30\t20\t2\t0\t0\t2\t10\t10\t0\t0\t35\t0"));
}

void TestRecordsTool::checkReportsDamage()
{
    Fixture f;
    f.records({rec(kDay, QTime(10, 0), 1, 1, 30), rec(kDay, QTime(10, 0), 0, 1, 30), rec(kDay, QTime(10, 0), 1, 36, 30),
               rec(kDay, QTime(10, 0), 1, 1, -8)},
              QByteArray(10, 'z'));
    const Run r = tool({QStringLiteral("check"), f.inst.programFolder()});
    QCOMPARE(r.code, 1);
    const QString out = QString::fromUtf8(r.out);
    QVERIFY2(out.contains(QStringLiteral("レコード数：4")), qPrintable(out));
    QVERIFY(out.contains(QStringLiteral("10 バイト")));
    QVERIFY(out.contains(QStringLiteral("読み込まれないレコード：3 件")));
    QVERIFY(out.contains(QStringLiteral("レコード 2：生徒番号 0")));
    QVERIFY(out.contains(QStringLiteral("レコード 3：レベル 36")));
    QVERIFY(out.contains(QStringLiteral("レコード 4：タイム -8")));
    QVERIFY(!out.contains(QStringLiteral("レコード 1：")));
}

void TestRecordsTool::checkOfACleanFile()
{
    Fixture f;
    f.records({rec(kDay, QTime(10, 0), 1, 1, 30)});
    const Run r = tool({QStringLiteral("check"), f.inst.programFolder()});
    QCOMPARE(r.code, 0);
    QVERIFY(QString::fromUtf8(r.out).contains(QStringLiteral("末尾の不完全なレコード：なし")));
}

// clang-format off
void TestRecordsTool::checkFindsTextFileFaults_data()
{
    QTest::addColumn<QString>("file"); // relative to the installation
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("finding"); // after "PATH ", empty for none
    const QByteArray level0 = "0,0,0,0,1,0,0,7,30,0,0,0\r\n";
    const QByteArray level1 = "40,60,100,5,1,0,0,7,30,0,0,0\r\n";
    const QByteArray level2 = "45,70,100,5,\"1,5\",0,0,7,30,0,0,0\r\n"; // a quoted comma is one value
    const QString table = QStringLiteral("ソルメア/タイム回数データ.txt");
    QTest::newRow("clean installation") << table << level0 + level1 + level2 << "";
    QTest::newRow("short row (the program refuses the table)")
        << table << level0 + "40,60,100,5,1,0,0,7,30,0,0\r\n" + level2 << "2 行目：レベル 1 の行に値が 11 個しかありません";
    QTest::newRow("short row made up by a long one")
        << table << level0 + "40,60,100,5,1,0,0,7,30,0,0\r\n" + "45,70,100,5,1.5,0,0,7,30,0,0,0,9\r\n"
        << "2 行目：レベル 1 の行に値が 11 個しかありません";
    QTest::newRow("trailing comma is a thirteenth value")
        << table << level0 + "40,60,100,5,1,0,0,7,30,0,0,0,\r\n" + level2 << "2 行目：レベル 1 の行に値が 13 個あります";
    QTest::newRow("empty lines and a bare CR are counted")
        << table << level0 + "\r\n  \r\n" + level1 + "\r" + "45,70\r\n" << "6 行目：レベル 2 の行に値が 2 個しかありません";
    QTest::newRow("quoted value running over a line end is one value")
        << table << level0 + "40,60,100,5,\"1\r\n.5\",0,0,7,30,0,0,0\r\n" + "45,70\r\n"
        << "4 行目：レベル 2 の行に値が 2 個しかありません";
    QTest::newRow("rows after Ctrl-Z are not read") << table << level0 + level1 + "\x1A" + "1,2\r\n\xFF" << "";
    QTest::newRow("invalid byte in the roster")
        << QStringLiteral("生徒用名簿.txt") << QByteArray("1,2017,0,0,\"a\",0,\"\",\"\"\r\n2,2015,0,0,\"b\xFF\",0,\"\",\"\"\r\n")
        << "2 行目：シフトJIS（コードページ 932）にないバイト 0xFF があります（行の 14 バイト目）";
    QTest::newRow("lone lead byte at a line end")
        << QStringLiteral("共通データ.txt") << QByteArray("4\r\n\"12345\x82\"\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n")
        << "2 行目：シフトJIS（コードページ 932）にないバイト 0x82 があります（行の 7 バイト目）";
    QTest::newRow("byte-order mark on the sound list")
        << QStringLiteral("音フォルダ/新音ファイル.txt") << QByteArray("\xEF\xBB\xBF" "group\r\nseikai1\r\n*\r\n")
        << "1 行目：先頭に UTF-8 のバイト順マーク（EF BB BF）があります";
}
// clang-format on

void TestRecordsTool::checkFindsTextFileFaults()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, finding);
    Fixture f;
    f.inst.writeBytes(file, bytes);
    const Run r = tool({QStringLiteral("check"), f.inst.programFolder()});
    const QString out = QString::fromUtf8(r.out);
    if (finding.isEmpty()) {
        QCOMPARE(r.code, 0);
        QVERIFY2(!out.contains(QStringLiteral("テキストファイル")), qPrintable(out));
        return;
    }
    QCOMPARE(r.code, 1);
    QVERIFY2(out.contains(QDir::cleanPath(f.inst.path(file)) + u' ' + finding), qPrintable(out));
}

void TestRecordsTool::streamsAcrossAChunkBoundary()
{
    // Record n is variant n % 7; variants 1 and 2 are skipped by the loader,
    // so records on both sides of the boundary (4096 % 7 == 1) are listed.
    const QList<ResultRecord> variants{rec(kDay, QTime(9, 0), 1, 1, 30),
                                       rec(kDay, QTime(9, 1), 0, 2, 31),
                                       rec(kDay, QTime(9, 2), 2, 36, 32),
                                       rec(kDay.addDays(1), QTime(9, 3), 2, 3, 33),
                                       rec(kDay, QTime(9, 4), 3, 4, 99999),
                                       rec(kDay, QTime(9, 5), 1, 2, 0),
                                       rec(kDay.addDays(-400), QTime(9, 6), 2, 1, 45)};
    const qint64 n = kResultChunkRecords + 5;
    QList<ResultRecord> list;
    QString skipped;
    for (qint64 k = 1; k <= n; ++k) {
        list << variants[k % 7];
        if (k % 7 == 1) skipped += QStringLiteral("  レコード %1：生徒番号 0 が 1～5000 の範囲外です\n").arg(k);
        if (k % 7 == 2) skipped += QStringLiteral("  レコード %1：レベル 36 が 1～35 の範囲外です\n").arg(k);
    }
    Fixture f;
    f.records(list);

    const Run csv = tool({QStringLiteral("csv"), f.inst.programFolder()});
    QCOMPARE(csv.code, 0);
    const QStringList lines = decodeCp932(csv.out).split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), n + 2);
    for (qint64 k = 8; k <= n; ++k) QCOMPARE(lines[k], lines[(k - 1) % 7 + 1]);
    QCOMPARE(lines[4098], QStringLiteral("2026/12/09,09:03:00,2,\"鈴木\"\"たろう\"\"\",3,＋－と×÷の組合せ,33,6,12345"));

    const Run check = tool({QStringLiteral("check"), f.inst.programFolder()});
    QCOMPARE(check.code, 1);
    QCOMPARE(QString::fromUtf8(check.out),
             QStringLiteral("成績ファイル：%1\nレコード数：%2\n末尾の不完全なレコード：なし\n"
                            "使えないため読み込まれないレコード：%3 件\n")
                     .arg(QDir::cleanPath(f.resultPath()))
                     .arg(n)
                     .arg(skipped.count(u'\n')) +
                 skipped);
}

void TestRecordsTool::fullOutputExitsWithTwo()
{
    if (!QFileInfo::exists(QStringLiteral("/dev/full"))) QSKIP("no /dev/full here");
    Fixture f;
    f.records({rec(kDay, QTime(10, 0), 1, 1, 30)});
    QProcess p;
    p.setStandardOutputFile(QStringLiteral("/dev/full"));
    p.start(QStringLiteral(RECORDS_TOOL), {QStringLiteral("csv"), f.inst.programFolder()});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 2);
    QVERIFY(QString::fromUtf8(p.readAllStandardError()).contains(QStringLiteral("結果を書き出せません")));
}

void TestRecordsTool::nothingIsCreated()
{
    Fixture f;
    for (const char* command : {"csv", "stats", "check"}) {
        const Run r = tool({QString::fromLatin1(command), f.inst.programFolder()});
        QCOMPARE(r.code, 0);
    }
    QVERIFY(!QFile::exists(f.resultPath()));
}

// clang-format off
void TestRecordsTool::errorsExitWithTwo_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("folder"); // relative to the installation
    QTest::addColumn<QString>("remove");
    QTest::addColumn<QString>("message");
    QTest::newRow("no such folder") << "stats" << "ない" << "" << "フォルダがありません";
    QTest::newRow("no settings file") << "check" << "ソルメア" << "ソルメア/設定.txt" << "設定.txt がありません";
    QTest::newRow("no level table") << "csv" << "ソルメア" << "ソルメア/タイム回数データ.txt" << "タイム回数データ.txt";
    QTest::newRow("result file unreadable") << "check" << "ソルメア" << "dir:ソルメア/成績累積データ.dat" << "成績ファイルを読み込めません";
    QTest::newRow("unknown command") << "list" << "ソルメア" << "" << "使い方";
}
// clang-format on

void TestRecordsTool::errorsExitWithTwo()
{
    QFETCH(QString, command);
    QFETCH(QString, folder);
    QFETCH(QString, remove);
    QFETCH(QString, message);
    Fixture f;
    if (remove.startsWith(QStringLiteral("dir:"))) QVERIFY(QDir().mkpath(f.inst.path(remove.mid(4))));
    else if (!remove.isEmpty()) QVERIFY(QFile::remove(f.inst.path(remove)));
    const Run r = tool({command, f.inst.path(folder)});
    QCOMPARE(r.code, 2);
    QVERIFY(r.out.isEmpty());
    const QString err = QString::fromUtf8(r.err);
    QCOMPARE(err.count(u'\n'), 1); // one line
    QVERIFY2(err.contains(message), qPrintable(err));
}

QTEST_GUILESS_MAIN(TestRecordsTool)
#include "test_records_tool.moc"
