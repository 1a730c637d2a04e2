#include "drill/operator_labels.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>

OperatorLabel::OperatorLabel(int index, QWidget* parent) : QLabel(parent), index_(index)
{
    setObjectName(QStringLiteral("LblDD1(%1)").arg(index));
}

void OperatorLabel::mousePressEvent(QMouseEvent* e)
{
    pressed_ = true;
    pressPos_ = e->position().toPoint();
    e->accept();
    if (onPress) onPress(index_);
}

void OperatorLabel::mouseMoveEvent(QMouseEvent* e)
{
    if (!pressed_ || e->buttons() == Qt::NoButton) return;
    if ((e->position().toPoint() - pressPos_).manhattanLength() < QApplication::startDragDistance()) return;
    pressed_ = false;
    startDrag();
}

void OperatorLabel::mouseReleaseEvent(QMouseEvent*) { pressed_ = false; }

void OperatorLabel::mouseDoubleClickEvent(QMouseEvent* e)
{
    pressed_ = false;
    e->accept();
    if (onDoubleClick) onDoubleClick(index_);
}

void OperatorLabel::startDrag()
{
    auto* mime = new QMimeData;
    mime->setData(QString::fromLatin1(kOperatorMimeType), QByteArray::number(index_));
    // exec() blocks until the drop and events run meanwhile (the run clock
    // may end the run), so the drag is held by a guarded pointer.
    QPointer<QDrag> drag = new QDrag(this);
    drag->setMimeData(mime);
    const QPixmap image = grab();
    drag->setPixmap(image);
    drag->setHotSpot(QPoint(image.width() / 2, image.height() / 2));
    drag->exec(Qt::CopyAction, Qt::CopyAction);
    if (drag) drag->deleteLater();
}

BlankLabel::BlankLabel(int index, QWidget* parent) : QLabel(parent), index_(index)
{
    setObjectName(QStringLiteral("LblDD2(%1)").arg(index));
    setAcceptDrops(true);
}

bool BlankLabel::accepts(const QDropEvent* e) const
{
    if (!e->mimeData() || !e->mimeData()->hasFormat(QString::fromLatin1(kOperatorMimeType))) return false;
    return acceptsSource && acceptsSource(e->source());
}

void BlankLabel::dragEnterEvent(QDragEnterEvent* e)
{
    if (accepts(e)) {
        e->setDropAction(Qt::CopyAction);
        e->accept();
    } else {
        e->ignore();
    }
}

void BlankLabel::dragMoveEvent(QDragMoveEvent* e)
{
    if (accepts(e)) {
        e->setDropAction(Qt::CopyAction);
        e->accept();
    } else {
        e->ignore();
    }
}

void BlankLabel::dropEvent(QDropEvent* e)
{
    if (!accepts(e)) {
        e->ignore();
        return;
    }
    bool ok = false;
    const int source = e->mimeData()->data(QString::fromLatin1(kOperatorMimeType)).toInt(&ok);
    e->setDropAction(Qt::CopyAction);
    e->accept();
    if (ok && onDrop) onDrop(index_, source);
}
