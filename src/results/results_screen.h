#pragma once
#include "ui/screen.h"

class QLabel;
class QPushButton;
class QTimer;
class QWidget;

// The results screen "終了": the time and points of the run just stored, new
// records, level clearing and the sounds; after half a second the ways on.
class ResultsScreen : public Screen {
    Q_OBJECT
public:
    explicit ResultsScreen(App& app);

    // Shows the run's figures, its record message and plays its cues, once
    // per showing.
    void formActivate() override;
    // Shows the buttons, half a second after the screen came up (once).
    void showButtons();
    // "メニューへ": back to the step lobby.
    void backToLobby();
    // "もう一度": another run of the same level.
    void runAgain();

private:
    // Spreads the backdrop over the whole screen.
    void load();
    // One of the screen's bold, coloured labels.
    QLabel* label(const QString& name, double left, double top, double width, double height, double points,
                  const QColor& colour, Qt::Alignment align = Qt::AlignCenter);

    QWidget* backdrop_;
    QLabel *title_, *levelName_, *todayRuns_, *levelRunsToday_, *pupilName_, *time_, *points_;
    QLabel *recordMessage_, *clearedLine_;
    // The "target level cleared" banner of the final level, and its text.
    QWidget* finalBanner_;
    QLabel* bannerText_;
    QPushButton *toLobby_, *again_;
    QTimer* buttonTimer_;
};
