// The step lobby and its record lists.
//
// Choices where the screen's old behaviour leaves room:
// - The recent window of each level is written again once the show step has
//   recomputed the counters, so a lobby built before the counters were
//   fresh (a new day, another pupil) never shows old figures.
// - The wait screen "Form1" left by a practice run is taken down by the show
//   step, under the lobby's own wait panel.
// - The digit keys 1..N start their level like the access keys "&1".."&N",
//   as the start buttons' tooltip promises; nothing starts while a wait
//   panel is up, a list is being built or the report panel is open.
// - The record lists' own choices are in lobby_screen_lists.cpp.
#include "lobby/lobby_screen.h"

#include "base/text_util.h"
#include "base/twips.h"
#include "lobby/level_column.h"
#include "lobby/lobby_controls.h"
#include "lobby/lobby_geometry.h"
#include "lobby/lobby_texts.h"
#include "lobby/report_panel.h"
#include "records/grades.h"
#include "records/record_loading.h"
#include "results/results_rules.h"
#include "state/catalogue.h"
#include "ui/fitted_text.h"
#include "ui/fonts.h"
#include "ui/stage.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

using namespace lobby;

namespace {
// A plain bar: it is drawn at every step of a list build.
const QString kProgressStyle = QStringLiteral("QProgressBar { border: 1px solid #004040; background: white; }"
                                              " QProgressBar::chunk { background: #2a8a2a; }");

QFrame* makePanel(QWidget* parent, const QString& name, const QColor& colour)
{
    auto* f = new QFrame(parent);
    f->setObjectName(name);
    f->setAutoFillBackground(true);
    QPalette pal = f->palette();
    pal.setColor(QPalette::Window, colour);
    f->setPalette(pal);
    return f;
}
} // namespace

LobbyScreen::LobbyScreen(App& app) : Screen(app, QStringLiteral("seisekitime1"))
{
    setWindowTitle(state().contentTitle);
    build();
}

LobbyScreen::~LobbyScreen() = default;

void LobbyScreen::build()
{
    SharedState& s = state();
    levelCount_ = std::clamp<int>(s.levelCount, 0, kLevelCount - 1);
    const QColor background = QColor::fromRgb(s.backgroundColour);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, background);
    setPalette(pal);

    // The record range has one choice, the last 3650 days, which the list of
    // every run always uses.
    buildTopBand();
    buildOptions();

    const Columns columns = columnsFor(levelCount_);
    columnWidth_ = columns.width;
    columns_.resize(std::size_t(levelCount_) + 1);
    for (int i = 1; i <= levelCount_; ++i) buildColumn(i);

    const ColumnRows& rows = columnRows();
    columnScroll_ = new QScrollBar(Qt::Horizontal, this);
    columnScroll_->setObjectName(QStringLiteral("HScroll1"));
    columnScroll_->setGeometry(
        twRect(kMargin, rows.scroll.top, columnWidth_ * std::min(levelCount_, 4), rows.scroll.height));
    columnScroll_->setMinimum(1);
    columnScroll_->setMaximum(std::max(1, columns.scrollMax));
    columnScroll_->setPageStep(1);
    columnScroll_->setVisible(columns.scrollBar);
    connect(columnScroll_, &QScrollBar::valueChanged, this, &LobbyScreen::scrollColumns);

    // The end of a finished step plan, which this program never has.
    planFinished_ = makePanel(this, QStringLiteral("Picture10"), QColor(255, 255, 200));
    planFinished_->setGeometry(twRect(kMargin, rows.heading.top - 560, 9000, 500));
    auto* planFinishedText = makeLabel(planFinished_, QStringLiteral("Label26"),
                                       QRect(QPoint(0, 0), planFinished_->size()), 14, true, styleFor(Qt::darkRed),
                                       Qt::AlignCenter);
    planFinishedText->setText(QStringLiteral("規定回数クリア、自由にしてよろしい"));
    planFinished_->hide();

    // The progress report; its print button is the teacher's.
    report_ = new ReportPanel(
        app(), [this] { return viewer(); }, this);
    connect(graph_, &QPushButton::clicked, report_, &ReportPanel::showCurrentPupil);

    // The wait panels: one over the lists while they are built, one over the
    // whole screen.
    listWaitPanel_ = makePanel(this, QStringLiteral("Picture6"), background);
    listWaitPanel_->setGeometry(twRect(0, rows.heading.top, kFormWidth, rows.scroll.top - rows.heading.top));
    auto* listWaitText = makeLabel(listWaitPanel_, QStringLiteral("Picture6Text"),
                                   QRect(0, listWaitPanel_->height() / 2 - tw(900), listWaitPanel_->width(), tw(600)),
                                   20, true, styleFor(Qt::white), Qt::AlignCenter);
    listWaitText->setText(QStringLiteral("Just a momento, please."));
    listProgress_ = new QProgressBar(listWaitPanel_);
    listProgress_->setObjectName(QStringLiteral("ProgressBar2"));
    listProgress_->setGeometry(twRect(3840, 0, 7680, 300).translated(0, listWaitPanel_->height() / 2));
    listProgress_->setTextVisible(false);
    listProgress_->setStyleSheet(kProgressStyle);
    listWaitPanel_->hide();

    waitPanel_ = makePanel(this, QStringLiteral("Picture2"), background);
    waitPanel_->setGeometry(twRect(0, 0, kFormWidth, kFormHeight));
    auto* waitText = makeLabel(waitPanel_, QStringLiteral("Picture2Text"), twRect(0, 4800, kFormWidth, 900), 28, true,
                               styleFor(Qt::white), Qt::AlignCenter);
    waitText->setText(QStringLiteral("Just a moment, please."));
    waitProgress_ = new QProgressBar(waitPanel_);
    waitProgress_->setObjectName(QStringLiteral("ProgressBar1"));
    waitProgress_->setGeometry(twRect(3840, 6000, 7680, 360));
    waitProgress_->setTextVisible(false);
    waitProgress_->setStyleSheet(kProgressStyle);
    waitPanel_->hide();

    // The digit keys start their level, as the tooltip promises, and 0 is
    // "戻る(0)", whichever control of the stage has the focus: the keys are
    // taken before any control (a list would search its lines for them).
    QCoreApplication::instance()->installEventFilter(this);
}

