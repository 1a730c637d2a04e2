#include "results/results_screen.h"

#include "base/text_util.h"
#include "base/twips.h"
#include "records/record_loading.h"
#include "results/results_backdrop.h"
#include "results/results_rules.h"
#include "sound/cues.h"
#include "ui/fonts.h"
#include "ui/stage.h"

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

ResultsScreen::ResultsScreen(App& app) : Screen(app, QStringLiteral("FrmSyuuryou"))
{
    setWindowTitle(QStringLiteral("終了"));
    // The picture first, so that every other control lies over it.
    backdrop_ = new ResultsBackdrop(this);
    backdrop_->setObjectName(QStringLiteral("Image1"));

    // The content title, the level's name, the runs today (all levels, then
    // this level), the pupil, the time, the points and the record message.
    title_ = label(QStringLiteral("Label15"), 3840, 405, 7680, 990, 48, kLightOrange);
    levelName_ = label(QStringLiteral("Label16"), 3840, 1755, 7680, 900, 36, kLightYellow);
    todayRuns_ = label(QStringLiteral("Label14"), 11520, 1395, 3600, 450, 16, kPaleBlue,
                       Qt::AlignRight | Qt::AlignVCenter);
    levelRunsToday_ = label(QStringLiteral("Label13"), 10800, 2745, 4320, 450, 16, kPaleBlue,
                            Qt::AlignRight | Qt::AlignVCenter);
    pupilName_ = label(QStringLiteral("Label17"), 600, 3255, 14160, 1185, 48, kLightGreen);
    time_ = label(QStringLiteral("Label18"), 600, 4440, 14160, 840, 36, kLightGreen);
    points_ = label(QStringLiteral("Label19"), 600, 5280, 14160, 900, 36, kLightGreen);
    recordMessage_ = label(QStringLiteral("Label20"), 600, 6390, 14160, 900, 36, kGold);
    recordMessage_->hide();
    // "このレベルクリア", or the way to the next level.
    clearedLine_ = label(QStringLiteral("Label2"), 600, 7710, 14160, 480, 24, kLightPink,
                         Qt::AlignHCenter | Qt::AlignTop);
    clearedLine_->setText(QStringLiteral("このレベルクリア"));
    clearedLine_->hide();

    finalBanner_ = new QWidget(this);
    finalBanner_->setObjectName(QStringLiteral("Picture1"));
    finalBanner_->setGeometry(twRect(0, 8145, 15360, 11520 - 8145));
    finalBanner_->setAutoFillBackground(true);
    QPalette pal = finalBanner_->palette();
    pal.setColor(QPalette::Window, QColor(255, 150, 60));
    finalBanner_->setPalette(pal);
    bannerText_ = new QLabel(QStringLiteral("目標レベルクリア。おめでとう！"), finalBanner_);
    bannerText_->setObjectName(QStringLiteral("Label1"));
    bannerText_->setFont(designFont(kPGothic, 36, true));
    bannerText_->setStyleSheet(QStringLiteral("color: white;"));
    bannerText_->setAlignment(Qt::AlignCenter);
    bannerText_->setGeometry(twRect(0, 600, 15360, 1200));
    finalBanner_->hide();
    // The cleared line reaches a little into the banner band; keep it readable.
    clearedLine_->raise();

    toLobby_ = new QPushButton(QStringLiteral("メニューへ"), this);
    toLobby_->setObjectName(QStringLiteral("Command4"));
    toLobby_->setGeometry(twRect(2880, 8325, 3840, 1200));
    again_ = new QPushButton(QStringLiteral("もう一度"), this);
    again_->setObjectName(QStringLiteral("Command5"));
    again_->setGeometry(twRect(8640, 8325, 3840, 1200));
    for (QPushButton* b : {toLobby_, again_}) {
        b->setFont(designFont(kPGothic, 24, true));
        // Enter presses the button that has the focus, as on the drill.
        b->setAutoDefault(true);
        b->hide();
    }
    connect(toLobby_, &QPushButton::clicked, this, &ResultsScreen::backToLobby);
    connect(again_, &QPushButton::clicked, this, &ResultsScreen::runAgain);

    buttonTimer_ = new QTimer(this);
    buttonTimer_->setObjectName(QStringLiteral("Timer1"));
    buttonTimer_->setSingleShot(true);
    buttonTimer_->setInterval(500);
    connect(buttonTimer_, &QTimer::timeout, this, &ResultsScreen::showButtons);

    load();
}

