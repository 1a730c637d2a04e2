#include "drill/operator_input.h"
#include "drill/run_rules.h"

#include <QTest>

class TestDrillRules : public QObject {
    Q_OBJECT
private slots:
    void runClock_data();
    void runClock();
    void signInMinutes_data();
    void signInMinutes();
    void lamps_data();
    void lamps();
    void passRowGoesOutOnePerSecond();
    void bar_data();
    void bar();
    void keys_data();
    void keys();
    void entry_data();
    void entry();
    void keysWhileReviewingOrHeld_data();
    void keysWhileReviewingOrHeld();
    void heldKeys_data();
    void heldKeys();
    void emptyAnswerSoonAfterTheProblem_data();
    void emptyAnswerSoonAfterTheProblem();
};

Q_DECLARE_METATYPE(Op)

void TestDrillRules::runClock_data()
{
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("now");
    QTest::addColumn<int>("elapsed");
    QTest::newRow("same moment") << 36000.0 << 36000.0 << 0;
    QTest::newRow("37.4 s reads 37") << 36000.0 << 36037.4 << 37;
    QTest::newRow("37.8 s reads 38") << 36000.0 << 36037.8 << 38;
    QTest::newRow("half a second rounds up") << 36000.0 << 36001.5 << 2;
    QTest::newRow("across midnight") << 86390.0 << 5.0 << 15;
    QTest::newRow("just after midnight") << 86399.5 << 0.2 << 1;
    QTest::newRow("five minutes across midnight") << 86390.0 << 290.0 << 300;
}

void TestDrillRules::runClock()
{
    QFETCH(double, start);
    QFETCH(double, now);
    QFETCH(int, elapsed);
    QCOMPARE(elapsedRunSeconds(start, now), elapsed);
}

void TestDrillRules::signInMinutes_data()
{
    QTest::addColumn<double>("now");
    QTest::addColumn<int>("confirmed");
    QTest::addColumn<int>("minutes");
    QTest::newRow("59.9 s is 0 minutes") << 36059.9 << 36000 << 0;
    QTest::newRow("600 s is 10 minutes") << 36600.0 << 36000 << 10;
    QTest::newRow("599.99 s is 9 minutes") << 36599.99 << 36000 << 9;
    QTest::newRow("signed in before midnight") << 400.0 << 86000 << 13;
}

void TestDrillRules::signInMinutes()
{
    QFETCH(double, now);
    QFETCH(int, confirmed);
    QFETCH(int, minutes);
    QCOMPARE(minutesSinceSignIn(now, confirmed), minutes);
}

static QList<int> items(quint64 mask)
{
    QList<int> out;
    for (int n = 0; n < 64; ++n)
        if (mask & (quint64(1) << n)) out << n;
    return out;
}

void TestDrillRules::lamps_data()
{
    QTest::addColumn<int>("elapsed");
    QTest::addColumn<int>("target");
    QTest::addColumn<int>("second");
    QTest::addColumn<QList<int>>("out");
    QTest::newRow("40 s, ten before the target: all lit") << 40 << 50 << 60 << QList<int>{};
    QTest::newRow("41 s: first lamp") << 41 << 50 << 60 << QList<int>{30};
    QTest::newRow("44 s after a skipped tick: catches up") << 44 << 50 << 60 << QList<int>{30, 31, 32, 33};
    QTest::newRow("at the target: whole row") << 50 << 50 << 60 << QList<int>{30, 31, 32, 33, 34, 35, 36, 37, 38, 39};
    QTest::newRow("past the target: second-time rule only") << 55 << 50 << 60 << QList<int>{34};
    QTest::newRow("at the second time: last lamp") << 60 << 50 << 60 << QList<int>{39};
    QTest::newRow("past both: nothing") << 61 << 50 << 60 << QList<int>{};
    QTest::newRow("target 5, first tick") << 1 << 5 << 60 << QList<int>{30, 31, 32, 33, 34, 35};
    QTest::newRow("second time alone puts out its lamp") << 25 << 10 << 30 << QList<int>{34};
}