void LobbyScreen::buildTopBand()
{
    const Colours white = styleFor(Qt::white);
    title_ = makeLabel(this, QStringLiteral("Label11"), twRect(kMargin, 100, 5000, 640), 24, true,
                       styleFor(QColor(255, 255, 160)));
    pupil_ = makeLabel(this, QStringLiteral("Label12"), twRect(5500, 100, 4700, 540), 20, true, white);
    school_ = makeLabel(this, QStringLiteral("Label13"), twRect(5500, 660, 4700, 340), 12, false, white);
    minutesSinceSignIn_ = makeLabel(this, QStringLiteral("Label17"), twRect(10400, 130, 2400, 340), 12, false, white);
    runsToday_ = makeLabel(this, QStringLiteral("Label18"), twRect(10400, 530, 2400, 340), 12, false, white);

    back_ = new QPushButton(QStringLiteral("戻る(0)"), this);
    back_->setObjectName(QStringLiteral("Command1"));
    back_->setGeometry(twRect(13000, 120, 2000, 760));
    back_->setFont(designFont(kPGothic, 16, true));
    connect(back_, &QPushButton::clicked, this, &LobbyScreen::goBack);

    auto* instructionsCaption = makeLabel(this, QStringLiteral("Label28"), twRect(kMargin, 1050, 1500, 300), 11, true,
                                          white);
    instructionsCaption->setText(QStringLiteral("説明"));
    instructions_ = new QListWidget(this);
    instructions_->setObjectName(QStringLiteral("List6"));
    instructions_->setGeometry(twRect(kMargin, 1350, 6300, 2250));
    instructions_->setFont(designFont(kPGothic, 10));
    instructions_->setFocusPolicy(Qt::NoFocus);

    listHeading_ = makeLabel(this, QStringLiteral("Label5"),
                             twRect(kMargin, columnRows().heading.top, 9000, columnRows().heading.height), 14, true,
                             styleFor(QColor(255, 255, 160)));
}

