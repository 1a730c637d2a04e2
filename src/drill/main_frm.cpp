#include "drill/main_frm.h"

#include "state/catalogue.h"
#include "ui/fitted_text.h"
#include "ui/fonts.h"
#include "ui/stage.h"
#include "base/text_util.h"
#include "base/twips.h"
#include "drill/operator_input.h"
#include "drill/operator_labels.h"
#include "drill/run_rules.h"
#include "records/record_file.h"
#include "records/scores.h"
#include "sound/cues.h"

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

qint16 levelTimed(const SharedState& s)
{
    return s.currentLevel >= 0 && s.currentLevel < kLevelCount ? s.levelTimed[s.currentLevel] : 0;
}
} // namespace

MainFrm::MainFrm(App& app) : Screen(app, QStringLiteral("MainFrm"))
{
    setWindowTitle(state().contentTitle);
    sTimer1_ = new QTimer(this);
    sTimer1_->setObjectName(QStringLiteral("sTimer1"));
    sTimer1_->setInterval(1000);
    connect(sTimer1_, &QTimer::timeout, this, &MainFrm::sTimer1_Timer);
    sTimer2_ = new QTimer(this);
    sTimer2_->setObjectName(QStringLiteral("sTimer2"));
    sTimer2_->setInterval(10000);
    connect(sTimer2_, &QTimer::timeout, this, &MainFrm::sTimer2_Timer);

    buildStatusPanel();
    buildDrillPanel();
    buildCoverPanel();
    Form_Load();
}

