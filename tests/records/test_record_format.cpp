#include "base/text_file.h"
#include "records/grades.h"
#include "records/points.h"
#include "records/ranking_sort.h"
#include "records/record_format.h"

#include <QTest>
#include <cmath>

// Byte layouts, points, grades and the ranking sort: the rules other
// computers and screens rely on.
class TestRecordFormat : public QObject {
    Q_OBJECT
private slots:
    void resultRecordBytes();
    void sharedLogRecordBytes();
    void fixedTextCutsOnCharacterBoundary_data();
    void fixedTextCutsOnCharacterBoundary();
    void dateSerials();
    void points_data();
    void points();
    void gradeMarks_data();
    void gradeMarks();
    void gradeFilter_data();
    void gradeFilter();
    void rankingSortIsStable();
};

static QByteArray hex(const char* h) { return QByteArray::fromHex(QByteArray(h).replace(' ', "")); }

void TestRecordFormat::resultRecordBytes()
{
    ResultRecord r;
    r.date = 46364; // 8 December 2026
    r.time = 0.5;
    r.pupilNumber = 1;
    r.level = 3;
    r.score = 45;
    r.siteCode = QStringLiteral("12345");
    const QByteArray expected = hex("0000000080a3e640" // date 46364.0
                                    "000000000000e03f" // time 0.5
                                    "0100"             // pupil 1
                                    "0300"             // level 3
                                    "2d000000"         // score 45
                                    "3132333435"       // site code
                                    "2020202020"       // reserved: spaces
                                    "3020202020"       // points text "0"
                                    "0000000000");     // reserved: zero bytes
    QCOMPARE(encodeResultRecord(r).toHex(' '), expected.toHex(' '));
    QCOMPARE(decodeResultRecord(expected.constData()), r);

    // A negative score and an empty site code.
    r.score = -2;
    r.siteCode.clear();
    const QByteArray bytes = encodeResultRecord(r);
    QCOMPARE(bytes.mid(20, 4).toHex(), QByteArray("feffffff"));
    QCOMPARE(bytes.mid(24, 5), QByteArray("     "));
    QCOMPARE(decodeResultRecord(bytes.constData()), r);
}

void TestRecordFormat::sharedLogRecordBytes()
{
    SharedLogRecord r;
    r.titleFolder = QStringLiteral("ソルメア\\");
    r.date = 46364;
    r.time = 0.75;
    r.pupilNumber = 4899;
    r.level = 2;
    r.score = 100;
    r.siteCode = QStringLiteral("１2");
    const QByteArray expected = hex("835c838b838183415c2020202020202020202020" // "ソルメア\" padded to 20
                                    "0000"                                     // content code 0
                                    "0000000080a3e640"                         // date
                                    "000000000000e83f"                         // time 0.75
                                    "2313"                                     // pupil 4899
                                    "0200"                                     // level 2
                                    "64000000"                                 // score 100
                                    "8250322020"                               // "１2" padded
                                    "000000000000000000000000000000");         // reserved
    QCOMPARE(encodeSharedLogRecord(r).toHex(' '), expected.toHex(' '));
    QCOMPARE(decodeSharedLogRecord(expected.constData()), r);
}

void TestRecordFormat::fixedTextCutsOnCharacterBoundary_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("short text padded") << "12" << 5 << QByteArray("12   ");
    QTest::newRow("exact width") << "12345" << 5 << QByteArray("12345");
    QTest::newRow("longer text cut") << "1234567" << 5 << QByteArray("12345");
    QTest::newRow("double-byte character not split") << "１２３" << 5 << hex("8250825120");
    QTest::newRow("second byte 5C is not a character") << "ソルメア" << 3 << hex("835c20");
    QTest::newRow("half-width katakana is one byte") << "ｿﾙﾒｱ" << 5 << hex("bfd9d2b120");
    QTest::newRow("empty") << "" << 5 << QByteArray("     ");
}

void TestRecordFormat::fixedTextCutsOnCharacterBoundary()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(QByteArray, expected);
    QCOMPARE(fixedCp932(text, width).toHex(' '), expected.toHex(' '));
}

void TestRecordFormat::dateSerials()
{
    QCOMPARE(daySerial(QDate(1899, 12, 30)), 0);
    QCOMPARE(daySerial(QDate(1900, 3, 1)), 61);
    QCOMPARE(daySerial(QDate(2026, 12, 8)), 46364);
    QCOMPARE(dateFromSerial(46364), QDate(2026, 12, 8));
    const RecordStamp st = recordStamp(QDateTime(QDate(2026, 12, 8), QTime(18, 0)));
    QCOMPARE(st.date, 46364.0);
    QCOMPARE(st.time, 0.75);
}

