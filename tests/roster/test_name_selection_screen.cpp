#include "base/user_preferences.h"
#include "name_selection_fixture.h"
#include "records/record_file.h"
#include "ui/fonts.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace roster_test;

// The name selection screen on real widgets.
class TestNameSelectionScreen : public QObject {
    Q_OBJECT
private slots:
    void controlsAndTexts();
    void listInModeOneThenModeZero();
    void confirming_data();
    void confirming();
    void noNameGivesTheWrongCue();
    void leaving_data();
    void leaving();
    void leavingStartsTheProgramMenuWith001();
    void recoveryBeforeTheFirstList();
    void readerNotes_data();
    void readerNotes();
    void soundTurnedOffStaysOff();
};

namespace {
const QString W = QStringLiteral("　");
const QString kDashes = QStringLiteral("－－－－－－");
} // namespace

void TestNameSelectionScreen::controlsAndTexts()
{
    installFontSubstitutions(); // as the program does; and fonts as a desktop theme gives them
    for (const char* themed : {"QMenu", "QMessageBox", "QLabel"})
        QApplication::setFont(QFont("DejaVu Serif", 7), themed);
    Fixture f;
    QVERIFY(f.start());
    QCOMPARE(f.screen(), QStringLiteral("namesel"));
    QCOMPARE(f.stage.windowTitle(), QStringLiteral("velmora"));
    QCOMPARE(f.label("Label4"), QStringLiteral("ソルメア"));
    QCOMPARE(f.get("Label4")->font().pixelSize(), designFont(kPGothic, 48).pixelSize());
    QCOMPARE(f.label("Label1"), QStringLiteral("名前を選びなさい"));
    const char* captions[] = {"回数(今日／今まで）", "ポイント（今日／今まで）", "本日（ポイント／回数）",
                              "今まで（ポイント／回数）"};
    for (int i = 0; i < 4; ++i) {
        auto* o = f.get<QRadioButton>(QStringLiteral("Option1(%1)").arg(i));
        QCOMPARE(o->text(), QString::fromUtf8(captions[i]));
        QCOMPARE(o->isChecked(), i == 1); // the activation selects option 1
    }
    QCOMPARE(f.get<QPushButton>("Command14")->text(), QStringLiteral("O.K."));
    QCOMPARE(f.get<QPushButton>("Command7")->text(), QStringLiteral("終了"));
    QCOMPARE(f.get<QPushButton>("Command1")->text(), QStringLiteral("印刷"));
    for (const char* hidden : {"Command1", "Combo1", "List2", "List3", "List4", "Label2", "Picture5", "LabelNote"})
        QVERIFY2(f.get(hidden)->isHidden(), hidden);
    auto* combo = f.get<QComboBox>("Combo1");
    QCOMPARE(combo->count(), 12);
    QCOMPARE(combo->currentText(), QStringLiteral("全学年"));
    QCOMPARE(combo->itemText(11), QStringLiteral("小１"));
    QCOMPARE(f.s.gradeFilterText, QStringLiteral("全学年"));
    QVERIFY(!f.get<QLabel>("Image1")->pixmap().isNull());
    // The figures line up: a full-width blank and 回 take two cells, a digit one.
    const QFontMetrics cells(f.list()->font());
    QCOMPARE(QFontInfo(f.list()->font()).family(), QStringLiteral("IPAGothic"));
    QCOMPARE(cells.horizontalAdvance(W), 2 * cells.horizontalAdvance(u' '));
    QCOMPARE(cells.horizontalAdvance(QStringLiteral("回")), 2 * cells.horizontalAdvance(u'1'));
    const struct {
        const char* name;
        const char* text;
    } items[] = {{"mnuNameChange", "名前の変更"},
                 {"mnuExit", "終了"},
                 {"mnuContents", "目次"},
                 {"mnuVersion", "バージョン情報"},
                 {"menuTQ58", "Quorvaneホームページ"}};
    for (const auto& i : items) QCOMPARE(f.get<QAction>(i.name)->text(), QString::fromUtf8(i.text));
    for (const char* m : {"file", "ヘルプ"}) {
        bool found = false;
        for (QMenu* menu : f.stage.current()->findChildren<QMenu*>()) found |= menu->title() == QString::fromUtf8(m);
        QVERIFY2(found, m);
    }
    // Menus and message boxes in the screen's font, whatever the theme says.
    QList<QFont> fonts = {f.get("mnuFile")->font(), f.get("mnuHelp")->font()};
    QTimer::singleShot(0, [&fonts] {
        fonts << QApplication::activeModalWidget()->findChild<QLabel*>("qt_msgbox_label")->font();
        QApplication::activeModalWidget()->close();
    });
    MessageBoxDialogs().message(QStringLiteral("すでに起動されています。"), QStringLiteral("注意"),
                                Dialogs::Icon::Error);
    for (const QFont& font : fonts)
        QCOMPARE(QFontInfo(font).family() + QString::number(font.pixelSize()), "IPAPGothic15");
    QApplication::setFont(QApplication::font()); // the themed fonts gone
}