void MainFrm::buildStatusPanel()
{
    sPicture1_ = new QFrame(this);
    sPicture1_->setObjectName(QStringLiteral("sPicture1"));
    sPicture1_->setStyleSheet(QStringLiteral("QFrame#sPicture1 { background-color: #dce6f0; }"));
    QWidget* p = sPicture1_;
    const QFont small = designFont(kGothic, 12);
    const QFont big = designFont(kGothic, 20, true);

    const SharedState& s = state();
    sLabel2_ = label(p, QStringLiteral("sLabel2"), {}, twRect(120, 90, 2600, 480),
                     designFont(kPGothic, titleFontPoints(int(s.contentTitle.size())), true));
    sLabel7_ = label(p, QStringLiteral("sLabel7"), {}, twRect(2820, 90, 3400, 480), designFont(kGothic, 16));
    sLabel14_ = label(p, QStringLiteral("sLabel14"), {}, twRect(6300, 90, 4100, 480), small);

    const char16_t* captions[6] = {u"起動後", u"分", u"本日", u"回目", u"このレベル", u"回目"};
    const QRect places[6] = {twRect(10500, 90, 1000, 480),  twRect(12150, 90, 400, 480),
                             twRect(10500, 690, 700, 540),  twRect(11750, 690, 650, 540),
                             twRect(12450, 690, 1500, 540), twRect(14500, 690, 650, 540)};
    for (int i = 0; i < 6; ++i)
        sLabel16_[i] = label(p, QStringLiteral("sLabel16(%1)").arg(i), QString::fromUtf16(captions[i]), places[i], small);
    const Qt::Alignment centred = Qt::AlignCenter;
    sLabel13_ = label(p, QStringLiteral("sLabel13"), {}, twRect(11500, 90, 650, 480), small, centred);
    sLabel12_ = label(p, QStringLiteral("sLabel12"), {}, twRect(11200, 690, 550, 540), small, centred);
    sLabel11_ = label(p, QStringLiteral("sLabel11"), {}, twRect(13950, 690, 550, 540), small, centred);

    sLabel3_ = label(p, QStringLiteral("sLabel3"), QStringLiteral("レベル"), twRect(120, 690, 1100, 540), small);
    sLabel8_ = label(p, QStringLiteral("sLabel8"), {}, twRect(1220, 690, 4300, 540), designFont(kPGothic, 16, true));
    sLabel4_ = label(p, QStringLiteral("sLabel4"), QStringLiteral("残り"), twRect(5640, 690, 700, 540), small);
    sLabel9_ = label(p, QStringLiteral("sLabel9"), {}, twRect(6340, 690, 800, 540), big, centred);
    sLabel6_ = label(p, QStringLiteral("sLabel6"), QStringLiteral("問"), twRect(7140, 690, 500, 540), small);
    sLabel5_ = label(p, QStringLiteral("sLabel5"), QStringLiteral("タイム"), twRect(7900, 690, 1000, 540), small);
    sLabel10_ = label(p, QStringLiteral("sLabel10"), {}, twRect(8900, 690, 1300, 540), big,
                      Qt::AlignRight | Qt::AlignVCenter);

    sShape5_ = shape(p, QStringLiteral("sShape5"), QStringLiteral("background-color: white; border: 1px solid #606060;"));
    sShape5_->setGeometry(twRect(kTrackLeft, kTrackTop, kTrackWidth, kTrackHeight));
    sShape2_ = shape(p, QStringLiteral("sShape2"), QStringLiteral("background-color: #3060d0; border: none;"));
    sShape2_->setGeometry(twRect(kTrackLeft, kTrackTop, 0, kTrackHeight));
    // The marks are open frames from the track's left end; their right edges
    // stand at the target time and the second time.
    sShape3_ = shape(p, QStringLiteral("sShape3"),
                     QStringLiteral("background: transparent; border: 2px solid #00a000; border-top: none;"));
    sShape3_->setGeometry(twRect(kTrackLeft, kTrackTop, 0, kTrackHeight + 180));
    sShape4_ = shape(p, QStringLiteral("sShape4"),
                     QStringLiteral("background: transparent; border: 2px solid #c00000; border-top: none;"));
    sShape4_->setGeometry(twRect(kTrackLeft, kTrackTop, 0, kTrackHeight + 330));
    sShape2_->raise();
    sShape3_->raise();
    sShape4_->raise();

    // Lamp rows, top to bottom: Best (heading item 1), YourBest (item 0), Pass (item 2).
    const int headingItem[3] = {1, 0, 2};
    const QString headingText[3] = {QStringLiteral("Best"), QStringLiteral("YourBest"), QStringLiteral("Pass")};
    const QString lampColour[3] = {QStringLiteral("#00c000"), QStringLiteral("#808000"), QStringLiteral("#800000")};
    for (int row = 0; row < 3; ++row) {
        const int item = headingItem[row];
        sLabel17_[item] = label(p, QStringLiteral("sLabel17(%1)").arg(item), headingText[row],
                                twRect(8340, kLampRowTop[row] - 68, 1400, 270), designFont(kGothic, 9),
                                Qt::AlignRight | Qt::AlignVCenter);
        for (int k = 0; k < 10; ++k) {
            const int n = 10 * (row + 1) + k;
            const QString name = QStringLiteral("sPicture3(%1)").arg(n);
            sPicture3_[n] = shape(p, name, css(lampColour[row], QStringLiteral("border: 1px solid #303030;")));
            sPicture3_[n]->setGeometry(twRect(kLampLeft + k * kLampPitch, kLampRowTop[row], kLampWidth, kLampHeight));
        }
    }
}

