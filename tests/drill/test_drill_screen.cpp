// Placement and judging on the real drill screen. Mouse events go through the
// window system layer, so double-clicks and drags are detected as for a user.
#define QTEST_QPA_MOUSE_HANDLING
#include "base/twips.h"
#include "drill_fixture.h"
#include "ui/fonts.h"

#include <QDragEnterEvent>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QTimer>

Q_DECLARE_METATYPE(Op)

class TestDrillScreen : public QObject {
    Q_OBJECT
private slots:
    void layout();
    void pressingFillsTheFirstEmptyBlank();
    void doubleClickFillsTwo();
    void dragAndDropReplacesTheBlank();
    void dragEndsWithTheRun();
    void foreignDropsAreRefused();
    void judging_data();
    void judging();
    void countNeverBelowZero();
    void tenthRightAnswerEndsTheRun();
    void keyboard_data();
    void keyboard();
    void keyboardInReviewAndEnter();
    void answerButtonKeepsTheFocus();

private:
    static void expose(DrillFixture& f)
    {
        QVERIFY(f.drill);
        QVERIFY(QTest::qWaitForWindowExposed(&f.stage));
    }
};

void TestDrillScreen::layout()
{
    DrillFixture f;
    QVERIFY(f.open());
    QWidget* panel = f.w(QStringLiteral("Picture2"));
    QWidget* status = f.w(QStringLiteral("sPicture1"));
    QVERIFY(panel && status);
    QCOMPARE(status->geometry(), QRect(0, 0, 1024, status->height()));
    QCOMPARE(panel->geometry(), QRect(0, status->height(), 1024, 768 - status->height()));

    struct Place {
        const char* name;
        int left, width;
    };
    const Place row[] = {{"LblDD3(1)", 810, 1905},  {"LblDD2(1)", 2715, 1665}, {"LblDD3(2)", 4380, 1905},
                         {"LblDD2(2)", 6285, 1665}, {"LblDD3(3)", 7950, 1905}, {"LblDD4(4)", 9855, 1665},
                         {"LblDD3(4)", 11520, 2745}};
    for (const Place& p : row) {
        QWidget* w = f.w(QString::fromLatin1(p.name));
        QVERIFY2(w && w->parentWidget() == panel, p.name);
        QCOMPARE(w->geometry(), twRect(p.left, 1800, p.width, 1455));
    }
    const int opLeft[] = {870, 2655, 4425, 6210};
    const QString opCaption[] = {QStringLiteral("＋"), QStringLiteral("－"), QStringLiteral("×"), QStringLiteral("÷")};
    for (int i = 1; i <= 4; ++i) {
        QCOMPARE(f.op(i)->geometry().topLeft(), QPoint(tw(opLeft[i - 1]), tw(4740)));
        QCOMPARE(f.op(i)->text(), opCaption[i - 1]);
        QCOMPARE(f.op(i)->font().family(), kPGothic);
    }
    QCOMPARE(f.text("LblDD4(4)"), QStringLiteral("＝"));
    QCOMPARE(f.text("Label2"), QStringLiteral("式を完成しなさい"));
    QCOMPARE(f.text("LblDD5"), QStringLiteral("クリア"));
    QCOMPARE(f.text("Label4"), QStringLiteral("＋－×÷をマウスで押して"));
    QCOMPARE(f.text("Label5"), QStringLiteral("（Dｒａｇ&Dropもできます）"));
    QCOMPARE(f.answerButton()->text(), QStringLiteral("O.K."));
    QCOMPARE(f.continueButton()->text(), QStringLiteral("O.K."));
    QVERIFY(!f.continueButton()->isVisible() && !f.w("Label1")->isVisible() && !f.w("Label3")->isVisible());
    QCOMPARE(f.text("Label3"), QStringLiteral("あなたの答えは"));

    // Every label's text fits its box (nothing cut off).
    for (QLabel* l : f.drill->findChildren<QLabel*>()) {
        if (l->text().isEmpty()) continue;
        const QSize need = QFontMetrics(l->font()).size(0, l->text());
        QVERIFY2(need.width() <= l->width() + 1, qPrintable(l->objectName() + u' ' + l->text()));
    }

    // Status panel: headings, lamps, captions.
    QCOMPARE(f.text("sLabel17(1)"), QStringLiteral("Best"));
    QCOMPARE(f.text("sLabel17(0)"), QStringLiteral("YourBest"));
    QCOMPARE(f.text("sLabel17(2)"), QStringLiteral("Pass"));
    for (int n = 10; n <= 39; ++n) {
        QWidget* lamp = f.w(QStringLiteral("sPicture3(%1)").arg(n));
        QVERIFY(lamp && lamp->parentWidget() == status && f.lampLit(n));
        QCOMPARE(lamp->size(), QSize(tw(255), tw(135)));
        if (n % 10) QVERIFY(lamp->x() > f.w(QStringLiteral("sPicture3(%1)").arg(n - 1))->x());
    }
    QCOMPARE(f.text("sLabel2"), QStringLiteral("ソルメア"));
    QCOMPARE(f.label("sLabel2")->font().pixelSize(), 22); // 16.8 points: a title of 9 characters or fewer
    QCOMPARE(f.text("sLabel7"), QStringLiteral("やまだ　はなこ"));
    QCOMPARE(f.text("sLabel8"), QStringLiteral("＋－"));
    QCOMPARE(f.text("sLabel14"), QStringLiteral("テスト教室"));
    QCOMPARE(f.text("sLabel13"), QStringLiteral("5"));
    QCOMPARE(f.text("sLabel9"), QStringLiteral("10"));
    QCOMPARE(f.text("sLabel10"), QStringLiteral("0"));
    QCOMPARE(f.text("sLabel16(0)") + f.text("sLabel16(1)"), QStringLiteral("起動後分"));
    QCOMPARE(f.text("sLabel16(4)"), QStringLiteral("このレベル"));
    QVERIFY(!f.w("sPicture2")->isVisibleTo(f.drill));
    QCOMPARE(f.w("sPicture2")->geometry(), QRect(0, 0, 1024, 768));
    QCOMPARE(f.text("lblsss1"), QStringLiteral("成績記録中"));
    QCOMPARE(f.text("lblsss2"), QStringLiteral("時間切れ"));
    // Every number the generator can give each box keeps its ink 10 px clear
    // of the box's edges, where the blanks' frames begin.
    for (int n = 0; n <= kLargestResult; ++n) {
        const int operand = std::clamp(n, kOperandMin, kOperandMax);
        f.drill->showProblem({operand, operand, operand, n, 0});
        for (int i = n == operand ? 1 : 4; i <= 4; ++i) {
            const QImage ink = f.label(QStringLiteral("LblDD3(%1)").arg(i))->grab().toImage();
            int left = ink.width(), right = -1;
            for (int y = 0; y < ink.height(); ++y)
                for (int x = 0; x < ink.width(); ++x)
                    if (qGray(ink.pixel(x, y)) < 128) left = std::min(left, x), right = std::max(right, x);
            QVERIFY2(left >= 10 && right < ink.width() - 10, qPrintable(QStringLiteral("%1 in box %2").arg(n).arg(i)));
        }
    }
    // A problem is on screen and the answer button holds the focus.
    QVERIFY(!f.text("LblDD3(4)").isEmpty());
    QVERIFY(f.blank(1)->text().isEmpty() && f.blank(2)->text().isEmpty());
    QCOMPARE(f.drill->focusWidget(), f.answerButton());
}

