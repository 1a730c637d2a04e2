#include "base/text_util.h"
#include "base/twips.h"
#include "lobby_fixture.h"

#include <QComboBox>
#include <QFontMetricsF>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

class TestLobbyScreen : public QObject {
    Q_OBJECT
private slots:
    void showStep_data();
    void showStep();
    void geometry_data();
    void geometry();
    void practiceLevel();
    void teacherButton_data();
    void teacherButton();
    void namesAndFiguresFit_data();
    void namesAndFiguresFit();
    void start_data();
    void start();
    void displays_data();
    void displays();
};

namespace {
// Pupil 1: 20 s and 30 s today, 25 s three days ago at level 1, a time-out
// at level 2. Pupil 2: 35 s today at level 1.
void someRuns(LobbyFixture& f)
{
    f.addRun(1, 1, 25, 3);
    f.addRun(1, 1, 20, 0, QTime(9, 5));
    f.addRun(2, 1, 35, 0, QTime(9, 6));
    f.addRun(1, 1, 30, 0, QTime(9, 7));
    f.addRun(1, 2, 99999, 0, QTime(9, 8));
}

bool nothingSelected(LobbyFixture& f)
{
    for (int i = 1; i <= f.s.levelCount; ++i) {
        auto* list = f.get<QListView>(QStringLiteral("List5(%1)").arg(i));
        if (list->currentIndex().isValid() || list->selectionModel()->hasSelection()) return false;
    }
    return true;
}
} // namespace

// clang-format off
void TestLobbyScreen::showStep_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("expected");
    QTest::newRow("minutes since sign-in") << "Label17" << "起動後10分";
    QTest::newRow("today's runs: finished ones, every level") << "Label18" << "本日総回数＝2回";
    QTest::newRow("name and grade") << "Label12" << "やまだ　はなこ 小３";
    QTest::newRow("number and school") << "Label13" << "1:テスト教室";
    QTest::newRow("title") << "Label11" << "ソルメア";
    QTest::newRow("today at level 1: 11 + 5 points") << "Label14(1)" << "2回/16点";
    QTest::newRow("so far at level 1: + 7 points") << "Label15(1)" << "3回/23点";
    QTest::newRow("only a time-out today") << "Label14(2)" << "-----";
    QTest::newRow("only a time-out so far") << "Label15(2)" << "------";
    QTest::newRow("recent window") << "Label8(1)" << "最近7日=3回 / 23点";
    QTest::newRow("targets with the factor") << "Label7(2)" << "目標=45秒 5回/100点(×1.5)";
    QTest::newRow("start button") << "Command4(3)" << "ｽﾀｰﾄ(&3)";
    QTest::newRow("level name") << "Label3(3)" << "＋－と×÷の組合せ";
    QTest::newRow("the default display") << "Label5" << "獲得ポイント（今まで順位）";
    QTest::newRow("its captions") << "Option1(1)" << "累計順";
    QTest::newRow("its captions, today") << "Option1(2)" << "本日順";
    QTest::newRow("back") << "Command1" << "戻る(0)";
    QTest::newRow("ranking by all-time points") << "List5(1)" << " 1●やまだ　は 16/   23 |  2⑤すずき　た  5/    5";
    QTest::newRow("instructions") << "List6" << "①の指示で計算します";
}
// clang-format on

void TestLobbyScreen::showStep()
{
    QFETCH(QString, control);
    QFETCH(QString, expected);
    LobbyFixture f;
    someRuns(f);
    QVERIFY(f.open());
    if (control == u"List5(1)") {
        QCOMPARE(f.lines(1), expected);
    } else if (control == u"List6") {
        auto* list = f.get<QListWidget>(control);
        QCOMPARE(list->count(), 23);
        QCOMPARE(list->item(0)->text(), expected);
        QCOMPARE(list->item(21)->text(), QString());
        QCOMPARE(list->item(22)->text(), QStringLiteral("では、スタートボタンを押してはじめよう"));
    } else {
        QCOMPARE(f.text(control), expected);
    }
    // Whatever the row: the show step ends with the lists in view and
    // nothing selected, the wait panels gone and the way back open.
    QVERIFY(f.get(QStringLiteral("Picture2"))->isHidden());
    QVERIFY(f.get(QStringLiteral("Picture6"))->isHidden());
    QVERIFY(f.get(QStringLiteral("Command26"))->isHidden());
    QVERIFY(!f.get(QStringLiteral("List5(4)"))->isHidden());
    QVERIFY(f.get(QStringLiteral("Command1"))->isEnabled());
    QVERIFY(nothingSelected(f));
}

