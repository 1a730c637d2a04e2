#include "drill/drill_screen.h"

#include "base/text_util.h"
#include "base/twips.h"
#include "drill/operator_input.h"
#include "drill/operator_labels.h"
#include "drill/run_rules.h"
#include "records/record_file.h"
#include "records/scores.h"
#include "sound/cues.h"
#include "state/catalogue.h"
#include "ui/fitted_text.h"
#include "ui/fonts.h"
#include "ui/stage.h"

#include <QCoreApplication>
#include <QDrag>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <limits>

namespace {
constexpr int kScreenWidth = 15360;
constexpr int kScreenHeight = 11520;
constexpr int kStatusHeight = 2160;
// The time-bar track, in twips on the status panel.
constexpr int kTrackLeft = 240, kTrackTop = 1440, kTrackWidth = 7800, kTrackHeight = 300;
constexpr int kLampLeft = 9780, kLampPitch = 375, kLampWidth = 255, kLampHeight = 135;
constexpr int kLampRowTop[3] = {1350, 1620, 1890}; // Best, YourBest, Pass

const QString kLightGreen = QStringLiteral("#c0ffc0");
// The blank the keyboard writes into wears a thick orange frame.
const QString kBlankStyle = QStringLiteral("background-color: #c0ffc0; border: 2px solid #404040;");
const QString kCurrentBlankStyle = QStringLiteral("background-color: #c0ffc0; border: 7px solid #ff6a00;");
// Room kept between a number's ink and the edges of its box.
constexpr int kNumberMargin = 10;

QString css(const QString& background, const QString& extra = {})
{
    return QStringLiteral("background-color: %1; %2").arg(background, extra);
}

QLabel* label(QWidget* parent, const QString& name, const QString& text, QRect geometry, const QFont& font,
              Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter)
{
    auto* l = Screen::make<QLabel>(parent, name, geometry, font);
    l->setAlignment(align);
    l->setTextFormat(Qt::PlainText);
    l->setText(text);
    return l;
}

QFrame* shape(QWidget* parent, const QString& name, const QString& style)
{
    auto* f = new QFrame(parent);
    f->setObjectName(name);
    // By type, not by name: "(" in an item's name is no selector character.
    f->setStyleSheet(QStringLiteral("QFrame { %1 }").arg(style));
    return f;
}

// Whether the level's run is timed (and stored); false for a level out of the table.
bool levelIsTimed(const std::array<qint16, kLevelCount>& levelTimed, int level)
{
    return level >= 0 && level < kLevelCount && levelTimed[level] == 1;
}
} // namespace

DrillScreen::DrillScreen(App& app) : Screen(app, QStringLiteral("MainFrm"))
{
    setWindowTitle(state().contentTitle);
    runTimer_ = new QTimer(this);
    runTimer_->setObjectName(QStringLiteral("sTimer1"));
    runTimer_->setInterval(1000);
    connect(runTimer_, &QTimer::timeout, this, &DrillScreen::runTimerTick);
    signInTimer_ = new QTimer(this);
    signInTimer_->setObjectName(QStringLiteral("sTimer2"));
    signInTimer_->setInterval(10000);
    connect(signInTimer_, &QTimer::timeout, this, &DrillScreen::signInTimerTick);

    buildStatusPanel();
    buildDrillPanel();
    buildCoverPanel();
    load();
}

