#include "ui/screen.h"

#include "ui/stage.h"

#include <QCoreApplication>
#include <QPointer>

Screen::Screen(App& app, const QString& objectName) : QWidget(&app.stage), app_(app)
{
    setObjectName(objectName);
    setGeometry(0, 0, 1024, 768);
    setAutoFillBackground(true);
}

bool Screen::isCurrent() const { return app_.stage.isCurrent(this); }

bool Screen::stillShown() { return isCurrent() && !services().end.requested(); }

bool Screen::pump()
{
    QPointer<Screen> self(this);
    QCoreApplication::processEvents();
    return self && self->stillShown();
}