void TestLobbyScreen::geometry_data()
{
    QTest::addColumn<int>("levels");
    QTest::addColumn<int>("storedScroll");
    QTest::addColumn<int>("width"); // pixels of a column
    QTest::addColumn<bool>("bar");
    QTest::addColumn<int>("scroll"); // the scroll column shown
    QTest::newRow("four levels, no bar") << 4 << 0 << tw(3648) << false << 1;
    QTest::newRow("five levels: the bar, a stored column kept") << 5 << 2 << tw(3456) << true << 2;
    QTest::newRow("five levels: a stored column beyond the bar gives 1") << 5 << 3 << tw(3456) << true << 1;
}

void TestLobbyScreen::geometry()
{
    QFETCH(int, levels);
    QFETCH(int, storedScroll);
    QFETCH(int, width);
    QFETCH(bool, bar);
    QFETCH(int, scroll);
    LobbyFixture f;
    f.s.levelCount = qint16(levels);
    f.s.scrollColumn = storedScroll;
    QVERIFY(f.open());
    auto* hScroll = f.get<QScrollBar>(QStringLiteral("HScroll1"));
    QCOMPARE(!hScroll->isHidden(), bar);
    if (bar) QCOMPARE(hScroll->maximum(), levels - 3);
    QCOMPARE(hScroll->value(), scroll);
    QCOMPARE(f.s.scrollColumn, scroll);
    for (int i = 1; i <= levels; ++i) {
        const QRect start = f.get(QStringLiteral("Command4(%1)").arg(i))->geometry();
        QCOMPARE(start.width(), width);
        const double w = bar ? 3456 : 3648;
        const double leftTwips = i < scroll ? 15360 : 307.2 + (i - scroll) * w;
        const int left = tw(leftTwips);
        QCOMPARE(start.x(), left);
        // Every row of the column moves with it, stacked in order.
        const QRect list = f.get(QStringLiteral("List5(%1)").arg(i))->geometry();
        QCOMPARE(list.x(), left);
        QVERIFY(list.top() > start.bottom());
        QCOMPARE(f.get(QStringLiteral("Label7(%1)").arg(i))->y(), list.bottom() + 1);
        QCOMPARE(f.get(QStringLiteral("Label3(%1)").arg(i))->x(), tw(leftTwips + 0.2 * w));
    }
    if (bar) {
        // Moving the bar places the columns again and keeps the column.
        hScroll->setValue(1);
        QCOMPARE(f.s.scrollColumn, 1);
        QCOMPARE(f.get(QStringLiteral("Command4(1)"))->x(), tw(307.2));
    }
}

void TestLobbyScreen::practiceLevel()
{
    LobbyFixture f;
    someRuns(f);
    f.s.levelNames[2] = QStringLiteral("×÷練習");
    QVERIFY(f.open());
    // Only its number, name and buttons; 600 s whatever the table says.
    for (const char* name :
         {"List5(2)", "Label7(2)", "Label8(2)", "Label14(2)", "Label15(2)", "Label9(2)", "Label10(2)"})
        QVERIFY2(f.get(QString::fromLatin1(name))->isHidden(), name);
    QVERIFY(!f.get(QStringLiteral("Command4(2)"))->isHidden());
    QVERIFY(!f.get(QStringLiteral("List5(1)"))->isHidden());
    QCOMPARE(f.s.levelTable[2].targetTime, 600);
    QCOMPARE(f.s.levelTable[2].secondTime, 600);
    // The best times leave it out too.
    QTest::mouseClick(f.get(QStringLiteral("Option2(0)")), Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(f.get(QStringLiteral("List5(2)"))->isHidden());
}

void TestLobbyScreen::teacherButton_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("shown");
    QTest::newRow("the teacher's entry") << "先生" << true;
    QTest::newRow("a name containing 先生") << "山田先生" << true;
    QTest::newRow("a pupil") << "やまだ　はなこ" << false;
}

void TestLobbyScreen::teacherButton()
{
    QFETCH(QString, name);
    QFETCH(bool, shown);
    LobbyFixture f;
    f.s.pupilName = fixedWidth(name, 20);
    QVERIFY(f.open());
    QCOMPARE(!f.get(QStringLiteral("Command24(1)"))->isHidden(), shown);
}

void TestLobbyScreen::namesAndFiguresFit_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("cut");
    QTest::newRow("a longer name in a smaller font") << "長谷川　ジェニファー　花子" << false;
    QTest::newRow("twenty characters end in …") << "寿限無寿限無五劫の擦り切れ海砂利水魚の水" << true;
}