void TestNameSelectionScreen::listInModeOneThenModeZero()
{
    Fixture f;
    QVERIFY(startUp(f.stage.app(), f.inst.programFolder()));
    // Two runs of pupil 1 today at level 1 (target 40): 30 s earns 5 points.
    f.s.pupilNumber = 1;
    f.s.currentLevel = 1;
    f.s.runScore = 30;
    QVERIFY(storeRun(f.s, f.t.services, 1) && storeRun(f.s, f.t.services, 1));
    f.stage.activatePending();

    QCOMPARE(f.lines(),
             (QStringList{kDashes, "小5 すずき　たろ  " + W + "/       ", "小3 山田　花子" + W + "  10/     10",
                          "幼2 ゆい" + W.repeated(4) + "  " + W + "/       "}));
    QCOMPARE(f.s.roster.listed, (std::vector<int>{2, 1, 3}));
    QCOMPARE(f.lines("List2")[1], "2017小3 山田　花子" + W + "  10/     10*1");
    QCOMPARE(f.lines("List3")[0], "小5 すずき　たろう  " + W + "/       *2");
    QCOMPARE(f.list()->currentRow(), 0);

    // Other figures for the chosen pupil: still the chosen one.
    f.list()->setCurrentRow(2);
    QTest::mouseClick(f.get<QRadioButton>("Option1(0)"), Qt::LeftButton);
    QCOMPARE(f.lines(), (QStringList{kDashes, "小5 すずき　たろ     /     " + W, "小3 山田　花子" + W + "  2回/    2回",
                                     "幼2 ゆい" + W.repeated(6) + "     /     " + W}));
    QCOMPARE(f.list()->currentRow(), 2);
    QCOMPARE(f.label("Label1"), "小3 山田　花子" + W);
    QCOMPARE(f.label("Label2"), QStringLiteral("1"));
}

void TestNameSelectionScreen::confirming_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("O.K. button") << "ok";
    QTest::newRow("key 1 in the list") << "1";
    QTest::newRow("key 1 on an option button") << "1 option";
    QTest::newRow("Enter in the list") << "enter";
    QTest::newRow("blank in the list") << "space";
    QTest::newRow("double click") << "double";
}

