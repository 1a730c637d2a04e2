#include "sound/screen_sound_device.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>

namespace {

class InputDropper final : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Wheel:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd: return true;
        default: return QObject::eventFilter(watched, event);
        }
    }
};

} // namespace

void ScreenSoundDevice::paintPendingChanges()
{
    // Widgets ask for their repaint with a posted UpdateRequest: deliver only
    // those, so nothing else runs before the cue.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
}

void ScreenSoundDevice::dropPendingInput()
{
    InputDropper dropper;
    QCoreApplication::instance()->installEventFilter(&dropper);
    // The window system's events reach the widgets in two steps (read, then
    // delivered), hence two passes; timers wait for the event loop.
    for (int pass = 0; pass < 2; ++pass) QCoreApplication::processEvents(QEventLoop::X11ExcludeTimers);
    QCoreApplication::instance()->removeEventFilter(&dropper);
}

int ScreenSoundDevice::send(const QString& command, QString& reply)
{
    const bool windows = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
    if (windows) paintPendingChanges();
    const int result = device_.send(command, reply);
    if (windows) dropPendingInput();
    return result;
}