void TestLobbyScreen::namesAndFiguresFit()
{
    QFETCH(QString, name);
    QFETCH(bool, cut);
    LobbyFixture f(QStringLiteral("1,2017,0,0,\"Ken Smith\",0,\"\",\"\"\n2,2015,0,0,\"山田　花子\",0,\"\",\"\"\n"));
    f.s.pupilName = fixedWidth(name, 20);
    f.s.levelTable[4].pointFactor = PointFactor::fromText(QStringLiteral("20000000"));
    f.addRun(1, 4, 0);
    f.addRun(2, 4, 60);
    auto fits = [](const QLabel* l) {
        return QFontMetricsF(l->font()).horizontalAdvance(l->text()) <= l->contentsRect().width();
    };
    // Smaller, inside the label; a cut name ends in "…" and the grade stays whole.
    auto check = [&](const char* label, const QString& whole, int designPixels) {
        auto* l = f.get<QLabel>(QLatin1String(label));
        QVERIFY(fits(l) && l->font().pixelSize() < designPixels);
        QCOMPARE(l->toolTip(), cut ? whole : QString());
        QCOMPARE(cut ? l->text().section(u'…', 1) : l->text(), cut ? QString(whole).remove(name) : whole);
    };
    QVERIFY(f.open());
    check("Label12", name + QStringLiteral(" 小３"), 27);
    // Figures whole, the names one width: the figures start in one column.
    QCOMPARE(f.lines(4), QStringLiteral(" 1●Ken Smith 1100000000/1100000000 |  2⑤山田　花子100000000/100000000"));
    for (const char* label : {"Label14(4)", "Label15(4)"}) {
        QCOMPARE(f.text(QLatin1String(label)), QStringLiteral("1回/1100000000点"));
        QVERIFY(fits(f.get<QLabel>(QLatin1String(label))));
    }
    f.stage.app().navigator.startRun();
    f.stage.activatePending();
    check("sLabel7", name, 21);
}

void TestLobbyScreen::start_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("level");    // 0: no run starts, -1: back to the names
    QTest::addColumn<int>("practice"); // the practice flag afterwards (it starts at 1)
    QTest::newRow("start button") << "click Command4(2)" << 2 << 0;
    QTest::newRow("a disabled start button is refused") << "disabled Command4(2)" << 0 << 1;
    QTest::newRow("level name, practice flag left as it was") << "click Label3(3)" << 3 << 1;
    QTest::newRow("level name of a disabled level is refused") << "disabled Label3(3)" << 0 << 1;
    QTest::newRow("practice button") << "practice 1" << 1 << 1;
    QTest::newRow("access key Alt+2") << "alt 2" << 2 << 0;
    QTest::newRow("digit key 4") << "key 4" << 4 << 0;
    QTest::newRow("digit key 3 after choosing a display") << "option key 3" << 3 << 0;
    QTest::newRow("digit key 5: no such level") << "key 5" << 0 << 1;
    QTest::newRow("digit key 2 on a record list") << "list List5(1) 2" << 2 << 0;
    QTest::newRow("0 on the grade box goes back") << "list Combo1 0" << -1 << 1;
}

void TestLobbyScreen::start()
{
    QFETCH(QString, how);
    QFETCH(int, level);
    QFETCH(int, practice);
    LobbyFixture f;
    f.s.practiceRun = true;
    f.s.currentLevel = 0;
    LobbyScreen* lobby = f.open();
    QVERIFY(lobby);
    f.stage.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.stage));
    const QStringList words = how.split(u' ');
    const QString target = words.value(1);
    if (words[0] == u"click") {
        QTest::mouseClick(f.get(target), Qt::LeftButton);
    } else if (words[0] == u"disabled") {
        const int i = target.at(target.size() - 2).digitValue();
        f.get(QStringLiteral("Command4(%1)").arg(i))->setEnabled(false);
        if (target.startsWith(u"Label3")) QTest::mouseClick(f.get(target), Qt::LeftButton);
        else lobby->startLevel(i);
    } else if (words[0] == u"option") {
        QTest::mouseClick(f.get(QStringLiteral("Option2(0)")), Qt::LeftButton, {}, QPoint(5, 5));
        QTest::keyClick(&f.stage, Qt::Key(Qt::Key_0 + words[2].toInt()));
    } else if (words[0] == u"list") { // whatever control holds the focus
        f.get(target)->setFocus();
        QTest::keyClick(f.get(target), Qt::Key(Qt::Key_0 + words[2].toInt()));
    } else if (words[0] == u"practice") {
        lobby->startPractice(target.toInt());
    } else {
        const Qt::Key key = Qt::Key(Qt::Key_0 + target.toInt());
        QTest::keyClick(&f.stage, key, words[0] == u"alt" ? Qt::AltModifier : Qt::NoModifier);
    }
    if (level < 0) QTRY_COMPARE(f.screen(), QStringLiteral("namesel"));
    if (level < 0) return;
    // An access key presses its button a moment later.
    if (level) QTRY_COMPARE(f.screen(), QStringLiteral("MainFrm"));
    else QTest::qWait(300);
    QCOMPARE(f.screen(), level ? QStringLiteral("MainFrm") : QStringLiteral("seisekitime1"));
    QCOMPARE(int(f.s.currentLevel), level);
    QCOMPARE(int(f.s.practiceRun), practice);
}

