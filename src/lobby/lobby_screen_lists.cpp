// The record lists of the step lobby: the display options, the rankings and
// the lists of runs, each built into the record list of every level.
//
// Choices where the lists' old behaviour leaves room:
// - A line whose time is within the level's target time is shown in green,
//   so a child sees at a glance which runs met it; the text is never changed.
// - A record file that cannot be read leaves the lists empty and says why.
// - While a list is built the option buttons are disabled from the first
//   handler on, so a click cannot start a second build inside the first.
// - A grade chosen in the personal times shows the personal times again.
// - The personal times take the wait panel away at the end like every other
//   list (not only behind the lists).
#include "lobby/lobby_screen.h"

#include "base/file_error.h"
#include "lobby/level_column.h"
#include "lobby/lobby_texts.h"
#include "lobby/report_panel.h"
#include "records/record_file.h"
#include "records/record_loading.h"
#include "state/shared_state.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <climits>

lists::Viewer LobbyScreen::viewer()
{
    lists::Viewer v;
    v.roster = &state().roster;
    v.currentPupil = state().pupilNumber;
    v.filter = gradeFilter_->currentText();
    return v;
}

void LobbyScreen::showListPanel()
{
    back_->setEnabled(false);
    for (int i = 1; i <= levelCount_; ++i) column(i).hideList();
    listWaitPanel_->show();
    listWaitPanel_->raise();
}

void LobbyScreen::showLevelLists()
{
    for (int i = 1; i <= levelCount_; ++i)
        if (!isPractice(i)) column(i).showList();
}

void LobbyScreen::endListBuild()
{
    optionsPanel_->setEnabled(true);
    back_->setEnabled(true);
    checkLevels();
    showLevelLists();
    listWaitPanel_->hide();
}

void LobbyScreen::showDisplay(Display display)
{
    graph_->hide();
    report_->hide();
    showListPanel();
    // The options stay still until the lists are built.
    optionsPanel_->setEnabled(false);
    if (!pump()) return;
    if (defaultsBeingSet_) {
        optionsPanel_->setEnabled(true);
        return;
    }
    const Scope scope = Scope(std::max(1, scopes_->checkedId()));
    if (display == Display::Times) {
        scopes_->button(1)->setText(QStringLiteral("BEST表示"));
        scopes_->button(2)->setText(QStringLiteral("本日のみ"));
        scopes_->button(3)->show();
        order_ = lists::Order::Times;
        showScope(scope);
    } else if (display == Display::Points) {
        recordRange_->hide();
        scopes_->button(1)->setText(QStringLiteral("合計累計"));
        scopes_->button(2)->setText(QStringLiteral("合計本日"));
        scopes_->button(3)->setText(QStringLiteral("すべて"));
        scopes_->button(3)->show();
        order_ = lists::Order::Points;
        if (!pump()) return;
        showScope(scope);
    } else {
        graph_->show();
        recordRange_->hide();
        if (showPersonalTimes()) optionsPanel_->setEnabled(true);
    }
}

void LobbyScreen::showScope(Scope scope)
{
    // Rebuild the lists for the scope behind the list panel, then give the panel back.
    showListPanel();
    recordRange_->hide();
    optionsPanel_->setEnabled(false);
    if (!pump()) return;
    bool built = true;
    if (order_ == lists::Order::Times) {
        if (scope == Scope::SoFar) built = showBestTimes();
        else if (scope == Scope::Today) built = showTodaysRuns();
        else built = showAllRuns();
    } else {
        if (scope == Scope::SoFar || scope == Scope::Today) {
            ranking_ = scope == Scope::SoFar ? lists::PointRanking::SoFar : lists::PointRanking::Today;
            listHeading_->setText(scope == Scope::SoFar ? QStringLiteral("獲得ポイント（今まで順位）")
                                                        : QStringLiteral("獲得ポイント（今日の順位）"));
            if (scope == Scope::SoFar) waitProgress_->setValue(0);
            listProgress_->setRange(0, levelCount_);
            for (int i = 1; i <= levelCount_ && built; ++i) {
                built = showRanking(i);
                listProgress_->setValue(i);
                if (scope == Scope::SoFar) waitProgress_->setValue(i);
            }
        } else {
            built = showAllRuns();
        }
    }
    if (built && stillShown()) endListBuild();
}

void LobbyScreen::gradeChosen()
{
    // The display kind on view is built again for the grade chosen; the
    // personal times stay the personal times (taking every kind but the
    // time display for the point display would show points under "個人ﾀｲﾑ").
    showDisplay(Display(std::max(0, displays_->checkedId())));
    if (stillShown() && levelCount_ >= 1) column(1).focusStart();
}

