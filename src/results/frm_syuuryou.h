#pragma once
#include "ui/screen.h"

class QLabel;
class QPushButton;
class QTimer;
class QWidget;

// The results screen "終了": the time and points of the run just stored, new
// records, level clearing and the sounds; after half a second the ways on.
class FrmSyuuryou : public Screen {
    Q_OBJECT
public:
    explicit FrmSyuuryou(App& app);

    // Form_Activate, steps 1–12.
    void formActivate() override;
    // Shows the buttons, half a second after the screen came up (once).
    void Timer1_Timer();
    // "メニューへ": back to the step lobby.
    void Command4_Click();
    // "もう一度": another run of the same level.
    void Command5_Click();

private:
    void Form_Load();
    // False once another screen took over or the program is ending; checked
    // after every point where events ran.
    QLabel* label(const QString& name, double left, double top, double width, double height, double points,
                  const QColor& colour, Qt::Alignment align = Qt::AlignCenter);

    QWidget* image1_;
    QLabel *label15_, *label16_, *label14_, *label13_, *label17_, *label18_, *label19_, *label20_, *label2_;
    QWidget* picture1_;
    QLabel* label1_;
    QPushButton *command4_, *command5_;
    QTimer* timer1_;
};