// clang-format off
void TestLobbyScreen::displays_data()
{
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QString>("heading");
    QTest::addColumn<QString>("level1");
    QTest::newRow("time display: best times") << QStringList{"Option2(0)"} << "ベスト成績"
                                              << " 1●やまだ　は    20 ● |  2⑤すずき　た    35 　";
    QTest::newRow("time display: today's runs") << QStringList{"Option2(0)", "Option1(2)"} << "本日の成績"
                                                << "  20秒 09:05●やまだ　は●11 |   35秒 09:06⑤すずき　た⑤5 |   30秒 09:07●やまだ　は●5";
    QTest::newRow("time display: all runs") << QStringList{"Option2(0)", "Option1(3)"} << ""
                                            << "  25秒 12/05●やまだ　は●7 |   20秒 12/08●やまだ　は●11 |   35秒 12/08⑤すずき　た⑤5 | "
                                               "  30秒 12/08●やまだ　は●5";
    QTest::newRow("point display: today's points") << QStringList{"Option1(2)"} << "獲得ポイント（今日の順位）"
                                                   << " 1●やまだ　は 16/   23 |  2⑤すずき　た  5/    5";
    QTest::newRow("point display: all runs") << QStringList{"Option1(3)"} << ""
                                             << "    7 12/05●やまだ　は●25秒 |    11 12/08●やまだ　は●20秒 |     5 12/08⑤すずき　た⑤35秒 | "
                                                "    5 12/08●やまだ　は●30秒";
    QTest::newRow("personal times") << QStringList{"Option2(2)"} << "個人別ﾀｲﾑ"
                                    << "2026/12/05 09:00:00  25秒 | 2026/12/08 09:05:00  20秒 | 2026/12/08 09:07:00  30秒";
    QTest::newRow("grade filter 小５") << QStringList{"Option2(0)", "Combo1 小５"} << "ベスト成績" << " 2⑤すずき　た    35 　";
    QTest::newRow("grade filter in the personal times") << QStringList{"Option2(2)", "Combo1 小３"} << "個人別ﾀｲﾑ"
                                                        << "2026/12/05 09:00:00  25秒 | 2026/12/08 09:05:00  20秒 | 2026/12/08 09:07:00  30秒";
}
// clang-format on

void TestLobbyScreen::displays()
{
    QFETCH(QStringList, clicks);
    QFETCH(QString, heading);
    QFETCH(QString, level1);
    LobbyFixture f;
    someRuns(f);
    QVERIFY(f.open());
    for (const QString& c : clicks) {
        if (c.startsWith(u"Combo1")) {
            auto* combo = f.get<QComboBox>(QStringLiteral("Combo1"));
            const int index = combo->findText(c.mid(7));
            combo->setCurrentIndex(index);
            emit combo->activated(index);
        } else {
            QTest::mouseClick(f.get(c), Qt::LeftButton, {}, QPoint(5, 5));
        }
    }
    QCOMPARE(f.text(QStringLiteral("Label5")), heading);
    QCOMPARE(f.lines(1), level1);
    QVERIFY(nothingSelected(f));
    QVERIFY(f.get(QStringLiteral("Command1"))->isEnabled());
    QVERIFY(f.get(QStringLiteral("Picture1"))->isEnabled());
    QVERIFY(!f.get(QStringLiteral("List5(1)"))->isHidden());
    QCOMPARE(!f.get(QStringLiteral("Command17"))->isHidden(), clicks.contains(QStringLiteral("Option2(2)")));
    // Runs within the level's target time (40 s) stand out; others do not.
    const QAbstractItemModel* lines = f.get<QListView>(QStringLiteral("List5(1)"))->model();
    for (int row = 0; row < lines->rowCount(); ++row) {
        const QModelIndex line = lines->index(row, 0);
        const bool withTime = line.data().toString().contains(u'秒') ||
                              f.text(QStringLiteral("Label5")) == u"ベスト成績";
        QCOMPARE(line.data(Qt::ForegroundRole).value<QColor>() == QColor(0, 128, 0), withTime);
    }
}

QTEST_MAIN(TestLobbyScreen)
#include "test_lobby_screen.moc"