void TestNameSelectionScreen::confirming()
{
    QFETCH(QString, how);
    Fixture f;
    QVERIFY(f.start());
    QListWidget* list = f.list();
    list->setCurrentRow(2);
    QCOMPARE(f.label("Label1"), "小3 山田　花子" + W);
    QCOMPARE(f.label("Label2"), QStringLiteral("1"));

    if (how == "ok") QTest::mouseClick(f.get<QPushButton>("Command14"), Qt::LeftButton);
    else if (how == "1") QTest::keyClick(list, Qt::Key_1);
    else if (how == "1 option") QTest::keyClick(f.get("Option1(2)"), Qt::Key_1);
    else if (how == "enter") QTest::keyClick(list, Qt::Key_Return);
    else if (how == "space") QTest::keyClick(list, Qt::Key_Space);
    else {
        const QRect r = list->visualItemRect(list->item(2));
        // A double click as the window system delivers it: press, release, double click.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, r.center());
    }
    QCOMPARE(f.screen(), QStringLiteral("seisekitime1"));
    QCOMPARE(f.s.pupilNumber, qint16(1));
    QCOMPARE(f.s.pupilName, QStringLiteral("山田　花子") + QString(15, u' '));
    QCOMPARE(f.s.pupilGradeLabel, QStringLiteral("小３"));
    QCOMPARE(f.s.nameConfirmedSeconds, 36001); // 10:00:00.6, to the nearest second
    QVERIFY(f.t.sound.commands.isEmpty());
}

void TestNameSelectionScreen::noNameGivesTheWrongCue()
{
    Fixture f;
    QVERIFY(f.start());
    f.list()->setCurrentRow(1);
    f.list()->setCurrentRow(0);
    QCOMPARE(f.label("Label1"), QStringLiteral("名前を選びなさい"));
    QTest::mouseClick(f.get<QPushButton>("Command14"), Qt::LeftButton);
    QCOMPARE(f.t.sound.commands.size(), 1);
    QVERIFY(f.t.sound.commands[0].contains(QStringLiteral("machigai1")));
    QCOMPARE(f.screen(), QStringLiteral("namesel"));
    QCOMPARE(f.s.pupilNumber, qint16(0));
    QVERIFY(!f.get("Command14")->isHidden());
}

void TestNameSelectionScreen::leaving_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("終了 button") << "button";
    QTest::newRow("key 0") << "0";
    QTest::newRow("menu 終了") << "menu";
}

void TestNameSelectionScreen::leaving()
{
    QFETCH(QString, how);
    Fixture f;
    QVERIFY(f.start());
    if (how == "button") QTest::mouseClick(f.get<QPushButton>("Command7"), Qt::LeftButton);
    else if (how == "0") QTest::keyClick(f.list(), Qt::Key_0);
    else f.menu("mnuExit");
    QCOMPARE(f.t.launcher.started,
             QStringList{f.inst.programFolder() + QStringLiteral("/../起動/プログラムメニュー.exe 001")});
    QVERIFY(f.t.end.requested());
    QCOMPARE(f.t.end.exitCode(), 0);
}

