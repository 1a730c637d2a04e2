// The step lobby and its record lists.
//
// Choices where the screen's old behaviour leaves room:
// - Label8(i) (the recent window) is written again once the show step has
//   recomputed the counters, so a lobby built before the counters were
//   fresh (a new day, another pupil) never shows old figures.
// - The wait screen "Form1" left by a practice run is taken down by the show
//   step, under the lobby's own wait panel.
// - The digit keys 1..N start their level like the access keys "&1".."&N",
//   as the start buttons' tooltip promises; nothing starts while a wait
//   panel is up, a list is being built or the report panel is open.
// - The record lists' own choices are in lobby_screen_lists.cpp.
#include "lobby/lobby_screen.h"

#include "app/catalogue.h"
#include "app/dispatch.h"
#include "app/fitted_text.h"
#include "app/fonts.h"
#include "app/stage.h"
#include "app/text_util.h"
#include "app/twips.h"
#include "lobby/lobby_geometry.h"
#include "lobby/lobby_texts.h"
#include "lobby/record_list_model.h"
#include "lobby/report_panel.h"
#include "records/grades.h"
#include "records/record_loading.h"
#include "results/results_rules.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QFontMetricsF>
#include <QFrame>
#include <QMouseEvent>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QKeyEvent>

using namespace lobby;

namespace {
const QColor kLightGrey(224, 224, 224);
const QColor kLevelBand(0, 64, 96);
// A plain bar: it is drawn at every step of a list build.
const QString kProgressStyle = QStringLiteral("QProgressBar { border: 1px solid #004040; background: white; }"
                                              " QProgressBar::chunk { background: #2a8a2a; }");

// Colours by palette, not style sheets: a sheet per control makes the lobby
// slow to build.
struct Colours {
    QColor text;
    QColor back;
};
Colours styleFor(const QColor& text, const QColor& back = QColor()) { return {text, back}; }

void applyColours(QWidget* w, const Colours& c)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, c.text);
    if (c.back.isValid()) {
        pal.setColor(QPalette::Window, c.back);
        w->setAutoFillBackground(true);
    }
    w->setPalette(pal);
}

constexpr double kCountPoints = 11; // Label14 and Label15

QLabel* makeLabel(QWidget* parent, const QString& name, const QRect& at, double points, bool bold,
                  const Colours& style, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter)
{
    auto* l = Screen::make<QLabel>(parent, name, at, designFont(kPGothic, points, bold));
    applyColours(l, style);
    l->setAlignment(align);
    return l;
}

// A count wider than its half column (a six-digit point total) is drawn in a
// smaller font, so that it is read whole and never cut at the label's edges.
void setFittedText(QLabel* l, const QString& text, double points)
{
    QFont f = designFont(kPGothic, points, true);
    const double room = l->width() - 4;
    const double wide = QFontMetricsF(f).horizontalAdvance(text);
    if (room > 0 && wide > room) f.setPixelSize(qMax(1, int(f.pixelSize() * room / wide)));
    l->setFont(f);
    l->setText(text);
}

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

void ClickLabel::mouseReleaseEvent(QMouseEvent* e)
{
    QLabel::mouseReleaseEvent(e);
    if (rect().contains(e->position().toPoint())) emit clicked();
}

LobbyScreen::LobbyScreen(App& app) : Screen(app, QStringLiteral("seisekitime1"))
{
    setWindowTitle(state().contentTitle);
    Form_Load();
}

