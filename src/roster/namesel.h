#pragma once
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
class namesel : public Screen {
    Q_OBJECT
public:
    // `anotherCopyRunning`: start-up found the installation's single-instance
    // lock held by another process; the load then ends the program.
    explicit namesel(App& app, bool anotherCopyRunning = false);

    // The first showing runs the load steps and then the activation steps;
    // the stage calls this once per showing.
    void formActivate() override;
    void Form_Load();
    void Form_Activate();
    // Builds the list: tallies, roster, lines, order, filter.
    void 名簿表示();

    void List1_Click();
    void List1_DblClick();
    // Confirms the selected name: the pupil goes to the step lobby.
    void Command14_Click();
    // Leaves through the installation's program menu.
    void Command7_Click();
    void Combo1_Click();
    void mnuNameChange_Click();
    void mnuContents_Click();
    void mnuVersion_Click();
    void menuTQ58_Click();

    int displayMode() const;
    // The file menu's "音を出す": the user's choice, kept for the next start.
    void setSoundOn(bool on);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildMenus();
    // The screen's own keys ("1" confirms, "0" leaves); true when used.
    bool formKeyPress(const QString& text);
    // A change of the figures shown keeps the chosen pupil chosen.
    void rebuildKeepingChoice();
    void showReadNotes(const RosterReadResult& read);

    bool anotherCopyRunning_;
    bool loaded_ = false;
    QLabel *label4_, *label1_, *label2_, *image1_, *note_;
    QListWidget *list1_, *list2_, *list3_, *list4_;
    QPushButton *command14_, *command7_, *command1_;
    std::array<QRadioButton*, 4> option1_{};
    QButtonGroup* options_;
    QComboBox* combo1_;
    QAction* soundOn_;
    QWidget* picture5_;
};
