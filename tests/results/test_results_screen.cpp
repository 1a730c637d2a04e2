#include "base/twips.h"
#include "program/navigation.h"
#include "results_fixture.h"
#include "ui/fonts.h"

#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace results_test;

class TestResultsScreen : public QObject {
    Q_OBJECT
private slots:
    void controlsAtTheirPlaces();
    void showsTheRun_data();
    void showsTheRun();
    void countsOfToday();
    void recordMessagesAndCues_data();
    void recordMessagesAndCues();
    void passCueOnlyOnFirstClearingOfFinalLevel();
    void buttonsAfterHalfASecond_data();
    void buttonsAfterHalfASecond();
    void replacedDuringTheCue();
    void menuGoesToTheLobby_data();
    void menuGoesToTheLobby();
    void onceMoreStartsANewRun();
};

void TestResultsScreen::controlsAtTheirPlaces()
{
    Fixture f(kTable);
    QVERIFY(f.storeRun(1, 20));
    ResultsScreen* screen = f.showResults();
    QCOMPARE(screen->objectName(), QStringLiteral("FrmSyuuryou"));
    QCOMPARE(screen->windowTitle(), QStringLiteral("終了"));
    QCOMPARE(f.get<QWidget>("Image1")->geometry(), QRect(0, 0, 1024, 768));
    const struct {
        const char* name;
        int topTwips;
        double points;
    } controls[] = {
        {"Label15", 405, 48},  {"Label16", 1755, 36}, {"Label14", 1395, 0},  {"Label13", 2745, 0},
        {"Label17", 3255, 48}, {"Label18", 4440, 36}, {"Label19", 5280, 36}, {"Label20", 6390, 0},
        {"Label2", 7710, 24},  {"Picture1", 8145, 0}, {"Command4", 8325, 0}, {"Command5", 8325, 0},
    };
    for (const auto& c : controls) {
        QWidget* w = f.get<QWidget>(c.name);
        QVERIFY2(w, c.name);
        QCOMPARE(w->y(), tw(c.topTwips));
        QVERIFY2(w->geometry().right() < 1024 && w->geometry().bottom() < 768, c.name);
        if (c.points > 0) QCOMPARE(w->font().pixelSize(), designFont(kPGothic, c.points).pixelSize());
    }
    QVERIFY(f.get<QWidget>("Command4")->geometry().right() < f.get<QWidget>("Command5")->x());
    QCOMPARE(f.text("Label1"), QStringLiteral("目標レベルクリア。おめでとう！"));
    QCOMPARE(f.get<QPushButton>("Command4")->text(), QStringLiteral("メニューへ"));
    QCOMPARE(f.get<QPushButton>("Command5")->text(), QStringLiteral("もう一度"));
    auto* timer = f.get<QTimer>("Timer1");
    QVERIFY(timer->isSingleShot());
    QCOMPARE(timer->interval(), 500);
    QVERIFY(timer->isActive()); // switched on by the activation
    QVERIFY(!f.shown("Command4"));
    QVERIFY(!f.shown("Command5"));
    QVERIFY(!f.stage.waitScreen());
}

// clang-format off
void TestResultsScreen::showsTheRun_data()
{
    QTest::addColumn<int>("score");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("points");
    QTest::addColumn<QString>("message");
    QTest::newRow("20 seconds against 40, factor 2") << 20 << "今の成績：20秒" << "獲得ポイント：11点×2→22点"
                                                     << "！！！最高新記録！！！";
    QTest::newRow("timed out") << 99999 << "記録なし" << "獲得ポイント：0点×2→0点" << "時間切れ";
}
// clang-format on

void TestResultsScreen::showsTheRun()
{
    QFETCH(int, score);
    QFETCH(QString, time);
    QFETCH(QString, points);
    QFETCH(QString, message);
    Fixture f(kTable);
    QVERIFY(f.storeRun(1, score));
    f.showResults();
    QCOMPARE(f.text("Label18"), time);
    QCOMPARE(f.text("Label19"), points);
    QCOMPARE(f.text("Label20"), message);
    QVERIFY(f.shown("Label20"));
    QCOMPARE(f.text("Label17"), QStringLiteral("やまだ　はなこ"));
    QCOMPARE(f.text("Label15"), QStringLiteral("ソルメア"));
    QCOMPARE(f.text("Label16"), QStringLiteral("＋－"));
    if (score == 99999) QVERIFY(f.t.sound.commands.isEmpty());
}

