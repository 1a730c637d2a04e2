#include "sound/sdl_sound_device.h"

int SdlSoundDevice::send(const QString&, QString& reply)
{
    reply.clear();
    return 1;
}

QString SdlSoundDevice::errorText(int) { return QStringLiteral("音声装置がありません。"); }