void DrillScreen::buildStatusPanel()
{
    statusPanel_ = new QFrame(this);
    statusPanel_->setObjectName(QStringLiteral("sPicture1"));
    statusPanel_->setStyleSheet(QStringLiteral("QFrame#sPicture1 { background-color: #dce6f0; }"));
    QWidget* p = statusPanel_;
    const QFont small = designFont(kGothic, 12);
    const QFont big = designFont(kGothic, 20, true);

    const SharedState& s = state();
    title_ = label(p, QStringLiteral("sLabel2"), {}, twRect(120, 90, 2600, 480),
                   designFont(kPGothic, titleFontPoints(int(s.contentTitle.size())), true));
    pupilName_ = label(p, QStringLiteral("sLabel7"), {}, twRect(2820, 90, 3400, 480), designFont(kGothic, 16));
    organisation_ = label(p, QStringLiteral("sLabel14"), {}, twRect(6300, 90, 4100, 480), small);

    const char16_t* captions[6] = {u"起動後", u"分", u"本日", u"回目", u"このレベル", u"回目"};
    const QRect places[6] = {twRect(10500, 90, 1000, 480), twRect(12150, 90, 400, 480),   twRect(10500, 690, 700, 540),
                             twRect(11750, 690, 650, 540), twRect(12450, 690, 1500, 540), twRect(14500, 690, 650, 540)};
    for (int i = 0; i < 6; ++i)
        label(p, QStringLiteral("sLabel16(%1)").arg(i), QString::fromUtf16(captions[i]), places[i], small);
    const Qt::Alignment centred = Qt::AlignCenter;
    minutesSinceSignIn_ = label(p, QStringLiteral("sLabel13"), {}, twRect(11500, 90, 650, 480), small, centred);
    runNumberToday_ = label(p, QStringLiteral("sLabel12"), {}, twRect(11200, 690, 550, 540), small, centred);
    runNumberAtLevel_ = label(p, QStringLiteral("sLabel11"), {}, twRect(13950, 690, 550, 540), small, centred);

    label(p, QStringLiteral("sLabel3"), QStringLiteral("レベル"), twRect(120, 690, 1100, 540), small);
    levelName_ = label(p, QStringLiteral("sLabel8"), {}, twRect(1220, 690, 4300, 540), designFont(kPGothic, 16, true));
    label(p, QStringLiteral("sLabel4"), QStringLiteral("残り"), twRect(5640, 690, 700, 540), small);
    problemsLeft_ = label(p, QStringLiteral("sLabel9"), {}, twRect(6340, 690, 800, 540), big, centred);
    label(p, QStringLiteral("sLabel6"), QStringLiteral("問"), twRect(7140, 690, 500, 540), small);
    label(p, QStringLiteral("sLabel5"), QStringLiteral("タイム"), twRect(7900, 690, 1000, 540), small);
    runTime_ = label(p, QStringLiteral("sLabel10"), {}, twRect(8900, 690, 1300, 540), big,
                     Qt::AlignRight | Qt::AlignVCenter);

    QFrame* track = shape(p, QStringLiteral("sShape5"),
                          QStringLiteral("background-color: white; border: 1px solid #606060;"));
    track->setGeometry(twRect(kTrackLeft, kTrackTop, kTrackWidth, kTrackHeight));
    elapsedBar_ = shape(p, QStringLiteral("sShape2"), QStringLiteral("background-color: #3060d0; border: none;"));
    elapsedBar_->setGeometry(twRect(kTrackLeft, kTrackTop, 0, kTrackHeight));
    // The marks are open frames from the track's left end; their right edges
    // stand at the target time and the second time.
    targetMark_ = shape(p, QStringLiteral("sShape3"),
                        QStringLiteral("background: transparent; border: 2px solid #00a000; border-top: none;"));
    targetMark_->setGeometry(twRect(kTrackLeft, kTrackTop, 0, kTrackHeight + 180));
    secondTimeMark_ = shape(p, QStringLiteral("sShape4"),
                            QStringLiteral("background: transparent; border: 2px solid #c00000; border-top: none;"));
    secondTimeMark_->setGeometry(twRect(kTrackLeft, kTrackTop, 0, kTrackHeight + 330));
    elapsedBar_->raise();
    targetMark_->raise();
    secondTimeMark_->raise();

    // Lamp rows, top to bottom: Best (heading item 1), YourBest (item 0), Pass (item 2).
    const int headingItem[3] = {1, 0, 2};
    const QString headingText[3] = {QStringLiteral("Best"), QStringLiteral("YourBest"), QStringLiteral("Pass")};
    const QString lampColour[3] = {QStringLiteral("#00c000"), QStringLiteral("#808000"), QStringLiteral("#800000")};
    for (int row = 0; row < 3; ++row) {
        const int item = headingItem[row];
        label(p, QStringLiteral("sLabel17(%1)").arg(item), headingText[row],
              twRect(8340, kLampRowTop[row] - 68, 1400, 270), designFont(kGothic, 9),
              Qt::AlignRight | Qt::AlignVCenter);
        for (int k = 0; k < 10; ++k) {
            const int n = 10 * (row + 1) + k;
            const QString name = QStringLiteral("sPicture3(%1)").arg(n);
            lamps_[n] = shape(p, name, css(lampColour[row], QStringLiteral("border: 1px solid #303030;")));
            lamps_[n]->setGeometry(twRect(kLampLeft + k * kLampPitch, kLampRowTop[row], kLampWidth, kLampHeight));
        }
    }
}