void TestDrillScreen::pressingFillsTheFirstEmptyBlank()
{
    DrillFixture f;
    f.open();
    expose(f);
    QTest::mouseClick(f.op(2), Qt::LeftButton);
    QCOMPARE(f.blank(1)->text(), QStringLiteral("－"));
    QVERIFY(f.blank(2)->text().isEmpty());
    QTest::mouseClick(f.op(4), Qt::RightButton); // any button
    QCOMPARE(f.blank(2)->text(), QStringLiteral("÷"));
    QTest::mouseClick(f.op(1), Qt::LeftButton); // third press: no blank left
    QCOMPARE(f.blank(1)->text(), QStringLiteral("－"));
    QCOMPARE(f.blank(2)->text(), QStringLiteral("÷"));
    QTest::mouseClick(f.w(QStringLiteral("LblDD5")), Qt::LeftButton);
    QVERIFY(f.blank(1)->text().isEmpty() && f.blank(2)->text().isEmpty());
    // The blanks themselves do nothing when pressed.
    QTest::mouseClick(f.blank(1), Qt::LeftButton);
    QVERIFY(f.blank(1)->text().isEmpty());
}

void TestDrillScreen::doubleClickFillsTwo()
{
    DrillFixture f;
    f.open();
    expose(f);
    QTest::mouseDClick(f.op(3), Qt::LeftButton);
    QCOMPARE(f.blank(1)->text(), QStringLiteral("×"));
    QCOMPARE(f.blank(2)->text(), QStringLiteral("×"));
}

