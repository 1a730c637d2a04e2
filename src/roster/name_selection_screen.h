#pragma once
#include "roster/name_list.h"
#include "ui/screen.h"

#include <array>

class QAction;
class QButtonGroup;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QWidget;
struct RosterReadResult;

// The name selection screen "velmora": the roster's pupils with their run
// counts or points; the pupil picks a name and confirms it, which opens the
// step lobby. The menus lead to the roster editor, the program menu (終了),
// help, the version box and the maker's page.
class NameSelectionScreen : public Screen {
    Q_OBJECT
public:
    // `anotherCopyRunning`: start-up found the installation's single-instance
    // lock held by another process; the load then ends the program.
    explicit NameSelectionScreen(App& app, bool anotherCopyRunning = false);

    // The first showing runs the load steps and then the activation steps;
    // the stage calls this once per showing.
    void formActivate() override;
    // Builds the list: tallies, roster, lines, order, filter.
    void listPupils();

    // A click in the list shows the chosen name and keeps its pupil number.
    void showChosenName();
    // A double click chooses the name and confirms it at once.
    void confirmDoubleClickedName();
    // Confirms the selected name: the pupil goes to the step lobby.
    void confirmName();
    // Leaves through the installation's program menu.
    void leave();
    // The grade filter changed: the list is built again for it.
    void filterByGrade();
    void openRosterEditor();
    void openHelp();
    // The version box; the screen is activated afresh when it closes.
    void openAboutBox();
    void visitMakerPage();

    // What the list's figures show: the checked option (-1 when none is).
    DisplayMode displayMode() const;
    // The file menu's "音を出す": the user's choice, kept for the next start.
    void setSoundOn(bool on);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Once, on the first showing: the other-copy check and the first list.
    void load();
    // Each showing: a fresh roster read, no pupil chosen, every grade listed.
    void activate();
    void buildMenus();
    // The screen's own keys ("1" confirms, "0" leaves); true when used.
    bool formKeyPress(const QString& text);
    // A change of the figures shown keeps the chosen pupil chosen.
    void rebuildKeepingChoice();
    void showReadNotes(const RosterReadResult& read);

    bool anotherCopyRunning_;
    bool loaded_ = false;
    // The pupil of the last name clicked; 0 until one is.
    qint16 chosenPupil_ = 0;
    QLabel *title_, *chosenName_, *pupilNumberLabel_, *icon_, *note_;
    QListWidget *names_, *sortedLines_, *lineTails_, *spareList_;
    QPushButton *confirm_, *leave_, *print_;
    std::array<QRadioButton*, 4> displayOptions_{};
    QButtonGroup* displayGroup_;
    QComboBox* gradeFilter_;
    QAction* soundOn_;
    QWidget* waitPanel_;
};
