#pragma once

struct App;

// Moving the pupil between screens.
// Shows the name selection screen, loaded afresh (start-up, the lobby's back
// button, the roster editor's "もどる").
void showNameSelection(App& app);
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
