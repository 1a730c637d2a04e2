#pragma once
#include "ui/app.h"

#include <QFont>
#include <QRect>
#include <QWidget>

// One screen of the program, shown on the stage. The stage calls
// formActivate() once per showing, after the screen is on view.
class Screen : public QWidget {
    Q_OBJECT
public:
    explicit Screen(App& app, const QString& objectName);
    virtual void formActivate() {}
    // Asked when the window is closed (its × or Alt+F4): false keeps the
    // program going.
    virtual bool mayClose() { return true; }
    App& app() { return app_; }
    SharedState& state() { return app_.state; }
    Services& services() { return app_.services; }
    // False once another screen has taken over (check after events ran).
    bool isCurrent() const;
    // True while this screen is on view and the program is not ending.
    bool stillShown();
    // Lets pending events run; false when this screen must not be touched
    // again (it is gone, another screen took over, or the program ends).
    bool pump();
    // Makes a W on `parent` with its object name, place and font: the start
    // of every control a screen or dialog builds.
    template <typename W> static W* make(QWidget* parent, const QString& name, const QRect& at, const QFont& font)
    {
        auto* w = new W(parent);
        w->setObjectName(name);
        w->setGeometry(at);
        w->setFont(font);
        return w;
    }

private:
    App& app_;
};
