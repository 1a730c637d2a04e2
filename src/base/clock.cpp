#include "base/clock.h"

#include <QEventLoop>
#include <QTimer>

void SystemClock::waitMs(qint64 ms)
{
    if (ms <= 0) return;
    QEventLoop loop;
    QTimer::singleShot(std::chrono::milliseconds(ms), &loop, &QEventLoop::quit);
    loop.exec();
}
