#pragma once

struct App;

// Moving the pupil between screens.
// Shows the name selection screen, loaded afresh (start-up, the lobby's back
// button, the roster editor's "もどる"). `anotherCopyRunning` is given by
// start-up only: the screen's load then shows the warning and ends the program.
void showNameSelection(App& app, bool anotherCopyRunning = false);
// Opens the roster editor; the name selection screen closes.
void showRosterEditor(App& app);
// Sets the lobby's levels, then shows the step lobby.
void showLobby(App& app);
// Shows the step lobby again (from the results screen or a practice run).
void showLobbyScreen(App& app);
// Shows the drill screen.
void openDrill(App& app);
// Zeroes the run state, lets pending events run once, opens the drill for
// state.currentLevel (set by the caller).
void startRun(App& app);
// Replaces the drill with the results screen.
void showResults(App& app);
// Starts the installation's program menu and ends the program ("終了").
void leaveProgram(App& app);

// The "ヘルプ" menu of the selection screen.
// The version box, modal over the stage; returns when it is closed.
void showVersionBox(App& app);
// The help document in its own window; nothing happens when it is missing.
void showHelp(App& app);
// Hands the maker's page to the desktop's browser; the result is not examined.
void openMakerPage(App& app);