void DrillScreen::buildDrillPanel()
{
    drillPanel_ = new QFrame(this);
    drillPanel_->setObjectName(QStringLiteral("Picture2"));
    drillPanel_->setStyleSheet(QStringLiteral("QFrame#Picture2 { background-color: #fffaeb; }"));
    QWidget* p = drillPanel_;
    const QFont big = designFont(kPGothic, 72);
    const QString green = css(kLightGreen);
    const Qt::Alignment centred = Qt::AlignCenter;

    label(p, QStringLiteral("Label2"), QStringLiteral("式を完成しなさい"), twRect(810, 480, 9000, 900),
          designFont(kPGothic, 32, true));

    const int numberLeft[5] = {0, 810, 4380, 7950, 11520};
    for (int i = 1; i <= 4; ++i) {
        numbers_[i] = label(p, QStringLiteral("LblDD3(%1)").arg(i), {},
                            twRect(numberLeft[i], 1800, i == 4 ? 2745 : 1905, 1455), big, centred);
        numbers_[i]->setStyleSheet(green);
    }
    const int blankLeft[3] = {0, 2715, 6285};
    for (int i = 1; i <= 2; ++i) {
        blankLabels_[i] = new BlankLabel(i, p);
        blankLabels_[i]->setGeometry(twRect(blankLeft[i], 1800, 1665, 1455));
        blankLabels_[i]->setFont(big);
        blankLabels_[i]->setAlignment(centred);
        blankLabels_[i]->setStyleSheet(kBlankStyle);
        blankLabels_[i]->acceptsSource = [this](const QObject* source) {
            for (int k = 1; k <= 4; ++k)
                if (source == operators_[k]) return true;
            return false;
        };
        blankLabels_[i]->onDrop = [this](int index, int source) { operatorDropped(index, source); };
    }
    QLabel* equals = label(p, QStringLiteral("LblDD4(4)"), QStringLiteral("＝"), twRect(9855, 1800, 1665, 1455), big,
                           centred);
    equals->setStyleSheet(green);

    const int opLeft[5] = {0, 870, 2655, 4425, 6210};
    const char16_t* opCaption[5] = {u"", u"＋", u"－", u"×", u"÷"};
    for (int i = 1; i <= 4; ++i) {
        auto* l = new OperatorLabel(i, p);
        l->setText(QString::fromUtf16(opCaption[i]));
        l->setGeometry(twRect(opLeft[i], 4740, 1545, 1455));
        l->setFont(big);
        l->setAlignment(centred);
        l->setStyleSheet(QStringLiteral("QLabel { background-color: %1; border: 1px solid #80a080; }"
                                        "QLabel:disabled { color: #a0a0a0; background-color: #e0e8e0; }")
                             .arg(kLightGreen));
        l->setCursor(Qt::OpenHandCursor);
        l->onPress = [this](int index) { operatorPressed(index); };
        l->onDoubleClick = [this](int index) { operatorDoubleClicked(index); };
        operators_[i] = l;
    }

    // A label that acts as the button emptying both blanks.
    clearButton_ = label(p, QStringLiteral("LblDD5"), QStringLiteral("クリア"), twRect(8130, 4740, 1950, 1455),
                         designFont(kPGothic, 28, true), centred);
    clearButton_->setStyleSheet(QStringLiteral("QLabel { background-color: #ffffc0; border: 2px outset #c0c080; }"
                                               "QLabel:disabled { color: #a0a0a0; background-color: #ececdc; }"));
    clearButton_->installEventFilter(this);

    label(p, QStringLiteral("Label4"), QStringLiteral("＋－×÷をマウスで押して"), twRect(870, 6330, 9200, 480),
          designFont(kPGothic, 18));
    label(p, QStringLiteral("Label5"), QStringLiteral("（Dｒａｇ&Dropもできます）"), twRect(870, 6810, 9200, 480),
          designFont(kPGothic, 18));

    // Shown after a wrong answer: the value the pupil's operators give.
    answerCaption_ = label(p, QStringLiteral("Label3"), QStringLiteral("あなたの答えは"),
                           twRect(10500, 4500, 4350, 540), designFont(kPGothic, 20, true));
    answerValue_ = label(p, QStringLiteral("Label1"), {}, twRect(10500, 5070, 4350, 1260),
                         designFont(kPGothic, 48, true), centred);
    answerValue_->setStyleSheet(css(QStringLiteral("#ffc0c0")));
    answerCaption_->hide();
    answerValue_->hide();

    // The answer button, and the one that leaves a wrong answer's review.
    continueButton_ = new QPushButton(QStringLiteral("O.K."), p);
    continueButton_->setObjectName(QStringLiteral("Command1"));
    continueButton_->setGeometry(twRect(10500, 6450, 4350, 900));
    continueButton_->setFont(designFont(kPGothic, 24, true));
    continueButton_->hide();
    answerButton_ = new QPushButton(QStringLiteral("O.K."), p);
    answerButton_->setObjectName(QStringLiteral("Command5"));
    answerButton_->setGeometry(twRect(810, 7560, 13455, 1200));
    answerButton_->setFont(designFont(kPGothic, 32, true));
    for (QPushButton* b : {continueButton_, answerButton_}) {
        // Enter presses the visible answer button, as in a dialog.
        b->setAutoDefault(true);
        b->setAttribute(Qt::WA_InputMethodEnabled);
        b->installEventFilter(this);
    }
    connect(answerButton_, &QPushButton::clicked, this, &DrillScreen::submitAnswer);
    connect(continueButton_, &QPushButton::clicked, this, &DrillScreen::backToCorrecting);
    fitEquationFont();
}

