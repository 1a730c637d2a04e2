#pragma once
#include "app/app.h"
#include "app/basefrm.h"
#include "app/screen.h"

#include <QPointer>
#include <QWidget>

// The one top-level window (1024 × 768) on which screens are shown one at a
// time. A screen is created when shown and deleted when the next takes over.
class Stage : public QWidget {
    Q_OBJECT
public:
    explicit Stage(SharedState& state, Services& services);
    ~Stage() override;

    App& app() { return app_; }
    // Replaces the current screen. The old screen is hidden and deleted
    // later, so it may be replaced from inside its own handler. The new
    // screen's activation steps run once, from the event loop.
    void show(Screen* screen);
    Screen* current() const { return current_; }
    bool isCurrent(const Screen* s) const { return s && current_ == s; }
    // Runs the pending activation of the current screen now, if any.
    void activatePending();

    // The small wait screen "Form1".
    void showWaitScreen();
    void unloadWaitScreen();
    BASEFRM* waitScreen() const { return wait_; }

    // Unloads every screen (the end of the program).
    void unloadAll();

private:
    App app_;
    QPointer<Screen> current_;
    QPointer<Screen> pendingActivation_;
    QPointer<BASEFRM> wait_;
};
