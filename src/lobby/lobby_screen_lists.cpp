// The record lists of the step lobby: the display options, the rankings and
// the lists of runs, each built into List5 of every level.
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

#include "app/shared_state.h"
#include "lobby/lobby_texts.h"
#include "lobby/record_list_model.h"
#include "lobby/report_panel.h"
#include "app/file_error.h"
#include "records/record_file.h"
#include "records/record_loading.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <climits>

namespace {
const QColor kMetTarget(0, 128, 0);
} // namespace

lists::Viewer LobbyScreen::viewer()
{
    lists::Viewer v;
    v.roster = &state().roster;
    v.currentPupil = state().pupilNumber;
    v.filter = combo1_->currentText();
    return v;
}

void LobbyScreen::showListPanel()
{
    command1_->setEnabled(false);
    for (int i = 1; i <= levelCount_; ++i) col_[std::size_t(i)].list5->hide();
    picture6_->show();
    picture6_->raise();
}

void LobbyScreen::showLevelLists()
{
    for (int i = 1; i <= levelCount_; ++i)
        if (!isPractice(i)) col_[std::size_t(i)].list5->show();
}

void LobbyScreen::endListBuild()
{
    picture1_->setEnabled(true);
    command1_->setEnabled(true);
    Command9_Click();
    showLevelLists();
    picture6_->hide();
}

void LobbyScreen::Option2_Click(int m)
{
    command17_->hide();
    report_->hide();
    showListPanel();
    // The options stay still until the lists are built.
    picture1_->setEnabled(false);
    if (!pump()) return;
    if (defaultsBeingSet_) {
        picture1_->setEnabled(true);
        return;
    }
    const int k = std::max(1, option1_->checkedId());
    if (m == 0) {
        option1_->button(1)->setText(QStringLiteral("BEST表示"));
        option1_->button(2)->setText(QStringLiteral("本日のみ"));
        option1_->button(3)->show();
        orderingMode_ = 1;
        Option1_Click(k);
    } else if (m == 1) {
        combo2_->hide();
        option1_->button(1)->setText(QStringLiteral("合計累計"));
        option1_->button(2)->setText(QStringLiteral("合計本日"));
        option1_->button(3)->setText(QStringLiteral("すべて"));
        option1_->button(3)->show();
        orderingMode_ = 2;
        if (!pump()) return;
        Option1_Click(k);
    } else {
        command17_->show();
        combo2_->hide();
        if (Command16_Click()) picture1_->setEnabled(true);
    }
}

void LobbyScreen::Option1_Click(int k)
{
    // Rebuild the lists for choice k behind the list panel, then give the panel back.
    showListPanel();
    combo2_->hide();
    picture1_->setEnabled(false);
    if (!pump()) return;
    if (orderingMode_ == 0) orderingMode_ = 1;
    bool built = true;
    if (orderingMode_ == 1) {
        if (k == 1) built = Command6_Click();
        else if (k == 2) built = Command5_Click();
        else built = Command7_Click();
    } else {
        if (pointRanking_ == 0) pointRanking_ = 1;
        if (k == 1 || k == 2) {
            pointRanking_ = k;
            label5_->setText(k == 1 ? QStringLiteral("獲得ポイント（今まで順位）") : QStringLiteral("獲得ポイント（今日の順位）"));
            if (k == 1) progressBar1_->setValue(0);
            progressBar2_->setRange(0, levelCount_);
            for (int i = 1; i <= levelCount_ && built; ++i) {
                built = Command3_Click(i);
                progressBar2_->setValue(i);
                if (k == 1) progressBar1_->setValue(i);
            }
        } else {
            built = Command7_Click();
        }
    }
    if (built && stillShown()) endListBuild();
}

void LobbyScreen::Combo1_Click()
{
    // The display kind on view is built again for the grade chosen; the
    // personal times stay the personal times (taking every kind but the
    // time display for the point display would show points under "個人ﾀｲﾑ").
    Option2_Click(std::max(0, option2_->checkedId()));
    if (stillShown() && levelCount_ >= 1) col_[1].command4->setFocus();
}

void LobbyScreen::Combo2_Click()
{
    if (option1_->checkedId() != 3) return;
    Option1_Click(3);
}

void LobbyScreen::回数など表示()
{
    for (int i = 1; i <= levelCount_; ++i) {
        Column& c = col_[std::size_t(i)];
        c.label9->setText(QStringLiteral("今日"));
        c.label10->setText(QStringLiteral("今まで"));
        c.lines5->clear();
    }
}