void DrillScreen::fitEquationFont()
{
    // Each number box gets the largest size up to the design's 72 points at
    // which the widest number it can be given keeps clear of the blanks.
    for (int i = 1; i <= 4; ++i) {
        QLabel* box = numbers_[i];
        const bool result = i == 4;
        QStringList texts;
        for (int n = result ? 0 : kOperandMin; n <= (result ? kLargestResult : kOperandMax); ++n)
            texts << QString::number(n);
        QFont font;
        for (double points = 72; points >= 24; points -= 2) {
            font = designFont(kPGothic, points);
            const QFontMetrics metrics(font);
            int widest = 0;
            for (const QString& t : texts) widest = std::max(widest, metrics.horizontalAdvance(t));
            if (widest + 2 * kNumberMargin <= box->width()) break;
        }
        box->setFont(font);
    }
}

void DrillScreen::buildCoverPanel()
{
    cover_ = new QFrame(this);
    cover_->setObjectName(QStringLiteral("sPicture2"));
    cover_->setStyleSheet(QStringLiteral("QFrame#sPicture2 { background-color: #e8f0ff; }"));
    cover_->setGeometry(twRect(0, 0, kScreenWidth, kScreenHeight));
    // Above the middle, where the wait screen will not hide it.
    const QRect middle = twRect(0, 2400, kScreenWidth, 1800);
    storingNotice_ = label(cover_, QStringLiteral("lblsss1"), QStringLiteral("成績記録中"), middle,
                           designFont(kPGothic, 60, true), Qt::AlignCenter);
    timeUpNotice_ = label(cover_, QStringLiteral("lblsss2"), QStringLiteral("時間切れ"), middle,
                          designFont(kPGothic, 60, true), Qt::AlignCenter);
    timeUpNotice_->setStyleSheet(QStringLiteral("color: #c00000;"));
    cover_->hide();
}

// ---- Loading and showing -------------------------------------------------

