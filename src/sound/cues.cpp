// Temporary bodies; the sound cues replace this file.
#include "sound/cues.h"

void playCorrectCue(SharedState&, Services&) {}
void playWrongCue(SharedState&, Services&) {}
void playPersonalBestCue(SharedState&, Services&) {}
void playFailCue(SharedState&, Services&) {}
void playBestCue(SharedState&, Services&) {}
void playPassCue(SharedState&, Services&) {}
