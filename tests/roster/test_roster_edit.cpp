#include "base/text_file.h"
#include "base/text_util.h"
#include "roster/roster_edit.h"
#include "support/installation.h"

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>

// The roster editor's rewrite of 生徒用名簿.txt, on real files.
class TestRosterEdit : public QObject {
    Q_OBJECT
private slots:
    void rewrite_data();
    void rewrite();
    void refused_data();
    void refused();
    void missingRoster();
    void killedSaveLeavesOldOrNew();
};

namespace {
// One line in the program's own format.
QString rec(int number, int year, const QString& name, const QString& status = QStringLiteral("0"),
            const QString& rest = QStringLiteral("0,0"), const QString& t1 = {}, const QString& t2 = {})
{
    return QStringLiteral("%1,%2,%3,\"%4\",%5,\"%6\",\"%7\"\r\n")
        .arg(number)
        .arg(year)
        .arg(rest, fixedWidth(name, 20), status, fixedWidth(t1, 20), fixedWidth(t2, 20));
}

// Reads `file` from a temporary roster, applies "name|year" edits of rows 1–3.
RosterRewrite edit(const QString& file, const QStringList& edits, const NewPupilRules& adding = {})
{
    TestInstallation inst;
    inst.writeBytes(QStringLiteral("生徒用名簿.txt"), encodeCp932(file));
    const EditorRead read = readEditorRows(inst.path(QStringLiteral("生徒用名簿.txt")));
    std::array<RowEdit, kEditorRows> e;
    for (int i = 0; i < 3 && i < edits.size(); ++i) {
        const QStringList parts = edits[i].split(u'|');
        e[std::size_t(i)] = {parts[0], parts.value(1)};
    }
    return rewriteRoster(read.rows, e, adding);
}

// Rules for new pupils from "+N …" (numbers that recorded runs carry); none from "".
NewPupilRules adding(const QString& recorded)
{
    if (recorded.isEmpty()) return {};
    NewPupilRules rules{std::vector<bool>(10), 2026};
    for (const QString& n : recorded.mid(1).split(u' ', Qt::SkipEmptyParts))
        rules.recordedNumbers[std::size_t(n.toInt())] = true;
    return rules;
}

const QString A = rec(1, 2017, QStringLiteral("やまだ　はなこ"), QStringLiteral("0"), QStringLiteral("5,-3"),
                      QStringLiteral("abc"), QStringLiteral("備考"));
const QString B = rec(2, 2015, QStringLiteral("すずき　たろう"), QString());
const QString C = rec(3, 2013, QStringLiteral("さとう　けん"), QStringLiteral("\"済\""));
const QString keepA = fixedWidth(QStringLiteral("やまだ　はなこ"), 20) + QStringLiteral("|2017");
const QString keepC = fixedWidth(QStringLiteral("さとう　けん"), 20) + QStringLiteral("|2013");
} // namespace

