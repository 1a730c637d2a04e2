#pragma once

struct SharedState;
struct Services;

// The six sound cues. The two answer cues are supervised: the fourth failure
// in a row shows the sound-error message and ends the program (callers check
// services.end.requested() afterwards). The four results-screen cues neither
// count failures nor reset the count.
void playCorrectCue(SharedState& s, Services& sv);
void playWrongCue(SharedState& s, Services& sv);
void playPersonalBestCue(SharedState& s, Services& sv);
void playFailCue(SharedState& s, Services& sv);
void playBestCue(SharedState& s, Services& sv);
void playPassCue(SharedState& s, Services& sv);