void TestRecordFormat::points_data()
{
    QTest::addColumn<int>("target");
    QTest::addColumn<int>("score");
    QTest::addColumn<QString>("factor");
    QTest::addColumn<qint64>("expected");
    QTest::newRow("score equal to target gives 5") << 100 << 100 << "1" << qint64(5);
    QTest::newRow("score 0 gives 55") << 100 << 0 << "1" << qint64(55);
    QTest::newRow("score 150 gives 4") << 100 << 150 << "1" << qint64(4);
    QTest::newRow("score 199 gives 4") << 100 << 199 << "1" << qint64(4);
    QTest::newRow("score 200 gives 1") << 100 << 200 << "1" << qint64(1);
    QTest::newRow("score 999 gives 1") << 100 << 999 << "1" << qint64(1);
    QTest::newRow("score 1000 gives 0") << 100 << 1000 << "1" << qint64(0);
    QTest::newRow("timed out gives 0") << 100000 << 99999 << "1" << qint64(0);
    QTest::newRow("score 50 of 100 gives 11") << 100 << 50 << "1" << qint64(11);
    // 10 points × 0.7 is 7, not 6 as a binary 0.7 would give.
    QTest::newRow("10 points times 0.7 gives 7") << 60 << 32 << "0.7" << qint64(7);
    QTest::newRow("55 points times 0.7 gives 38") << 60 << 0 << "0.7" << qint64(38);
    QTest::newRow("5 points times 1.5 gives 7") << 45 << 45 << "1.5" << qint64(7);
    QTest::newRow("target 0 earns nothing") << 0 << 10 << "1" << qint64(0);
    QTest::newRow("largest target of the 64-bit path") << 500000 << 0 << "1" << qint64(55);
    QTest::newRow("larger target stays exact") << 500001 << 1 << "1" << qint64(54);
    QTest::newRow("target 1000000 score 50000 gives 47") << 1000000 << 50000 << "1" << qint64(47);
}

void TestRecordFormat::points()
{
    QFETCH(int, target);
    QFETCH(int, score);
    QFETCH(QString, factor);
    QFETCH(qint64, expected);
    QCOMPARE(runPoints(score, target, PointFactor::fromText(factor)), expected);
}

void TestRecordFormat::gradeMarks_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("mark");
    QTest::newRow("1") << 1 << "①";
    QTest::newRow("6") << 6 << "⑥";
    QTest::newRow("7") << 7 << "Ⅰ";
    QTest::newRow("9") << 9 << "Ⅲ";
    QTest::newRow("0") << 0 << "　";
    QTest::newRow("10") << 10 << "　";
    QTest::newRow("-1") << -1 << "　";
}

void TestRecordFormat::gradeMarks()
{
    QFETCH(int, code);
    QFETCH(QString, mark);
    QCOMPARE(gradeMark(code), mark);
}

// clang-format off
void TestRecordFormat::gradeFilter_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("matching"); // the codes 0–10 that match, as digits
    QTest::newRow("all grades") << "全学年" << "012345678910";
    QTest::newRow("family") << "家族" << "012345678910";
    QTest::newRow("all primary") << "小学生全体" << "123456";
    QTest::newRow("all lower secondary") << "中学生全体" << "789";
    QTest::newRow("primary 1") << "小１" << "1";
    QTest::newRow("primary 6") << "小６" << "6";
    QTest::newRow("secondary 1") << "中１" << "7";
    QTest::newRow("secondary 3") << "中３" << "9";
    QTest::newRow("half-width digit matches nothing") << "小1" << "";
    QTest::newRow("unknown text") << "高１" << "";
}
// clang-format on

void TestRecordFormat::gradeFilter()
{
    QFETCH(QString, filter);
    QFETCH(QString, matching);
    QString got;
    for (int code = 0; code <= 10; ++code)
        if (gradeMatches(code, filter)) got += QString::number(code);
    QCOMPARE(got, matching);
}

void TestRecordFormat::rankingSortIsStable()
{
    // Positions 1..n; index 0 is not part of the sort.
    std::vector<qint32> keys{-7, 30, 10, 30, 5, 10, 30, 1};
    std::vector<qint32> values{-7, 1, 2, 3, 4, 5, 6, 7};
    rankingSort(keys, values, 6); // position 7 stays where it is
    QCOMPARE(keys, (std::vector<qint32>{-7, 5, 10, 10, 30, 30, 30, 1}));
    QCOMPARE(values, (std::vector<qint32>{-7, 4, 2, 5, 1, 3, 6, 7})); // equal keys keep their order

    // A larger shuffled input against std::stable_sort.
    const int n = 1001;
    std::vector<qint32> k(n + 1), v(n + 1);
    quint32 seed = 12345;
    for (int i = 1; i <= n; ++i) {
        seed = seed * 1103515245u + 12345u;
        k[std::size_t(i)] = qint32((seed >> 16) % 50);
        v[std::size_t(i)] = i;
    }
    std::vector<std::pair<qint32, qint32>> expected;
    for (int i = 1; i <= n; ++i) expected.emplace_back(k[std::size_t(i)], v[std::size_t(i)]);
    std::stable_sort(expected.begin(), expected.end(), [](auto a, auto b) { return a.first < b.first; });
    rankingSort(k, v, n);
    for (int i = 1; i <= n; ++i) {
        QCOMPARE(k[std::size_t(i)], expected[std::size_t(i - 1)].first);
        QCOMPARE(v[std::size_t(i)], expected[std::size_t(i - 1)].second);
    }
}

QTEST_GUILESS_MAIN(TestRecordFormat)
#include "test_record_format.moc"