void TestDrillScreen::dragAndDropReplacesTheBlank()
{
    DrillFixture f;
    f.open();
    expose(f);
    QWindow* win = f.stage.windowHandle();
    QLabel* source = f.op(3);
    const QPoint from = source->mapTo(&f.stage, source->rect().center());
    const QPoint to = f.blank(2)->mapTo(&f.stage, f.blank(2)->rect().center());

    // First a drop on a filled blank: it is replaced.
    QTest::mouseClick(f.op(1), Qt::LeftButton);
    QTest::mouseClick(f.op(1), Qt::LeftButton);
    QCOMPARE(f.blank(2)->text(), QStringLiteral("＋"));
    QTest::mouseClick(f.w(QStringLiteral("LblDD5")), Qt::LeftButton);
    QVERIFY(f.blank(1)->text().isEmpty());

    // exec() blocks from the first move until the release, so the rest of the
    // gesture comes from timers inside the drag's own event loop.
    int steps = 0;
    QTimer::singleShot(150, f.drill, [&] {
        QTest::mouseMove(win, (from + to) / 2);
        ++steps;
    });
    QTimer::singleShot(300, f.drill, [&] {
        QTest::mouseMove(win, to + QPoint(3, 0));
        ++steps;
    });
    QTimer::singleShot(450, f.drill, [&] {
        QTest::mouseMove(win, to);
        ++steps;
    });
    QTimer::singleShot(600, f.drill, [&] {
        QTest::mouseRelease(win, Qt::LeftButton, {}, to);
        ++steps;
    });
    QTest::mousePress(win, Qt::LeftButton, {}, from);
    QCOMPARE(f.blank(1)->text(), QStringLiteral("×")); // the press filled blank 1 first
    QTest::mouseMove(win, from + QPoint(20, 8));       // starts the drag
    QTRY_COMPARE(steps, 4);
    QCOMPARE(f.blank(1)->text(), QStringLiteral("×"));
    QCOMPARE(f.blank(2)->text(), QStringLiteral("×"));
}

void TestDrillScreen::dragEndsWithTheRun()
{
    DrillFixture f;
    f.open();
    expose(f);
    QWindow* win = f.stage.windowHandle();
    QLabel* source = f.op(2);
    const QPoint from = source->mapTo(&f.stage, source->rect().center());
    const QPoint over = f.blank(1)->mapTo(&f.stage, f.blank(1)->rect().center());

    // The tenth right answer comes from the keyboard while the pupil still
    // holds a tile; the mouse is released only much later, if at all.
    bool released = false, endedWhileHeld = false;
    QTimer::singleShot(150, f.drill, [&] { QTest::mouseMove(win, over); });
    QTimer::singleShot(300, f.drill, [&] {
        f.s.run.correctCount = 9;
        const auto [a, b] = operatorsFor(f.drill->problem());
        f.drill->clearBlanks();
        f.drill->operatorPressed(DrillFixture::opIndex(a));
        f.drill->operatorPressed(DrillFixture::opIndex(b));
        f.drill->submitAnswer();
    });
    QTimer::singleShot(3000, &f.stage, [&] {
        released = true;
        QTest::mouseRelease(win, Qt::LeftButton, {}, over);
    });
    QTest::mousePress(win, Qt::LeftButton, {}, from);
    QTest::mouseMove(win, from + QPoint(20, 8)); // starts the drag; returns when it ends
    endedWhileHeld = !released;
    QVERIFY(endedWhileHeld);
    QCOMPARE(f.currentScreen(), QStringLiteral("FrmSyuuryou"));
    QTRY_VERIFY(released);
}

