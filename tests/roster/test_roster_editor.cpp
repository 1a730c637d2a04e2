#include "base/text_file.h"
#include "base/text_util.h"
#include "name_selection_fixture.h"
#include "records/record_file.h"
#include "records/record_format.h"
#include "support/small_disk.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace roster_test;

// The roster editor on real widgets, reached from the selection screen's menu.
class TestRosterEditor : public QObject {
    Q_OBJECT
private slots:
    void opensWithTheRecordsOfTheFile_data();
    void opensWithTheRecordsOfTheFile();
    void changeRereadsTheFileAndKeepsTheRest();
    void refusedChangeWritesNothing();
    void addsAPupilInAnEmptyRow();
    void backShowsTheChangedList();
    void saveOnASmallDisk_data();
    void saveOnASmallDisk();
};

namespace {
QByteArray bytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
QString line(int n, int year, const QString& name, const QString& status, const QString& spare = {})
{
    return QStringLiteral("%1,%2,0,0,\"%3\",%4,\"%5\",\"%6\"\r\n")
        .arg(n)
        .arg(year)
        .arg(fixedWidth(name, 20), status, fixedWidth(spare, 20), fixedWidth(QString(), 20));
}
struct Editor : Fixture {
    // The selection screen first (it reads the roster as given by the
    // fixture), then `roster` is written and the editor opened.
    bool open(const QString& roster = {})
    {
        if (!start()) return false;
        if (!roster.isEmpty()) inst.write(QStringLiteral("生徒用名簿.txt"), roster);
        menu(QStringLiteral("mnuNameChange"));
        settle();
        return screen() == QStringLiteral("FrmName2");
    }
    QLineEdit* text(const char* array, int r) const
    {
        return get<QLineEdit>(QStringLiteral("%1(%2)").arg(array).arg(r));
    }
    void change() const { QTest::mouseClick(get<QPushButton>(QStringLiteral("Command1")), Qt::LeftButton); }
    QString rosterPath() const { return inst.path(QStringLiteral("生徒用名簿.txt")); }
};
} // namespace

void TestRosterEditor::opensWithTheRecordsOfTheFile_data()
{
    QTest::addColumn<QString>("roster");
    QTest::addColumn<int>("rows"); // rows offered
    QTest::addColumn<QString>("note");
    QTest::newRow("three records, one not listed")
        << "1,2017,0,0,\"a\",1,\"\",\"\"\n2,2015,0,0,\"b\",0,\"\",\"\"\n3,2013,0,0,\"c\",0,\"\",\"\"\n"
        << 3 << "";
    QTest::newRow("two records: row 3 empty, ready for a new pupil")
        << "1,2017,0,0,\"a\",0,\"\",\"\"\n2,2015,0,0,\"b\",0,\"\",\"\"\n"
        << 2 << "";
    QTest::newRow("five records: the first three, and a warning")
        << "1,2017,0,0,\"a\",0,\"\",\"\"\n2,2015,0,0,\"b\",1,\"\",\"\"\n3,2013,0,0,\"c\",0,\"\",\"\"\n4,2013,0,0,\"d\",0,\"\",\"\"\n"
           "5,2013,0,0,\"e\",1,\"\",\"\"\n"
        << 3 << "5 人分";
}

void TestRosterEditor::opensWithTheRecordsOfTheFile()
{
    QFETCH(QString, roster);
    QFETCH(int, rows);
    QFETCH(QString, note);
    Editor f;
    QVERIFY(f.open(roster));
    QVERIFY(!f.t.end.requested()); // a fourth record does not end anything here
    const char* names = "abc";
    const int years[] = {2017, 2015, 2013};
    for (int r = 1; r <= 3; ++r) {
        QVERIFY(f.text("Text1", r)->isEnabled() && f.text("Text2", r)->isEnabled());
        QCOMPARE(f.text("Text1", r)->text(), r <= rows ? QChar(names[r - 1]) + QString(19, u' ') : QString());
        QCOMPARE(f.text("Text2", r)->text(), r <= rows ? QString::number(years[r - 1]) : QString());
    }
    QVERIFY2(f.label(QStringLiteral("LabelNote")).contains(note), qPrintable(f.label(QStringLiteral("LabelNote"))));
    QCOMPARE(f.label(QStringLiteral("Label3")), QStringLiteral("※生まれた年は早生まれの場合は1年引いてください"));
    QCOMPARE(f.stage.windowTitle(), QStringLiteral("名前変更"));
}

void TestRosterEditor::changeRereadsTheFileAndKeepsTheRest()
{
    Editor f;
    f.inst.writeBytes(QStringLiteral("生徒用名簿.txt"),
                      encodeCp932(line(1, 2017, "山田　花子", "0") + line(2, 2015, "すずき　たろう", "") +
                                  line(3, 2013, "ゆい", "\"済\"")));
    QVERIFY(f.open());
    // Someone changes row 3's other fields while the editor is open.
    const QString row3 = line(3, 2013, "ゆい", "1", "メモ");
    f.inst.writeBytes(QStringLiteral("生徒用名簿.txt"),
                      encodeCp932(line(1, 2017, "山田　花子", "0") + line(2, 2015, "すずき　たろう", "") + row3));
    f.text("Text1", 2)->setText(QStringLiteral("  鈴木　太郎  "));
    f.text("Text2", 2)->setText(QStringLiteral("２０１４年"));
    f.change();
    QCOMPARE(f.t.dialogs.texts, QStringList());
    QCOMPARE(bytes(f.rosterPath()),
             encodeCp932(line(1, 2017, "山田　花子", "0") + line(2, 2014, "鈴木　太郎", "") + row3));
    QCOMPARE(f.screen(), QStringLiteral("FrmName2")); // the screen stays
}