void LobbyScreen::Form_Load()
{
    SharedState& s = state();
    levelCount_ = std::clamp<int>(s.levelCount, 0, kLevelCount - 1);
    const QColor background = QColor::fromRgb(s.backgroundColour);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, background);
    setPalette(pal);

    // Step 1: the record-view selector has one range, the last 3650 days
    // (Combo2's only item), which the all-runs list always uses.

    buildTopBand();
    buildOptions();

    // Step 3: the columns; element 0 of each array is the pattern every
    // level's element is made from.
    const Columns columns = columnsFor(levelCount_);
    columnWidth_ = columns.width;
    col_.resize(std::size_t(levelCount_) + 1);
    for (int i = 1; i <= levelCount_; ++i) buildColumn(i);

    const ColumnRows& rows = columnRows();
    hScroll1_ = new QScrollBar(Qt::Horizontal, this);
    hScroll1_->setObjectName(QStringLiteral("HScroll1"));
    hScroll1_->setGeometry(twRect(kMargin, rows.scroll.top, columnWidth_ * std::min(levelCount_, 4), rows.scroll.height));
    hScroll1_->setMinimum(1);
    hScroll1_->setMaximum(std::max(1, columns.scrollMax));
    hScroll1_->setPageStep(1);
    hScroll1_->setVisible(columns.scrollBar);
    connect(hScroll1_, &QScrollBar::valueChanged, this, &LobbyScreen::HScroll1_Change);

    // Picture10: the end of a finished step plan, which this program never has.
    picture10_ = makePanel(this, QStringLiteral("Picture10"), QColor(255, 255, 200));
    picture10_->setGeometry(twRect(kMargin, rows.heading.top - 560, 9000, 500));
    auto* label26 = makeLabel(picture10_, QStringLiteral("Label26"), QRect(QPoint(0, 0), picture10_->size()), 14, true,
                              styleFor(Qt::darkRed), Qt::AlignCenter);
    label26->setText(QStringLiteral("規定回数クリア、自由にしてよろしい"));
    picture10_->hide();

    // The report panel (Picture11); its print button is the teacher's.
    report_ = new ReportPanel(app(), [this] { return viewer(); }, this);
    connect(command17_, &QPushButton::clicked, report_, &ReportPanel::Command17_Click);

    // Step 7: the wait panels.
    picture6_ = makePanel(this, QStringLiteral("Picture6"), background);
    picture6_->setGeometry(twRect(0, rows.heading.top, kFormWidth, rows.scroll.top - rows.heading.top));
    auto* wait6 = makeLabel(picture6_, QStringLiteral("Picture6Text"), QRect(0, picture6_->height() / 2 - tw(900), picture6_->width(), tw(600)),
                            20, true, styleFor(Qt::white), Qt::AlignCenter);
    wait6->setText(QStringLiteral("Just a momento, please."));
    progressBar2_ = new QProgressBar(picture6_);
    progressBar2_->setObjectName(QStringLiteral("ProgressBar2"));
    progressBar2_->setGeometry(twRect(3840, 0, 7680, 300).translated(0, picture6_->height() / 2));
    progressBar2_->setTextVisible(false);
    progressBar2_->setStyleSheet(kProgressStyle);
    picture6_->hide();

    picture2_ = makePanel(this, QStringLiteral("Picture2"), background);
    picture2_->setGeometry(twRect(0, 0, kFormWidth, kFormHeight));
    auto* wait2 = makeLabel(picture2_, QStringLiteral("Picture2Text"), twRect(0, 4800, kFormWidth, 900), 28, true,
                            styleFor(Qt::white), Qt::AlignCenter);
    wait2->setText(QStringLiteral("Just a moment, please."));
    progressBar1_ = new QProgressBar(picture2_);
    progressBar1_->setObjectName(QStringLiteral("ProgressBar1"));
    progressBar1_->setGeometry(twRect(3840, 6000, 7680, 360));
    progressBar1_->setTextVisible(false);
    progressBar1_->setStyleSheet(kProgressStyle);
    picture2_->hide();

    // The digit keys start their level, as the tooltip promises, and 0 is
    // "戻る(0)", whichever control of the stage has the focus: the keys are
    // taken before any control (a list would search its lines for them).
    QCoreApplication::instance()->installEventFilter(this);
}