void TestRosterEdit::rewrite_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<QString>("expected");
    QTest::newRow("row 2 changed, every other field as it was")
        << A + B + C << QStringList{keepA, "たなか　じろう|2015", keepC}
        << A + rec(2, 2015, QStringLiteral("たなか　じろう"), QString()) + C;
    QTest::newRow("name stored trimmed, full-width blank kept")
        << A + B + C << QStringList{keepA, "  　たろう  |2015", keepC}
        << A + rec(2, 2015, QStringLiteral("　たろう"), QString()) + C;
    QTest::newRow("2015年 is 2015") << A + B + C << QStringList{keepA, "たろう|2015年", keepC}
                                    << A + rec(2, 2015, QStringLiteral("たろう"), QString()) + C;
    QTest::newRow("letters are 0") << A + B + C << QStringList{keepA, "たろう|abc", keepC}
                                   << A + rec(2, 0, QStringLiteral("たろう"), QString()) + C;
    QTest::newRow("full-width digits are read") << A + B + C << QStringList{keepA, "たろう|２０１５年", keepC}
                                                << A + rec(2, 2015, QStringLiteral("たろう"), QString()) + C;
    QTest::newRow("a decimal year is rounded") << A + B + C << QStringList{keepA, "たろう| 2015.6", keepC}
                                               << A + rec(2, 2016, QStringLiteral("たろう"), QString()) + C;
    QTest::newRow("empty name written as blanks")
        << A + B + C << QStringList{keepA, "|2015", keepC} << A + rec(2, 2015, QString(), QString()) + C;
    QTest::newRow("a name of 25 characters is cut to 20")
        << A + B + C << QStringList{keepA, QString(25, u'あ') + "|2015", keepC}
        << A + rec(2, 2015, QString(20, u'あ'), QString()) + C;
    QTest::newRow("status 1 and an empty status written back as read")
        << rec(1, 2017, "a", "1") + rec(2, 2015, "b", "") + rec(3, 2013, "c", "2")
        << QStringList{"x|2017", "y|2015", "z|2013"}
        << rec(1, 2017, "x", "1") + rec(2, 2015, "y", "") + rec(3, 2013, "z", "2");
    QTest::newRow("a fourth record is dropped")
        << A + B + C + rec(4, 2012, "d") << QStringList{keepA, "b|2015", keepC} << A + rec(2, 2015, "b", QString()) + C;
    QTest::newRow("two records: no third invented")
        << A + B << QStringList{keepA, "b|2015", "c|2013"} << A + rec(2, 2015, "b", QString());
    QTest::newRow("a damaged line is written back as it was")
        << A + "2,xx,\"b\"\r\n" + C << QStringList{keepA, "b|2015", "z|2013"}
        << A + "2,xx,\"b\"\r\n" + rec(3, 2013, "z", "\"済\"");
    QTest::newRow("〜 and − become the characters code page 932 holds")
        << A + B + C << QStringList{keepA, "ゆう〜り−こ|2015", keepC}
        << A + rec(2, 2015, QStringLiteral("ゆう～り－こ"), QString()) + C;
    // A fourth edit "+N …" adds pupils, with numbers N … taken by recorded runs.
    const QString B2 = rec(2, 2019, "ゆい", "");
    QTest::newRow("new: the lowest free number, an empty status")
        << A << QStringList{keepA, "  ゆい |2019", "", "+"} << A + B2;
    QTest::newRow("new: numbers in records skipped")
        << A << QStringList{keepA, "ゆい|２０１９年", "", "+2 3 5"} << A + rec(4, 2019, "ゆい", "");
    QTest::newRow("new: a damaged line keeps its number, rows in order")
        << A + "2,xx,\"b\"\r\n"
        << QStringList{keepA, "b|2015", "ゆい|2019", "+"} << A + "2,xx,\"b\"\r\n" + rec(3, 2019, "ゆい", "");
    QTest::newRow("new: two rows, two numbers")
        << A << QStringList{keepA, "ゆい|2019", "けん|2020", "+3"} << A + B2 + rec(4, 2020, "けん", "");
    QTest::newRow("new: empty rows write nothing") << A << QStringList{keepA, "  ", "", "+"} << A;
}

void TestRosterEdit::rewrite()
{
    QFETCH(QString, file);
    QFETCH(QStringList, edits);
    QFETCH(QString, expected);
    const RosterRewrite r = edit(file, edits, adding(edits.value(3)));
    QCOMPARE(r.error, QString());
    QCOMPARE(encodeCp932(r.text), encodeCp932(expected));
}