void TestDrillRules::lamps()
{
    QFETCH(int, elapsed);
    QFETCH(int, target);
    QFETCH(int, second);
    QFETCH(QList<int>, out);
    LampThresholds t;
    t.targetTime = target;
    t.secondTime = second;
    QCOMPARE(items(lampsToHide(elapsed, t)), out);
}

void TestDrillRules::passRowGoesOutOnePerSecond()
{
    // Lamps once out stay out: accumulate as the screen does. The Best and
    // YourBest rows have no time to follow and stay lit.
    LampThresholds t;
    t.targetTime = 50;
    t.secondTime = 60;
    quint64 out = 0;
    for (int e = 0; e <= 300; ++e) {
        out |= lampsToHide(e, t);
        for (int n = 10; n <= 29; ++n) QVERIFY(!(out & (quint64(1) << n)));
        for (int n = 30; n <= 39; ++n)
            QCOMPARE(bool(out & (quint64(1) << n)), e >= 41 + (n - 30));
    }
}

void TestDrillRules::bar_data()
{
    QTest::addColumn<int>("elapsed");
    QTest::addColumn<double>("width");
    // Track 7800 twips for 300 s: 26 twips a second.
    QTest::newRow("start") << 0 << 0.0;
    QTest::newRow("half way") << 150 << 3900.0;
    QTest::newRow("one second before the limit") << 299 << 7774.0;
    QTest::newRow("at the limit: full track") << 300 << 7800.0;
    QTest::newRow("beyond the limit: full track") << 420 << 7800.0;
}

void TestDrillRules::bar()
{
    QFETCH(int, elapsed);
    QFETCH(double, width);
    QCOMPARE(elapsedBarWidth(elapsed, 300, 7800.0 / 300, 7800), width);
}

void TestDrillRules::keys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Op>("op");
    QTest::newRow("plus") << int(Qt::Key_Plus) << "+" << Op::Plus;
    QTest::newRow("minus") << int(Qt::Key_Minus) << "-" << Op::Minus;
    QTest::newRow("asterisk") << int(Qt::Key_Asterisk) << "*" << Op::Times;
    QTest::newRow("letter x") << int(Qt::Key_X) << "x" << Op::Times;
    QTest::newRow("capital X") << int(Qt::Key_X) << "X" << Op::Times;
    QTest::newRow("slash") << int(Qt::Key_Slash) << "/" << Op::Divide;
    QTest::newRow("keypad key without text") << int(Qt::Key_Asterisk) << "" << Op::Times;
    QTest::newRow("full-width plus") << 0 << "＋" << Op::Plus;
    QTest::newRow("full-width minus") << 0 << "－" << Op::Minus;
    QTest::newRow("kana-mode minus key") << 0 << "ー" << Op::Minus;
    QTest::newRow("full-width asterisk") << 0 << "＊" << Op::Times;
    QTest::newRow("times sign") << 0 << "×" << Op::Times;
    QTest::newRow("full-width slash") << 0 << "／" << Op::Divide;
    QTest::newRow("kana-mode slash key") << 0 << "・" << Op::Divide;
    QTest::newRow("division sign") << 0 << "÷" << Op::Divide;
    QTest::newRow("digit is no operator") << int(Qt::Key_5) << "5" << Op::None;
    QTest::newRow("letter a is no operator") << int(Qt::Key_A) << "a" << Op::None;
    QTest::newRow("equals is no operator") << int(Qt::Key_Equal) << "=" << Op::None;
}

void TestDrillRules::keys()
{
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(Op, op);
    QCOMPARE(operatorForKey(key, text), op);
}

