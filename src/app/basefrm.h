#pragma once
#include <QWidget>

class QLabel;

// "Just a moment, please." — shown while the next screen is prepared.
class BASEFRM : public QWidget {
    Q_OBJECT
public:
    explicit BASEFRM(QWidget* parent = nullptr);
    QLabel* label19() const { return label19_; }

private:
    QLabel* label19_;
};
