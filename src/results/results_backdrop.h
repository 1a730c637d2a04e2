#pragma once
#include <QWidget>

// The results screen's background picture: an evening sky with stars, a
// moon and rolling hills, painted by the program itself.
class ResultsBackdrop : public QWidget {
    Q_OBJECT
public:
    explicit ResultsBackdrop(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent*) override;
};
