// Presses and keys as a child makes them, through the X server: double
// clicks and double Enters, a held Enter, the drill's keys, and the lobby's
// digits whatever control holds the focus. One program on the real clock.
#include "app/catalogue.h"
#include "app/dispatch.h"
#include "drill/main_frm.h"
#include "e2e_program.h"

#include <QKeyEvent>
#include <QProcess>
#include <QTest>
#include <memory>

namespace {

// Counts the keys the X server repeats while one is held down.
struct RepeatCounter : QObject {
    int repeats = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->isAutoRepeat()) ++repeats;
        return false;
    }
};

bool xdotool(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral("xdotool"), args);
    if (!p.waitForStarted(5000)) return false;
    // The program's events run meanwhile: the presses arrive while it works.
    return QTest::qWaitFor([&] { return p.state() == QProcess::NotRunning; }, 15000) && p.exitCode() == 0;
}

QString caption(Op op) { return op == Op::None ? QStringLiteral("_") : opText(op); }

} // namespace

class TestPressesAndKeys : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void drill_data();
    void drill();
    void lobbyDigits_data();
    void lobbyDigits();

private:
    int cues(const char* kind) const { return int(p->traceLines().filter(QLatin1String(kind)).size()); }
    MainFrm* drillReady();
    std::unique_ptr<E2eProgram> p;
};

void TestPressesAndKeys::initTestCase()
{
    p = std::make_unique<E2eProgram>(E2eProgram::Time::Real);
    QVERIFY(p->start());
    QVERIFY(waitForScreen(*p, QStringLiteral("namesel")));
    setLobbyLevels(p->s);
    p->s.pupilNumber = 1;
    p->s.pupilName = QStringLiteral("やまだ　はな");
}

// The drill on view, in the middle of a run, a problem waiting for its answer.
MainFrm* TestPressesAndKeys::drillReady()
{
    auto* frm = qobject_cast<MainFrm*>(p->stage.current());
    if (frm && p->shown(QStringLiteral("Command1"))) p->find<QPushButton>(QStringLiteral("Command1"))->click();
    if (frm) frm->LblDD5_Click(); // "クリア"
    if (!frm || p->s.run.correctCount >= 7) {
        p->s.currentLevel = 1;
        startRun(p->stage.app());
        if (!waitForScreen(*p, QStringLiteral("MainFrm"))) return nullptr;
        frm = qobject_cast<MainFrm*>(p->stage.current());
    }
    return frm;
}

void TestPressesAndKeys::drill_data()
{
    QTest::addColumn<QString>("placed"); // "right", "wrong" or "" for the operators placed first
    QTest::addColumn<QString>("xdotool"); // %OK: the middle of "O.K."
    QTest::addColumn<int>("rightCues");
    QTest::addColumn<int>("wrongCues");
    QTest::addColumn<QString>("blanks"); // after it; "_" an empty blank, "*" not looked at
    QTest::addColumn<int>("current");

    for (int ms : {150, 300, 500, 900}) {
        const QString gap = QString::number(ms);
        QTest::addRow("double click %d ms apart", ms)
            << "right" << QStringLiteral("mousemove %OK click --repeat 2 --delay %1 1").arg(gap) << 1 << 0 << "__" << 0;
        QTest::addRow("double Enter %d ms apart", ms)
            << "right" << QStringLiteral("key --delay %1 Return Return").arg(gap) << 1 << 0 << "__" << 0;
    }
    QTest::newRow("double keypad Enter") << "right" << "key --delay 300 KP_Enter KP_Enter" << 1 << 0 << "__" << 0;
    QTest::newRow("Enter held 1.5 s") << "right" << "keydown Return sleep 1.5 keyup Return" << 1 << 0 << "__" << 0;
    QTest::newRow("an empty answer a second on is judged") << "" << "sleep 1.2 key Return" << 0 << 1 << "*" << -1;
    QTest::newRow("two operators fill both blanks") << "" << "key plus minus" << 0 << 0 << "＋－" << 1;
    QTest::newRow("Space moves on and never answers") << "" << "key plus space" << 0 << 0 << "＋_" << 0;
    QTest::newRow("an arrow first, then an operator") << "" << "key Right slash" << 0 << 0 << "_÷" << 0;
    QTest::newRow("keypad operators") << "" << "key KP_Add KP_Multiply" << 0 << 0 << "＋×" << 1;
    QTest::newRow("Delete erases the current blank") << "" << "key plus minus Delete" << 0 << 0 << "＋_" << 1;
    QTest::newRow("Shift+Left erases and moves") << "" << "key plus minus shift+Left" << 0 << 0 << "＋_" << 0;
    QTest::newRow("BackSpace on an empty blank erases the one before")
        << "" << "key plus BackSpace" << 0 << 0 << "__" << 0;
    QTest::newRow("a held operator fills once") << "" << "keydown plus sleep 1 keyup plus" << 0 << 0 << "＋_" << 1;
    QTest::newRow("Space after a wrong answer goes back to correcting")
        << "wrong" << "key --delay 500 Return space" << 0 << 1 << "__" << 0;
    QTest::newRow("Enter after a wrong answer goes back to correcting")
        << "wrong" << "key --delay 500 Return Return" << 0 << 1 << "__" << 0;
}

