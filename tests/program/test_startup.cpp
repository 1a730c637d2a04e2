#include "program/navigation.h"
#include "program/program.h"
#include "program/startup.h"
#include "state/catalogue.h"
#include "support/screen_fixture.h"
#include "ui/app.h"
#include "ui/screen.h"
#include "ui/stage.h"

#include <QDir>
#include <QTest>

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void readsAWholeInstallation();
    void failures_data();
    void failures();
    void lobbyLevelsAreResetEachTime();
    void stageActivatesOncePerShowing();
    void qtDialogsSpeakJapanese();
};

namespace {
class CountingScreen : public Screen {
public:
    CountingScreen(App& app, int* activations) : Screen(app, "Counting"), activations_(activations) {}
    void formActivate() override { ++*activations_; }
    // Replaces itself from inside its own handler, as a button would.
    void replaceFromHandler(Screen* next) { app().stage.show(next); }

private:
    int* activations_;
};
} // namespace

void TestStartup::readsAWholeInstallation()
{
    ScreenFixture f;
    auto& [inst, t, s, stage] = f;
    QVERIFY(startUp(stage.app(), inst.programFolder()));
    QVERIFY(!t.end.requested());
    QCOMPARE(s.backgroundColour, 0x008080u);
    QCOMPARE(s.layoutFlag, 0.0);
    QCOMPARE(s.programFolderName, QStringLiteral("ソルメア"));
    QVERIFY(s.dataFolder.endsWith(QStringLiteral("\\ソルメア\\..\\")));
    QVERIFY(s.recordsFolder.endsWith(QStringLiteral("\\ソルメア\\..\\ソルメア\\")));
    QVERIFY(s.soundFolder.endsWith(QStringLiteral("\\..\\音フォルダ\\")));
    QCOMPARE(s.siteCode, QStringLiteral("12345"));
    QCOMPARE(s.organisationName, QStringLiteral("テスト教室"));
    QCOMPARE(s.schoolYearStartMonth, 4);
    QCOMPARE(s.rosterFileMode, 1);
    QCOMPARE(s.contentTitle, QStringLiteral("ソルメア"));
    QCOMPARE(s.levelTable[1].targetTime, 40);
    QCOMPARE(s.levelTable[3].pointFactor.text(), QStringLiteral("0.7"));
    QCOMPARE(s.sound.groups[2].count, 2);
    // The levels are named when the lobby opens, not before.
    QCOMPARE(s.levelNames[1], QString());
    QVERIFY(stage.current() != nullptr);
    QCOMPARE(stage.current()->objectName(), QStringLiteral("namesel"));
}

// clang-format off
void TestStartup::failures_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("content"); // empty: the file is removed
    QTest::addColumn<QString>("expected");
    QTest::newRow("settings with nine values") << "ソルメア/設定.txt" << "0,0,0,0,0,0,0,0,0" << "設定.txt";
    QTest::newRow("common data missing") << "共通データ.txt" << "" << "共通データ.txt";
    QTest::newRow("level table missing") << "ソルメア/タイム回数データ.txt" << "" << "タイム回数データ.txt";
    QTest::newRow("offered level with target 0")
        << "ソルメア/タイム回数データ.txt" << "0,0,0,0,1,0,0,7,30,0,0,0\n40,60,0,0,1,0,0,7,30,0,0,0\n0,60,0,0,1,0,0,7,30,0,0,0\n"
        << "レベル 2";
    QTest::newRow("sound list missing") << "音フォルダ/新音ファイル.txt" << "" << "新音ファイル.txt";
    QTest::newRow("sound list without wrong-answer cues")
        << "音フォルダ/新音ファイル.txt" << "正解音2\nseikai1\n*\n間違い音1\nmachigai1\n*\n" << "「間違い音2」がないか";
}
// clang-format on

void TestStartup::failures()
{
    QFETCH(QString, file);
    QFETCH(QString, content);
    QFETCH(QString, expected);
    ScreenFixture f;
    auto& [inst, t, s, stage] = f;
    if (content.isEmpty()) QVERIFY(QFile::remove(inst.path(file)));
    else inst.write(file, content);
    const QStringList before = QDir(inst.root()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    QVERIFY(!startUp(stage.app(), inst.programFolder()));
    QVERIFY(t.end.requested());
    QCOMPARE(t.end.exitCode(), 1);
    QCOMPARE(t.dialogs.texts.size(), 1);
    QVERIFY2(t.dialogs.texts[0].contains(expected), qPrintable(t.dialogs.texts[0]));
    QVERIFY(t.dialogs.texts[0].contains(inst.root()));
    QCOMPARE(stage.current(), nullptr);
    // Nothing was written.
    QCOMPARE(QDir(inst.root()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
}

void TestStartup::lobbyLevelsAreResetEachTime()
{
    SharedState s;
    s.levelNames[3] = "index name";
    s.levelNames[5] = "";
    s.levelNames[14] = "keep";
    setLobbyLevels(s);
    setLobbyLevels(s);
    QCOMPARE(s.levelNames[3], QStringLiteral("＋－と×÷の組合せ"));
    QCOMPARE(s.levelNames[13], QStringLiteral("全体－２"));
    QCOMPARE(s.levelNames[14], QStringLiteral("keep"));
    QCOMPARE(s.levelNames[0], QString());
    QCOMPARE(s.levelTimed[13], qint16(1));
    QCOMPARE(s.levelTimed[14], qint16(0));
    QCOMPARE(s.levelCount, qint16(4));
    QCOMPARE(s.finalLevel, 4);
    QVERIFY(!isPracticeLevel(s, 1));
    s.levelNames[20] = QStringLiteral("練習");
    QVERIFY(isPracticeLevel(s, 20));
}

void TestStartup::stageActivatesOncePerShowing()
{
    TestServices t;
    SharedState s;
    ProgramStage stage(s, t.services);
    int first = 0, second = 0;
    auto* a = new CountingScreen(stage.app(), &first);
    stage.show(a);
    QCOMPARE(first, 0); // activation runs from the event loop, after show returns
    QCoreApplication::processEvents();
    QCOMPARE(first, 1);
    // Minimising and restoring the window does not activate the screen again.
    stage.showMinimized();
    QCoreApplication::processEvents();
    stage.showNormal();
    QCoreApplication::processEvents();
    QCOMPARE(first, 1);

    QPointer<Screen> old = a;
    auto* b = new CountingScreen(stage.app(), &second);
    a->replaceFromHandler(b);
    QVERIFY(old); // still alive inside its own handler
    QVERIFY(!stage.isCurrent(a));
    QVERIFY(b->isCurrent());
    QTRY_VERIFY(old.isNull());
    QCOMPARE(second, 1);
    QCOMPARE(first, 1);

    stage.showWaitScreen();
    QVERIFY(stage.waitScreen());
    QCOMPARE(stage.waitScreen()->windowTitle(), QStringLiteral("Form1"));
    stage.unloadWaitScreen();
    QVERIFY(!stage.waitScreen());
}

// The texts Qt's file dialog and message boxes take their words from.
void TestStartup::qtDialogsSpeakJapanese()
{
    QTranslator japanese;
    QVERIFY2(installQtJapanese(japanese), "qtbase_ja.qm (qt6-translations-l10n)");
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("キャンセル"));
    QCOMPARE(QCoreApplication::translate("QFileDialog", "File &name:"), QStringLiteral("ファイル名(&N):"));
}

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
