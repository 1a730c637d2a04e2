#pragma once
#include <QString>

// Plays sounds from command strings of the form "play <path>.wav wait".
// send() returns 0 on success and a non-zero code otherwise; it returns only
// when the sound has finished.
class SoundDevice {
public:
    virtual ~SoundDevice() = default;
    virtual int send(const QString& command, QString& reply) = 0;
    virtual QString errorText(int code) = 0;
};