void MainFrm::buildDrillPanel()
{
    Picture2_ = new QFrame(this);
    Picture2_->setObjectName(QStringLiteral("Picture2"));
    Picture2_->setStyleSheet(QStringLiteral("QFrame#Picture2 { background-color: #fffaeb; }"));
    QWidget* p = Picture2_;
    const QFont big = designFont(kPGothic, 72);
    const QString green = css(kLightGreen);
    const Qt::Alignment centred = Qt::AlignCenter;

    instruction_ = label(p, QStringLiteral("Label2"), QStringLiteral("式を完成しなさい"), twRect(810, 480, 9000, 900),
                         designFont(kPGothic, 32, true));

    const int numberLeft[5] = {0, 810, 4380, 7950, 11520};
    for (int i = 1; i <= 4; ++i) {
        LblDD3_[i] = label(p, QStringLiteral("LblDD3(%1)").arg(i), {},
                           twRect(numberLeft[i], 1800, i == 4 ? 2745 : 1905, 1455), big, centred);
        LblDD3_[i]->setStyleSheet(green);
    }
    const int blankLeft[3] = {0, 2715, 6285};
    for (int i = 1; i <= 2; ++i) {
        LblDD2_[i] = new BlankLabel(i, p);
        LblDD2_[i]->setGeometry(twRect(blankLeft[i], 1800, 1665, 1455));
        LblDD2_[i]->setFont(big);
        LblDD2_[i]->setAlignment(centred);
        LblDD2_[i]->setStyleSheet(kBlankStyle);
        LblDD2_[i]->acceptsSource = [this](const QObject* source) {
            for (int k = 1; k <= 4; ++k)
                if (source == LblDD1_[k]) return true;
            return false;
        };
        LblDD2_[i]->onDrop = [this](int index, int source) { LblDD2_DragDrop(index, source); };
    }
    LblDD4_ = label(p, QStringLiteral("LblDD4(4)"), QStringLiteral("＝"), twRect(9855, 1800, 1665, 1455), big, centred);
    LblDD4_->setStyleSheet(green);

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
        l->onMouseDown = [this](int index) { LblDD1_MouseDown(index); };
        l->onDoubleClick = [this](int index) { LblDD1_DblClick(index); };
        LblDD1_[i] = l;
    }

    LblDD5_ = label(p, QStringLiteral("LblDD5"), QStringLiteral("クリア"), twRect(8130, 4740, 1950, 1455),
                    designFont(kPGothic, 28, true), centred);
    LblDD5_->setStyleSheet(QStringLiteral("QLabel { background-color: #ffffc0; border: 2px outset #c0c080; }"
                                          "QLabel:disabled { color: #a0a0a0; background-color: #ececdc; }"));
    LblDD5_->installEventFilter(this);

    Label4_ = label(p, QStringLiteral("Label4"), QStringLiteral("＋－×÷をマウスで押して"), twRect(870, 6330, 9200, 480),
                    designFont(kPGothic, 18));
    Label5_ = label(p, QStringLiteral("Label5"), QStringLiteral("（Dｒａｇ&Dropもできます）"),
                    twRect(870, 6810, 9200, 480), designFont(kPGothic, 18));

    Label3_ = label(p, QStringLiteral("Label3"), QStringLiteral("あなたの答えは"), twRect(10500, 4500, 4350, 540),
                    designFont(kPGothic, 20, true));
    Label1_ = label(p, QStringLiteral("Label1"), {}, twRect(10500, 5070, 4350, 1260), designFont(kPGothic, 48, true),
                    centred);
    Label1_->setStyleSheet(css(QStringLiteral("#ffc0c0")));
    Label3_->hide();
    Label1_->hide();

    Command1_ = new QPushButton(QStringLiteral("O.K."), p);
    Command1_->setObjectName(QStringLiteral("Command1"));
    Command1_->setGeometry(twRect(10500, 6450, 4350, 900));
    Command1_->setFont(designFont(kPGothic, 24, true));
    Command1_->hide();
    Command5_ = new QPushButton(QStringLiteral("O.K."), p);
    Command5_->setObjectName(QStringLiteral("Command5"));
    Command5_->setGeometry(twRect(810, 7560, 13455, 1200));
    Command5_->setFont(designFont(kPGothic, 32, true));
    for (QPushButton* b : {Command1_, Command5_}) {
        // Enter presses the visible answer button, as in a dialog.
        b->setAutoDefault(true);
        b->setAttribute(Qt::WA_InputMethodEnabled);
        b->installEventFilter(this);
    }
    connect(Command5_, &QPushButton::clicked, this, &MainFrm::Command5_Click);
    connect(Command1_, &QPushButton::clicked, this, &MainFrm::Command1_Click);
    fitEquationFont();
}

