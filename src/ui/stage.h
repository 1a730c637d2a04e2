#pragma once
#include "ui/app.h"
#include "ui/screen.h"
#include "ui/wait_window.h"

#include <QPointer>
#include <QWidget>

class QShortcut;
class ScaledView;

// The one top-level window on which screens are shown one at a time. A screen
// is created when shown and deleted when the next takes over.
//
// The screens are designed for 1024 × 768. A window of that size shows them
// as they are; a larger window (maximised, or full screen with F11) or a
// smaller one (a screen whose free area is smaller than the design) shows the
// whole design at one factor both ways, centred on the background colour.
class Stage : public QWidget {
    Q_OBJECT
public:
    // `navigator` is only bound here: it is used once screens are shown.
    Stage(SharedState& state, Services& services, Navigator& navigator);
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
    WaitWindow* waitScreen() const { return wait_; }

    // Unloads every screen (the end of the program).
    void unloadAll();

    // F11: full screen and back (Escape leaves it too).
    void toggleFullScreen();
    // The factor the design is shown at (1: as designed).
    double scale() const { return scale_; }
    // Where the design lies in the window.
    QRect designArea() const { return designArea_; }

protected:
    void resizeEvent(QResizeEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void changeEvent(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    void placeScreen();
    void fitToAvailableArea();
    QColor background() const;

    App app_;
    QPointer<Screen> current_;
    QPointer<Screen> pendingActivation_;
    QPointer<WaitWindow> wait_;
    ScaledView* view_ = nullptr;
    QShortcut* leaveFullScreen_ = nullptr;
    double scale_ = 1;
    QRect designArea_;
    QRect normalGeometry_;
    bool wasMaximised_ = false;
    bool frameSeen_ = false;
};
