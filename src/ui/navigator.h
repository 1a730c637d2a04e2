#pragma once

// How a screen asks to move on. Screens never create one another: they ask
// the navigator, which only the program knows how to answer.
class Navigator {
public:
    virtual ~Navigator() = default;
    // The name selection screen, loaded afresh (the lobby's back button, the
    // roster editor's "もどる").
    virtual void showNameSelection() = 0;
    // The roster editor; the name selection screen closes.
    virtual void showRosterEditor() = 0;
    // Sets the lobby's levels for the pupil, then shows the lobby.
    virtual void openLobby() = 0;
    // Shows the lobby again (after a run or from the results screen).
    virtual void returnToLobby() = 0;
    // Zeroes the run state, lets pending events run once, opens the drill
    // for state.currentLevel (set by the caller).
    virtual void startRun() = 0;
    // Replaces the drill with the results screen.
    virtual void showResults() = 0;
    // Starts the installation's program menu and ends the program ("終了").
    virtual void leaveProgram() = 0;
    // The version box, modal over the stage; returns when it is closed.
    virtual void showVersionBox() = 0;
    // The help document in its own window; nothing happens when it is missing.
    virtual void showHelp() = 0;
    // Hands the maker's page to the desktop's browser.
    virtual void openMakerPage() = 0;
};
