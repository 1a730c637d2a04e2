#pragma once
#include <QGraphicsView>
#include <QPointer>

class QGraphicsProxyWidget;

// Shows a screen larger or smaller than designed. The screen's own widgets
// are embedded in a graphics scene and drawn through a scale transform, so
// text and lines are drawn at the new size, not stretched as a picture; the
// scene passes clicks, keys, drags and focus on to the same widgets.
class ScaledView final : public QGraphicsView {
public:
    explicit ScaledView(QWidget* stage);

    // The design's factor and the colour shown around it.
    void setFactor(double factor, QColor background);
    // Takes a screen in; it must have no parent. Windows it opens (message
    // boxes, print dialogs, drop-down lists) stay windows of their own.
    void embed(QWidget* screen);
    // Gives the screen shown back, without a parent; nullptr if none.
    QWidget* release();
    QWidget* screen() const;

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QGraphicsProxyWidget> proxy_;
    bool painting_ = false;
};
