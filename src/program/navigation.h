#pragma once
#include "ui/navigator.h"
#include "ui/stage.h"

struct App;

// The one place that creates screens and moves the pupil between them.
class ProgramNavigator final : public Navigator {
public:
    explicit ProgramNavigator(Stage& stage) : stage_(stage) {}
    void showNameSelection() override;
    void showRosterEditor() override;
    void openLobby() override;
    void returnToLobby() override;
    void startRun() override;
    void showResults() override;
    void leaveProgram() override;
    void showVersionBox() override;
    void showHelp() override;
    void openMakerPage() override;

private:
    App& app() { return stage_.app(); }
    Stage& stage_;
};

// The stage with the program's navigation: what the program and its tests
// show screens on.
class ProgramStage : public Stage {
public:
    // The navigator is bound before it is built; it is not used until a
    // screen is shown.
    ProgramStage(SharedState& state, Services& services) : Stage(state, services, navigator_), navigator_(*this) {}

private:
    ProgramNavigator navigator_;
};

// Shows the name selection screen, loaded afresh. `anotherCopyRunning` is
// given by start-up only: the screen's load then shows the warning and ends
// the program.
void showNameSelection(App& app, bool anotherCopyRunning);