void LobbyScreen::rangeChosen()
{
    if (scopes_->checkedId() != int(Scope::EveryRun)) return;
    showScope(Scope::EveryRun);
}

void LobbyScreen::clearLists()
{
    for (int i = 1; i <= levelCount_; ++i) column(i).clearList();
}

bool LobbyScreen::showRanking(int level)
{
    lists::LevelRanking ranking = lists::rankLevel(state(), level, order_, ranking_, viewer());
    column(level).clearList();
    if (!pump()) return false;
    fillList(level, std::move(ranking.lines));
    return true;
}

bool LobbyScreen::showBestTimes()
{
    clearLists();
    listHeading_->setText(QStringLiteral("ベスト成績"));
    listProgress_->setRange(0, levelCount_);
    for (int i = 1; i <= levelCount_; ++i) {
        listProgress_->setValue(i);
        if (isPractice(i)) {
            column(i).hideFigures();
            continue;
        }
        if (!showRanking(i)) return false;
    }
    return true;
}

bool LobbyScreen::showTodaysRuns()
{
    clearLists();
    listHeading_->setText(QStringLiteral("本日の成績"));
    lists::RunListRequest request;
    request.kind = lists::RunList::Today;
    return buildRunLists(request);
}

bool LobbyScreen::showAllRuns()
{
    clearLists();
    listHeading_->setText(QString());
    lists::RunListRequest request;
    request.kind = lists::RunList::AllRuns;
    request.order = order_;
    request.windowDays = 3650;
    return buildRunLists(request);
}

bool LobbyScreen::showPersonalTimes()
{
    clearLists();
    listHeading_->setText(QStringLiteral("個人別ﾀｲﾑ"));
    report_->fillChoosers();
    lists::RunListRequest request;
    request.kind = lists::RunList::OnePupil;
    request.windowDays = 3650;
    if (!buildRunLists(request)) return false;
    checkLevels();
    back_->setEnabled(true);
    showLevelLists();
    // The wait panel goes, as after every other list: sent to the back only,
    // it showed through the gaps between the columns' lists.
    listWaitPanel_->hide();
    return true;
}

bool LobbyScreen::buildRunLists(const lists::RunListRequest& asked)
{
    SharedState& s = state();
    Services& sv = services();
    lists::RunListRequest request = asked;
    request.today = sv.clock.today();
    request.levelCount = levelCount_;
    request.levels = &s.levelTable;

    ResultTail tail;
    const QString path = resultFilePath(s);
    QFile f(path);
    if (QFileInfo::exists(path)) {
        QString error;
        if (!openWithReason(f, QIODevice::ReadOnly, &error) ||
            !readResultTail(f, lists::runListWindow(request.kind), tail, &error)) {
            sv.dialogs.message(
                QStringLiteral("成績ファイルを読み込めないため、成績の一覧を表示できません。\r\n%1\r\n%2")
                    .arg(QDir::toNativeSeparators(path), error),
                s.contentTitle);
            tail = ResultTail{};
        }
        f.close();
    }
    listProgress_->setRange(0, int(std::min<qint64>(INT_MAX, (tail.count + 1) * 11 / 10)));
    listProgress_->setValue(0);
    auto lines = lists::runLists(tail.bytes.constData(), tail.count, request, viewer(),
                                 [this](qint64 done) { listProgress_->setValue(int(done)); });
    for (int i = 1; i <= levelCount_; ++i) fillRuns(i, std::move(lines.levels[std::size_t(i)]), lines.text);
    optionsPanel_->setEnabled(true);
    if (!pump()) return false;
    markTargetTimes();
    return true;
}

void LobbyScreen::fillList(int level, std::vector<lists::ListLine> lines)
{
    column(level).setLines(std::move(lines));
    markTargetTime(level);
}

void LobbyScreen::fillRuns(int level, std::vector<lists::RunLine> runs, std::shared_ptr<const lists::RunLineText> text)
{
    column(level).setRuns(std::move(runs), std::move(text));
    markTargetTime(level);
}

void LobbyScreen::markTargetTimes()
{
    for (int i = 1; i <= levelCount_; ++i) markTargetTime(i);
}

void LobbyScreen::markTargetTime(int level)
{
    // The times the lines show, against the level's target time.
    const SharedState& s = state();
    column(level).markWithin(s.levelTable[std::size_t(level)].targetTime, !s.levelNames[std::size_t(level)].isEmpty());
}
