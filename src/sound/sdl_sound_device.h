#pragma once
#include "sound/sound_device.h"

#include <QByteArray>
#include <QString>
#include <QTimer>
#include <SDL2/SDL_audio.h>
#include <optional>

// Plays .wav files through SDL2, one at a time, returning when each has
// finished. Understands one command: play <path>.wav wait, the path possibly
// in double quotes and written with "\" separators. SDL's audio is started on
// the first command (SDL_AUDIODRIVER chooses the driver as usual) and the
// output device stays open between sounds, so only the first waits for it.
class SdlSoundDevice final : public SoundDevice {
public:
    enum Code : int {
        kOk = 0,
        kUnknownCommand = 1,
        kFileMissing = 2,
        kFileUnusable = 3, // unreadable, empty, truncated or not a supported WAV
        kNoDevice = 4,
        kPlaybackStalled = 5,
    };

    // The output device is closed once no sound has played for `idleCloseMs`:
    // an open device keeps SDL's mixing thread waking the processor dozens of
    // times a second even when paused, and reopening costs a few
    // milliseconds, so it stays open through a run of answers.
    explicit SdlSoundDevice(int idleCloseMs = 10000);
    ~SdlSoundDevice() override;
    SdlSoundDevice(const SdlSoundDevice&) = delete;
    SdlSoundDevice& operator=(const SdlSoundDevice&) = delete;

    int send(const QString& command, QString& reply) override;
    QString errorText(int code) override;

    bool deviceOpen() const { return device_ != 0; }

    // The path of a "play <path> wait" command, unquoted; nothing when the
    // command is not of that form.
    static std::optional<QString> playPath(const QString& command);

private:
    bool ensureDevice(QString& reply);
    void closeDevice();
    int play(const QByteArray& pcm, QString& reply);

    bool audioStarted_ = false;
    const struct SdlLibrary* sdl_ = nullptr; // loaded with the first sound
    SDL_AudioDeviceID device_ = 0;
    QTimer idle_;
    SDL_AudioSpec spec_{};
};
