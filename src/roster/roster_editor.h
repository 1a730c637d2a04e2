#pragma once
#include "roster/roster_edit.h"
#include "ui/screen.h"

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

// The roster editor "名前変更": names and birth years of the roster's first
// three records, or new pupils in the rows the roster does not fill. "変更"
// rewrites 生徒用名簿.txt, keeping every other field; "もどる" opens the name
// selection screen afresh.
class RosterEditor : public Screen {
    Q_OBJECT
public:
    explicit RosterEditor(App& app);

    // Fills the rows from the roster file.
    void load();
    // "変更": rewrites the roster with the typed names and birth years.
    void saveNames();
    // "もどる": back to the name selection screen.
    void goBack();

private:
    QString rosterPath();
    void message(const QString& text);
    void showNotes(const EditorRead& read);
    // The numbers a new pupil may not take, or false (and a message) when
    // the records cannot be read.
    bool newPupilRules(NewPupilRules& rules);

    std::array<QLineEdit*, 3> nameFields_{}, yearFields_{};
    QLabel* saved_;
    QLabel* note_;
};