void LobbyScreen::buildOptions()
{
    SharedState& s = state();
    optionsPanel_ = makePanel(this, QStringLiteral("Picture1"), QColor(0, 100, 100));
    optionsPanel_->setFrameShape(QFrame::StyledPanel);
    optionsPanel_->setGeometry(twRect(6900, 1050, 8100, 2550));
    const Colours white = styleFor(Qt::white);

    displays_ = new QButtonGroup(this);
    const char16_t* const kinds[3] = {u"ﾀｲﾑ表示", u"ﾎﾟｲﾝﾄ表示", u"個人ﾀｲﾑ"};
    for (int m = 0; m < 3; ++m) {
        auto* b = new QRadioButton(QString::fromUtf16(kinds[m]), optionsPanel_);
        b->setObjectName(QStringLiteral("Option2(%1)").arg(m));
        b->setGeometry(twRect(200 + m * 2000, 150, 1900, 420));
        b->setFont(designFont(kPGothic, 12, true));
        applyColours(b, white);
        displays_->addButton(b, m);
        connect(b, &QRadioButton::clicked, this, [this, m] { showDisplay(Display(m)); });
    }
    scopes_ = new QButtonGroup(this);
    const char16_t* const scopes[3] = {u"BEST表示", u"本日のみ", u"すべて"};
    for (int k = 1; k <= 3; ++k) {
        auto* b = new QRadioButton(QString::fromUtf16(scopes[k - 1]), optionsPanel_);
        b->setObjectName(QStringLiteral("Option1(%1)").arg(k));
        b->setGeometry(twRect(200 + (k - 1) * 2000, 750, 1900, 420));
        b->setFont(designFont(kPGothic, 12, true));
        applyColours(b, white);
        scopes_->addButton(b, k);
        connect(b, &QRadioButton::clicked, this, [this, k] { showScope(Scope(k)); });
    }

    graph_ = new QPushButton(QStringLiteral("グラフ"), optionsPanel_);
    graph_->setObjectName(QStringLiteral("Command17"));
    graph_->setGeometry(twRect(6300, 130, 1600, 480));
    graph_->setFont(designFont(kPGothic, 12, true));
    graph_->hide();

    // The grade filter, as the selection screen left it.
    gradeFilter_ = new QComboBox(optionsPanel_);
    gradeFilter_->setObjectName(QStringLiteral("Combo1"));
    gradeFilter_->setGeometry(twRect(200, 1450, 3000, 420));
    gradeFilter_->setFont(designFont(kPGothic, 12));
    gradeFilter_->setToolTip(QStringLiteral("表示する学年を選びます"));
    gradeFilter_->addItems(gradeFilterChoices());
    // A filter text that is not an item (e.g. "家族") is kept as it is.
    if (gradeFilter_->findText(s.gradeFilterText) < 0) gradeFilter_->addItem(s.gradeFilterText);
    gradeFilter_->setCurrentText(s.gradeFilterText);
    connect(gradeFilter_, &QComboBox::activated, this, &LobbyScreen::gradeChosen);

    recordRange_ = new QComboBox(optionsPanel_);
    recordRange_->setObjectName(QStringLiteral("Combo2"));
    recordRange_->setGeometry(twRect(3400, 1450, 3400, 420));
    recordRange_->setFont(designFont(kPGothic, 12));
    recordRange_->addItem(QStringLiteral("　　今までの全成績"));
    connect(recordRange_, &QComboBox::activated, this, &LobbyScreen::rangeChosen);

    displayOne_ = new QPushButton(QStringLiteral("表示１"), optionsPanel_);
    displayOne_->setObjectName(QStringLiteral("Command26"));
    displayOne_->setGeometry(twRect(6300, 1420, 1600, 480));
}

void LobbyScreen::buildColumn(int level)
{
    const SharedState& s = state();
    const std::size_t i = std::size_t(level);
    const LevelTitle title = levelTitle(s.levelNames[i], level, s.roster.names);
    LevelColumnTexts texts;
    texts.name = title.caption;
    texts.nameTip = title.toolTip;
    texts.smallName = title.small;
    // No level of this title has a maker or a practice run.
    texts.startCaption = startCaption(level, QString(), s.siteCode, s.roster.names);
    texts.targets = targetLine(s.levelTable[i], !s.levelNames[i].isEmpty());
    auto& c = columns_[i];
    c = std::make_unique<LevelColumn>(this, level, texts, columnWidth_);
    connect(c.get(), &LevelColumn::nameClicked, this, &LobbyScreen::startFromName);
    connect(c.get(), &LevelColumn::startClicked, this, &LobbyScreen::startLevel);
    connect(c.get(), &LevelColumn::practiceClicked, this, &LobbyScreen::startPractice);
    c->place(kMargin + (level - 1) * columnWidth_);
}

