#include "results/frm_syuuryou.h"

#include "ui/fonts.h"
#include "ui/stage.h"
#include "base/text_util.h"
#include "base/twips.h"
#include "records/record_loading.h"
#include "results/results_backdrop.h"
#include "results/results_rules.h"
#include "sound/cues.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

namespace {
const QColor kLightOrange(255, 200, 128);
const QColor kLightYellow(255, 255, 160);
const QColor kLightGreen(170, 255, 170);
const QColor kPaleBlue(220, 230, 255);
const QColor kGold(255, 220, 90);
const QColor kLightPink(255, 190, 220);
} // namespace

FrmSyuuryou::FrmSyuuryou(App& app) : Screen(app, QStringLiteral("FrmSyuuryou"))
{
    setWindowTitle(QStringLiteral("終了"));
    // The picture first, so that every other control lies over it.
    image1_ = new ResultsBackdrop(this);
    image1_->setObjectName(QStringLiteral("Image1"));

    label15_ = label(QStringLiteral("Label15"), 3840, 405, 7680, 990, 48, kLightOrange);
    label16_ = label(QStringLiteral("Label16"), 3840, 1755, 7680, 900, 36, kLightYellow);
    label14_ = label(QStringLiteral("Label14"), 11520, 1395, 3600, 450, 16, kPaleBlue, Qt::AlignRight | Qt::AlignVCenter);
    label13_ = label(QStringLiteral("Label13"), 10800, 2745, 4320, 450, 16, kPaleBlue, Qt::AlignRight | Qt::AlignVCenter);
    label17_ = label(QStringLiteral("Label17"), 600, 3255, 14160, 1185, 48, kLightGreen);
    label18_ = label(QStringLiteral("Label18"), 600, 4440, 14160, 840, 36, kLightGreen);
    label19_ = label(QStringLiteral("Label19"), 600, 5280, 14160, 900, 36, kLightGreen);
    label20_ = label(QStringLiteral("Label20"), 600, 6390, 14160, 900, 36, kGold);
    label20_->hide();
    label2_ = label(QStringLiteral("Label2"), 600, 7710, 14160, 480, 24, kLightPink, Qt::AlignHCenter | Qt::AlignTop);
    label2_->setText(QStringLiteral("このレベルクリア"));
    label2_->hide();

    picture1_ = new QWidget(this);
    picture1_->setObjectName(QStringLiteral("Picture1"));
    picture1_->setGeometry(twRect(0, 8145, 15360, 11520 - 8145));
    picture1_->setAutoFillBackground(true);
    QPalette pal = picture1_->palette();
    pal.setColor(QPalette::Window, QColor(255, 150, 60));
    picture1_->setPalette(pal);
    label1_ = new QLabel(QStringLiteral("目標レベルクリア。おめでとう！"), picture1_);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setFont(designFont(kPGothic, 36, true));
    label1_->setStyleSheet(QStringLiteral("color: white;"));
    label1_->setAlignment(Qt::AlignCenter);
    label1_->setGeometry(twRect(0, 600, 15360, 1200));
    picture1_->hide();
    // Label2's line reaches a little into the banner band; keep it readable.
    label2_->raise();

    command4_ = new QPushButton(QStringLiteral("メニューへ"), this);
    command4_->setObjectName(QStringLiteral("Command4"));
    command4_->setGeometry(twRect(2880, 8325, 3840, 1200));
    command5_ = new QPushButton(QStringLiteral("もう一度"), this);
    command5_->setObjectName(QStringLiteral("Command5"));
    command5_->setGeometry(twRect(8640, 8325, 3840, 1200));
    for (QPushButton* b : {command4_, command5_}) {
        b->setFont(designFont(kPGothic, 24, true));
        // Enter presses the button that has the focus, as on the drill.
        b->setAutoDefault(true);
        b->hide();
    }
    connect(command4_, &QPushButton::clicked, this, &FrmSyuuryou::Command4_Click);
    connect(command5_, &QPushButton::clicked, this, &FrmSyuuryou::Command5_Click);

    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setSingleShot(true);
    timer1_->setInterval(500);
    connect(timer1_, &QTimer::timeout, this, &FrmSyuuryou::Timer1_Timer);

    Form_Load();
}

QLabel* FrmSyuuryou::label(const QString& name, double left, double top, double width, double height,
                           double points, const QColor& colour, Qt::Alignment align)
{
    auto* l = make<QLabel>(this, name, twRect(left, top, width, height), designFont(kPGothic, points, true));
    l->setStyleSheet(QStringLiteral("color: %1;").arg(colour.name()));
    l->setAlignment(align);
    return l;
}