namespace {
// One step of a script: a key by name ("+", "space", "shift+left", "kp/",
// "held+"), a press on an operator label ("mouse×") or a drop ("drop2÷").
BlankEntry step(const BlankEntry& e, const QString& token)
{
    if (token.startsWith(u"mouse")) return fillFirstEmpty(e, opFromText(token.mid(5)));
    if (token.startsWith(u"drop")) return dropOn(e, token.mid(4, 1).toInt() - 1, opFromText(token.mid(5)));
    const bool held = token.startsWith(u"held");
    QString name = held ? token.mid(4) : token;
    Qt::KeyboardModifiers mods;
    if (name.startsWith(u"shift+")) mods |= Qt::ShiftModifier, name = name.mid(6);
    if (name.startsWith(u"kp")) mods |= Qt::KeypadModifier, name = name.mid(2);
    static const QHash<QString, int> named = {
        {QStringLiteral("space"), Qt::Key_Space},       {QStringLiteral("right"), Qt::Key_Right},
        {QStringLiteral("left"), Qt::Key_Left},         {QStringLiteral("up"), Qt::Key_Up},
        {QStringLiteral("down"), Qt::Key_Down},         {QStringLiteral("delete"), Qt::Key_Delete},
        {QStringLiteral("backspace"), Qt::Key_Backspace}, {QStringLiteral("return"), Qt::Key_Return}};
    const int key = named.value(name, name.size() == 1 && name.at(0).unicode() < 128 ? name.at(0).toUpper().unicode() : 0);
    const QString text = named.contains(name) ? QString() : name;
    return applyKey(e, actionForKey(key, mods, text, false, held));
}
} // namespace

void TestDrillRules::entry_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("blanks"); // both captions, "_" for an empty blank
    QTest::addColumn<int>("current");
    QTest::newRow("an operator fills the first blank and moves on") << "+" << "＋_" << 1;
    QTest::newRow("with both filled the frame stays") << "+ -" << "＋－" << 1;
    QTest::newRow("a third operator replaces the current one") << "+ - *" << "＋×" << 1;
    QTest::newRow("space moves to the next blank") << "space" << "__" << 1;
    QTest::newRow("space from the second goes back to the first") << "space space" << "__" << 0;
    QTest::newRow("the second first, then back to the empty first") << "right /" << "_÷" << 0;
    QTest::newRow("left, up and down each lead to the other blank") << "+ left up down" << "＋_" << 0;
    QTest::newRow("delete erases the current blank only") << "+ - delete" << "＋_" << 1;
    QTest::newRow("shift with an arrow erases and moves") << "+ - shift+left" << "＋_" << 0;
    QTest::newRow("shift+right from the first") << "+ - left shift+right" << "_－" << 1;
    QTest::newRow("backspace erases a filled current blank") << "+ - backspace" << "＋_" << 1;
    QTest::newRow("backspace on an empty second erases the first") << "+ backspace" << "__" << 0;
    QTest::newRow("backspace on an empty first does nothing") << "right + backspace" << "_＋" << 0;
    QTest::newRow("the mouse fills the first empty blank") << "right mouse×" << "×_" << 1;
    QTest::newRow("the mouse with both filled does nothing") << "+ - mouse÷" << "＋－" << 1;
    QTest::newRow("a drop on the current blank moves on") << "drop1×" << "×_" << 1;
    QTest::newRow("a drop on the other blank keeps the frame") << "drop2×" << "_×" << 0;
    QTest::newRow("keypad and full-width characters") << "kp/ ＋" << "÷＋" << 1;
    QTest::newRow("Enter and letters leave the blanks") << "+ return a" << "＋_" << 1;
    QTest::newRow("a key held down fills once") << "+ held+ held+" << "＋_" << 1;
    QTest::newRow("a held arrow moves once") << "right heldright" << "__" << 1;
}