bool LobbyScreen::Command3_Click(int i)
{
    Column& c = col_[std::size_t(i)];
    c.label9->setText(QStringLiteral("今日"));
    c.label10->setText(QStringLiteral("今まで"));
    const lists::Order order = orderingMode_ == 2 ? lists::Order::Points : lists::Order::Times;
    lists::LevelRanking ranking = lists::rankLevel(state(), i, order, pointRanking_ == 2 ? 2 : 1, viewer());
    c.lines5->clear();
    if (!pump()) return false;
    fillList(i, std::move(ranking.lines));
    return true;
}

bool LobbyScreen::Command6_Click()
{
    回数など表示();
    label5_->setText(QStringLiteral("ベスト成績"));
    progressBar2_->setRange(0, levelCount_);
    for (int i = 1; i <= levelCount_; ++i) {
        progressBar2_->setValue(i);
        if (isPractice(i)) {
            Column& c = col_[std::size_t(i)];
            hideFigures(c);
            continue;
        }
        if (!Command3_Click(i)) return false;
    }
    return true;
}

bool LobbyScreen::Command5_Click()
{
    回数など表示();
    label5_->setText(QStringLiteral("本日の成績"));
    lists::RunListRequest request;
    request.kind = lists::RunList::Today;
    return buildRunLists(request);
}

bool LobbyScreen::Command7_Click()
{
    回数など表示();
    label5_->setText(QString());
    lists::RunListRequest request;
    request.kind = lists::RunList::AllRuns;
    request.order = orderingMode_ == 2 ? lists::Order::Points : lists::Order::Times;
    request.windowDays = 3650;
    return buildRunLists(request);
}

bool LobbyScreen::Command16_Click()
{
    回数など表示();
    label5_->setText(QStringLiteral("個人別ﾀｲﾑ"));
    report_->fillChoosers();
    lists::RunListRequest request;
    request.kind = lists::RunList::OnePupil;
    request.windowDays = 3650;
    if (!buildRunLists(request)) return false;
    Command9_Click();
    command1_->setEnabled(true);
    showLevelLists();
    // The wait panel goes, as after every other list: sent to the back only,
    // it showed through the gaps between the columns' lists.
    picture6_->hide();
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
        if (!openWithReason(f, QIODevice::ReadOnly, &error) || !readResultTail(f, lists::runListWindow(request.kind), tail, &error)) {
            sv.dialogs.message(QStringLiteral("成績ファイルを読み込めないため、成績の一覧を表示できません。\r\n%1\r\n%2")
                                   .arg(QDir::toNativeSeparators(path), error),
                               s.contentTitle);
            tail = ResultTail{};
        }
        f.close();
    }
    progressBar2_->setRange(0, int(std::min<qint64>(INT_MAX, (tail.count + 1) * 11 / 10)));
    progressBar2_->setValue(0);
    auto lines = lists::runLists(tail.bytes.constData(), tail.count, request, viewer(),
                                       [this](qint64 done) { progressBar2_->setValue(int(done)); });
    for (int i = 1; i <= levelCount_; ++i) fillRuns(i, std::move(lines.levels[std::size_t(i)]), lines.text);
    picture1_->setEnabled(true);
    if (!pump()) return false;
    成績リスト色表示();
    return true;
}

void LobbyScreen::fillList(int i, std::vector<lists::ListLine> lines)
{
    col_[std::size_t(i)].lines5->setLines(std::move(lines));
    showListFilled(i);
}

void LobbyScreen::fillRuns(int i, std::vector<lists::RunLine> runs, std::shared_ptr<const lists::RunLineText> text)
{
    col_[std::size_t(i)].lines5->setRuns(std::move(runs), std::move(text));
    showListFilled(i);
}

void LobbyScreen::showListFilled(int i)
{
    Column& c = col_[std::size_t(i)];
    // The line above the pupil's own is brought into view.
    if (const int own = c.lines5->firstOwnRow(); own > 0)
        c.list5->scrollTo(c.lines5->index(own - 1), QAbstractItemView::PositionAtTop);
    成績リスト色表示単独(i);
}

void LobbyScreen::成績リスト色表示()
{
    for (int i = 1; i <= levelCount_; ++i) 成績リスト色表示単独(i);
}

void LobbyScreen::成績リスト色表示単独(int i)
{
    Column& c = col_[std::size_t(i)];
    SharedState& s = state();
    // The times the lines show, against the level's target time.
    c.lines5->markWithin(s.levelTable[std::size_t(i)].targetTime, !s.levelNames[std::size_t(i)].isEmpty(), kMetTarget);
    if (c.lines5->rowCount() > 0) {
        c.list5->clearSelection();
        c.list5->setCurrentIndex(QModelIndex());
    }
}
