#pragma once
#include "ui/screen.h"
#include "drill/equation.h"
#include "drill/operator_input.h"
#include "drill/problem_generator.h"

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
// Handlers carry the names of the form's events; tests call them directly
// (the timer handlers after advancing the clock).
class MainFrm : public Screen {
    Q_OBJECT
public:
    explicit MainFrm(App& app);

    void Form_Load();
    void formActivate() override { Form_Activate(); }
    void Form_Activate();
    void 初期設定();
    void レベル別設定();
    void スタート();
    void 問題作成表示();
    // Puts a problem on screen (the last step of 問題作成表示).
    void showProblem(const EquationProblem& p);

    // Placement and judging.
    void LblDD1_MouseDown(int index);
    void LblDD1_DblClick(int index);
    void LblDD1_DragDrop() {}
    void LblDD2_DragDrop(int index, int sourceIndex);
    void LblDD2_MouseDown() {}
    void LblDD5_Click();
    void Command5_Click();
    void Command1_Click();
    void 判定();
    void 判定後処理();
    // A key on the drill (see actionForKey). Returns whether it was used.
    bool entryKey(const QKeyEvent& e);
    const BlankEntry& blanks() const { return entry_; }

    // Closing the window during a run asks first; true lets it close.
    bool mayClose() override;

    // The run.
    void sTimer1_Timer();
    void sTimer2_Timer();
    void endRun();
    void waitThenShowResults(double seconds);
    void 終了() {}

    QTimer* sTimer1() const { return sTimer1_; }
    QTimer* sTimer2() const { return sTimer2_; }
    const EquationProblem& problem() const { return problem_; }
    // Width of the elapsed bar in twips, before it is drawn in pixels.
    double elapsedBarTwips() const { return barTwips_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;

private:
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
    static bool stillHere(const QPointer<MainFrm>& self);

    EquationProblem problem_;
    std::optional<Rational> answer_;
    BlankEntry entry_;
    HeldKeys heldKeys_;
    qint64 problemShownMs_ = 0; // the clock's tick when the blanks were last emptied for an answer
    double barTwips_ = 0;

    // Status panel.
    QFrame* sPicture1_ = nullptr;
    QLabel *sLabel2_, *sLabel7_, *sLabel14_, *sLabel13_, *sLabel12_, *sLabel11_;
    QLabel *sLabel3_, *sLabel8_, *sLabel4_, *sLabel9_, *sLabel6_, *sLabel5_, *sLabel10_;
    std::array<QLabel*, 6> sLabel16_{};
    std::array<QLabel*, 3> sLabel17_{};
    QFrame *sShape5_, *sShape2_, *sShape3_, *sShape4_;
    std::array<QFrame*, 40> sPicture3_{}; // items 10–39
    // Drill panel.
    QFrame* Picture2_ = nullptr;
    QLabel* instruction_ = nullptr;
    std::array<QLabel*, 5> LblDD3_{};          // 1..4
    std::array<BlankLabel*, 3> LblDD2_{};      // 1..2
    QLabel* LblDD4_ = nullptr;                 // item 4, "＝"
    std::array<OperatorLabel*, 5> LblDD1_{};   // 1..4
    QLabel *LblDD5_, *Label4_, *Label5_, *Label3_, *Label1_;
    QPushButton *Command5_, *Command1_;
    // Cover panel.
    QFrame* sPicture2_ = nullptr;
    QLabel *lblsss1_, *lblsss2_;

    QTimer* sTimer1_;
    QTimer* sTimer2_;
};