void TestRosterEditor::refusedChangeWritesNothing()
{
    Editor f;
    QVERIFY(f.open());
    const QByteArray before = bytes(f.rosterPath());
    f.text("Text1", 1)->setText(QStringLiteral("大𠮷"));
    f.change();
    QCOMPARE(f.t.dialogs.texts.size(), 1);
    QVERIFY(f.t.dialogs.texts[0].contains(QStringLiteral("上から 1 番目の名前の「𠮷」")));
    QCOMPARE(bytes(f.rosterPath()), before);
}

void TestRosterEditor::addsAPupilInAnEmptyRow()
{
    Editor f;
    const QString first = line(1, 2017, "山田　花子", "0");
    QVERIFY(f.open(first));
    // Pupil 2 has left the roster but not the result file; pupil 3 has runs
    // of another title in the shared log.
    ResultRecord left;
    left.pupilNumber = 2;
    SharedLogRecord elsewhere;
    elsewhere.pupilNumber = 3;
    f.inst.writeBytes(QStringLiteral("ソルメア/成績累積データ.dat"), encodeResultRecord(left));
    f.inst.writeBytes(QStringLiteral("成績累積データ家庭用.dat"), encodeSharedLogRecord(elsewhere));
    f.text("Text1", 2)->setText(QStringLiteral(" たけし "));
    f.text("Text2", 2)->setText(QStringLiteral("2019"));
    f.change();
    QCOMPARE(f.t.dialogs.texts, QStringList());
    QCOMPARE(bytes(f.rosterPath()), encodeCp932(first + line(4, 2019, "たけし", "")));
    QCOMPARE(f.label(QStringLiteral("LabelSaved")),
             QStringLiteral("名前を保存しました。「たけし」を名簿に加えました。"));

    f.text("Text1", 3)->setText(QStringLiteral("はな"));
    f.text("Text2", 3)->setText(QStringLiteral("19"));
    f.change(); // refused: the file as it was, the note of the last save gone
    QVERIFY2(f.t.dialogs.texts.size() == 1 &&
                 f.t.dialogs.texts[0].contains(QStringLiteral("上から 3 番目の生まれた年「19」")),
             qPrintable(f.t.dialogs.texts.join(u'|')));
    QVERIFY(bytes(f.rosterPath()) == encodeCp932(first + line(4, 2019, "たけし", "")) &&
            f.label(QStringLiteral("LabelSaved")).isEmpty());

    QTest::mouseClick(f.get<QPushButton>(QStringLiteral("Command2")), Qt::LeftButton);
    f.settle();
    f.stage.activatePending();
    QVERIFY2(f.lines().join(u'|').contains(QStringLiteral("小1 たけし")), qPrintable(f.lines().join(u'|')));
}

void TestRosterEditor::backShowsTheChangedList()
{
    Editor f;
    QVERIFY(f.open());
    f.text("Text1", 1)->setText(QStringLiteral("山田　はな"));
    f.change();
    QTest::mouseClick(f.get<QPushButton>(QStringLiteral("Command2")), Qt::LeftButton);
    f.settle();
    QCOMPARE(f.screen(), QStringLiteral("namesel"));
    f.stage.activatePending();
    QVERIFY2(f.lines()[2].startsWith(QStringLiteral("小3 山田　はな")), qPrintable(f.lines().join(u'|')));
}

void TestRosterEditor::saveOnASmallDisk_data()
{
    QTest::addColumn<int>("free");    // bytes left on the disk, -1: room to save
    QTest::addColumn<int>("longest"); // of row 3, a damaged line kept as it is
    QTest::newRow("full disk: nothing of the new roster fits") << 0 << 10;
    QTest::newRow("a short write (one block), then a full disk") << 4096 << 5000;
    QTest::newRow("room: a killed save's leftover goes, other files stay") << -1 << 10;
}

void TestRosterEditor::saveOnASmallDisk()
{
    QFETCH(int, free);
    QFETCH(int, longest);
    const bool saved = free < 0;
    Editor f;
    SmallDisk disk(f.inst.root());
    if (!disk.failure.isEmpty()) QSKIP(qPrintable(disk.failure));
    f.inst.writeDefaults();
    // Empty, so that removing one frees no block; only the last one has the
    // pattern of the program's temporary files.
    const QStringList kept{"生徒用名簿.txt.a1B-c3", "生徒用名簿.txt.a1B2c3d", "生徒用名簿.txt.bak",
                           "生徒用名簿temp.txt"};
    for (const QString& name : kept + QStringList{"生徒用名簿.txt.a1B2c3"}) f.inst.writeBytes(name, {});
    QVERIFY(f.open(line(1, 2017, "山田　花子", "0") + line(2, 2015, "すずき", "") + QString(longest, u'x') + "\r\n"));
    const QByteArray before = bytes(f.rosterPath());
    f.text("Text1", 1)->setText(QStringLiteral("あたらしい"));
    QVERIFY(free < 0 || disk.fill(free));
    f.change();
    QCOMPARE(bytes(f.rosterPath()) == before, !saved);
    QCOMPARE(f.t.dialogs.texts.size(), saved ? 0 : 1);
    for (const QString& told : f.t.dialogs.texts)
        QVERIFY2(told.contains("「生徒用名簿.txt」") && told.contains("理由：ディスクの空きがありません") &&
                     told.contains("名簿は変更していません"),
                 qPrintable(told));
    // No temporary file of this save, none of the killed one's.
    QCOMPARE(QDir(f.inst.root()).entryList({"生徒用名簿.txt.*", "生徒用名簿temp.txt"}, QDir::Files, QDir::Name), kept);
}

QTEST_MAIN(TestRosterEditor)
#include "test_roster_editor.moc"
