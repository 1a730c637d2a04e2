#include "ui/scaled_view.h"

#include "ui/stage_fit.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGraphicsProxyWidget>
#include <QGraphicsSceneMouseEvent>
#include <QKeyEvent>

namespace {

// Holds the screen in the scene.
class ScreenProxy final : public QGraphicsProxyWidget {
protected:
    void mousePressEvent(QGraphicsSceneMouseEvent* e) override
    {
        QGraphicsProxyWidget::mousePressEvent(e);
        // In a window the widget pressed gets the release even when it let the
        // press pass (a label acting on the release); the scene sends the
        // release only where the press was taken.
        e->accept();
    }
};

} // namespace

ScaledView::ScaledView(QWidget* stage) : QGraphicsView(stage)
{
    setObjectName(QStringLiteral("ScaledView"));
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setAlignment(Qt::AlignCenter);
    setRenderHints(QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    auto* scene = new QGraphicsScene(this);
    scene->setSceneRect(QRectF(QPointF(0, 0), kDesignSize));
    setScene(scene);
}

void ScaledView::setFactor(double factor, QColor background)
{
    setBackgroundBrush(background);
    setTransform(QTransform::fromScale(factor, factor));
}

void ScaledView::embed(QWidget* screen)
{
    if (this->screen() == screen) return;
    // A screen replaced stays in the scene, hidden, until it is deleted.
    if (QWidget* old = this->screen()) old->removeEventFilter(this);
    const QPointer<QWidget> focus = screen->focusWidget();
    // The flag keeps the screen's own windows out of the scene: a message box
    // embedded there would not block the screen behind it.
    screen->setParent(nullptr, Qt::Window | Qt::BypassGraphicsProxyWidget);
    screen->move(0, 0);
    proxy_ = new ScreenProxy;
    proxy_->setWidget(screen);
    scene()->addItem(proxy_);
    screen->installEventFilter(this);
    screen->show();
    if (focus) focus->setFocus(Qt::OtherFocusReason);
}

QWidget* ScaledView::release()
{
    if (!proxy_) return nullptr;
    QWidget* screen = proxy_->widget();
    if (screen) screen->removeEventFilter(this);
    proxy_->setWidget(nullptr);
    delete proxy_;
    return screen;
}

QWidget* ScaledView::screen() const { return proxy_ ? proxy_->widget() : nullptr; }

void ScaledView::keyPressEvent(QKeyEvent* e)
{
    // Keys go to the screen only; the view has nothing to scroll.
    QCoreApplication::sendEvent(scene(), e);
}

void ScaledView::wheelEvent(QWheelEvent* e)
{
    // The view makes of it the scene's wheel event at the pointer, which the
    // screen hands to the list under it (the scene takes no plain wheel
    // event). The design always fits the view: a wheel the screen leaves
    // has nothing of the view to scroll.
    QGraphicsView::wheelEvent(e);
}

bool ScaledView::eventFilter(QObject* watched, QEvent* event)
{
    // A screen's changes reach the window in three steps (the screen's
    // repaint request, the scene's, the window's). Taking all three when the
    // first is delivered makes a change painted by the time that request has
    // been handled, as it is for a screen shown at its own size: the cues
    // rely on that to show what changed before they play.
    if (event->type() == QEvent::UpdateRequest && !painting_ && watched == screen()) {
        painting_ = true;
        QCoreApplication::sendEvent(watched, event);
        QCoreApplication::sendPostedEvents(scene(), QEvent::MetaCall);
        QCoreApplication::sendPostedEvents(window(), QEvent::UpdateRequest);
        painting_ = false;
        return true;
    }
    return QGraphicsView::eventFilter(watched, event);
}