void LobbyScreen::buildTopBand()
{
    const Colours white = styleFor(Qt::white);
    label11_ = makeLabel(this, QStringLiteral("Label11"), twRect(kMargin, 100, 5000, 640), 24, true, styleFor(QColor(255, 255, 160)));
    label12_ = makeLabel(this, QStringLiteral("Label12"), twRect(5500, 100, 4700, 540), 20, true, white);
    label13_ = makeLabel(this, QStringLiteral("Label13"), twRect(5500, 660, 4700, 340), 12, false, white);
    label17_ = makeLabel(this, QStringLiteral("Label17"), twRect(10400, 130, 2400, 340), 12, false, white);
    label18_ = makeLabel(this, QStringLiteral("Label18"), twRect(10400, 530, 2400, 340), 12, false, white);

    command1_ = new QPushButton(QStringLiteral("戻る(0)"), this);
    command1_->setObjectName(QStringLiteral("Command1"));
    command1_->setGeometry(twRect(13000, 120, 2000, 760));
    command1_->setFont(designFont(kPGothic, 16, true));
    connect(command1_, &QPushButton::clicked, this, &LobbyScreen::Command1_Click);

    label28_ = makeLabel(this, QStringLiteral("Label28"), twRect(kMargin, 1050, 1500, 300), 11, true, white);
    label28_->setText(QStringLiteral("説明"));
    list6_ = new QListWidget(this);
    list6_->setObjectName(QStringLiteral("List6"));
    list6_->setGeometry(twRect(kMargin, 1350, 6300, 2250));
    list6_->setFont(designFont(kPGothic, 10));
    list6_->setFocusPolicy(Qt::NoFocus);

    label5_ = makeLabel(this, QStringLiteral("Label5"), twRect(kMargin, columnRows().heading.top, 9000, columnRows().heading.height),
                        14, true, styleFor(QColor(255, 255, 160)));
}

void LobbyScreen::buildOptions()
{
    SharedState& s = state();
    picture1_ = makePanel(this, QStringLiteral("Picture1"), QColor(0, 100, 100));
    picture1_->setFrameShape(QFrame::StyledPanel);
    picture1_->setGeometry(twRect(6900, 1050, 8100, 2550));
    const Colours white = styleFor(Qt::white);

    option2_ = new QButtonGroup(this);
    const char16_t* const kinds[3] = {u"ﾀｲﾑ表示", u"ﾎﾟｲﾝﾄ表示", u"個人ﾀｲﾑ"};
    for (int m = 0; m < 3; ++m) {
        auto* b = new QRadioButton(QString::fromUtf16(kinds[m]), picture1_);
        b->setObjectName(QStringLiteral("Option2(%1)").arg(m));
        b->setGeometry(twRect(200 + m * 2000, 150, 1900, 420));
        b->setFont(designFont(kPGothic, 12, true));
        applyColours(b, white);
        option2_->addButton(b, m);
        connect(b, &QRadioButton::clicked, this, [this, m] { Option2_Click(m); });
    }
    option1_ = new QButtonGroup(this);
    const char16_t* const variants[3] = {u"BEST表示", u"本日のみ", u"すべて"};
    for (int k = 1; k <= 3; ++k) {
        auto* b = new QRadioButton(QString::fromUtf16(variants[k - 1]), picture1_);
        b->setObjectName(QStringLiteral("Option1(%1)").arg(k));
        b->setGeometry(twRect(200 + (k - 1) * 2000, 750, 1900, 420));
        b->setFont(designFont(kPGothic, 12, true));
        applyColours(b, white);
        option1_->addButton(b, k);
        connect(b, &QRadioButton::clicked, this, [this, k] { Option1_Click(k); });
    }

    command17_ = new QPushButton(QStringLiteral("グラフ"), picture1_);
    command17_->setObjectName(QStringLiteral("Command17"));
    command17_->setGeometry(twRect(6300, 130, 1600, 480));
    command17_->setFont(designFont(kPGothic, 12, true));
    command17_->hide();

    // Step 4: the grade filter, as the selection screen left it.
    combo1_ = new QComboBox(picture1_);
    combo1_->setObjectName(QStringLiteral("Combo1"));
    combo1_->setGeometry(twRect(200, 1450, 3000, 420));
    combo1_->setFont(designFont(kPGothic, 12));
    combo1_->setToolTip(QStringLiteral("表示する学年を選びます"));
    combo1_->addItems(gradeFilterChoices());
    // A filter text that is not an item (e.g. "家族") is kept as it is.
    if (combo1_->findText(s.gradeFilterText) < 0) combo1_->addItem(s.gradeFilterText);
    combo1_->setCurrentText(s.gradeFilterText);
    connect(combo1_, &QComboBox::activated, this, &LobbyScreen::Combo1_Click);

    // Step 5: the record range.
    combo2_ = new QComboBox(picture1_);
    combo2_->setObjectName(QStringLiteral("Combo2"));
    combo2_->setGeometry(twRect(3400, 1450, 3400, 420));
    combo2_->setFont(designFont(kPGothic, 12));
    combo2_->addItem(QStringLiteral("　　今までの全成績"));
    connect(combo2_, &QComboBox::activated, this, &LobbyScreen::Combo2_Click);

    command26_ = new QPushButton(QStringLiteral("表示１"), picture1_);
    command26_->setObjectName(QStringLiteral("Command26"));
    command26_->setGeometry(twRect(6300, 1420, 1600, 480));
}

