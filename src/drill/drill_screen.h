#pragma once
#include "drill/equation.h"
#include "drill/operator_input.h"
#include "drill/problem_generator.h"
#include "ui/screen.h"

#include <QPointer>
#include <array>
#include <optional>

class QFrame;
class QLabel;
class QPushButton;
class QTimer;
class OperatorLabel;
class BlankLabel;

// The drill screen: the status panel with the run clock, time bar and lamps,
// the equation with its two blanks, the operators and the answer buttons.
// Tests call the handlers directly (the timer handlers after advancing the
// clock).
class DrillScreen : public Screen {
    Q_OBJECT
public:
    explicit DrillScreen(App& app);

    // The steps of a showing, in order: the run is set up, its clock
    // started, and the first problem shown.
    void formActivate() override;
    void setUpRun();
    void setProblemsPerRun();
    void startRunTimer();
    void nextProblem();
    // Puts a problem on screen (the last step of nextProblem).
    void showProblem(const EquationProblem& p);

    // Placement and judging.
    void operatorPressed(int index);
    void operatorDoubleClicked(int index);
    void operatorDropped(int blank, int operatorIndex);
    void clearBlanks();
    void submitAnswer();
    // Leaves a wrong answer's review, back to an empty problem.
    void backToCorrecting();
    void judge();
    void applyJudgement();
    // A key on the drill (see actionForKey). Returns whether it was used.
    bool entryKey(const QKeyEvent& e);
    const BlankEntry& blanks() const { return entry_; }

    // Closing the window during a run asks first; true lets it close.
    bool mayClose() override;

    // The run.
    void runTimerTick();
    void signInTimerTick();
    void endRun();
    void waitThenShowResults(double seconds);

    QTimer* runTimer() const { return runTimer_; }
    QTimer* signInTimer() const { return signInTimer_; }
    const EquationProblem& problem() const { return problem_; }
    // Width of the elapsed bar in twips, before it is drawn in pixels.
    double elapsedBarTwips() const { return barTwips_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;

private:
    void load();
    void buildStatusPanel();
    void buildDrillPanel();
    void buildCoverPanel();
    void setBlanks(const BlankEntry& entry);
    void committedText(const QString& text);
    void fitEquationFont();
    bool runGoesOn();
    void setReviewState(bool review);
    void giveFocusBack(QPushButton* button);
    bool inReview() const;
    // After events ran: is this screen still on view and the program going on?
    static bool stillHere(const QPointer<DrillScreen>& self);

    EquationProblem problem_;
    std::optional<Rational> answer_;
    BlankEntry entry_;
    HeldKeys heldKeys_;
    qint64 problemShownMs_ = 0; // the clock's tick when the blanks were last emptied for an answer
    double barTwips_ = 0;

    // Status panel.
    QFrame* statusPanel_ = nullptr;
    QLabel *title_, *pupilName_, *organisation_, *minutesSinceSignIn_, *runNumberToday_, *runNumberAtLevel_;
    QLabel *levelName_, *problemsLeft_, *runTime_;
    QFrame *elapsedBar_, *targetMark_, *secondTimeMark_;
    std::array<QFrame*, 40> lamps_{}; // items 10–39
    // Drill panel.
    QFrame* drillPanel_ = nullptr;
    std::array<QLabel*, 5> numbers_{};          // 1..4: N1, N2, N3 and R
    std::array<BlankLabel*, 3> blankLabels_{};  // 1..2
    std::array<OperatorLabel*, 5> operators_{}; // 1..4
    QLabel *clearButton_, *answerCaption_, *answerValue_;
    QPushButton *answerButton_, *continueButton_;
    // Cover panel.
    QFrame* cover_ = nullptr;
    QLabel *storingNotice_, *timeUpNotice_;

    QTimer* runTimer_;
    QTimer* signInTimer_;
};