void TestResultsScreen::countsOfToday()
{
    Fixture f(kTable);
    f.t.clock.advanceSeconds(-86400.0 * 2); // two days ago: not today
    QVERIFY(f.storeRun(1, 30));
    f.t.clock.advanceSeconds(86400.0 * 2);
    QVERIFY(f.storeRun(1, 30));
    QVERIFY(f.storeRun(3, 50));
    QVERIFY(f.storeRun(1, 30, 2)); // another pupil
    QVERIFY(f.storeRun(1, 99999)); // ran out of time: not a finished run
    QVERIFY(f.storeRun(1, 25));
    f.showResults();
    QCOMPARE(f.text("Label13"), QStringLiteral(" (このレベル　2回目)"));
    QCOMPARE(f.text("Label14"), QStringLiteral("（3回目)"));
}

void TestResultsScreen::recordMessagesAndCues_data()
{
    QTest::addColumn<int>("otherPupilScore"); // 0: none
    QTest::addColumn<int>("ownEarlierScore"); // 0: none
    QTest::addColumn<int>("score");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("cues");
    QTest::newRow("personal and overall best: only the best cue")
        << 0 << 30 << 20 << "！！！最高新記録！！！" << QStringList{"最高1"};
    QTest::newRow("personal best only") << 10 << 30 << 20 << "新記録おめでとう" << QStringList{"jiko1"};
    QTest::newRow("no record at the second time") << 10 << 30 << 60 << "" << QStringList{"fugoukaku1"};
    QTest::newRow("no record over the second time") << 10 << 30 << 61 << "" << QStringList{};
    QTest::newRow("time up") << 0 << 0 << 99999 << "時間切れ" << QStringList{};
}

void TestResultsScreen::recordMessagesAndCues()
{
    QFETCH(int, otherPupilScore);
    QFETCH(int, ownEarlierScore);
    QFETCH(int, score);
    QFETCH(QString, message);
    QFETCH(QStringList, cues);
    Fixture f(kTable);
    if (otherPupilScore) QVERIFY(f.storeRun(1, otherPupilScore, 2));
    if (ownEarlierScore) QVERIFY(f.storeRun(1, ownEarlierScore));
    QVERIFY(f.storeRun(1, score));
    f.showResults();
    QCOMPARE(f.cues(), cues);
    QCOMPARE(f.text("Label20"), message);
    QCOMPARE(f.shown("Label20"), !message.isEmpty());
    // The flags are the store's news of this run only.
    QCOMPARE(f.s.records.newPersonalBest, false);
    QCOMPARE(f.s.records.newOverallBest, false);
}

void TestResultsScreen::passCueOnlyOnFirstClearingOfFinalLevel()
{
    Fixture f(kTable);
    // First run at the final level: not cleared yet (2 runs needed).
    QVERIFY(f.storeRun(4, 10));
    f.showResults();
    QCOMPARE(f.cues(), QStringList{"最高1"});
    QVERIFY(!f.shown("Label2"));
    QVERIFY(!f.shown("Picture1"));

    // The second clears it for the first time: the pass cue and the banner.
    QVERIFY(f.storeRun(4, 50));
    f.showResults();
    QCOMPARE(f.cues(), (QStringList{"fugoukaku1", "合格"}));
    QVERIFY(f.shown("Label2"));
    QCOMPARE(f.text("Label2"), QStringLiteral("このレベルクリア"));
    QVERIFY(f.shown("Picture1"));
    qobject_cast<ResultsScreen*>(f.stage.current())->showButtons();
    QVERIFY(!f.shown("Picture1"));

    // A later clearing is no news.
    QVERIFY(f.storeRun(4, 50));
    f.showResults();
    QCOMPARE(f.cues(), QStringList{"fugoukaku1"});
    QVERIFY(f.shown("Label2"));
}

void TestResultsScreen::buttonsAfterHalfASecond_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("runs");
    QTest::addColumn<bool>("finalCleared");
    QTest::addColumn<bool>("again");
    QTest::addColumn<bool>("label2Shown");
    QTest::addColumn<QString>("label2");
    // Level 1 is cleared after 3 runs and done enough after 4.
    QTest::newRow("not done enough") << 1 << 3 << false << true << true << "このレベルクリア";
    QTest::newRow("done enough and cleared, final level not yet: only the menu")
        << 1 << 4 << false << false << true << "次のレベルへ進みましょう";
    QTest::newRow("done enough and cleared, final level cleared")
        << 1 << 4 << true << true << true << "このレベルクリア";
    // Level 2 has both marks 0: another run is always offered.
    QTest::newRow("both marks 0") << 2 << 12 << false << true << true << "このレベルクリア";
    // Level 4 (final) is done enough after 3 runs.
    QTest::newRow("final level done enough and cleared") << 4 << 3 << false << true << false << "";
}