void TestNameSelectionScreen::leavingStartsTheProgramMenuWith001()
{
    Fixture f(true);
    const QString menu = f.inst.path(QStringLiteral("起動/プログラムメニュー.exe"));
    f.inst.writeBytes(QStringLiteral("起動/プログラムメニュー.exe"),
                      QByteArrayLiteral("#!/bin/sh\nprintf '%s' \"$*\" > \"$(dirname \"$0\")/args.tmp\"\n"
                                        "mv \"$(dirname \"$0\")/args.tmp\" \"$(dirname \"$0\")/args.txt\"\n"));
    QFile::setPermissions(menu, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(f.start());
    QTest::keyClick(f.list(), Qt::Key_0);
    QVERIFY(f.t.end.requested());
    QFile args(f.inst.path(QStringLiteral("起動/args.txt")));
    QTRY_VERIFY_WITH_TIMEOUT(args.exists(), 10000);
    QVERIFY(args.open(QIODevice::ReadOnly));
    QCOMPARE(args.readAll(), QByteArray("001"));
}

void TestNameSelectionScreen::recoveryBeforeTheFirstList()
{
    Fixture f;
    QVERIFY(QFile::rename(f.inst.path(QStringLiteral("生徒用名簿.txt")),
                          f.inst.path(QStringLiteral("生徒用名簿temp.txt"))));
    QVERIFY(startUp(f.stage.app(), f.inst.programFolder()));
    // With option 1 already chosen the activation does not build the list
    // again: what is listed is what the load built.
    {
        const QSignalBlocker quiet(f.stage.current()->findChild<QButtonGroup*>());
        f.get<QRadioButton>("Option1(1)")->setChecked(true);
    }
    f.stage.activatePending();
    QCOMPARE(f.lines().size(), 4);
    QVERIFY(QFile::exists(f.inst.path(QStringLiteral("生徒用名簿.txt"))));
    QVERIFY(!QFile::exists(f.inst.path(QStringLiteral("生徒用名簿temp.txt"))));
}

// clang-format off
void TestNameSelectionScreen::readerNotes_data()
{
    QTest::addColumn<QString>("roster"); // empty: no roster file
    QTest::addColumn<QString>("note");   // empty: no note shown
    QTest::addColumn<int>("pupils");
    QTest::newRow("every line read") << kRoster << "" << 3;
    QTest::newRow("no roster file") << "" << "名簿ファイル「生徒用名簿.txt」がありません。" << 0;
    QTest::newRow("a damaged line") << "1,2017,0,0,\"a\",0,\"\",\"\"\n2,x,0\n" << "2 行目" << 1;
}
// clang-format on

void TestNameSelectionScreen::readerNotes()
{
    QFETCH(QString, roster);
    QFETCH(QString, note);
    QFETCH(int, pupils);
    Fixture f;
    if (roster.isEmpty()) QFile::remove(f.inst.path(QStringLiteral("生徒用名簿.txt")));
    else f.inst.write(QStringLiteral("生徒用名簿.txt"), roster);
    QVERIFY(f.start());
    QCOMPARE(f.lines().size(), pupils + 1);
    QCOMPARE(f.get("LabelNote")->isHidden(), note.isEmpty());
    QVERIFY2(f.label("LabelNote").contains(note), qPrintable(f.label("LabelNote")));
    QVERIFY(!f.t.end.requested());
}

void TestNameSelectionScreen::soundTurnedOffStaysOff()
{
    QTemporaryDir config;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config.path());
    const QString trace = config.filePath(QStringLiteral("trace.txt"));
    qputenv("SOLMEA_SOUND_TRACE", trace.toUtf8());
    {
        Fixture f;
        QVERIFY(f.start() && f.get<QAction>("mnuSound")->isChecked() &&
                f.get<QAction>("mnuSound")->text() == u"音を出す");
        f.menu("mnuSound");
    }
    // The next start: off still, so answer cues that are gone stop nothing.
    Fixture g;
    QVERIFY(QFile::remove(g.inst.path(QStringLiteral("音フォルダ/machigai1.wav"))));
    QVERIFY(g.start() && !g.get<QAction>("mnuSound")->isChecked());
    QTest::mouseClick(g.get<QPushButton>("Command14"), Qt::LeftButton); // O.K. with no name chosen
    QVERIFY(g.t.sound.commands.isEmpty() && !QFile::exists(trace));
    // Turned on without them: refused, it stays off. With them: heard, kept.
    g.menu("mnuSound");
    QVERIFY(!g.get<QAction>("mnuSound")->isChecked() && !g.s.sound.on &&
            g.t.dialogs.texts.value(0).contains(QStringLiteral("「間違い音2」の音ファイル（machigai1.wav）")));
    g.inst.writeDefaults();
    g.menu("mnuSound");
    QTest::mouseClick(g.get<QPushButton>("Command14"), Qt::LeftButton);
    QVERIFY(g.t.sound.commands.size() == 1 && QFile::exists(trace) && user_preferences::soundOn());
    qunsetenv("SOLMEA_SOUND_TRACE");
}

QTEST_MAIN(TestNameSelectionScreen)
#include "test_name_selection_screen.moc"