void DrillScreen::load()
{
    // One seeding per load, from the day clock.
    state().random.seed(std::uint32_t(services().clock.now().time().msecsSinceStartOfDay()));
    statusPanel_->setGeometry(twRect(0, 0, kScreenWidth, kStatusHeight));
    cover_->move(0, 0);
    drillPanel_->setGeometry(twRect(0, kStatusHeight, kScreenWidth, kScreenHeight - kStatusHeight));
    cover_->raise();
    signInTimer_->start();
}

void DrillScreen::formActivate()
{
    setUpRun();
    setProblemsPerRun();
    startRunTimer();
    nextProblem();
}

void DrillScreen::setUpRun()
{
    SharedState& s = state();
    RunState& run = s.run;
    app().stage.unloadWaitScreen();
    run.runFinished = false;
    run.endFlowDone = false;
    run.judgement = Judgement::None;

    const LevelRow& row = s.levelTable[qBound(0, int(s.currentLevel), kLevelCount - 1)];
    if (levelIsTimed(s.levelTimed, s.currentLevel)) {
        // In 64 bits: the level table may hold any 32-bit second time, and a
        // limit that wrapped below zero would end the run at its first tick.
        run.runTimeLimit = qint32(std::clamp<qint64>(5 * qint64(row.secondTime), std::numeric_limits<qint32>::min(),
                                                     std::numeric_limits<qint32>::max()));
        runTime_->setText(QStringLiteral("0"));
        run.barScale = run.runTimeLimit > 0 ? double(kTrackWidth) / run.runTimeLimit : 0.0;
        barTwips_ = 0;
        elapsedBar_->setGeometry(twRect(kTrackLeft, kTrackTop, 0, kTrackHeight));
        targetMark_->setGeometry(
            twRect(kTrackLeft, kTrackTop, row.targetTime * run.barScale, targetMark_->height() * 15));
        secondTimeMark_->setGeometry(
            twRect(kTrackLeft, kTrackTop, row.secondTime * run.barScale, secondTimeMark_->height() * 15));
    } else {
        runTime_->setText(QString::number(run.runTimeLimit));
        targetMark_->setGeometry(twRect(kTrackLeft, kTrackTop, kTrackWidth, targetMark_->height() * 15));
        secondTimeMark_->hide();
    }

    title_->setFont(designFont(kPGothic, titleFontPoints(int(s.contentTitle.size())), true));
    title_->setText(s.contentTitle);
    fitNameLine(
        pupilName_, trimBlanks(s.pupilName), [](const QString& name) { return name; }, 16, 11);
    const bool levelOk = s.currentLevel >= 0 && s.currentLevel < kLevelCount;
    levelName_->setText(levelOk ? s.levelNames[s.currentLevel] : QString());

    const int pupil = qBound(0, int(s.pupilNumber), kPupilCount - 1);
    qint16 today = 0;
    for (int level = 1; level <= 15; ++level) today = qint16(today + s.records.stats(level, pupil).todayRunCount);

    organisation_->setText(s.organisationName);
    minutesSinceSignIn_->setText(
        QString::number(minutesSinceSignIn(services().clock.secondsSinceMidnight(), s.nameConfirmedSeconds)));
    if (levelOk && isPracticeLevel(s, s.currentLevel)) {
        runNumberToday_->setText(QStringLiteral("－"));
        runNumberAtLevel_->setText(QStringLiteral("－"));
    } else {
        runNumberToday_->setText(QString::number(today + 1));
        const int atLevel = levelOk ? s.records.stats(s.currentLevel, pupil).todayRunCount : 0;
        runNumberAtLevel_->setText(QString::number(atLevel + 1));
    }
}

void DrillScreen::setProblemsPerRun()
{
    state().run.problemsPerRun = 10;
    problemsLeft_->setText(QStringLiteral("10"));
}

void DrillScreen::startRunTimer()
{
    state().run.runStartTime = float(services().clock.secondsSinceMidnight());
    runTimer_->start();
}

void DrillScreen::nextProblem()
{
    if (state().run.ended()) return;
    setBlanks({});
    showProblem(generateProblem(state().currentLevel, state().random));
}