void TestDrillScreen::foreignDropsAreRefused()
{
    DrillFixture f;
    f.open();
    expose(f);
    QLabel* b = f.blank(2);
    const QPoint at = b->rect().center();

    QMimeData text;
    text.setText(QStringLiteral("×"));
    QDragEnterEvent enter(at, Qt::CopyAction, &text, Qt::LeftButton, {});
    QCoreApplication::sendEvent(b, &enter);
    QVERIFY(!enter.isAccepted());

    // Our own type, but not from this screen's operator labels (another
    // program imitating it): refused too.
    QMimeData forged;
    forged.setData(QStringLiteral("application/x-solmea-operator"), "3");
    QDropEvent drop(at, Qt::CopyAction, &forged, Qt::LeftButton, {});
    QCoreApplication::sendEvent(b, &drop);
    QVERIFY(!drop.isAccepted());
    QVERIFY(b->text().isEmpty());
}

void TestDrillScreen::judging_data()
{
    QTest::addColumn<int>("n1");
    QTest::addColumn<int>("n2");
    QTest::addColumn<int>("n3");
    QTest::addColumn<int>("r");
    QTest::addColumn<Op>("op1");
    QTest::addColumn<Op>("op2");
    QTest::addColumn<bool>("right");
    QTest::addColumn<QString>("shown");
    QTest::newRow("2+3-5=0 right") << 2 << 3 << 5 << 0 << Op::Plus << Op::Minus << true << "0";
    QTest::newRow("2-3+5 shows 4") << 2 << 3 << 5 << 0 << Op::Minus << Op::Plus << false << "4";
    QTest::newRow("2x3-5 shows 1") << 2 << 3 << 5 << 0 << Op::Times << Op::Minus << false << "1";
    QTest::newRow("6/2x3=9 right") << 6 << 2 << 3 << 9 << Op::Divide << Op::Times << true << "9";
    QTest::newRow("4-2-2=0 right") << 4 << 2 << 2 << 0 << Op::Minus << Op::Minus << true << "0";
    QTest::newRow("4/2-2=0 right too") << 4 << 2 << 2 << 0 << Op::Divide << Op::Minus << true << "0";
    QTest::newRow("10/4+2 shows 4.5") << 10 << 4 << 2 << 7 << Op::Divide << Op::Plus << false << "4.5";
    QTest::newRow("7/3+2 shows 4.33") << 7 << 3 << 2 << 9 << Op::Divide << Op::Plus << false << "4.33";
    QTest::newRow("2+3/10 shows 2.3, not 2.29") << 2 << 3 << 10 << 5 << Op::Plus << Op::Divide << false << "2.3";
    QTest::newRow("2/10-9 shows -8.8") << 2 << 10 << 9 << 0 << Op::Divide << Op::Minus << false << "-8.8";
    QTest::newRow("2/3-5 floors to -4.34") << 2 << 3 << 5 << 0 << Op::Divide << Op::Minus << false << "-4.34";
    QTest::newRow("second blank empty shows ---") << 2 << 3 << 5 << 5 << Op::Plus << Op::None << false << "---";
    QTest::newRow("both blanks empty shows ---") << 2 << 3 << 5 << 0 << Op::None << Op::None << false << "---";
}

