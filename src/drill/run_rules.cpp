#include "drill/run_rules.h"

#include <cmath>

double daySecondsBetween(double startDaySeconds, double nowDaySeconds)
{
    double d = nowDaySeconds - startDaySeconds;
    if (d < 0) d += kSecondsPerDay;
    return d;
}

qint32 elapsedRunSeconds(double runStartTime, double nowDaySeconds)
{
    return qint32(std::lround(daySecondsBetween(runStartTime, nowDaySeconds)));
}

qint32 minutesSinceSignIn(double nowDaySeconds, qint32 nameConfirmedSeconds)
{
    return qint32(std::floor(daySecondsBetween(nameConfirmedSeconds, nowDaySeconds))) / 60;
}

namespace {
// One row: while T ≥ elapsed, items f .. f + (elapsed − T + 9) go out.
quint64 rowToHide(qint32 elapsed, qint32 threshold, int first)
{
    if (threshold < elapsed) return 0;
    const qint64 last = qint64(elapsed) - threshold + 9;
    quint64 mask = 0;
    for (qint64 k = 0; k <= last && k <= 9; ++k) mask |= quint64(1) << (first + k);
    return mask;
}
} // namespace

quint64 lampsToHide(qint32 elapsed, const LampThresholds& t)
{
    quint64 mask = 0;
    if (t.best > 0) mask |= rowToHide(elapsed, t.best, 10);
    if (t.yourBest > 0) mask |= rowToHide(elapsed, t.yourBest, 20);
    mask |= rowToHide(elapsed, t.targetTime, 30);
    if (t.secondTime >= elapsed)
        for (int i = 0; i <= 9; ++i)
            if (elapsed == t.secondTime - i) mask |= quint64(1) << (39 - i);
    return mask;
}

double elapsedBarWidth(qint32 elapsed, qint32 runTimeLimit, double barScale, double trackWidth)
{
    if (elapsed < runTimeLimit) return elapsed * barScale;
    return trackWidth;
}

double titleFontPoints(int titleLength) { return titleLength > 9 ? 14.0 : 16.8; }
