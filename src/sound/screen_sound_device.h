#pragma once
#include "sound/sound_device.h"

// The sound device as the program's windows need it. A cue plays with "wait",
// so the windows are frozen while it plays: what a handler changed before
// the cue is painted first ("O.K." disappears as the cue begins), and the
// mouse buttons and keys that arrived while it played are dropped afterwards,
// so that a double click or a held Enter cannot answer the next problem.
// Timers are left alone: their events still come after the cue, as before.
class ScreenSoundDevice final : public SoundDevice {
public:
    explicit ScreenSoundDevice(SoundDevice& device) : device_(device) {}
    int send(const QString& command, QString& reply) override;
    QString errorText(int code) override { return device_.errorText(code); }

    // Paints every window's pending changes now.
    static void paintPendingChanges();
    // Delivers what the window system has queued, dropping mouse buttons,
    // wheel turns and keys.
    static void dropPendingInput();

private:
    SoundDevice& device_;
};