void MainFrm::fitEquationFont()
{
    // Each number box gets the largest size up to the design's 72 points at
    // which the widest number it can be given keeps clear of the blanks.
    for (int i = 1; i <= 4; ++i) {
        QLabel* box = LblDD3_[i];
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

void MainFrm::buildCoverPanel()
{
    sPicture2_ = new QFrame(this);
    sPicture2_->setObjectName(QStringLiteral("sPicture2"));
    sPicture2_->setStyleSheet(QStringLiteral("QFrame#sPicture2 { background-color: #e8f0ff; }"));
    sPicture2_->setGeometry(twRect(0, 0, kScreenWidth, kScreenHeight));
    // Above the middle, where the wait screen will not hide it.
    const QRect middle = twRect(0, 2400, kScreenWidth, 1800);
    lblsss1_ = label(sPicture2_, QStringLiteral("lblsss1"), QStringLiteral("成績記録中"), middle,
                     designFont(kPGothic, 60, true), Qt::AlignCenter);
    lblsss2_ = label(sPicture2_, QStringLiteral("lblsss2"), QStringLiteral("時間切れ"), middle,
                     designFont(kPGothic, 60, true), Qt::AlignCenter);
    lblsss2_->setStyleSheet(QStringLiteral("color: #c00000;"));
    sPicture2_->hide();
}

// ---- Loading and showing -------------------------------------------------

void MainFrm::Form_Load()
{
    // One seeding per load, from the day clock.
    state().random.seed(std::uint32_t(services().clock.now().time().msecsSinceStartOfDay()));
    sPicture1_->setGeometry(twRect(0, 0, kScreenWidth, kStatusHeight));
    sPicture2_->move(0, 0);
    Picture2_->setGeometry(twRect(0, kStatusHeight, kScreenWidth, kScreenHeight - kStatusHeight));
    sPicture2_->raise();
    sTimer2_->start();
}

void MainFrm::Form_Activate()
{
    初期設定();
    レベル別設定();
    スタート();
    問題作成表示();
}

void MainFrm::初期設定()
{
    SharedState& s = state();
    RunState& run = s.run;
    app().stage.unloadWaitScreen();
    run.runFinished = 0;
    run.endFlowDone = 0;
    run.judgement = 0;

    const LevelRow& row = s.levelTable[qBound(0, int(s.currentLevel), kLevelCount - 1)];
    if (levelTimed(s) == 1) {
        // In 64 bits: the level table may hold any 32-bit second time, and a
        // limit that wrapped below zero would end the run at its first tick.
        run.runTimeLimit = qint32(std::clamp<qint64>(5 * qint64(row.secondTime), std::numeric_limits<qint32>::min(),
                                                     std::numeric_limits<qint32>::max()));
        sLabel10_->setText(QStringLiteral("0"));
        run.barScale = run.runTimeLimit > 0 ? double(kTrackWidth) / run.runTimeLimit : 0.0;
        barTwips_ = 0;
        sShape2_->setGeometry(twRect(kTrackLeft, kTrackTop, 0, kTrackHeight));
        sShape3_->setGeometry(twRect(kTrackLeft, kTrackTop, row.targetTime * run.barScale, sShape3_->height() * 15));
        sShape4_->setGeometry(twRect(kTrackLeft, kTrackTop, row.secondTime * run.barScale, sShape4_->height() * 15));
    } else {
        sLabel10_->setText(QString::number(run.runTimeLimit));
        sShape3_->setGeometry(twRect(kTrackLeft, kTrackTop, kTrackWidth, sShape3_->height() * 15));
        sShape4_->hide();
    }

    sLabel2_->setFont(designFont(kPGothic, titleFontPoints(int(s.contentTitle.size())), true));
    sLabel2_->setText(s.contentTitle);
    fitNameLine(sLabel7_, trimBlanks(s.pupilName), [](const QString& name) { return name; }, 16, 11);
    const bool levelOk = s.currentLevel >= 0 && s.currentLevel < kLevelCount;
    sLabel8_->setText(levelOk ? s.levelNames[s.currentLevel] : QString());

    const int pupil = qBound(0, int(s.pupilNumber), kPupilCount - 1);
    qint16 today = 0;
    for (int level = 1; level <= 15; ++level) today = qint16(today + s.records.stats(level, pupil).todayRunCount);

    sLabel14_->setText(s.organisationName);
    sLabel13_->setText(QString::number(minutesSinceSignIn(services().clock.secondsSinceMidnight(), s.nameConfirmedSeconds)));
    if (levelOk && isPracticeLevel(s, s.currentLevel)) {
        sLabel12_->setText(QStringLiteral("－"));
        sLabel11_->setText(QStringLiteral("－"));
    } else {
        sLabel12_->setText(QString::number(today + 1));
        const int atLevel = levelOk ? s.records.stats(s.currentLevel, pupil).todayRunCount : 0;
        sLabel11_->setText(QString::number(atLevel + 1));
    }
}

void MainFrm::レベル別設定()
{
    state().run.problemsPerRun = 10;
    sLabel9_->setText(QStringLiteral("10"));
}

void MainFrm::スタート()
{
    state().run.runStartTime = float(services().clock.secondsSinceMidnight());
    sTimer1_->start();
}

void MainFrm::問題作成表示()
{
    const RunState& run = state().run;
    if (run.runMode == 1 || run.runFinished == 1) return;
    setBlanks({});
    showProblem(generateProblem(state().currentLevel, state().random));
}

void MainFrm::showProblem(const EquationProblem& p)
{
    problem_ = p;
    LblDD3_[1]->setText(QString::number(p.n1));
    LblDD3_[2]->setText(QString::number(p.n2));
    LblDD3_[3]->setText(QString::number(p.n3));
    LblDD3_[4]->setText(QString::number(p.r));
    problemShownMs_ = services().clock.tickMs();
    Command5_->show();
    Command5_->setFocus();
}

// ---- Placing operators -----------------------------------------------------

void MainFrm::setBlanks(const BlankEntry& entry)
{
    entry_ = entry;
    const bool review = inReview();
    for (int i = 1; i <= 2; ++i) {
        LblDD2_[i]->setText(opText(entry_.blanks[std::size_t(i - 1)]));
        const bool current = !review && entry_.current == i - 1;
        const QString& style = current ? kCurrentBlankStyle : kBlankStyle;
        if (LblDD2_[i]->styleSheet() != style) LblDD2_[i]->setStyleSheet(style);
    }
}

void MainFrm::LblDD1_MouseDown(int index)
{
    // The press fills a blank at once; the drag itself starts when the
    // pressed mouse moves (OperatorLabel), since QDrag::exec blocks.
    if (index >= 1 && index <= 4) setBlanks(fillFirstEmpty(entry_, opFromText(LblDD1_[index]->text())));
}

void MainFrm::LblDD1_DblClick(int index)
{
    if (index >= 1 && index <= 4) setBlanks(fillFirstEmpty(entry_, opFromText(LblDD1_[index]->text())));
}

void MainFrm::LblDD2_DragDrop(int index, int sourceIndex)
{
    if (index < 1 || index > 2 || sourceIndex < 1 || sourceIndex > 4) return;
    setBlanks(dropOn(entry_, index - 1, opFromText(LblDD1_[sourceIndex]->text())));
}

void MainFrm::LblDD5_Click() { setBlanks({}); }

bool MainFrm::inReview() const { return !LblDD5_->isEnabled(); }

bool MainFrm::entryKey(const QKeyEvent& e)
{
    const bool held = heldKeys_.isRepeat(e.key(), e.timestamp(), e.isAutoRepeat());
    const KeyAction key = actionForKey(e.key(), e.modifiers(), e.text(), inReview(), held);
    switch (key.action) {
    case EntryAction::None:
        // A key held down reaches neither the blanks nor the answer button.
        return held;
    case EntryAction::Answer:
        if (Command5_->isVisible()) Command5_->click();
        return true;
    case EntryAction::Continue:
        if (Command1_->isVisible()) Command1_->click();
        return true;
    default:
        setBlanks(applyKey(entry_, key));
        return true;
    }
}

void MainFrm::committedText(const QString& text)
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

void MainFrm::Command5_Click()
{
    // The second half of a double press that answered the problem before.
    if (dropsAnswerPress(entry_, services().clock.tickMs() - problemShownMs_)) return;
    Command5_->hide();
    answer_ = evaluate(problem_.n1, entry_.blanks[0], problem_.n2, entry_.blanks[1], problem_.n3);
    Label1_->setText(answerText(answer_));
    判定();
    判定後処理();
}

void MainFrm::Command1_Click()
{
    setReviewState(false);
    setBlanks({});
    // Back to an empty problem: a second press of this double click waits too.
    problemShownMs_ = services().clock.tickMs();
    Label1_->hide();
    Label3_->hide();
    Command1_->hide();
    Command5_->show();
    Command5_->setFocus();
}

void MainFrm::判定()
{
    RunState& run = state().run;
    if (run.runMode == 1 || run.runFinished == 1) return;
    run.judgement = answer_ && *answer_ == Rational(problem_.r) ? 1 : 2;
}

void MainFrm::setReviewState(bool review)
{
    for (int i = 1; i <= 4; ++i) LblDD1_[i]->setEnabled(!review);
    LblDD5_->setEnabled(!review);
    setBlanks(entry_); // no current blank while the answer is on view
}

bool MainFrm::runGoesOn()
{
    const SharedState& s = app().state;
    const RunState& run = s.run;
    return run.runFinished == 0 && run.endFlowDone == 0 && run.runMode == 0 && levelTimed(s) == 1 &&
           !isPracticeLevel(s, s.currentLevel);
}

bool MainFrm::mayClose()
{
    if (!runGoesOn()) return true;
    QPointer<MainFrm> self(this);
    App& a = app();
    // The run clock goes on while the question is open; the run may even end
    // and this screen give way to the results meanwhile.
    if (!a.services.dialogs.ask(QStringLiteral("練習をやめますか？"), a.state.contentTitle)) return false;
    if (self) self->sTimer1_->stop();
    if (!a.services.end.requested()) a.navigator.leaveProgram();
    return true;
}

void MainFrm::判定後処理()
{
    SharedState& s = state();
    RunState& run = s.run;
    if (run.runMode == 1 || run.runFinished == 1) return;
    QPointer<MainFrm> self(this);
    if (run.judgement == 1) {
        run.judgement = 0;
        playCorrectCue(s, services());
        if (!stillHere(self)) return; // a failing sound may end the program
        run.correctCount += 1;
        sLabel9_->setText(QString::number(run.problemsPerRun - run.correctCount));
        if (run.correctCount < run.problemsPerRun) {
            問題作成表示();
        } else {
            sTimer1_->stop();
            run.runFinished = 1;
            endRun();
        }
    } else if (run.judgement == 2) {
        run.judgement = 0;
        Label1_->show();
        Label3_->show();
        Command1_->show();
        Command1_->setFocus();
        Command5_->hide();
        setReviewState(true);
        if (!pump()) return;
        playWrongCue(s, services());
        if (!stillHere(self)) return;
        run.correctCount = qMax(0, run.correctCount - 1);
        sLabel9_->setText(QString::number(run.problemsPerRun - run.correctCount));
    }
}

// ---- The run clock -----------------------------------------------------------

void MainFrm::sTimer1_Timer()
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
        if (out & (quint64(1) << n)) sPicture3_[n]->hide();

    if (levelTimed(s) == 1) sLabel10_->setText(QString::number(run.elapsedSeconds));

    QPointer<MainFrm> self(this);
    if (!pump()) return;

    barTwips_ = elapsedBarWidth(run.elapsedSeconds, run.runTimeLimit, run.barScale, kTrackWidth);
    sShape2_->setGeometry(twRect(kTrackLeft, kTrackTop, barTwips_, kTrackHeight));
    if (run.elapsedSeconds >= run.runTimeLimit) {
        if (!(run.endFlowDone == 1 || run.runFinished == 1)) {
            run.runMode = 1;
            sTimer1_->stop();
            endRun();
        }
        QCoreApplication::processEvents();
    }
}

void MainFrm::sTimer2_Timer()
{
    const SharedState& s = state();
    sLabel13_->setText(QString::number(minutesSinceSignIn(services().clock.secondsSinceMidnight(), s.nameConfirmedSeconds)));
    // Every file is opened and closed within one operation, so the periodic
    // closing of open files has nothing to do here.
}

// ---- The end of a run ---------------------------------------------------------

void MainFrm::endRun()
{
    QPointer<MainFrm> self(this);
    App& a = app();
    SharedState& s = a.state;
    RunState& run = s.run;
    if (!pump()) return;
    if (run.endFlowDone == 1) return;
    run.endFlowDone = 1;
    // A tile still held would float over the results screen until the mouse
    // is let go: the drag ends with the run.
    QDrag::cancel();

    sPicture2_->show();
    sPicture2_->raise();
    lblsss1_->setVisible(run.runMode != 1);
    lblsss2_->setVisible(run.runMode == 1);
    if (!pump()) return;

    const int level = s.currentLevel;
    if (levelTimed(s) == 1 && !isPracticeLevel(s, level)) {
        sTimer1_->stop();
        s.runScore = run.runMode != 0 ? score::kOutOfTime : run.elapsedSeconds;
        if (!Seisekikiroku(s, a.services, level) || a.services.end.requested()) return;
        a.stage.showWaitScreen();
        if (!stillHere(self)) return;
        if (!pump()) return;
        waitThenShowResults(1);
        return;
    }
    // A practice level (and an untimed one, which would otherwise sit under
    // the cover for good) goes back to the lobby; nothing is stored.
    sTimer1_->stop();
    a.stage.showWaitScreen();
    if (!stillHere(self)) return;
    a.navigator.returnToLobby();
    QCoreApplication::processEvents();
}

void MainFrm::waitThenShowResults(double seconds)
{
    QPointer<MainFrm> self(this);
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

bool MainFrm::stillHere(const QPointer<MainFrm>& self)
{
    return self && self->stillShown();
}

void MainFrm::giveFocusBack(QPushButton* button)
{
    QPointer<QPushButton> b(button);
    QMetaObject::invokeMethod(
        this, [b] {
            if (b && b->isVisible() && !b->hasFocus()) b->setFocus();
        },
        Qt::QueuedConnection);
}

bool MainFrm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == LblDD5_) {
        if (event->type() == QEvent::MouseButtonRelease && LblDD5_->isEnabled()) {
            auto* me = static_cast<QMouseEvent*>(event);
            if (me->button() == Qt::LeftButton && LblDD5_->rect().contains(me->position().toPoint())) LblDD5_Click();
        }
        return false;
    }
    if (watched == Command5_ || watched == Command1_) {
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
            // The visible answer button keeps the keyboard focus (Command5_LostFocus,
            // Command1_LostFocus); not when the whole window merely lost activation.
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) giveFocusBack(button);
            break;
        }
        default:
            break;
        }
    }
    return Screen::eventFilter(watched, event);
}

void MainFrm::keyPressEvent(QKeyEvent* e)
{
    // Keys that reach the form itself (no answer button has the focus).
    if (entryKey(*e)) return;
    Screen::keyPressEvent(e);
}

void MainFrm::keyReleaseEvent(QKeyEvent* e)
{
    heldKeys_.released(e->key(), e->timestamp());
    Screen::keyReleaseEvent(e);
}
