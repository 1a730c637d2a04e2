#include "ui/stage.h"

#include "state/catalogue.h"
#include "ui/focus_ring.h"
#include "ui/scaled_view.h"
#include "ui/screen.h"
#include "ui/stage_fit.h"
#include "ui/wait_window.h"
#include "ui/window_manager.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QPainter>
#include <QPixmapCache>
#include <QScreen>
#include <QShortcut>
#include <QWindow>

Stage::Stage(SharedState& state, Services& services, Navigator& navigator) : app_{state, services, *this, navigator}
{
    setObjectName(QStringLiteral("Stage"));
    // A window smaller than this shows too little to read.
    setMinimumSize(kDesignSize / 4);
    resize(kDesignSize);
    designArea_ = QRect(QPoint(0, 0), kDesignSize);
    setWindowTitle(state.contentTitle.isEmpty() ? catalogue::kTitle : state.contentTitle);
    // The frame round the control that holds the focus, on every screen.
    new FocusRing(this);

    auto* fullScreen = new QShortcut(QKeySequence(Qt::Key_F11), this);
    connect(fullScreen, &QShortcut::activated, this, &Stage::toggleFullScreen);
    leaveFullScreen_ = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    leaveFullScreen_->setEnabled(false);
    connect(leaveFullScreen_, &QShortcut::activated, this, &Stage::toggleFullScreen);
}

Stage::~Stage() { delete wait_; }

void Stage::show(Screen* screen)
{
    if (current_ && current_ != screen) {
        current_->hide();
        current_->deleteLater();
        // The style caches what it draws under keys that hold the drawn
        // widgets' palettes, which every new screen makes afresh: what the
        // old screen left there would never be used again, and filled the
        // cache's 10 MB over some forty runs.
        QPixmapCache::clear();
    }
    current_ = screen;
    if (!screen) return;
    // The wait screen is a window of its own above the stage: the screen now
    // shown comes before it at once (it is unloaded later, at the step that
    // says so).
    if (wait_) wait_->hide();
    if (!isVisible()) fitToAvailableArea();
    placeScreen();
    if (!isVisible()) QWidget::show();
    setWindowTitle(screen->windowTitle().isEmpty() ? app_.state.contentTitle : screen->windowTitle());
    pendingActivation_ = screen;
    QMetaObject::invokeMethod(this, &Stage::activatePending, Qt::QueuedConnection);
}

void Stage::placeScreen()
{
    const StageFit fit = fitDesign(size());
    scale_ = fit.factor;
    designArea_ = fit.area;
    Screen* screen = current_;
    if (scale_ == 1.0) {
        // As designed: the screen is a plain child of this window.
        if (view_) {
            view_->release();
            view_->hide();
        }
        if (!screen) return;
        if (screen->parentWidget() != this) {
            const QPointer<QWidget> focus = screen->focusWidget();
            screen->setParent(this, Qt::Widget);
            if (focus) focus->setFocus(Qt::OtherFocusReason);
        }
        screen->setGeometry(designArea_);
        screen->show();
        screen->raise();
        return;
    }
    if (!view_) view_ = new ScaledView(this);
    view_->setGeometry(rect());
    view_->setFactor(scale_, background());
    view_->show();
    view_->raise();
    if (screen) view_->embed(screen);
    view_->setFocus(Qt::OtherFocusReason);
}

void Stage::activatePending()
{
    Screen* s = pendingActivation_;
    pendingActivation_ = nullptr;
    if (s && s == current_) s->formActivate();
}

void Stage::showWaitScreen()
{
    if (!wait_) wait_ = new WaitWindow(this);
    wait_->move(mapToGlobal(QPoint((width() - wait_->width()) / 2, (height() - wait_->height()) / 2)));
    wait_->show();
    wait_->raise();
    // One pass of the event queue, so that it paints at once.
    QCoreApplication::processEvents();
}

void Stage::unloadWaitScreen()
{
    if (wait_) {
        wait_->hide();
        wait_->deleteLater();
        wait_ = nullptr;
    }
}

void Stage::unloadAll()
{
    unloadWaitScreen();
    pendingActivation_ = nullptr;
    if (current_) {
        current_->hide();
        current_->deleteLater();
        current_ = nullptr;
    }
    hide();
}

void Stage::toggleFullScreen()
{
    // Where no window manager runs, the window takes the screen and gives it
    // back itself (through its window: setting a widget's geometry would end
    // full screen).
    const bool bare = !windowManagerRuns();
    if (isFullScreen()) {
        if (wasMaximised_) {
            showMaximized();
        } else {
            showNormal();
            if (bare) setGeometry(normalGeometry_);
        }
        return;
    }
    wasMaximised_ = isMaximized();
    normalGeometry_ = geometry();
    showFullScreen();
    if (QScreen* s = screen(); bare && s && windowHandle()) windowHandle()->setGeometry(s->geometry());
}

void Stage::fitToAvailableArea()
{
    if (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) return;
    QScreen* s = screen();
    if (!s) return;
    const QRect available = s->availableGeometry();
    const QRect frame = frameGeometry();
    const QMargins margins(geometry().left() - frame.left(), geometry().top() - frame.top(),
                           frame.right() - geometry().right(), frame.bottom() - geometry().bottom());
    const QSize room = available.size().shrunkBy(margins);
    const QSize wanted = fittedWindowSize(room);
    if (size() != wanted) resize(wanted);
    // Keep the title bar and the bottom row inside the free area.
    QRect placed(pos(), wanted.grownBy(margins));
    if (placed.right() > available.right()) placed.moveRight(available.right());
    if (placed.bottom() > available.bottom()) placed.moveBottom(available.bottom());
    if (placed.left() < available.left()) placed.moveLeft(available.left());
    if (placed.top() < available.top()) placed.moveTop(available.top());
    if (placed.topLeft() != pos()) move(placed.topLeft());
}

void Stage::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    placeScreen();
}

void Stage::moveEvent(QMoveEvent* e)
{
    QWidget::moveEvent(e);
    // The window frame is known once the window manager has put one round the
    // window; the window is fitted again then, once.
    if (!frameSeen_ && isVisible() && frameGeometry() != geometry()) {
        frameSeen_ = true;
        fitToAvailableArea();
    }
}

void Stage::changeEvent(QEvent* e)
{
    QWidget::changeEvent(e);
    if (e->type() == QEvent::WindowStateChange) leaveFullScreen_->setEnabled(isFullScreen());
}

void Stage::closeEvent(QCloseEvent* e)
{
    // The screen on view may keep the program going (a run asks first).
    if (current_ && !current_->mayClose()) {
        e->ignore();
        return;
    }
    QWidget::closeEvent(e);
}

void Stage::paintEvent(QPaintEvent*)
{
    // Round the design when the window is wider or taller than it.
    QPainter(this).fillRect(rect(), background());
}

QColor Stage::background() const { return QColor::fromRgb(app_.state.backgroundColour); }