void TestDrillScreen::judging()
{
    QFETCH(int, n1);
    QFETCH(int, n2);
    QFETCH(int, n3);
    QFETCH(int, r);
    QFETCH(Op, op1);
    QFETCH(Op, op2);
    QFETCH(bool, right);
    QFETCH(QString, shown);
    DrillFixture f;
    f.open();
    expose(f);
    f.s.run.correctCount = 3;
    f.drill->showProblem({n1, n2, n3, r, 0});
    f.t.sound.commands.clear();
    f.t.clock.advanceMs(1000); // an answer left empty a second on is judged
    f.place(op1, op2);
    QTest::mouseClick(f.answerButton(), Qt::LeftButton);

    QCOMPARE(f.text("Label1"), shown);
    QCOMPARE(f.s.run.judgement, Judgement::None);
    QCOMPARE(f.t.sound.commands.size(), 1);
    if (right) {
        QCOMPARE(f.s.run.correctCount, 4);
        QCOMPARE(f.text("sLabel9"), QStringLiteral("6"));
        QVERIFY2(f.t.sound.commands[0].contains(QStringLiteral("seikai")), qPrintable(f.t.sound.commands[0]));
        // The next problem, blanks empty, O.K. back.
        QVERIFY(f.blank(1)->text().isEmpty() && f.blank(2)->text().isEmpty());
        QVERIFY(f.answerButton()->isVisible());
        QVERIFY(!f.w("Label1")->isVisible());
        return;
    }
    QCOMPARE(f.s.run.correctCount, 2);
    QCOMPARE(f.text("sLabel9"), QStringLiteral("8"));
    QVERIFY2(f.t.sound.commands[0].contains(QStringLiteral("machigai")), qPrintable(f.t.sound.commands[0]));
    // The review state.
    QVERIFY(f.w("Label1")->isVisible() && f.w("Label3")->isVisible());
    QVERIFY(f.continueButton()->isVisible() && !f.answerButton()->isVisible());
    QCOMPARE(f.drill->focusWidget(), f.continueButton());
    for (int i = 1; i <= 4; ++i) QVERIFY(!f.op(i)->isEnabled());
    QVERIFY(!f.w("LblDD5")->isEnabled());
    const QString before1 = f.blank(1)->text();
    QTest::mouseClick(f.op(1), Qt::LeftButton); // a disabled operator does nothing
    QCOMPARE(f.blank(1)->text(), before1);

    // O.K. again: the same problem, ready for another try.
    QTest::mouseClick(f.continueButton(), Qt::LeftButton);
    QVERIFY(!f.w("Label1")->isVisible() && !f.w("Label3")->isVisible() && !f.continueButton()->isVisible());
    QVERIFY(f.answerButton()->isVisible());
    QCOMPARE(f.drill->focusWidget(), f.answerButton());
    for (int i = 1; i <= 4; ++i) QVERIFY(f.op(i)->isEnabled());
    QVERIFY(f.w("LblDD5")->isEnabled());
    QVERIFY(f.blank(1)->text().isEmpty() && f.blank(2)->text().isEmpty());
    QCOMPARE(f.text("LblDD3(1)") + f.text("LblDD3(2)") + f.text("LblDD3(3)") + f.text("LblDD3(4)"),
             QString::number(n1) + QString::number(n2) + QString::number(n3) + QString::number(r));
    QCOMPARE(f.s.run.correctCount, 2);
}

void TestDrillScreen::countNeverBelowZero()
{
    DrillFixture f;
    f.open();
    expose(f);
    for (int k = 0; k < 2; ++k) {
        f.answer(false);
        QCOMPARE(f.s.run.correctCount, 0);
        QCOMPARE(f.text("sLabel9"), QStringLiteral("10"));
        QTest::mouseClick(f.continueButton(), Qt::LeftButton);
    }
    f.answer(true);
    QCOMPARE(f.text("sLabel9"), QStringLiteral("9"));
    f.answer(false);
    QCOMPARE(f.text("sLabel9"), QStringLiteral("10"));
}

void TestDrillScreen::tenthRightAnswerEndsTheRun()
{
    DrillFixture f;
    f.open();
    expose(f);
    for (int k = 0; k < 9; ++k) f.answer(true);
    QCOMPARE(f.s.run.correctCount, 9);
    QCOMPARE(f.text("sLabel9"), QStringLiteral("1"));
    f.t.clock.advanceMs(42'300);
    f.drill->runTimerTick(); // 42 s
    const EquationProblem last = f.drill->problem();
    const auto [a, b] = operatorsFor(last);
    f.place(a, b);
    QPointer<DrillScreen> drill = f.drill;
    drill->submitAnswer();

    QCOMPARE(f.s.run.correctCount, 10);
    QCOMPARE(f.s.run.runFinished, true);
    QCOMPARE(f.s.run.endFlowDone, true);
    QVERIFY(!drill->runTimer()->isActive());
    QCOMPARE(drill->problem().n1, last.n1); // no new problem
    QCOMPARE(drill->problem().r, last.r);
    QVERIFY(drill->findChild<QWidget*>("sPicture2")->isVisibleTo(drill));
    QVERIFY(drill->findChild<QWidget*>("lblsss1")->isVisibleTo(drill));
    QVERIFY(!drill->findChild<QWidget*>("lblsss2")->isVisibleTo(drill));
    QCOMPARE(f.s.runScore, 42);
    const auto stored = f.records();
    QCOMPARE(stored.size(), size_t(1));
    QCOMPARE(stored[0].score, 42);
    QCOMPARE(stored[0].level, qint16(1));
    QCOMPARE(stored[0].pupil, qint16(1));
    QVERIFY(f.t.clock.waited >= 1000);
    QCOMPARE(f.currentScreen(), QStringLiteral("FrmSyuuryou"));
}

void TestDrillScreen::keyboard_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("caption");
    QTest::newRow("plus") << int(Qt::Key_Plus) << "+" << 0 << "＋";
    QTest::newRow("minus") << int(Qt::Key_Minus) << "-" << 0 << "－";
    QTest::newRow("asterisk") << int(Qt::Key_Asterisk) << "*" << 0 << "×";
    QTest::newRow("x") << int(Qt::Key_X) << "x" << 0 << "×";
    QTest::newRow("slash") << int(Qt::Key_Slash) << "/" << 0 << "÷";
    QTest::newRow("keypad slash") << int(Qt::Key_Slash) << "/" << int(Qt::KeypadModifier) << "÷";
    QTest::newRow("keypad minus") << int(Qt::Key_Minus) << "-" << int(Qt::KeypadModifier) << "－";
    QTest::newRow("full-width plus") << int(Qt::Key_unknown) << "＋" << 0 << "＋";
    QTest::newRow("kana-mode minus") << int(Qt::Key_unknown) << "ー" << 0 << "－";
    QTest::newRow("a letter does nothing") << int(Qt::Key_A) << "a" << 0 << "";
}