void FrmSyuuryou::Form_Load()
{
    image1_->setGeometry(twRect(0, 0, 15360, 11520));
}

void FrmSyuuryou::formActivate()
{
    QPointer<FrmSyuuryou> self(this);
    SharedState& s = state();
    Services& sv = services();
    const int level = s.currentLevel, pupil = s.pupilNumber;
    const LevelRow& row = s.levelTable[level];
    // The store only ever sets the new-record flags, so they are cleared on
    // every way out, also when another screen took over half-way: else the
    // next run would announce a record it did not make.
    struct ClearRecordFlags {
        RecordTables& r;
        ~ClearRecordFlags() { r.newPersonalBest = r.newOverallBest = 0; }
    } clearFlags{s.records};

    // Show the run's figures and cues, counting from before the run until the refresh below.
    label13_->setText(QString::number(s.records.stats(level, pupil).todayRunCount + 1));

    if (!回数求(s, sv) || !self || !stillShown()) return;
    const PupilLevelStats& stats = s.records.stats(level, pupil);
    const bool cleared = levelCleared(row, stats);
    const bool atFinal = level == s.finalLevel;

    if (cleared) {
        label2_->show();
        if (atFinal && clearBannerAllowed(s.levelTable)) picture1_->show();
    }

    if (!pump()) return;
    timer1_->start();

    label19_->setText(pointsLine(s.runScore, row.targetTime, row.pointFactor));
    label18_->setText(timeLine(s.runScore));
    label17_->setText(trimBlanks(s.pupilName));
    label15_->setText(s.contentTitle);
    label16_->setText(s.levelNames[level]);
    label13_->setText(levelRunsLine(stats.todayRunCount));
    label14_->setText(todayRunsLine(runsTodayAllLevels(s.records, pupil)));

    if (!pump()) return;

    const RecordOutcome outcome = recordOutcome(s.run.runMode, s.records.newOverallBest,
                                                s.records.newPersonalBest, s.runScore, row.secondTime);
    if (!outcome.message.isEmpty()) {
        label20_->setText(outcome.message);
        label20_->show();
    }
    switch (outcome.cue) {
    case ResultCue::Best:
        if (!pump()) return;
        playBestCue(s, sv);
        if (!pump()) return;
        break;
    case ResultCue::PersonalBest:
        if (!pump()) return;
        playPersonalBestCue(s, sv);
        if (!pump()) return;
        break;
    case ResultCue::Fail:
        playFailCue(s, sv);
        if (!stillShown()) return;
        break;
    case ResultCue::None:
        break;
    }

    if (cleared && atFinal) {
        if (passCuePlays(cleared, atFinal, s.records.qualified)) {
            playPassCue(s, sv);
            if (!stillShown()) return;
        }
    } else {
        picture1_->hide();
    }

    s.records.newPersonalBest = 0;
    s.records.newOverallBest = 0;
    if (!pump()) return;
    app().stage.unloadWaitScreen();
}

void FrmSyuuryou::Timer1_Timer()
{
    QPointer<FrmSyuuryou> self(this);
    picture1_->hide();
    command4_->show();
    if (!pump()) return;
    command4_->setFocus();
    timer1_->stop();

    const SharedState& s = state();
    const int level = s.currentLevel;
    const PupilLevelStats& stats = s.records.stats(level, s.pupilNumber);
    const ButtonOffer offer = buttonOffer(levelDoneEnough(s.levelTable[level], stats),
                                          levelCleared(s.levelTable[level], stats), level == s.finalLevel,
                                          s.designatedLevelCleared != 0);
    switch (offer.label2) {
    case Label2Change::Keep:
        break;
    case Label2Change::EmptyAndHide:
        label2_->clear();
        label2_->hide();
        break;
    case Label2Change::NextLevel:
        label2_->setText(nextLevelText());
        break;
    }
    if (offer.offerAgain) command5_->show();
}

void FrmSyuuryou::Command4_Click()
{
    command4_->setEnabled(false);
    App& a = app();
    // Showing the lobby unloads this screen; nothing here is touched after.
    a.navigator.returnToLobby();
    QCoreApplication::processEvents();
}

void FrmSyuuryou::Command5_Click()
{
    QPointer<FrmSyuuryou> self(this);
    command4_->setEnabled(false);
    App& a = app();
    a.stage.showWaitScreen(); // lets events run once
    // A second click that came in meanwhile has already started the run.
    if (!self || !stillShown()) return;
    a.stage.show(nullptr); // unloads this screen
    QCoreApplication::processEvents();
    if (a.services.end.requested()) return;
    a.navigator.startRun();
}
