#pragma once
#include <QtGlobal>

// The rules of the run clock, the status panel's lamps and time bar.

constexpr int kSecondsPerDay = 86400;

// Seconds from `startDaySeconds` to `nowDaySeconds`, both read from the day
// clock. A day is added when the day clock has wrapped past midnight, so a run
// that crosses midnight keeps counting instead of going negative.
double daySecondsBetween(double startDaySeconds, double nowDaySeconds);

// The run clock: whole seconds since the run started, rounded to the nearest
// second (halves away from zero).
qint32 elapsedRunSeconds(double runStartTime, double nowDaySeconds);

// Whole minutes since the pupil signed in (seconds cut down, then divided by 60).
qint32 minutesSinceSignIn(double nowDaySeconds, qint32 nameConfirmedSeconds);

// The three lamp rows: items 10–19 (Best), 20–29 (YourBest), 30–39 (Pass).
constexpr int kFirstLamp = 10;
constexpr int kLastLamp = 39;

struct LampThresholds {
    qint32 best = 0;     // 0: no time to follow, the row stays lit
    qint32 yourBest = 0; // 0: no time to follow, the row stays lit
    qint32 targetTime = 0;
    qint32 secondTime = 0;
};

// The lamps to put out at a tick reading `elapsed`, as a bit mask over item
// numbers (bit i = item i). Lamps once out stay out, so callers only ever hide.
// A row with threshold T loses its lamps one per second during the last ten
// seconds up to T, left to right, and catches up after a skipped tick.
quint64 lampsToHide(qint32 elapsed, const LampThresholds& t);

// Width in twips of the elapsed bar: elapsed × scale while the time lasts,
// the whole track once it is up.
double elapsedBarWidth(qint32 elapsed, qint32 runTimeLimit, double barScale, double trackWidth);

// Point size of the title label: smaller for a title of more than 9 characters.
double titleFontPoints(int titleLength);