void TestDrillScreen::keyboard()
{
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(int, modifiers);
    QFETCH(QString, caption);
    DrillFixture f;
    f.open();
    expose(f);
    QTest::sendKeyEvent(QTest::Click, f.answerButton(), Qt::Key(key), text, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(f.blank(1)->text(), caption);
    QVERIFY(f.blank(2)->text().isEmpty());
}

void TestDrillScreen::keyboardInReviewAndEnter()
{
    DrillFixture f;
    f.open();
    expose(f);
    f.drill->showProblem({6, 2, 3, 9, 0});
    // An input method commits full-width characters.
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("÷×"));
    QCoreApplication::sendEvent(f.answerButton(), &commit);
    QCOMPARE(f.blank(1)->text() + f.blank(2)->text(), QStringLiteral("÷×"));
    // Backspace erases the current blank, then the one before it.
    QTest::keyClick(f.answerButton(), Qt::Key_Backspace);
    QCOMPARE(f.blank(1)->text() + f.blank(2)->text(), QStringLiteral("÷"));
    QTest::keyClick(f.answerButton(), Qt::Key_Backspace);
    QVERIFY(f.blank(1)->text().isEmpty() && f.blank(2)->text().isEmpty());

    // A wrong answer by keyboard, Enter on O.K.
    QTest::keyClick(f.answerButton(), Qt::Key_Plus);
    QTest::keyClick(f.answerButton(), Qt::Key_Plus);
    QTest::keyClick(f.answerButton(), Qt::Key_Return);
    QCOMPARE(f.text("Label1"), QStringLiteral("11"));
    QVERIFY(f.continueButton()->isVisible());
    // In review only the answer button acts: keys do not touch the blanks.
    QTest::keyClick(f.continueButton(), Qt::Key_Delete);
    QTest::keyClick(f.continueButton(), Qt::Key_Minus);
    QCOMPARE(f.blank(1)->text() + f.blank(2)->text(), QStringLiteral("＋＋"));
    QTest::keyClick(f.continueButton(), Qt::Key_Enter);
    QVERIFY(f.answerButton()->isVisible() && !f.continueButton()->isVisible());

    QTest::keyClick(f.answerButton(), Qt::Key_Slash);
    QTest::keyClick(f.answerButton(), Qt::Key_Asterisk);
    QTest::keyClick(f.answerButton(), Qt::Key_Return);
    QCOMPARE(f.s.run.correctCount, 1);
    QVERIFY(f.answerButton()->isVisible());
}

void TestDrillScreen::answerButtonKeepsTheFocus()
{
    DrillFixture f;
    f.open();
    expose(f);
    f.stage.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.stage));
    QTRY_VERIFY(f.answerButton()->hasFocus());
    f.answerButton()->clearFocus();
    QTRY_VERIFY(f.answerButton()->hasFocus());

    f.answer(false);
    QTRY_VERIFY(f.continueButton()->hasFocus());
    f.continueButton()->clearFocus();
    QTRY_VERIFY(f.continueButton()->hasFocus());
}

QTEST_MAIN(TestDrillScreen)
#include "test_drill_screen.moc"