void LobbyScreen::placeColumns(int scroll)
{
    for (int i = 1; i <= levelCount_; ++i) column(i).place(columnLeft(i, scroll, columnWidth_));
}

void LobbyScreen::setRecentLines()
{
    SharedState& s = state();
    const RecordTables& records = s.records;
    const int pupil = std::clamp<int>(s.pupilNumber, 0, kPupilCount - 1);
    for (int i = 1; i <= levelCount_; ++i) {
        if (s.levelNames[std::size_t(i)].isEmpty()) continue; // named levels only
        const PupilLevelStats& st = records.stats(i, pupil);
        column(i).showRecent(recentLine(s.levelTable[std::size_t(i)].dayWindow1, st.recentRunCount, st.recentPoints));
    }
}

bool LobbyScreen::isPractice(int level) { return isPracticeLevel(state(), level); }

void LobbyScreen::formActivate()
{
    SharedState& s = state();
    Services& sv = services();
    const int n = levelCount_;
    app().stage.unloadWaitScreen();

    // Fill the lobby for this pupil behind the wait panel, then uncover it on the default ranking.
    instructions_->clear();
    instructions_->addItems(instructionLines());
    // The report's print button is the teacher's.
    report_->setTeacher(seesPrintButton(s.pupilName));
    minutesSinceSignIn_->setText(minutesLine(signInMinutes(sv.clock.secondsSinceMidnight(), s.nameConfirmedSeconds)));
    waitPanel_->setGeometry(0, 0, width(), waitPanel_->height());
    waitProgress_->show();
    waitPanel_->show();
    waitPanel_->raise();
    if (!pump()) return;
    scopes_->button(1)->setText(QStringLiteral("累計順"));
    scopes_->button(2)->setText(QStringLiteral("本日順"));
    if (!loadRecordsAndCounts(s, sv) || !stillShown()) return;
    // Today's runs over all levels, in 16 bits.
    runsToday_->setText(todayTotalLine(runsTodayAllLevels(s.records, s.pupilNumber)));
    setRecentLines();
    waitProgress_->setRange(0, n);
    waitProgress_->setValue(0);
    // The default display: all-time points.
    defaultsBeingSet_ = true;
    order_ = lists::Order::Points;
    scopes_->button(1)->setChecked(true);
    showScope(Scope::SoFar);
    if (!stillShown()) return;
    showDisplay(Display::Points);
    if (!stillShown()) return;
    displays_->button(1)->setChecked(true);
    back_->setEnabled(true);
    defaultsBeingSet_ = false;
    for (int i = 1; i <= n; ++i) {
        if (isPractice(i)) {
            s.levelTable[std::size_t(i)].targetTime = 600;
            s.levelTable[std::size_t(i)].secondTime = 600;
        } else {
            column(i).showList();
        }
    }
    listWaitPanel_->hide();
    // A long name gets a smaller font, then "…"; the grade is always shown.
    fitNameLine(
        pupil_, trimBlanks(s.pupilName), [&s](const QString& name) { return pupilLine(name, s.pupilGradeLabel); }, 20,
        12);
    school_->setText(schoolLine(s.pupilNumber, s.organisationName));
    title_->setFont(designFont(kPGothic, titlePoints(s.contentTitle), true));
    title_->setText(s.contentTitle);
    // The scroll column, kept in the shared state between showings.
    const Columns columns = columnsFor(n);
    s.scrollColumn = scrollColumnOnShow(s.scrollColumn, columns.scrollBar ? columnScroll_->maximum() : 0);
    {
        const QSignalBlocker quiet(columnScroll_);
        columnScroll_->setValue(s.scrollColumn);
    }
    placeColumns(s.scrollColumn);
    const int pupil = std::clamp<int>(s.pupilNumber, 0, kPupilCount - 1);
    for (int i = 1; i <= n; ++i) {
        LevelColumn& c = column(i);
        if (isPractice(i)) c.hideFigures();
        c.enableStart();
        const PupilLevelStats& st = std::as_const(s.records).stats(i, pupil);
        c.showCounts(todayCountsLine(st.todayRunCount, st.todayPoints), allCountsLine(st.runCount, st.totalPoints));
    }
    // No step plan is ever in force.
    checkLevels();
    waitPanel_->hide();
    waitProgress_->hide();
    if (!pump()) return;
    displayOne_->hide();
}