void DrillScreen::showProblem(const EquationProblem& p)
{
    problem_ = p;
    numbers_[1]->setText(QString::number(p.n1));
    numbers_[2]->setText(QString::number(p.n2));
    numbers_[3]->setText(QString::number(p.n3));
    numbers_[4]->setText(QString::number(p.r));
    problemShownMs_ = services().clock.tickMs();
    answerButton_->show();
    answerButton_->setFocus();
}

// ---- Placing operators -----------------------------------------------------

void DrillScreen::setBlanks(const BlankEntry& entry)
{
    entry_ = entry;
    const bool review = inReview();
    for (int i = 1; i <= 2; ++i) {
        blankLabels_[i]->setText(opText(entry_.blanks[std::size_t(i - 1)]));
        const bool current = !review && entry_.current == i - 1;
        const QString& style = current ? kCurrentBlankStyle : kBlankStyle;
        if (blankLabels_[i]->styleSheet() != style) blankLabels_[i]->setStyleSheet(style);
    }
}

void DrillScreen::operatorPressed(int index)
{
    // The press fills a blank at once; the drag itself starts when the
    // pressed mouse moves (OperatorLabel), since QDrag::exec blocks.
    if (index >= 1 && index <= 4) setBlanks(fillFirstEmpty(entry_, opFromText(operators_[index]->text())));
}

void DrillScreen::operatorDoubleClicked(int index)
{
    if (index >= 1 && index <= 4) setBlanks(fillFirstEmpty(entry_, opFromText(operators_[index]->text())));
}

void DrillScreen::operatorDropped(int blank, int operatorIndex)
{
    if (blank < 1 || blank > 2 || operatorIndex < 1 || operatorIndex > 4) return;
    setBlanks(dropOn(entry_, blank - 1, opFromText(operators_[operatorIndex]->text())));
}

void DrillScreen::clearBlanks() { setBlanks({}); }

bool DrillScreen::inReview() const { return !clearButton_->isEnabled(); }

bool DrillScreen::entryKey(const QKeyEvent& e)
{
    const bool held = heldKeys_.isRepeat(e.key(), e.timestamp(), e.isAutoRepeat());
    const KeyAction key = actionForKey(e.key(), e.modifiers(), e.text(), inReview(), held);
    switch (key.action) {
    case EntryAction::None:
        // A key held down reaches neither the blanks nor the answer button.
        return held;
    case EntryAction::Answer:
        if (answerButton_->isVisible()) answerButton_->click();
        return true;
    case EntryAction::Continue:
        if (continueButton_->isVisible()) continueButton_->click();
        return true;
    default: setBlanks(applyKey(entry_, key)); return true;
    }
}

void DrillScreen::committedText(const QString& text)
{
    // What an input method commits: full-width operators, and its space.
    for (QChar c : text) {
        if (c == u'　' || c == u' ') {
            const QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
            entryKey(space);
            continue;
        }
        const Op op = operatorForKey(0, QString(c));
        if (op != Op::None && !inReview()) setBlanks(applyKey(entry_, {EntryAction::Fill, op}));
    }
}

// ---- Answering ---------------------------------------------------------------

void DrillScreen::submitAnswer()
{
    // The second half of a double press that answered the problem before.
    if (dropsAnswerPress(entry_, services().clock.tickMs() - problemShownMs_)) return;
    answerButton_->hide();
    answer_ = evaluate(problem_.n1, entry_.blanks[0], problem_.n2, entry_.blanks[1], problem_.n3);
    answerValue_->setText(answerText(answer_));
    judge();
    applyJudgement();
}

void DrillScreen::backToCorrecting()
{
    setReviewState(false);
    setBlanks({});
    // Back to an empty problem: a second press of this double click waits too.
    problemShownMs_ = services().clock.tickMs();
    answerValue_->hide();
    answerCaption_->hide();
    continueButton_->hide();
    answerButton_->show();
    answerButton_->setFocus();
}

void DrillScreen::judge()
{
    RunState& run = state().run;
    if (run.ended()) return;
    run.judgement = answer_ && *answer_ == Rational(problem_.r) ? Judgement::Right : Judgement::Wrong;
}