void TestDrillRules::entry()
{
    QFETCH(QString, script);
    QFETCH(QString, blanks);
    QFETCH(int, current);
    BlankEntry e;
    for (const QString& token : script.split(u' ')) e = step(e, token);
    auto caption = [](Op op) { return op == Op::None ? QStringLiteral("_") : opText(op); };
    QCOMPARE(caption(e.blanks[0]) + caption(e.blanks[1]), blanks);
    QCOMPARE(e.current, current);
}

void TestDrillRules::keysWhileReviewingOrHeld_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("reviewing");
    QTest::addColumn<bool>("held");
    QTest::addColumn<int>("action");
    const int answer = int(EntryAction::Answer), next = int(EntryAction::Next), go = int(EntryAction::Continue);
    const int none = int(EntryAction::None);
    QTest::newRow("Enter answers") << int(Qt::Key_Return) << "\r" << false << false << answer;
    QTest::newRow("keypad Enter answers") << int(Qt::Key_Enter) << "\r" << false << false << answer;
    QTest::newRow("Space moves, it does not answer") << int(Qt::Key_Space) << " " << false << false << next;
    QTest::newRow("Space after a wrong answer continues") << int(Qt::Key_Space) << " " << true << false << go;
    QTest::newRow("Enter after a wrong answer continues") << int(Qt::Key_Return) << "\r" << true << false << go;
    QTest::newRow("an operator after a wrong answer does nothing") << int(Qt::Key_Plus) << "+" << true << false << none;
    QTest::newRow("Delete after a wrong answer does nothing") << int(Qt::Key_Delete) << "" << true << false << none;
    QTest::newRow("a held Enter answers once") << int(Qt::Key_Return) << "\r" << false << true << none;
    QTest::newRow("a held Space continues once") << int(Qt::Key_Space) << " " << true << true << none;
}

void TestDrillRules::keysWhileReviewingOrHeld()
{
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(bool, reviewing);
    QFETCH(bool, held);
    QFETCH(int, action);
    QCOMPARE(int(actionForKey(key, Qt::NoModifier, text, reviewing, held).action), action);
}

void TestDrillRules::heldKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("at"); // the press, after Enter was let go at 500 ms
    QTest::addColumn<bool>("flagged");
    QTest::addColumn<bool>("repeat");
    QTest::newRow("flagged by the window system") << int(Qt::Key_Return) << 900 << true << true;
    QTest::newRow("a press at the instant of the release") << int(Qt::Key_Return) << 500 << false << true;
    QTest::newRow("a press a moment later is fresh") << int(Qt::Key_Return) << 501 << false << false;
    QTest::newRow("another key at that instant is fresh") << int(Qt::Key_Space) << 500 << false << false;
}

void TestDrillRules::heldKeys()
{
    QFETCH(int, key);
    QFETCH(int, at);
    QFETCH(bool, flagged);
    QFETCH(bool, repeat);
    HeldKeys keys;
    keys.released(Qt::Key_Return, 500);
    QCOMPARE(keys.isRepeat(key, quint64(at), flagged), repeat);
}

void TestDrillRules::emptyAnswerSoonAfterTheProblem_data()
{
    QTest::addColumn<bool>("filled");
    QTest::addColumn<int>("ms");
    QTest::addColumn<bool>("dropped");
    QTest::newRow("empty at once") << false << 0 << true;
    QTest::newRow("empty after 0.999 s") << false << 999 << true;
    QTest::newRow("empty after 1 s is judged") << false << 1000 << false;
    QTest::newRow("one blank filled at once is judged") << true << 100 << false;
}

void TestDrillRules::emptyAnswerSoonAfterTheProblem()
{
    QFETCH(bool, filled);
    QFETCH(int, ms);
    QFETCH(bool, dropped);
    BlankEntry e;
    if (filled) e = fillFirstEmpty(e, Op::Plus);
    QCOMPARE(dropsAnswerPress(e, ms), dropped);
}

QTEST_APPLESS_MAIN(TestDrillRules)
#include "test_drill_rules.moc"
