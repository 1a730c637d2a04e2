#include "ui/focus_ring.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QEvent>
#include <QGraphicsView>
#include <QPainter>
#include <QProxyStyle>
#include <QWidget>

namespace {

const QColor kRingYellow(255, 216, 0);

// Fills the bands of `r`, from the edge in, with the colours given.
void drawBands(QPainter& p, const QRect& r, std::initializer_list<std::pair<int, QColor>> bands)
{
    int in = 0;
    for (const auto& [width, colour] : bands)
        for (int i = 0; i < width; ++i, ++in) {
            const QRect edge = r.adjusted(in, in, -in, -in);
            if (edge.width() <= 0 || edge.height() <= 0) return;
            p.fillRect(edge.left(), edge.top(), edge.width(), 1, colour);
            p.fillRect(edge.left(), edge.bottom(), edge.width(), 1, colour);
            p.fillRect(edge.left(), edge.top(), 1, edge.height(), colour);
            p.fillRect(edge.right(), edge.top(), 1, edge.height(), colour);
        }
}

// The current line of a list with the focus, framed like the control: the
// style's own mark is a faint line, drawn only after a keyboard focus change
// in the window (never in a screen shown scaled).
class CurrentLineStyle final : public QProxyStyle {
public:
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* p,
                       const QWidget* widget) const override
    {
        if (element == PE_FrameFocusRect && qobject_cast<const QAbstractItemView*>(widget)) {
            drawBands(*p, option->rect, {{1, Qt::black}, {1, kRingYellow}, {1, Qt::black}});
            return;
        }
        QProxyStyle::drawPrimitive(element, option, p, widget);
    }
};

// The frame itself: lets every click, drop and wheel through to what lies
// under it.
class RingFrame final : public QWidget {
public:
    explicit RingFrame(QWidget* parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("FocusRing"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        // Black, yellow, black: one of them stands out on any colour.
        QPainter p(this);
        drawBands(p, rect(), {{1, Qt::black}, {FocusRing::kWidth - 2, kRingYellow}, {1, Qt::black}});
    }
};

// Controls that get a frame: any child control, not the scaled view that
// carries a whole screen, nor the lists of drop-down popups.
bool wantsRing(const QWidget* w)
{
    if (!w || w->isWindow() || !w->parentWidget()) return false;
    if (qobject_cast<const QGraphicsView*>(w)) return false;
    return w->window()->windowType() != Qt::Popup;
}

} // namespace

FocusRing::FocusRing(QObject* parent) : QObject(parent)
{
    if (!dynamic_cast<CurrentLineStyle*>(QApplication::style())) QApplication::setStyle(new CurrentLineStyle);
    qApp->installEventFilter(this);
}

FocusRing::~FocusRing()
{
    qApp->removeEventFilter(this);
    drop();
    delete frame_;
}

bool FocusRing::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
        if (watched->isWidgetType()) follow(static_cast<QWidget*>(watched));
        break;
    case QEvent::FocusOut:
        if (watched == target_) drop();
        break;
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::ZOrderChange:
        if (watched == target_ && !placing_) place();
        break;
    case QEvent::Hide:
    case QEvent::ParentChange:
        if (watched == target_) drop();
        break;
    default: break;
    }
    return false;
}

void FocusRing::follow(QWidget* w)
{
    if (!wantsRing(w)) {
        drop();
        return;
    }
    target_ = w;
    place();
}

void FocusRing::place()
{
    QWidget* w = target_;
    if (!w || !w->isVisible() || !w->hasFocus()) {
        if (frame_) frame_->hide();
        return;
    }
    QWidget* parent = w->parentWidget();
    if (!frame_) frame_ = new RingFrame(parent);
    else if (frame_->parentWidget() != parent) frame_->setParent(parent);
    frame_->setGeometry(w->geometry());
    // Just above the control, under whatever covers it (a wait panel).
    placing_ = true;
    frame_->stackUnder(w);
    w->stackUnder(frame_);
    placing_ = false;
    frame_->show();
}

void FocusRing::drop()
{
    target_ = nullptr;
    if (frame_) frame_->hide();
}