void DrillScreen::setReviewState(bool review)
{
    for (int i = 1; i <= 4; ++i) operators_[i]->setEnabled(!review);
    clearButton_->setEnabled(!review);
    setBlanks(entry_); // no current blank while the answer is on view
}

bool DrillScreen::runGoesOn()
{
    const SharedState& s = app().state;
    const RunState& run = s.run;
    return !run.runFinished && !run.endFlowDone && !run.timeUp && levelIsTimed(s.levelTimed, s.currentLevel) &&
           !isPracticeLevel(s, s.currentLevel);
}

bool DrillScreen::mayClose()
{
    if (!runGoesOn()) return true;
    QPointer<DrillScreen> self(this);
    App& a = app();
    // The run clock goes on while the question is open; the run may even end
    // and this screen give way to the results meanwhile.
    if (!a.services.dialogs.ask(QStringLiteral("練習をやめますか？"), a.state.contentTitle)) return false;
    if (self) self->runTimer_->stop();
    if (!a.services.end.requested()) a.navigator.leaveProgram();
    return true;
}

void DrillScreen::applyJudgement()
{
    SharedState& s = state();
    RunState& run = s.run;
    if (run.ended()) return;
    QPointer<DrillScreen> self(this);
    if (run.judgement == Judgement::Right) {
        run.judgement = Judgement::None;
        playCorrectCue(s, services());
        if (!stillHere(self)) return; // a failing sound may end the program
        run.correctCount += 1;
        problemsLeft_->setText(QString::number(run.problemsPerRun - run.correctCount));
        if (run.correctCount < run.problemsPerRun) {
            nextProblem();
        } else {
            runTimer_->stop();
            run.runFinished = true;
            endRun();
        }
    } else if (run.judgement == Judgement::Wrong) {
        run.judgement = Judgement::None;
        answerValue_->show();
        answerCaption_->show();
        continueButton_->show();
        continueButton_->setFocus();
        answerButton_->hide();
        setReviewState(true);
        if (!pump()) return;
        playWrongCue(s, services());
        if (!stillHere(self)) return;
        run.correctCount = qMax(0, run.correctCount - 1);
        problemsLeft_->setText(QString::number(run.problemsPerRun - run.correctCount));
    }
}

// ---- The run clock -----------------------------------------------------------

void DrillScreen::runTimerTick()
{
    SharedState& s = state();
    RunState& run = s.run;
    const LevelRow& row = s.levelTable[qBound(0, int(s.currentLevel), kLevelCount - 1)];
    run.elapsedSeconds = elapsedRunSeconds(run.runStartTime, services().clock.secondsSinceMidnight());

    LampThresholds t;
    t.targetTime = row.targetTime;
    t.secondTime = row.secondTime;
    const quint64 out = lampsToHide(run.elapsedSeconds, t);
    for (int n = kFirstLamp; n <= kLastLamp; ++n)
        if (out & (quint64(1) << n)) lamps_[n]->hide();

    if (levelIsTimed(s.levelTimed, s.currentLevel)) runTime_->setText(QString::number(run.elapsedSeconds));

    QPointer<DrillScreen> self(this);
    if (!pump()) return;

    barTwips_ = elapsedBarWidth(run.elapsedSeconds, run.runTimeLimit, run.barScale, kTrackWidth);
    elapsedBar_->setGeometry(twRect(kTrackLeft, kTrackTop, barTwips_, kTrackHeight));
    if (run.elapsedSeconds >= run.runTimeLimit) {
        if (!(run.endFlowDone || run.runFinished)) {
            run.timeUp = true;
            runTimer_->stop();
            endRun();
        }
        QCoreApplication::processEvents();
    }
}

void DrillScreen::signInTimerTick()
{
    const SharedState& s = state();
    minutesSinceSignIn_->setText(
        QString::number(minutesSinceSignIn(services().clock.secondsSinceMidnight(), s.nameConfirmedSeconds)));
    // Every file is opened and closed within one operation, so the periodic
    // closing of open files has nothing to do here.
}

// ---- The end of a run ---------------------------------------------------------

