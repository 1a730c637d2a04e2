#include "app/stage.h"

#include "app/basefrm.h"
#include "app/catalogue.h"
#include "app/screen.h"

#include <QCoreApplication>

Stage::Stage(SharedState& state, Services& services) : app_{state, services, *this}
{
    setObjectName(QStringLiteral("Stage"));
    setFixedSize(1024, 768);
    setWindowTitle(state.contentTitle.isEmpty() ? catalogue::kTitle : state.contentTitle);
}

Stage::~Stage() { delete wait_; }

void Stage::show(Screen* screen)
{
    if (current_ && current_ != screen) {
        current_->hide();
        current_->deleteLater();
    }
    current_ = screen;
    if (!screen) return;
    // The wait screen is a window of its own above the stage: the screen now
    // shown comes before it at once (it is unloaded later, at the step that
    // says so).
    if (wait_) wait_->hide();
    screen->setParent(this);
    screen->setGeometry(0, 0, 1024, 768);
    screen->show();
    screen->raise();
    if (!isVisible()) QWidget::show();
    setWindowTitle(screen->windowTitle().isEmpty() ? app_.state.contentTitle : screen->windowTitle());
    pendingActivation_ = screen;
    QMetaObject::invokeMethod(this, &Stage::activatePending, Qt::QueuedConnection);
}

void Stage::activatePending()
{
    Screen* s = pendingActivation_;
    pendingActivation_ = nullptr;
    if (s && s == current_) s->formActivate();
}

void Stage::showWaitScreen()
{
    if (!wait_) wait_ = new BASEFRM(this);
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