void LobbyScreen::buildColumn(int i)
{
    SharedState& s = state();
    Column& c = col_[std::size_t(i)];
    const QString level = QString::number(i);
    auto name = [&level](const char* base) { return QString::fromLatin1(base) + u'(' + level + u')'; };
    const Colours band = styleFor(Qt::white, kLevelBand);
    const Colours grey = styleFor(Qt::black, kLightGrey);
    const Colours white = styleFor(Qt::white);

    c.label1 = makeLabel(this, name("Label1"), {}, 12, true, band, Qt::AlignCenter);
    c.label1->setText(level);
    c.label3 = new ClickLabel(this);
    c.label3->setObjectName(name("Label3"));
    applyColours(c.label3, band);
    c.label3->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    const LevelTitle title = levelTitle(s.levelNames[std::size_t(i)], i, s.roster.names);
    c.label3->setFont(designFont(kPGothic, title.small ? 11 : 12, true));
    c.label3->setText(title.caption);
    c.label3->setToolTip(title.toolTip);
    connect(c.label3, &ClickLabel::clicked, this, [this, i] { Label3_Click(i); });

    // No level of this title has a maker or a practice run.
    c.command4 = new QPushButton(startCaption(i, QString(), s.siteCode, s.roster.names), this);
    c.command4->setObjectName(name("Command4"));
    c.command4->setFont(designFont(kPGothic, 14, true));
    c.command4->setToolTip(QStringLiteral("クリックしてスタートします。番号を押してもよろしい"));
    connect(c.command4, &QPushButton::clicked, this, [this, i] { Command4_Click(i); });
    c.text1 = new QLineEdit(this);
    c.text1->setObjectName(name("Text1"));
    c.text1->hide();
    c.command28 = new QPushButton(QStringLiteral("練習"), this);
    c.command28->setObjectName(name("Command28"));
    c.command28->setFont(designFont(kPGothic, 10, true));
    connect(c.command28, &QPushButton::clicked, this, [this, i] { Command28_Click(i); });
    c.command28->raise();
    c.command28->hide();

    c.label9 = makeLabel(this, name("Label9"), {}, 10, false, white, Qt::AlignCenter);
    c.label10 = makeLabel(this, name("Label10"), {}, 10, false, white, Qt::AlignCenter);
    c.label9->setText(QStringLiteral("今日"));
    c.label10->setText(QStringLiteral("今まで"));
    c.label14 = makeLabel(this, name("Label14"), {}, kCountPoints, true, styleFor(QColor(255, 255, 160)), Qt::AlignCenter);
    c.label15 = makeLabel(this, name("Label15"), {}, kCountPoints, true, styleFor(QColor(255, 255, 160)), Qt::AlignCenter);
    c.label8 = makeLabel(this, name("Label8"), {}, 10, false, grey, Qt::AlignCenter);
    c.list5 = new QListView(this);
    c.list5->setObjectName(name("List5"));
    c.lines5 = new RecordListModel(c.list5);
    c.list5->setModel(c.lines5);
    c.list5->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QFont fixed = designFont(kGothic, 10);
    fixed.setPixelSize(listFontPixels(columnWidth_));
    c.list5->setFont(fixed);
    c.list5->setFocusPolicy(Qt::NoFocus);
    // Every line is one line of the same font: no text is laid out to size a
    // row, so 20 000 lines fill in a moment.
    c.list5->setUniformItemSizes(true);
    c.label7 = makeLabel(this, name("Label7"), {}, 10, false, grey, Qt::AlignCenter);
    c.label7->setText(targetLine(s.levelTable[std::size_t(i)], !s.levelNames[std::size_t(i)].isEmpty()));
    c.command3 = new QPushButton(QStringLiteral("成績表示"), this);
    c.command3->setObjectName(name("Command3"));
    c.command3->hide();
    c.command2 = new QPushButton(QStringLiteral("タイム初期化"), this);
    c.command2->setObjectName(name("Command2"));
    c.command2->hide();
    placeColumn(i, kMargin + (i - 1) * columnWidth_);
}