void DrillScreen::endRun()
{
    QPointer<DrillScreen> self(this);
    App& a = app();
    SharedState& s = a.state;
    RunState& run = s.run;
    if (!pump()) return;
    if (run.endFlowDone) return;
    run.endFlowDone = true;
    // A tile still held would float over the results screen until the mouse
    // is let go: the drag ends with the run.
    QDrag::cancel();

    cover_->show();
    cover_->raise();
    storingNotice_->setVisible(!run.timeUp);
    timeUpNotice_->setVisible(run.timeUp);
    if (!pump()) return;

    const int level = s.currentLevel;
    if (levelIsTimed(s.levelTimed, level) && !isPracticeLevel(s, level)) {
        runTimer_->stop();
        s.runScore = run.timeUp ? score::kOutOfTime : run.elapsedSeconds;
        if (!storeRun(s, a.services, level) || a.services.end.requested()) return;
        a.stage.showWaitScreen();
        if (!stillHere(self)) return;
        if (!pump()) return;
        waitThenShowResults(1);
        return;
    }
    // A practice level (and an untimed one, which would otherwise sit under
    // the cover for good) goes back to the lobby; nothing is stored.
    runTimer_->stop();
    a.stage.showWaitScreen();
    if (!stillHere(self)) return;
    a.navigator.returnToLobby();
    QCoreApplication::processEvents();
}

void DrillScreen::waitThenShowResults(double seconds)
{
    QPointer<DrillScreen> self(this);
    Clock& clock = services().clock;
    qint64 last = clock.tickMs();
    qint64 slices = 0;
    for (;;) {
        // Sleeps in the event loop for one 10 ms slice: events run, the
        // processor rests.
        clock.waitMs(10);
        if (!stillHere(self)) return;
        const qint64 now = clock.tickMs();
        const qint64 passed = now - last;
        if (passed > 10) {
            ++slices;
            if (double(slices) * 10.0 / 1000.0 >= seconds) break;
            last = now - (passed - 10);
        }
    }
    app().navigator.showResults();
}

// ---- Helpers ---------------------------------------------------------------------

bool DrillScreen::stillHere(const QPointer<DrillScreen>& self) { return self && self->stillShown(); }

void DrillScreen::giveFocusBack(QPushButton* button)
{
    QPointer<QPushButton> b(button);
    QMetaObject::invokeMethod(
        this,
        [b] {
            if (b && b->isVisible() && !b->hasFocus()) b->setFocus();
        },
        Qt::QueuedConnection);
}

bool DrillScreen::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == clearButton_) {
        if (event->type() == QEvent::MouseButtonRelease && clearButton_->isEnabled()) {
            auto* me = static_cast<QMouseEvent*>(event);
            if (me->button() == Qt::LeftButton && clearButton_->rect().contains(me->position().toPoint()))
                clearBlanks();
        }
        return false;
    }
    if (watched == answerButton_ || watched == continueButton_) {
        auto* button = static_cast<QPushButton*>(watched);
        switch (event->type()) {
        case QEvent::KeyPress:
            if (entryKey(*static_cast<QKeyEvent*>(event))) return true;
            break;
        case QEvent::KeyRelease: {
            const auto* ke = static_cast<QKeyEvent*>(event);
            heldKeys_.released(ke->key(), ke->timestamp());
            // A button clicks when Space is let go; here Space moves between the blanks.
            if (ke->key() == Qt::Key_Space || ke->isAutoRepeat()) return true;
            break;
        }
        case QEvent::InputMethod: {
            auto* ie = static_cast<QInputMethodEvent*>(event);
            committedText(ie->commitString());
            ie->accept();
            return true;
        }
        case QEvent::FocusOut: {
            // The visible answer button keeps the keyboard focus; not when the
            // whole window merely lost activation.
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) giveFocusBack(button);
            break;
        }
        default: break;
        }
    }
    return Screen::eventFilter(watched, event);
}

void DrillScreen::keyPressEvent(QKeyEvent* e)
{
    // Keys that reach the screen itself (no answer button has the focus).
    if (entryKey(*e)) return;
    Screen::keyPressEvent(e);
}

void DrillScreen::keyReleaseEvent(QKeyEvent* e)
{
    heldKeys_.released(e->key(), e->timestamp());
    Screen::keyReleaseEvent(e);
}
