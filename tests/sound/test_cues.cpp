#include "sound/cues.h"
#include "state/shared_state.h"
#include "support/test_services.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

class TestCues : public QObject {
    Q_OBJECT
private slots:
    void eachCuePlaysItsSound_data();
    void eachCuePlaysItsSound();
    void variantChoiceCoversEveryVariant_data();
    void variantChoiceCoversEveryVariant();
    void variantForExtremeNumbers_data();
    void variantForExtremeNumbers();
    void emptyGroupNamesAnEmptyVariant();
    void supervision_data();
    void supervision();
    void unsupervisedCuesKeepTheCount();
    void quoting_data();
    void quoting();
    void keepsCommandReplyAndResult();
    void traceFile();
};

namespace {
const QString kFolder = QStringLiteral("C:\\X\\prog\\..\\音フォルダ\\");
using Cue = void (*)(SharedState&, Services&);

// Every group gets one variant named after it, so a command shows its group.
void fillGroups(SharedState& s)
{
    s.soundFolder = kFolder;
    for (int g = 1; g <= kSoundGroups; ++g) {
        s.sound.groups[g].variants[1] = QStringLiteral("g%1").arg(g);
        s.sound.groups[g].count = 1;
    }
}

Cue cueNamed(const QString& name)
{
    if (name == u"correct") return playCorrectCue;
    if (name == u"wrong") return playWrongCue;
    if (name == u"personal best") return playPersonalBestCue;
    if (name == u"fail") return playFailCue;
    if (name == u"best") return playBestCue;
    return playPassCue;
}
} // namespace

// clang-format off
void TestCues::eachCuePlaysItsSound_data()
{
    QTest::addColumn<QString>("cue");
    QTest::addColumn<QString>("file");
    QTest::newRow("correct plays group 2") << "correct" << "g2";
    QTest::newRow("wrong plays group 4") << "wrong" << "g4";
    QTest::newRow("personal best plays group 8") << "personal best" << "g8";
    QTest::newRow("fail plays group 10") << "fail" << "g10";
    QTest::newRow("best plays 最高1") << "best" << "最高1";
    QTest::newRow("pass plays 合格") << "pass" << "合格";
}
// clang-format on

void TestCues::eachCuePlaysItsSound()
{
    QFETCH(QString, cue);
    QFETCH(QString, file);
    TestServices t;
    SharedState s;
    fillGroups(s);
    cueNamed(cue)(s, t.services);
    QCOMPARE(t.sound.commands, QStringList{"play " + kFolder + file + ".wav wait"});
    // Turned off by the user: the device hears nothing.
    s.sound.on = false;
    cueNamed(cue)(s, t.services);
    QCOMPARE(t.sound.commands.size(), 1);
}

void TestCues::variantChoiceCoversEveryVariant_data()
{
    QTest::addColumn<int>("count");
    QTest::newRow("one variant") << 1;
    QTest::newRow("three variants") << 3;
    QTest::newRow("twenty variants") << 20;
}

void TestCues::variantChoiceCoversEveryVariant()
{
    QFETCH(int, count);
    TestServices t;
    SharedState s;
    s.soundFolder = kFolder;
    SoundGroup& g = s.sound.groups[2];
    for (int i = 1; i <= kSoundVariants; ++i) g.variants[i] = QStringLiteral("v%1").arg(i);
    g.count = count;
    s.random.seed(7);
    const int plays = 200 * count;
    for (int i = 0; i < plays; ++i) playCorrectCue(s, t.services);

    QHash<QString, int> seen;
    for (const QString& c : t.sound.commands) ++seen[c];
    QCOMPARE(seen.size(), count); // every variant, and none beyond the count
    for (int i = 1; i <= count; ++i) {
        const int n = seen.value("play " + kFolder + QStringLiteral("v%1").arg(i) + ".wav wait");
        // Uniform: each within a wide band around plays / count = 200.
        QVERIFY2(n > 120 && n < 280, qPrintable(QStringLiteral("variant %1 played %2 times").arg(i).arg(n)));
    }
}

void TestCues::variantForExtremeNumbers_data()
{
    QTest::addColumn<float>("u");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("variant");
    const float below1 = 1.0f - 1.0f / 16777216.0f;
    QTest::newRow("0 picks the first of 20") << 0.0f << 20 << 1;
    QTest::newRow("just below 1 picks the last of 20") << below1 << 20 << 20;
    QTest::newRow("just below 1 picks the last of 3") << below1 << 3 << 3;
    QTest::newRow("just below 1 picks the last of 7") << below1 << 7 << 7;
    QTest::newRow("a half picks the second of 3") << 0.5f << 3 << 2;
    QTest::newRow("count 0 picks variant 1") << 0.9f << 0 << 1;
}

void TestCues::variantForExtremeNumbers()
{
    QFETCH(float, u);
    QFETCH(int, count);
    QTEST(soundVariantFor(u, count), "variant");
}

void TestCues::emptyGroupNamesAnEmptyVariant()
{
    TestServices t;
    SharedState s;
    s.soundFolder = kFolder;
    playFailCue(s, t.services);
    QCOMPARE(t.sound.commands, QStringList{"play " + kFolder + ".wav wait"});
}