void LobbyScreen::placeColumn(int i, double left)
{
    const Column& c = col_[std::size_t(i)];
    const ColumnRows& r = columnRows();
    const double w = columnWidth_, first = 0.2 * w, half = w / 2;
    c.label1->setGeometry(twRect(left, r.name.top, first, r.name.height));
    c.label3->setGeometry(twRect(left + first, r.name.top, w - first, r.name.height));
    c.command4->setGeometry(twRect(left, r.start.top, w, r.start.height));
    c.command28->setGeometry(twRect(left, r.start.top, 0.2 * w, r.start.height));
    c.text1->setGeometry(c.command28->geometry());
    c.label9->setGeometry(twRect(left, r.captions.top, half, r.captions.height));
    c.label10->setGeometry(twRect(left + half, r.captions.top, half, r.captions.height));
    c.label14->setGeometry(twRect(left, r.counts.top, half, r.counts.height));
    c.label15->setGeometry(twRect(left + half, r.counts.top, half, r.counts.height));
    c.label8->setGeometry(twRect(left, r.recent.top, w, r.recent.height));
    c.list5->setGeometry(twRect(left, r.list.top, w, r.list.height));
    c.label7->setGeometry(twRect(left, r.targets.top, w, r.targets.height));
    c.command3->setGeometry(c.command4->geometry());
    c.command2->setGeometry(c.command4->geometry());
}

void LobbyScreen::placeColumns(int scroll)
{
    for (int i = 1; i <= levelCount_; ++i) placeColumn(i, columnLeft(i, scroll, columnWidth_));
}

void LobbyScreen::setRecentLines()
{
    SharedState& s = state();
    const RecordTables& records = s.records;
    const int pupil = std::clamp<int>(s.pupilNumber, 0, kPupilCount - 1);
    for (int i = 1; i <= levelCount_; ++i) {
        QLabel* l = col_[std::size_t(i)].label8;
        if (s.levelNames[std::size_t(i)].isEmpty()) continue; // named levels only
        const PupilLevelStats& st = records.stats(i, pupil);
        l->setText(recentLine(s.levelTable[std::size_t(i)].dayWindow1, st.recentRunCount, st.recentPoints));
    }
}

bool LobbyScreen::isPractice(int i) { return isPracticeLevel(state(), i); }

void LobbyScreen::hideFigures(Column& c)
{
    for (QWidget* w : std::initializer_list<QWidget*>{c.list5, c.label7, c.label8, c.label14, c.label15, c.label9, c.label10})
        w->hide();
}

