#pragma once
#include <QDateTime>
#include <QElapsedTimer>

// The time of day and the calendar, and a millisecond tick count. Everything
// that reads the time goes through here so that tests can set and advance it.
class Clock {
public:
    virtual ~Clock() = default;
    // One reading of date and time together: a record stored at midnight must
    // not take its date from one reading and its time from another.
    virtual QDateTime now() const = 0;
    // Milliseconds from an arbitrary start, never going backwards.
    virtual qint64 tickMs() const = 0;
    // Waits while letting pending events run, without spinning the
    // processor. A test clock simply moves on.
    virtual void waitMs(qint64 ms) = 0;

    QDate today() const { return now().date(); }
    // The day clock: seconds since midnight, with fractions.
    double secondsSinceMidnight() const { return secondsSinceMidnight(now()); }
    static double secondsSinceMidnight(const QDateTime& t) { return t.time().msecsSinceStartOfDay() / 1000.0; }
};

class SystemClock final : public Clock {
public:
    SystemClock() { ticks_.start(); }
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    qint64 tickMs() const override { return ticks_.elapsed(); }
    void waitMs(qint64 ms) override;

private:
    QElapsedTimer ticks_;
};
