// Code page 932 as Windows maps it, and the text files that depend on it.
#include "base/file_error.h"
#include "base/folder_path.h"
#include "base/text_file.h"
#include "roster/roster_reader.h"
#include "roster/roster_record.h"
#include "state/settings.h"
#include "state/shared_state.h"
#include "support/installation.h"
#include "support/test_services.h"

#include <QTest>

class TestCp932 : public QObject {
    Q_OBJECT
private slots:
    void bytes_data();
    void bytes();
    void rosterWriterRoundTripsEveryCharacter();
    void files_data();
    void files();
};

void TestCp932::bytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    const QChar bad(0xFFFD);
    QTest::newRow("0x5C is the backslash") << QByteArray("\x5C") << QStringLiteral("\\");
    QTest::newRow("0x7E is the tilde") << QByteArray("\x7E") << QStringLiteral("~");
    QTest::newRow("0x1A is itself") << QByteArray("a\x1A") << QString::fromUtf16(u"a\u001A");
    QTest::newRow("0x1C is itself") << QByteArray("\x1C") << QString::fromUtf16(u"\u001C");
    QTest::newRow("0x7F is itself") << QByteArray("\x7F") << QString::fromUtf16(u"\u007F");
    QTest::newRow("0x815F full-width backslash") << QByteArray("\x81\x5F") << QString::fromUtf16(u"\uFF3C");
    QTest::newRow("0x8160 full-width tilde") << QByteArray("\x81\x60") << QString::fromUtf16(u"\uFF5E");
    QTest::newRow("0x817C full-width minus") << QByteArray("\x81\x7C") << QString::fromUtf16(u"\uFF0D");
    QTest::newRow("0x8191 cent sign") << QByteArray("\x81\x91") << QString::fromUtf16(u"\uFFE0");
    QTest::newRow("0x81CA not sign") << QByteArray("\x81\xCA") << QString::fromUtf16(u"\uFFE2");
    QTest::newRow("0x8740 NEC row, circled one") << QByteArray("\x87\x40") << QString::fromUtf16(u"\u2460");
    QTest::newRow("0xFA40 IBM row, small roman one") << QByteArray("\xFA\x40") << QString::fromUtf16(u"\u2170");
    QTest::newRow("half-width katakana") << QByteArray("\xB1") << QString::fromUtf16(u"\uFF71");
    QTest::newRow("0x80 is replaced, the rest kept") << QByteArray("a\x80"
                                                                   "b")
                                                     << (u'a' + QString(bad) + u'b');
    QTest::newRow("0xA0") << QByteArray("\xA0"
                                        "1")
                          << (QString(bad) + u'1');
    QTest::newRow("0xFD 0xFE 0xFF") << QByteArray("\xFD\xFE\xFF") << QString(3, bad);
    QTest::newRow("lone lead byte before a line end")
        << QByteArray("\x81\r\n") << (QString(bad) + QStringLiteral("\r\n"));
    QTest::newRow("lone lead byte at the end") << QByteArray("x\x88") << (u'x' + QString(bad));
}

void TestCp932::bytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(decodeCp932(bytes), text);
    const bool valid = !text.contains(QChar(0xFFFD));
    QCOMPARE(cp932HasInvalidBytes(bytes), !valid);
    if (valid) QCOMPARE(encodeCp932(text), bytes);
}

void TestCp932::rosterWriterRoundTripsEveryCharacter()
{
    // Every character a valid byte sequence decodes to, except the line and
    // quote characters a roster name cannot hold.
    QString all;
    auto take = [&](const QByteArray& b) {
        const QString c = decodeCp932(b);
        if (c.size() == 1 && c[0] != QChar(0xFFFD) && c[0] >= u' ' && c[0] != u'"' && c[0] != QChar(0x7F)) all += c;
    };
    for (int b = 0; b < 0x100; ++b) take(QByteArray(1, char(b)));
    for (int lead = 0x81; lead <= 0xFC; ++lead)
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const char pair[2] = {char(lead), char(trail)};
            take(QByteArray(pair, 2));
        }
    QVERIFY2(all.size() > 9000, qPrintable(QString::number(all.size())));
    QCOMPARE(cp932FirstUnencodable(all), qsizetype(-1));

    // Twenty characters a name, written and read back as the roster's line.
    for (qsizetype i = 0; i < all.size(); i += kRosterTextWidth) {
        RosterRecord r;
        r.number = 1;
        // Blanks at the ends of a name are not part of it.
        const QString name = all.mid(i, kRosterTextWidth);
        r.setName(name);
        RosterRecord back;
        QVERIFY(parseRosterLine(decodeCp932(encodeCp932(rosterLine(r))), back));
        QCOMPARE(back.name, r.name);
    }
    QCOMPARE(cp932FirstUnencodable(QStringLiteral("aé")), qsizetype(1));
    QCOMPARE(cp932FirstUnencodable(QStringLiteral("漢😀字")), qsizetype(1));
    QCOMPARE(encodeCp932(QStringLiteral("漢😀字")), encodeCp932(QStringLiteral("漢?字")));
}

void TestCp932::files_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("bytes");
    // Old editors end a text with Ctrl-Z; bytes after it are not text.
    QTest::newRow("roster of three, then Ctrl-Z")
        << "生徒用名簿.txt"
        << encodeCp932(QStringLiteral("1,2017,0,0,\"一\",0,\"\",\"\"\r\n2,2016,0,0,\"二\",0,\"\",\"\"\r\n"
                                      "3,2015,0,0,\"三\",0,\"\",\"\"\r\n")) +
               QByteArray("\x1A", 1);
    QTest::newRow("level table, then Ctrl-Z")
        << "ソルメア/タイム回数データ.txt"
        << encodeCp932(TestInstallation::defaultLevelTable().replace(u'\n', QStringLiteral("\r\n"))) + "\x1A garbage";
    // A stray byte is an ordinary (unknown) character, not the end of the file.
    QTest::newRow("sound list whose first line holds 0xFF")
        << "音フォルダ/新音ファイル.txt"
        << QByteArray("\xFF\r\n") + encodeCp932(QStringLiteral("正解音2\r\nseikai1\r\nseikai2\r\n*\r\n間違い音2\r\n"
                                                               "machigai1\r\n*\r\n"));
}

void TestCp932::files()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    TestInstallation inst;
    inst.writeDefaults();
    inst.writeBytes(file, bytes);
    TestServices t;
    SharedState s;
    s.programFolder = toFolderString(inst.programFolder());
    try {
        loadSettings(s);
    } catch (const FileError& e) {
        QFAIL(qPrintable(e.message()));
    }
    int listed = 0;
    readRoster(s, t.services, [&](const RosterRecord&, const QString&) { ++listed; });
    QVERIFY2(t.dialogs.texts.isEmpty(), qPrintable(t.dialogs.texts.join(u'\n')));
    QVERIFY(!t.end.requested());
    QCOMPARE(listed, file.startsWith(u"生徒") ? 3 : 2);
    QCOMPARE(s.levelTable[4].pointFactor.text(), QStringLiteral("2"));
    QCOMPARE(s.sound.groups[2].count, 2);
    QCOMPARE(s.sound.groups[4].count, 1);
}

QTEST_GUILESS_MAIN(TestCp932)
#include "test_cp932.moc"
