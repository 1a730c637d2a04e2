#include "records/points.h"

#include "records/scores.h"

int runPointsFactor(qint64 score, qint64 targetTime)
{
    const qint64 t = score, p = targetTime;
    if (p <= 0 || t >= score::kAllFailedBest) return 0;
    if (t <= p) {
        const qint64 d = p - qMax<qint64>(t, 0);
        // 50·d³ fits in 64 bits up to a target of 500 000 s; the counters
        // call this for every loaded record.
        if (p <= 500000) return int((d * d * d * 50) / (p * p * p)) + 5;
        const __int128 num = __int128(d) * d * d * 50;
        const __int128 den = __int128(p) * p * p;
        return int(num / den) + 5;
    }
    if (t < 2 * p) return 4;
    if (t < 10 * p) return 1;
    return 0;
}

qint64 runPoints(qint64 score, qint64 targetTime, const PointFactor& factor)
{
    return factor.apply(runPointsFactor(score, targetTime));
}
