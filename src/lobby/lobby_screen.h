#pragma once
#include "app/screen.h"
#include "lobby/record_lists.h"

#include <QLabel>
#include <vector>

class QButtonGroup;
class QComboBox;
class QFrame;
class QLineEdit;
class QListView;
class QListWidget;
class RecordListModel;
class ReportPanel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QScrollBar;

// A label that reports a click (Label3(i) starts its level).
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
};

// The step lobby: one column per level with its start button, the pupil's
// counts and targets and a record list, the instructions, the pupil and the
// display options of the lists around them.
class LobbyScreen : public Screen {
    Q_OBJECT
public:
    explicit LobbyScreen(App& app);
    // The show step, on every showing.
    void formActivate() override;

    void Command1_Click();       // "戻る(0)": back to the selection screen
    void Command4_Click(int i);  // start a timed run of level i
    void Command28_Click(int i); // start a practice run of level i
    void Label3_Click(int i);    // the level's name: as its start button
    void HScroll1_Change(int value);
    void Option1_Click(int k);   // the variant of the lists
    void Option2_Click(int m);   // the kind of display
    void Combo1_Click();         // grade filter chosen
    void Combo2_Click();         // record range chosen

    int orderingMode() const { return orderingMode_; }
    int pointRanking() const { return pointRanking_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Column {
        QLabel* label1 = nullptr;
        ClickLabel* label3 = nullptr;
        QPushButton* command4 = nullptr;
        QPushButton* command28 = nullptr;
        QLineEdit* text1 = nullptr;
        QLabel* label9 = nullptr;
        QLabel* label10 = nullptr;
        QLabel* label14 = nullptr;
        QLabel* label15 = nullptr;
        QLabel* label8 = nullptr;
        QListView* list5 = nullptr;
        RecordListModel* lines5 = nullptr;
        QLabel* label7 = nullptr;
        QPushButton* command3 = nullptr;
        QPushButton* command2 = nullptr;
    };

    void Form_Load();
    void buildTopBand();
    void buildOptions();
    void buildColumn(int i);
    void placeColumn(int i, double left);
    void placeColumns(int scroll);
    void setRecentLines();

    void 回数など表示();
    bool Command3_Click(int i); // the ranking list of level i
    bool Command6_Click();      // best times
    bool Command5_Click();      // today's runs
    bool Command7_Click();      // all runs
    bool Command16_Click();     // one pupil's times
    bool buildRunLists(const lists::RunListRequest& asked);
    void fillList(int i, std::vector<lists::ListLine> lines);
    void fillRuns(int i, std::vector<lists::RunLine> runs, std::shared_ptr<const lists::RunLineText> text);
    void showListFilled(int i);
    void 成績リスト色表示();
    void 成績リスト色表示単独(int i);
    void Command9_Click(); // the plan and level check
    void showListPanel();  // Picture6 over the lists while they are built
    void endListBuild();
    void showLevelLists();
    lists::Viewer viewer();
    bool isPractice(int i);
    // A practice level shows only its number, name and buttons.
    void hideFigures(Column& c);
    bool startAllowed();
    void startFromKey(int i); // 0: back

    int levelCount_ = 0;
    double columnWidth_ = 0;
    std::vector<Column> col_; // 1..N
    int orderingMode_ = 0;
    int pointRanking_ = 0;
    bool defaultsBeingSet_ = false;

    QLabel* label5_;
    QLabel* label11_;
    QLabel* label12_;
    QLabel* label13_;
    QLabel* label17_;
    QLabel* label18_;
    QLabel* label28_;
    QListWidget* list6_;
    QFrame* picture1_;
    QButtonGroup* option1_;
    QButtonGroup* option2_;
    QComboBox* combo1_;
    QComboBox* combo2_;
    QPushButton* command1_;
    QPushButton* command17_;
    QPushButton* command26_;
    QScrollBar* hScroll1_;
    QFrame* picture2_;
    QProgressBar* progressBar1_;
    QFrame* picture6_;
    QProgressBar* progressBar2_;
    QFrame* picture10_;
    ReportPanel* report_;
};