void LobbyScreen::formActivate()
{
    SharedState& s = state();
    Services& sv = services();
    const int n = levelCount_;
    app().stage.unloadWaitScreen();

    // Fill the lobby for this pupil behind the wait panel, then uncover it on the default ranking.
    list6_->clear();
    list6_->addItems(instructionLines());
    // The report's print button is the teacher's.
    report_->setTeacher(seesPrintButton(s.pupilName));
    label17_->setText(minutesLine(signInMinutes(sv.clock.secondsSinceMidnight(), s.nameConfirmedSeconds)));
    picture2_->setGeometry(0, 0, width(), picture2_->height());
    progressBar1_->show();
    picture2_->show();
    picture2_->raise();
    if (!pump()) return;
    option1_->button(1)->setText(QStringLiteral("累計順"));
    option1_->button(2)->setText(QStringLiteral("本日順"));
    if (!回数求(s, sv) || !stillShown()) return;
    // Today's runs over all levels, in 16 bits.
    label18_->setText(todayTotalLine(runsTodayAllLevels(s.records, s.pupilNumber)));
    setRecentLines();
    progressBar1_->setRange(0, n);
    progressBar1_->setValue(0);
    // The default display: all-time points.
    defaultsBeingSet_ = true;
    orderingMode_ = 2;
    option1_->button(1)->setChecked(true);
    Option1_Click(1);
    if (!stillShown()) return;
    Option2_Click(1);
    if (!stillShown()) return;
    option2_->button(1)->setChecked(true);
    command1_->setEnabled(true);
    defaultsBeingSet_ = false;
    for (int i = 1; i <= n; ++i) {
        if (isPractice(i)) {
            s.levelTable[std::size_t(i)].targetTime = 600;
            s.levelTable[std::size_t(i)].secondTime = 600;
        } else {
            col_[std::size_t(i)].list5->show();
        }
    }
    picture6_->hide();
    // A long name gets a smaller font, then "…"; the grade is always shown.
    fitNameLine(label12_, trimBlanks(s.pupilName),
                [&s](const QString& name) { return pupilLine(name, s.pupilGradeLabel); }, 20, 12);
    label13_->setText(schoolLine(s.pupilNumber, s.organisationName));
    label11_->setFont(designFont(kPGothic, titlePoints(s.contentTitle), true));
    label11_->setText(s.contentTitle);
    // The scroll column, kept in the shared state between showings.
    const Columns columns = columnsFor(n);
    s.scrollColumn = scrollColumnOnShow(s.scrollColumn, columns.scrollBar ? hScroll1_->maximum() : 0);
    {
        const QSignalBlocker quiet(hScroll1_);
        hScroll1_->setValue(s.scrollColumn);
    }
    placeColumns(s.scrollColumn);
    const int pupil = std::clamp<int>(s.pupilNumber, 0, kPupilCount - 1);
    for (int i = 1; i <= n; ++i) {
        Column& c = col_[std::size_t(i)];
        if (isPractice(i))
            hideFigures(c);
        c.command4->setEnabled(true);
        const PupilLevelStats& st = std::as_const(s.records).stats(i, pupil);
        setFittedText(c.label15, allCountsLine(st.runCount, st.totalPoints), kCountPoints);
        setFittedText(c.label14, todayCountsLine(st.todayRunCount, st.todayPoints), kCountPoints);
    }
    // No step plan is ever in force.
    Command9_Click();
    picture2_->hide();
    progressBar1_->hide();
    if (!pump()) return;
    command26_->hide();
}

void LobbyScreen::Command9_Click()
{
    SharedState& s = state();
    const int n = levelCount_;
    // Decide which levels may be started now; the results screen reads whether the designated one is cleared.
    s.designatedLevelCleared = designatedLevelCleared(s) ? 1 : 0;
    if (kPlanMode == 1 && kPlanFinished) picture10_->show();
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
    const LevelSequence seq = levelSequence(gates, isTeacher(s.pupilName), kPlanFinished, s.designatedLevelCleared == 1);
    for (int i = 1; i <= n; ++i) {
        if (seq.enable[std::size_t(i)]) col_[std::size_t(i)].command4->setEnabled(true);
        if (seq.hideText1[std::size_t(i)]) col_[std::size_t(i)].text1->hide();
    }
    picture6_->lower();
}

bool LobbyScreen::startAllowed()
{
    return stillShown() && !picture2_->isVisible() && command1_->isEnabled() && !report_->isVisible();
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

void LobbyScreen::startFromKey(int i)
{
    if (!startAllowed()) return;
    if (i == 0) Command1_Click();
    else Command4_Click(i);
}

void LobbyScreen::Command1_Click()
{
    picture2_->show();
    picture2_->raise();
    if (!pump()) return;
    showNameSelection(app());
}

void LobbyScreen::Command4_Click(int i)
{
    if (i < 1 || i > levelCount_ || !col_[std::size_t(i)].command4->isEnabled()) return;
    SharedState& s = state();
    picture2_->show();
    picture2_->raise();
    s.currentLevel = qint16(i);
    if (!pump()) return;
    s.practiceRun = 0;
    // Opening the drill replaces (unloads) the lobby.
    startRun(app());
}

void LobbyScreen::Command28_Click(int i)
{
    if (i < 1 || i > levelCount_) return;
    SharedState& s = state();
    picture2_->show();
    picture2_->raise();
    s.currentLevel = qint16(i);
    if (!pump()) return;
    s.practiceRun = 1;
    startRun(app());
}

void LobbyScreen::Label3_Click(int i)
{
    if (i < 1 || i > levelCount_ || !col_[std::size_t(i)].command4->isEnabled()) return;
    state().currentLevel = qint16(i);
    startRun(app());
}

void LobbyScreen::HScroll1_Change(int value)
{
    SharedState& s = state();
    s.scrollColumn = scrollColumnOnChange(value, levelCount_);
    placeColumns(s.scrollColumn);
}