void TestRosterEdit::refused_data()
{
    QTest::addColumn<QString>("edit"); // row 2
    QTest::addColumn<QStringList>("told");
    QTest::newRow("a character code page 932 lacks") << "吉𠮷|2015" << QStringList{"2 番目の名前", "「𠮷」", "U+20BB7"};
    QTest::newRow("an accented letter") << "José|2015" << QStringList{"2 番目の名前", "「é」"};
    QTest::newRow("a double quote") << "a\"b|2015" << QStringList{"2 番目の名前", "「\"」"};
    QTest::newRow("a tab inside") << "a\tb|2015" << QStringList{"2 番目の名前", "タブ"};
    QTest::newRow("a line break inside") << "a\nb|2015" << QStringList{"2 番目の名前", "改行"};
    QTest::newRow("a Ctrl-Z, which ends the file")
        << "a\x1A b|2015" << QStringList{"2 番目の名前", "制御文字（U+001A）"};
    QTest::newRow("a yen sign, which would read back as a backslash")
        << "¥100|2015" << QStringList{"2 番目の名前", "「¥」", "U+00A5"};
    QTest::newRow("an em dash, which would read back as a horizontal bar")
        << "a—b|2015" << QStringList{"2 番目の名前", "「—」"};
    QTest::newRow("a year past 16 bits") << "b|99999" << QStringList{"2 番目の生まれた年", "「99999」"};
    QTest::newRow("a year below 16 bits") << "b|-40000" << QStringList{"2 番目の生まれた年", "「-40000」"};
    // "+": row 2 holds a new pupil.
    QTest::newRow("new: a two-digit year") << "+ゆい|19" << QStringList{"2 番目の生まれた年「19」"};
    QTest::newRow("new: a year to come") << "+ゆい|2027" << QStringList{"2 番目の生まれた年「2027」"};
    QTest::newRow("new: no year") << "+ゆい|" << QStringList{"2 番目の生まれた年「」"};
    QTest::newRow("new: a year without a name") << "+　|2019" << QStringList{"2 番目は生まれた年だけ"};
}

void TestRosterEdit::refused()
{
    QFETCH(QString, edit);
    QFETCH(QStringList, told);
    const bool isNew = edit.startsWith(u'+');
    const RosterRewrite r = ::edit(isNew ? A : A + B + C, {keepA, edit.mid(isNew ? 1 : 0), keepC},
                                   adding(isNew ? "+" : ""));
    QVERIFY(!r.error.isEmpty() && r.added.empty());
    for (const QString& t : told) QVERIFY2(r.error.contains(t), qPrintable(r.error));
    QVERIFY(r.error.contains(QStringLiteral("名簿は変更していません")));
}

void TestRosterEdit::missingRoster()
{
    TestInstallation inst;
    const EditorRead read = readEditorRows(inst.path(QStringLiteral("生徒用名簿.txt")));
    QVERIFY(!read.opened);
    QVERIFY(read.error.contains(QStringLiteral("生徒用名簿.txt")));
}

void TestRosterEdit::killedSaveLeavesOldOrNew()
{
    TestInstallation inst;
    const QString path = inst.path(QStringLiteral("生徒用名簿.txt"));
    const QByteArray oldBytes = encodeCp932(rec(1, 2017, QStringLiteral("もとの　なまえ")) + B + C);
    const QByteArray newBytes = encodeCp932(rec(1, 2017, QStringLiteral("あたらしい　なまえ")) + B + C);
    inst.writeBytes(QStringLiteral("生徒用名簿.txt"), oldBytes);
    for (int round = 0; round < 30; ++round) {
        QProcess saver;
        saver.start(QStringLiteral(ROSTER_SAVE_HELPER), {path});
        QVERIFY(saver.waitForReadyRead(10000));
        QTest::qSleep(int(QRandomGenerator::global()->bounded(12)));
        saver.kill(); // SIGKILL
        QVERIFY(saver.waitForFinished(10000));
        QCOMPARE(saver.exitStatus(), QProcess::CrashExit);
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray now = f.readAll();
        QVERIFY2(now == oldBytes || now == newBytes,
                 qPrintable(QStringLiteral("round %1: %2 bytes").arg(round).arg(now.size())));
    }
}

QTEST_MAIN(TestRosterEdit)
#include "test_roster_edit.moc"
