#pragma once
#include <QDialog>

class QLabel;
class QPushButton;
struct SharedState;

// The version box "ﾊﾞｰｼﾞｮﾝ情報": the title, the version, the maker and where
// news of the program is published. Shown modally over the selection screen.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    AboutBox(const SharedState& s, QWidget* parent);
    // Fills the labels; run each time the box becomes active.
    void fillTexts();

private:
    QLabel* label(const QString& name, double left, double top, double width, double height, double points,
                  bool bold = false);

    const SharedState& state_;
    QLabel *title_, *version_, *maker_, *description_;
};