void TestPressesAndKeys::drill()
{
    QFETCH(QString, placed);
    QFETCH(QString, xdotool);
    QFETCH(int, rightCues);
    QFETCH(int, wrongCues);
    QFETCH(QString, blanks);
    QFETCH(int, current);
    QPointer<MainFrm> frm = drillReady();
    QVERIFY(frm);
    const auto eq = readEquation(*p);
    QVERIFY(eq);
    if (!placed.isEmpty()) QVERIFY(placeOperators(*p, *(placed == u"right" ? rightPair(*eq) : wrongPair(*eq))));
    const int right = cues("seikai"), wrong = cues("machigai");
    auto* ok = p->find<QPushButton>(QStringLiteral("Command5"));
    const QPoint centre = ok->mapToGlobal(ok->rect().center());
    RepeatCounter held;
    qApp->installEventFilter(&held);

    QVERIFY(::xdotool(xdotool.replace(QStringLiteral("%OK"), QStringLiteral("%1 %2").arg(centre.x()).arg(centre.y()))
                          .split(u' ')));
    QTest::qWait(800); // whatever the last press set going, its cue included
    qApp->removeEventFilter(&held);

    QVERIFY(frm && p->stage.current() == frm);
    QCOMPARE(cues("seikai") - right, rightCues);
    QCOMPARE(cues("machigai") - wrong, wrongCues);
    QCOMPARE(p->text(QStringLiteral("sLabel9")), QString::number(10 - p->s.run.correctCount));
    if (xdotool.startsWith(u"keydown")) QVERIFY2(held.repeats > 0, "the X server repeated nothing");
    if (blanks != u"*") {
        QCOMPARE(caption(frm->blanks().blanks[0]) + caption(frm->blanks().blanks[1]), blanks);
        QVERIFY(p->shown(QStringLiteral("Command5")));
    }
    if (current < 0) return;
    QCOMPARE(frm->blanks().current, current);
    // The current blank wears the thick orange frame; the other does not.
    for (int i = 0; i < 2; ++i) {
        QLabel* blank = p->find<QLabel>(QStringLiteral("LblDD2(%1)").arg(i + 1));
        const QColor edge = blank->grab().toImage().pixelColor(4, blank->height() / 2);
        QCOMPARE(edge == QColor(0xff, 0x6a, 0x00), i == current);
    }
}

void TestPressesAndKeys::lobbyDigits_data()
{
    QTest::addColumn<QString>("focus"); // the control given the focus first
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("screen");
    QTest::addColumn<int>("level");
    QTest::newRow("0 on a record list goes back") << "List5(2)" << "0" << "namesel" << 0;
    QTest::newRow("a digit on a record list starts its level") << "List5(1)" << "3" << "MainFrm" << 3;
    QTest::newRow("0 on the grade box") << "Combo1" << "0" << "namesel" << 0;
    QTest::newRow("a keypad digit on a display option") << "Option2(0)" << "KP_2" << "MainFrm" << 2;
}

void TestPressesAndKeys::lobbyDigits()
{
    QFETCH(QString, focus);
    QFETCH(QString, key);
    QFETCH(QString, screen);
    QFETCH(int, level);
    showLobbyScreen(p->stage.app());
    QVERIFY(waitForScreen(*p, QStringLiteral("seisekitime1")));
    QWidget* w = p->find(focus);
    QVERIFY(w);
    w->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(w->hasFocus());
    p->s.currentLevel = 0;
    QVERIFY(E2eProgram::keys({key}));
    QVERIFY(waitForScreen(*p, screen));
    QTest::qWait(300);
    QCOMPARE(p->screenName(), screen);
    QCOMPARE(int(p->s.currentLevel), level);
}

QTEST_MAIN(TestPressesAndKeys)
#include "test_presses_and_keys.moc"