void LobbyScreen::checkLevels()
{
    SharedState& s = state();
    const int n = levelCount_;
    // Decide which levels may be started now; the results screen reads whether the designated one is cleared.
    s.designatedLevelCleared = designatedLevelCleared(s);
    if (kStepPlan && kPlanFinished) planFinished_->show();
    const int pupil = std::clamp<int>(s.pupilNumber, 0, kPupilCount - 1);
    std::vector<LevelGate> gates(std::size_t(n) + 1);
    for (int i = 1; i <= n; ++i) {
        const LevelRow& row = s.levelTable[std::size_t(i)];
        const PupilLevelStats& st = std::as_const(s.records).stats(i, pupil);
        LevelGate& g = gates[std::size_t(i)];
        g.practice = isPractice(i);
        g.cleared = levelCleared(row, st);
        g.doneEnough = levelDoneEnough(row, st);
        g.nextWithoutPointTarget = i + 1 < kLevelCount && s.levelTable[std::size_t(i + 1)].requiredPoints == 9999;
    }
    const LevelSequence seq = levelSequence(gates, isTeacher(s.pupilName), kPlanFinished, s.designatedLevelCleared);
    for (int i = 1; i <= n; ++i) {
        if (seq.enable[std::size_t(i)]) column(i).enableStart();
        if (seq.hideBlankBox[std::size_t(i)]) column(i).hideBlankBox();
    }
    listWaitPanel_->lower();
}

bool LobbyScreen::startAllowed()
{
    return stillShown() && !waitPanel_->isVisible() && back_->isEnabled() && !report_->isVisible();
}

bool LobbyScreen::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType() || !isCurrent())
        return Screen::eventFilter(watched, event);
    // Keys of the stage's own window only: not those of a message box or an
    // open drop-down list.
    auto* w = static_cast<QWidget*>(watched);
    Stage& stage = app().stage;
    if (!(w == this || isAncestorOf(w) || w == &stage || stage.isAncestorOf(w))) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const int digit = key->key() - Qt::Key_0;
    if (digit < 0 || digit > std::min(levelCount_, 9) || (key->modifiers() & ~Qt::KeypadModifier) != 0) return false;
    if (!key->isAutoRepeat()) startFromKey(digit);
    return true;
}

void LobbyScreen::startFromKey(int digit)
{
    if (!startAllowed()) return;
    if (digit == 0) goBack();
    else startLevel(digit);
}

void LobbyScreen::goBack()
{
    waitPanel_->show();
    waitPanel_->raise();
    if (!pump()) return;
    app().navigator.showNameSelection();
}

void LobbyScreen::startLevel(int level)
{
    if (level < 1 || level > levelCount_ || !column(level).startEnabled()) return;
    SharedState& s = state();
    waitPanel_->show();
    waitPanel_->raise();
    s.currentLevel = qint16(level);
    if (!pump()) return;
    s.practiceRun = false;
    // Opening the drill replaces (unloads) the lobby.
    app().navigator.startRun();
}

void LobbyScreen::startPractice(int level)
{
    if (level < 1 || level > levelCount_) return;
    SharedState& s = state();
    waitPanel_->show();
    waitPanel_->raise();
    s.currentLevel = qint16(level);
    if (!pump()) return;
    s.practiceRun = true;
    app().navigator.startRun();
}

void LobbyScreen::startFromName(int level)
{
    if (level < 1 || level > levelCount_ || !column(level).startEnabled()) return;
    state().currentLevel = qint16(level);
    app().navigator.startRun();
}

void LobbyScreen::scrollColumns(int value)
{
    SharedState& s = state();
    s.scrollColumn = scrollColumnOnChange(value, levelCount_);
    placeColumns(s.scrollColumn);
}
