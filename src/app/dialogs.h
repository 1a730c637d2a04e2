#pragma once
#include <QString>

// Message boxes with an OK button. The real one is a QMessageBox; tests
// record what would have been shown.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual void message(const QString& text, const QString& title) = 0;
};