void TestCues::supervision_data()
{
    // One letter per supervised cue: c/w a correct/wrong cue that succeeds,
    // C/W one that fails.
    QTest::addColumn<QString>("cues");
    QTest::addColumn<int>("failCount");
    QTest::addColumn<bool>("ends");
    QTest::addColumn<int>("commands");
    QTest::newRow("three failures are silent") << "CWC" << 3 << false << 3;
    QTest::newRow("the fourth failure ends the program") << "CCCC" << 3 << true << 4;
    QTest::newRow("failures of both cues count together") << "CWWC" << 3 << true << 4;
    QTest::newRow("a success in between resets") << "CCCcCCC" << 3 << false << 7;
    QTest::newRow("a wrong cue success resets too") << "CCCwWWWW" << 3 << true << 8;
    QTest::newRow("successes keep the count at 0") << "cwcw" << 0 << false << 4;
    // 0: the user turns the sound off; no cue is sent, so none fails.
    QTest::newRow("sound off: failures stop counting") << "CCC0CCCC" << 3 << false << 3;
}

void TestCues::supervision()
{
    QFETCH(QString, cues);
    QFETCH(int, failCount);
    QFETCH(bool, ends);
    QFETCH(int, commands);
    TestServices t;
    SharedState s;
    fillGroups(s);
    for (const QChar c : cues) {
        if (t.end.requested()) break; // callers stop once the end is requested
        s.sound.on = s.sound.on && c != u'0';
        t.sound.result = c.isUpper() ? 263 : 0;
        (c.toLower() == u'c' ? playCorrectCue : playWrongCue)(s, t.services);
    }
    QCOMPARE(t.sound.commands.size(), commands);
    QCOMPARE(int(s.sound.soundFailCount), failCount);
    QCOMPARE(t.end.requested(), ends);
    if (ends) {
        QCOMPARE(t.dialogs.texts,
                 QStringList{QStringLiteral("音声がでません。先生を呼びなさい。\r\nテスト用エラー 263")});
        QCOMPARE(t.dialogs.titles, QStringList{QStringLiteral("音声エラー")});
        QVERIFY(t.end.exitCode() != 0);
    } else {
        QVERIFY(t.dialogs.texts.isEmpty());
    }
}

void TestCues::unsupervisedCuesKeepTheCount()
{
    TestServices t;
    SharedState s;
    fillGroups(s);
    t.sound.result = 5;
    for (int i = 0; i < 3; ++i) playCorrectCue(s, t.services);
    // Results-screen cues: failures do not count, successes do not reset.
    for (Cue cue : {playPersonalBestCue, playFailCue, playBestCue, playPassCue}) cue(s, t.services);
    t.sound.result = 0;
    for (Cue cue : {playPersonalBestCue, playFailCue, playBestCue, playPassCue}) cue(s, t.services);
    QCOMPARE(int(s.sound.soundFailCount), 3);
    QVERIFY(t.dialogs.texts.isEmpty());
    QVERIFY(!t.end.requested());
    t.sound.result = 5;
    playWrongCue(s, t.services);
    QCOMPARE(t.dialogs.texts.size(), 1);
    QVERIFY(t.end.requested());
}

// clang-format off
void TestCues::quoting_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("command");
    QTest::newRow("no space: exactly as written")
        << "C:\\X\\prog\\..\\音フォルダ\\" << "play C:\\X\\prog\\..\\音フォルダ\\g2.wav wait";
    QTest::newRow("a space: the path in double quotes")
        << "C:\\Program Files\\prog\\..\\音フォルダ\\" << "play \"C:\\Program Files\\prog\\..\\音フォルダ\\g2.wav\" wait";
    QTest::newRow("a full-width space is not a separator")
        << "C:\\学校　A\\音フォルダ\\" << "play C:\\学校　A\\音フォルダ\\g2.wav wait";
}
// clang-format on

void TestCues::quoting()
{
    QFETCH(QString, folder);
    TestServices t;
    SharedState s;
    fillGroups(s);
    s.soundFolder = folder;
    playCorrectCue(s, t.services);
    QTEST(t.sound.commands.value(0), "command");
}

void TestCues::keepsCommandReplyAndResult()
{
    TestServices t;
    SharedState s;
    fillGroups(s);
    t.sound.result = 304;
    playPassCue(s, t.services);
    QCOMPARE(s.sound.lastMciCommand, "play " + kFolder + "合格.wav wait");
    QCOMPARE(s.sound.lastMciResult, QStringLiteral("304"));
    QVERIFY(s.sound.lastMciReply.isEmpty());
    t.sound.result = 0;
    playCorrectCue(s, t.services);
    QCOMPARE(s.sound.lastMciResult, QStringLiteral("0"));
}

void TestCues::traceFile()
{
    QTemporaryDir dir;
    const QString trace = dir.filePath(QStringLiteral("音の記録.txt"));
    qputenv("SOLMEA_SOUND_TRACE", trace.toUtf8());
    TestServices t;
    SharedState s;
    fillGroups(s);
    t.sound.answer = [](const QString& c) { return c.contains(u"合格") ? 2 : 0; };
    playCorrectCue(s, t.services);
    playPassCue(s, t.services);
    qunsetenv("SOLMEA_SOUND_TRACE");
    playWrongCue(s, t.services); // no longer traced

    QFile f(trace);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    QCOMPARE(text, "play " + kFolder + "g2.wav wait\t0\n" + "play " + kFolder + "合格.wav wait\t2\n");
}

QTEST_GUILESS_MAIN(TestCues)
#include "test_cues.moc"
