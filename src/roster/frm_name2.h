#pragma once
#include "ui/screen.h"
#include "roster/roster_edit.h"

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

// The roster editor "名前変更": names and birth years of the roster's first
// three records, or new pupils in the rows the roster does not fill. "変更"
// rewrites 生徒用名簿.txt, keeping every other field; "もどる" opens the name
// selection screen afresh.
class FrmName2 : public Screen {
    Q_OBJECT
public:
    explicit FrmName2(App& app);

    void Form_Load();
    // "変更".
    void Command1_Click();
    // "もどる".
    void Command2_Click();

private:
    QString rosterPath();
    void message(const QString& text);
    void showNotes(const EditorRead& read);
    // The numbers a new pupil may not take, or false (and a message) when
    // the records cannot be read.
    bool newPupilRules(NewPupilRules& rules);

    std::array<QLineEdit*, 3> text1_{}, text2_{};
    QLabel* saved_;
    QLabel* note_;
};
