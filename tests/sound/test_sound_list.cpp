#include "base/file_error.h"
#include "base/folder_path.h"
#include "sound/sound_list.h"
#include "state/shared_state.h"
#include "support/installation.h"

#include <QTest>

class TestSoundList : public QObject {
    Q_OBJECT
private slots:
    void readsGroups_data();
    void readsGroups();
    void everyGroupHasItsFixedName();
    void loadsFromTheSoundFolder();
    void missingListNamesTheFile();
};

namespace {
QString names(int from, int to, const QString& prefix = QStringLiteral("v"))
{
    QStringList l;
    for (int i = from; i <= to; ++i) l << prefix + QString::number(i);
    return l.join(u'\n');
}
QStringList list(int from, int to)
{
    QStringList l;
    for (int i = from; i <= to; ++i) l << QStringLiteral("v%1").arg(i);
    return l;
}
QStringList variantsOf(const SoundGroup& g)
{
    QStringList l;
    for (int i = 1; i <= g.count; ++i) l << g.variants[i];
    return l;
}
} // namespace

void TestSoundList::readsGroups_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("group");
    QTest::addColumn<QStringList>("variants"); // the count is their number

    QTest::newRow("three names and * give count 3") << "正解音2\na\nb\nc\n*\n" << 2 << QStringList{"a", "b", "c"};
    QTest::newRow("groups in any order") << "不合格音1\nf\n*\n正解音1\nx\ny\n*\n" << 10 << QStringList{"f"};
    QTest::newRow("group listed twice keeps the later") << "間違い音2\na\nb\nc\n*\n正解音2\nz\n*\n間違い音2\nd\n*\n"
                                                        << 4 << QStringList{"d"};
    QTest::newRow("unknown group is skipped value by value") << "雑音\nq\nr\n*\n正解音2\na\n*\n"
                                                             << 2 << QStringList{"a"};
    QTest::newRow("unknown group's values do not touch known groups") << "雑音\nq\n*\n" << 2 << QStringList{};
    QTest::newRow("exactly twenty variants count 20") << "正解音2\n" + names(1, 20) + "\n*\n間違い音2\nw\n*\n"
                                                      << 2 << list(1, 20);
    QTest::newRow("after twenty variants the next group is read")
        << "正解音2\n" + names(1, 20) + "\n*\n間違い音2\nw\n*\n"
        << 4 << QStringList{"w"};
    QTest::newRow("more than twenty keeps the first twenty") << "正解音2\n" + names(1, 23) + "\n*\n間違い音2\nw\n*\n"
                                                             << 2 << list(1, 20);
    QTest::newRow("variants past twenty are not read as group names")
        << "正解音2\n" + names(1, 20) + "\n間違い音2\nw\n*\n"
        << 4 << QStringList{};
    QTest::newRow("unterminated group keeps what it read") << "正解音2\na\nb" << 2 << QStringList{"a", "b"};
    QTest::newRow("unterminated group ending in a group name") << "正解音2\na\n間違い音2" << 4 << QStringList{};
    QTest::newRow("group name at the very end") << "間違い音2\nx\n*\n正解音2\n" << 2 << QStringList{};
    QTest::newRow("empty group counts 0") << "自己最高音2\n*\n" << 8 << QStringList{};
    QTest::newRow("values separated by commas") << "正解音2,a,\"b\"\r\n*\r\n" << 2 << QStringList{"a", "b"};
    QTest::newRow("a variant named like a group stays a variant") << "正解音2\n間違い音2\n*\n"
                                                                  << 2 << QStringList{"間違い音2"};
}

void TestSoundList::readsGroups()
{
    QFETCH(QString, text);
    QFETCH(int, group);
    QFETCH(QStringList, variants);
    SharedState s;
    readSoundList(s, text, QStringLiteral("/x/新音ファイル.txt"));
    const SoundGroup& g = s.sound.groups[group];
    QCOMPARE(g.count, variants.size());
    QCOMPARE(variantsOf(g), variants);
    // Nothing beyond the count is left over from an earlier listing.
    for (int i = g.count + 1; i <= kSoundVariants; ++i) QVERIFY2(g.variants[i].isEmpty(), qPrintable(g.variants[i]));
}

void TestSoundList::everyGroupHasItsFixedName()
{
    SharedState s;
    readSoundList(s, QString(), QString());
    const QStringList expected{"正解音1", "正解音2",     "間違い音1",   "間違い音2",   "最高音1",
                               "最高音2", "自己最高音1", "自己最高音2", "自己最高音3", "不合格音1"};
    for (int g = 1; g <= kSoundGroups; ++g) {
        QCOMPARE(s.sound.groups[g].name, expected[g - 1]);
        QCOMPARE(s.sound.groups[g].count, 0);
    }
}

void TestSoundList::loadsFromTheSoundFolder()
{
    TestInstallation inst;
    inst.write(QStringLiteral("音フォルダ/新音ファイル.txt"), QStringLiteral("自己最高音3\nすごい\nやった\n*\n"));
    SharedState s;
    s.soundFolder = toFolderString(inst.soundFolder()) + u'\\';
    loadSoundList(s);
    QCOMPARE(variantsOf(s.sound.groups[9]), (QStringList{"すごい", "やった"}));
}

void TestSoundList::missingListNamesTheFile()
{
    TestInstallation inst;
    SharedState s;
    s.soundFolder = toFolderString(inst.soundFolder()) + u'\\';
    try {
        loadSoundList(s);
        QFAIL("no error for a missing list");
    } catch (const FileError& e) {
        QCOMPARE(e.fileName(), QStringLiteral("新音ファイル.txt"));
    }
}

QTEST_GUILESS_MAIN(TestSoundList)
#include "test_sound_list.moc"
