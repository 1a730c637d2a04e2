#pragma once
#include <QWidget>

class QLabel;

// "Just a moment, please." — shown while the next screen is prepared.
class WaitWindow : public QWidget {
    Q_OBJECT
public:
    explicit WaitWindow(QWidget* parent = nullptr);
    QLabel* message() const { return message_; }

private:
    QLabel* message_;
};
