#pragma once
// What the fuzz targets share: a check that stops the run with the input
// kept, and the seams the readers reach (the clock, the end of the program,
// message boxes) stubbed without a window.
#include "base/clock.h"
#include "base/dialogs.h"
#include "base/program_end.h"
#include "base/program_launcher.h"
#include "sound/sound_device.h"
#include "state/services.h"

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// A broken property is a finding like a crash: libFuzzer keeps the input.
#define FUZZ_CHECK(cond)                                                                                               \
    do {                                                                                                               \
        if (!(cond)) {                                                                                                 \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond);                              \
            std::abort();                                                                                              \
        }                                                                                                              \
    } while (false)

inline QByteArray inputBytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// A clock that stands still: waits return at once.
class FixedClock final : public Clock {
public:
    QDateTime at = QDateTime(QDate(2026, 12, 8), QTime(10, 0));
    QDateTime now() const override { return at; }
    qint64 tickMs() const override { return ticks; }
    void waitMs(qint64 ms) override { ticks += ms; }
    qint64 ticks = 0;
};

class CountingDialogs final : public Dialogs {
public:
    void message(const QString& text, const QString&, Icon) override
    {
        ++messages;
        last = text;
    }
    int messages = 0;
    QString last;
};

class SilentSound final : public SoundDevice {
public:
    int send(const QString&, QString& reply) override
    {
        reply.clear();
        return 0;
    }
    QString errorText(int) override { return {}; }
};

class NoLauncher final : public ProgramLauncher {
public:
    bool startDetached(const QString&, const QStringList&) override { return false; }
};

struct StubServices {
    FixedClock clock;
    SilentSound sound;
    CountingDialogs dialogs;
    NoLauncher launcher;
    ProgramEnd end;
    Services services{clock, sound, dialogs, launcher, end};
};

// One temporary folder for the whole fuzzing run; each input overwrites the
// files it needs.
inline const QTemporaryDir& scratchFolder()
{
    static const QTemporaryDir dir;
    if (!dir.isValid()) std::abort();
    return dir;
}

inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) std::abort();
}
