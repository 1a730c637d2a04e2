#pragma once
#include "app/app.h"

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

private:
    App& app_;
};