void TestResultsScreen::buttonsAfterHalfASecond()
{
    QFETCH(int, level);
    QFETCH(int, runs);
    QFETCH(bool, finalCleared);
    QFETCH(bool, again);
    QFETCH(bool, label2Shown);
    QFETCH(QString, label2);
    Fixture f(kTable);
    for (int i = 0; i < runs; ++i) QVERIFY(f.storeRun(level, 20 + i));
    // The lobby leaves this flag behind when it was last shown.
    f.s.designatedLevelCleared = finalCleared;
    ResultsScreen* screen = f.showResults();
    screen->showButtons();
    QVERIFY(f.shown("Command4"));
    QVERIFY(f.get<QWidget>("Command4")->isEnabled());
    QCOMPARE(f.shown("Command5"), again);
    QCOMPARE(f.shown("Label2"), label2Shown);
    QCOMPARE(f.text("Label2"), label2);
    QVERIFY(!f.shown("Picture1"));
    QVERIFY(!f.get<QTimer>("Timer1")->isActive());
}

void TestResultsScreen::replacedDuringTheCue()
{
    Fixture f(kTable);
    QVERIFY(f.storeRun(1, 20));
    // The pupil leaves while the best cue plays: the screen is replaced from
    // under its own activation.
    f.t.sound.answer = [&f](const QString&) {
        f.stage.app().navigator.returnToLobby();
        return 0;
    };
    f.showResults();
    QCOMPARE(f.stage.current()->objectName(), QStringLiteral("seisekitime1"));
    QCOMPARE(f.t.sound.commands.size(), 1);
    QCOMPARE(f.s.records.newPersonalBest, false);
    QCOMPARE(f.s.records.newOverallBest, false);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!f.stage.findChild<ResultsScreen*>());
}

void TestResultsScreen::menuGoesToTheLobby_data()
{
    QTest::addColumn<bool>("byEnter");
    QTest::newRow("clicked") << false;
    QTest::newRow("Enter on the focused button") << true;
}

void TestResultsScreen::menuGoesToTheLobby()
{
    QFETCH(bool, byEnter);
    Fixture f(kTable);
    QVERIFY(f.storeRun(1, 20));
    // While the record cue plays the screen is on view, the wait screen not
    // (it is unloaded at the end of the activation).
    bool waitShownDuringCue = true;
    f.t.sound.answer = [&f, &waitShownDuringCue](const QString&) {
        waitShownDuringCue = f.stage.waitScreen() && f.stage.waitScreen()->isVisible();
        return 0;
    };
    ResultsScreen* screen = f.showResults();
    QVERIFY(!waitShownDuringCue);
    QVERIFY(!f.stage.waitScreen());
    screen->showButtons();
    auto* menu = f.get<QPushButton>("Command4");
    QCOMPARE(f.stage.focusWidget(), menu);
    if (byEnter) QTest::keyClick(menu, Qt::Key_Return);
    else QTest::mouseClick(menu, Qt::LeftButton);
    QCOMPARE(f.stage.current()->objectName(), QStringLiteral("seisekitime1"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!f.stage.findChild<ResultsScreen*>());
}

void TestResultsScreen::onceMoreStartsANewRun()
{
    Fixture f(kTable);
    QVERIFY(f.storeRun(3, 50));
    ResultsScreen* screen = f.showResults();
    screen->showButtons();
    f.s.run.correctCount = 10;
    f.s.run.endFlowDone = true;
    QTest::mouseClick(f.get<QPushButton>("Command5"), Qt::LeftButton);
    QCOMPARE(f.stage.current()->objectName(), QStringLiteral("MainFrm"));
    QCOMPARE(f.s.currentLevel, qint16(3));
    QCOMPARE(f.s.run.correctCount, 0);
    QCOMPARE(f.s.run.endFlowDone, false);
    QVERIFY(f.stage.waitScreen() != nullptr); // the drill unloads it when it is ready
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!f.stage.findChild<ResultsScreen*>());
}

QTEST_MAIN(TestResultsScreen)
#include "test_results_screen.moc"
