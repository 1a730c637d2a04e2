#pragma once
#include "base/point_factor.h"

#include <QtGlobal>

// The points factor f of a run with score T against target time P:
// 0 when time ran out (T ≥ 99998) or the level has no target (P ≤ 0);
// floor(((P − T) ÷ P)³ × 50 + 5) when T ≤ P (55 down to 5); 4 below 2P;
// 1 below 10P; 0 beyond. Computed exactly in integers.
int runPointsFactor(qint64 score, qint64 targetTime);
// The points of a run: floor(f × pointFactor), exact.
qint64 runPoints(qint64 score, qint64 targetTime, const PointFactor& factor);