QLabel* ResultsScreen::label(const QString& name, double left, double top, double width, double height, double points,
                             const QColor& colour, Qt::Alignment align)
{
    auto* l = make<QLabel>(this, name, twRect(left, top, width, height), designFont(kPGothic, points, true));
    l->setStyleSheet(QStringLiteral("color: %1;").arg(colour.name()));
    l->setAlignment(align);
    return l;
}

void ResultsScreen::load() { backdrop_->setGeometry(twRect(0, 0, 15360, 11520)); }

void ResultsScreen::formActivate()
{
    QPointer<ResultsScreen> self(this);
    SharedState& s = state();
    Services& sv = services();
    const int level = s.currentLevel, pupil = s.pupilNumber;
    const LevelRow& row = s.levelTable[level];
    // The store only ever sets the new-record flags, so they are cleared on
    // every way out, also when another screen took over half-way: else the
    // next run would announce a record it did not make.
    struct ClearRecordFlags {
        RecordTables& r;
        ~ClearRecordFlags()
        {
            r.newPersonalBest = false;
            r.newOverallBest = false;
        }
    } clearFlags{s.records};

    // Show the run's figures and cues, counting from before the run until the refresh below.
    levelRunsToday_->setText(QString::number(s.records.stats(level, pupil).todayRunCount + 1));

    if (!loadRecordsAndCounts(s, sv) || !self || !stillShown()) return;
    const PupilLevelStats& stats = s.records.stats(level, pupil);
    const bool cleared = levelCleared(row, stats);
    const bool atFinal = level == s.finalLevel;

    if (cleared) {
        clearedLine_->show();
        if (atFinal && clearBannerAllowed(s.levelTable)) finalBanner_->show();
    }

    if (!pump()) return;
    buttonTimer_->start();

    points_->setText(pointsLine(s.runScore, row.targetTime, row.pointFactor));
    time_->setText(timeLine(s.runScore));
    pupilName_->setText(trimBlanks(s.pupilName));
    title_->setText(s.contentTitle);
    levelName_->setText(s.levelNames[level]);
    levelRunsToday_->setText(levelRunsLine(stats.todayRunCount));
    todayRuns_->setText(todayRunsLine(runsTodayAllLevels(s.records, pupil)));

    if (!pump()) return;

    const RecordOutcome outcome = recordOutcome(s.run.timeUp, s.records.newOverallBest, s.records.newPersonalBest,
                                                s.runScore, row.secondTime);
    if (!outcome.message.isEmpty()) {
        recordMessage_->setText(outcome.message);
        recordMessage_->show();
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
    case ResultCue::None: break;
    }

    if (cleared && atFinal) {
        if (passCuePlays(cleared, atFinal, s.records.qualified)) {
            playPassCue(s, sv);
            if (!stillShown()) return;
        }
    } else {
        finalBanner_->hide();
    }

    s.records.newPersonalBest = false;
    s.records.newOverallBest = false;
    if (!pump()) return;
    app().stage.unloadWaitScreen();
}

void ResultsScreen::showButtons()
{
    QPointer<ResultsScreen> self(this);
    finalBanner_->hide();
    toLobby_->show();
    if (!pump()) return;
    toLobby_->setFocus();
    buttonTimer_->stop();

    const SharedState& s = state();
    const int level = s.currentLevel;
    const PupilLevelStats& stats = s.records.stats(level, s.pupilNumber);
    const ButtonOffer offer = buttonOffer(levelDoneEnough(s.levelTable[level], stats),
                                          levelCleared(s.levelTable[level], stats), level == s.finalLevel,
                                          s.designatedLevelCleared);
    switch (offer.clearedLine) {
    case ClearedLineChange::Keep: break;
    case ClearedLineChange::EmptyAndHide:
        clearedLine_->clear();
        clearedLine_->hide();
        break;
    case ClearedLineChange::NextLevel: clearedLine_->setText(nextLevelText()); break;
    }
    if (offer.offerAgain) again_->show();
}

void ResultsScreen::backToLobby()
{
    toLobby_->setEnabled(false);
    App& a = app();
    // Showing the lobby unloads this screen; nothing here is touched after.
    a.navigator.returnToLobby();
    QCoreApplication::processEvents();
}

void ResultsScreen::runAgain()
{
    QPointer<ResultsScreen> self(this);
    toLobby_->setEnabled(false);
    App& a = app();
    a.stage.showWaitScreen(); // lets events run once
    // A second click that came in meanwhile has already started the run.
    if (!self || !stillShown()) return;
    a.stage.show(nullptr); // unloads this screen
    QCoreApplication::processEvents();
    if (a.services.end.requested()) return;
    a.navigator.startRun();
}
