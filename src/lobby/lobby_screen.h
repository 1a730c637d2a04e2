#pragma once
#include "lobby/record_lists.h"
#include "ui/screen.h"

#include <memory>
#include <vector>

class LevelColumn;
class QButtonGroup;
class QComboBox;
class QFrame;
class QLabel;
class QListWidget;
class ReportPanel;
class QProgressBar;
class QPushButton;
class QScrollBar;

// The step lobby: one column per level with its start button, the pupil's
// counts and targets and a record list, the instructions, the pupil and the
// display options of the lists around them.
class LobbyScreen : public Screen {
    Q_OBJECT
public:
    // What the record lists show: times, points, or one pupil's times.
    enum class Display { Times = 0, Points = 1, PersonalTimes = 2 };
    // Which records: the best times or all-time points ranking, today's runs
    // or today's points ranking, or every run.
    enum class Scope { SoFar = 1, Today = 2, EveryRun = 3 };

    explicit LobbyScreen(App& app);
    ~LobbyScreen() override;
    // The show step, on every showing.
    void formActivate() override;

    void goBack();                 // "戻る(0)": back to the selection screen
    void startLevel(int level);    // a timed run of `level`
    void startPractice(int level); // a practice run of `level`
    void startFromName(int level); // the level's name works as its start button
    void scrollColumns(int value);
    void showScope(Scope scope);
    void showDisplay(Display display);
    void gradeChosen();
    void rangeChosen();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void buildTopBand();
    void buildOptions();
    void buildColumn(int level);
    void placeColumns(int scroll);
    void setRecentLines();
    LevelColumn& column(int level) { return *columns_[std::size_t(level)]; }

    void clearLists();
    bool showRanking(int level);
    bool showBestTimes();
    bool showTodaysRuns();
    bool showAllRuns();
    bool showPersonalTimes();
    bool buildRunLists(const lists::RunListRequest& asked);
    void fillList(int level, std::vector<lists::ListLine> lines);
    void fillRuns(int level, std::vector<lists::RunLine> runs, std::shared_ptr<const lists::RunLineText> text);
    void markTargetTimes();
    void markTargetTime(int level);
    void checkLevels();   // which levels may be started now
    void showListPanel(); // the wait panel over the lists while they are built
    void endListBuild();
    void showLevelLists();
    lists::Viewer viewer();
    bool isPractice(int level);
    bool startAllowed();
    void startFromKey(int digit); // 0: back

    int levelCount_ = 0;
    double columnWidth_ = 0;
    std::vector<std::unique_ptr<LevelColumn>> columns_; // 1..N
    lists::Order order_ = lists::Order::Times;
    lists::PointRanking ranking_ = lists::PointRanking::SoFar;
    bool defaultsBeingSet_ = false;

    QLabel* listHeading_;
    QLabel* title_;
    QLabel* pupil_;
    QLabel* school_;
    QLabel* minutesSinceSignIn_;
    QLabel* runsToday_;
    QListWidget* instructions_;
    QFrame* optionsPanel_;
    QButtonGroup* scopes_;
    QButtonGroup* displays_;
    QComboBox* gradeFilter_;
    QComboBox* recordRange_;
    QPushButton* back_;
    QPushButton* graph_;
    QPushButton* displayOne_; // "表示１": does nothing, hidden once the lobby is shown
    QScrollBar* columnScroll_;
    QFrame* waitPanel_;
    QProgressBar* waitProgress_;
    QFrame* listWaitPanel_;
    QProgressBar* listProgress_;
    QFrame* planFinished_;
    ReportPanel* report_;
};
