#pragma once
#include "sound/sound_device.h"

// Plays .wav files through SDL2.
class SdlSoundDevice final : public SoundDevice {
public:
    int send(const QString& command, QString& reply) override;
    QString errorText(int code) override;
};
