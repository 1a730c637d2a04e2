#pragma once
#include <QtGlobal>

// The scores a run and a best can carry besides a time in seconds.
namespace score {

// A run that ran out of time is stored with this score; a best that is
// still this has no finished run behind it (or no run at all).
constexpr qint32 kOutOfTime = 99999;
constexpr qint32 kNoBest = kOutOfTime;
// The best the rankings give a pupil whose every run at a level ran out of time.
constexpr qint32 kAllFailedBest = 99998;
// From here on a stored score is a run that ran out of time, whatever its value.
constexpr qint32 kFailedFrom = 90000;
// A finished run scores below this; only finished runs are counted and averaged.
constexpr qint32 kFinishedBelow = 6000;

} // namespace score
