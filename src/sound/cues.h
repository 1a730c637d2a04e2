#pragma once
#include <QString>

struct SharedState;
struct Services;

// The six sound cues. The two answer cues are supervised: the fourth failure
// in a row shows the sound-error message and ends the program (callers check
// services.end.requested() afterwards). The four results-screen cues neither
// count failures nor reset the count. Every cue keeps its command, reply and
// result in s.sound; with s.sound.on false a cue does nothing at all. When
// SOLMEA_SOUND_TRACE names a file, each command sent is also appended to it
// as a UTF-8 line: the command, a tab, the result code.
void playCorrectCue(SharedState& s, Services& sv);
void playWrongCue(SharedState& s, Services& sv);
void playPersonalBestCue(SharedState& s, Services& sv);
void playFailCue(SharedState& s, Services& sv);
void playBestCue(SharedState& s, Services& sv);
void playPassCue(SharedState& s, Services& sv);

// The exit code of the program ended by the fourth sound failure.
constexpr int kSoundFailureExitCode = 2;

// The variant (1..count) a uniform number u in [0, 1) picks from a group of
// `count`; a group of none picks variant 1 (which is empty).
int soundVariantFor(float u, int count);

// The command that plays `file` (without ".wav") from `soundFolder`. A path
// with a space is put in double quotes so the device reads it as one path.
QString playCommand(const QString& soundFolder, const QString& file);
