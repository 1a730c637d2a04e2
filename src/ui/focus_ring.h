#pragma once
#include <QObject>
#include <QPointer>

class QWidget;

// Shows which control holds the keyboard focus: a thick black and yellow
// frame drawn over the control's edge, plain on any background. The frame is
// a child widget beside the control, so it is drawn (and scaled) with the
// screen, also when the stage shows the screen through its scaled view.
//
// The current line of a list that has the focus is framed the same way (by
// the application's style, which this sets).
//
// It follows the focus by the focus events the controls receive: a screen
// shown scaled is a window of its own inside a graphics scene, whose focus
// changes never reach the application's focus signal.
class FocusRing final : public QObject {
    Q_OBJECT
public:
    // Width of the frame in design pixels (1024 × 768).
    static constexpr int kWidth = 4;

    explicit FocusRing(QObject* parent = nullptr);
    ~FocusRing() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void follow(QWidget* w);
    void place();
    void drop();

    QPointer<QWidget> target_;
    QPointer<QWidget> frame_;
    bool placing_ = false;
};
