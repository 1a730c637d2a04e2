#include "sound/sdl_sound_device.h"

#include "base/file_error.h"
#include "base/folder_path.h"
#include "sound/sdl_library.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <cstring>

namespace {

// Larger files (and sounds) are refused rather than held whole in memory; the
// cues are a few seconds long.
constexpr qint64 kMaxFileBytes = 16LL * 1024 * 1024;
constexpr qint64 kMaxPcmBytes = 256LL * 1024 * 1024;
// Extra time allowed beyond a sound's own length before playback is given up.
constexpr qint64 kDrainMarginMs = 2000;

QString sdlError() { return QString::fromUtf8(sdlLibrary()->SDL_GetError()); }

// Frees what SDL_LoadWAV_RW allocated.
struct WavBuffer {
    Uint8* data = nullptr;
    Uint32 length = 0;
    ~WavBuffer()
    {
        if (data) sdlLibrary()->SDL_FreeWAV(data);
    }
};

} // namespace

SdlSoundDevice::SdlSoundDevice(int idleCloseMs)
{
    idle_.setSingleShot(true);
    idle_.setInterval(idleCloseMs);
    idle_.callOnTimeout([this] { closeDevice(); });
}

SdlSoundDevice::~SdlSoundDevice()
{
    closeDevice();
    if (audioStarted_) sdl_->SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

std::optional<QString> SdlSoundDevice::playPath(const QString& command)
{
    const QString c = command.trimmed();
    const QLatin1String play("play "), wait(" wait");
    if (!c.startsWith(play, Qt::CaseInsensitive) || !c.endsWith(wait, Qt::CaseInsensitive)) return std::nullopt;
    if (c.size() < play.size() + wait.size()) return std::nullopt;
    QString path = c.mid(play.size(), c.size() - play.size() - wait.size()).trimmed();
    if (path.size() >= 2 && path.startsWith(u'"') && path.endsWith(u'"')) path = path.mid(1, path.size() - 2);
    if (path.isEmpty() || path.contains(u'"')) return std::nullopt;
    return path;
}

int SdlSoundDevice::send(const QString& command, QString& reply)
{
    reply.clear();
    const std::optional<QString> path = playPath(command);
    if (!path) return kUnknownCommand;

    const QString file = nativePath(*path);
    const QFileInfo info(file);
    if (!info.exists()) return kFileMissing;
    if (!info.isFile() || info.size() > kMaxFileBytes) return kFileUnusable;
    QFile f(file);
    if (!openWithReason(f, QIODevice::ReadOnly, &reply)) return kFileUnusable;
    const QByteArray bytes = f.readAll();
    if (bytes.isEmpty()) return kFileUnusable;

    if (!sdl_) {
        sdl_ = sdlLibrary(&reply);
        if (!sdl_) return kNoDevice;
    }
    if (!audioStarted_) {
        // Our own hints; an environment variable of the same name still wins.
        sdl_->SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        sdl_->SDL_SetHint(SDL_HINT_WAVE_TRUNCATION, "strict");
        if (sdl_->SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            reply = sdlError();
            return kNoDevice;
        }
        audioStarted_ = true;
    }

    SDL_AudioSpec wav{};
    WavBuffer buffer;
    SDL_RWops* rw = sdl_->SDL_RWFromConstMem(bytes.constData(), int(bytes.size()));
    if (!rw || !sdl_->SDL_LoadWAV_RW(rw, 1, &wav, &buffer.data, &buffer.length)) {
        reply = sdlError();
        return kFileUnusable;
    }
    if (!ensureDevice(reply)) return kNoDevice;

    // The device keeps the format it was opened with; convert to it.
    SDL_AudioCVT cvt;
    const int built = sdl_->SDL_BuildAudioCVT(&cvt, wav.format, wav.channels, wav.freq, spec_.format, spec_.channels,
                                              spec_.freq);
    if (built < 0) {
        reply = sdlError();
        return kFileUnusable;
    }
    QByteArray pcm;
    if (buffer.length == 0) {
        // A clip without samples: nothing to hear.
    } else if (built == 0) {
        pcm = QByteArray(reinterpret_cast<const char*>(buffer.data), qsizetype(buffer.length));
    } else {
        if (qint64(buffer.length) * cvt.len_mult > kMaxPcmBytes) return kFileUnusable;
        pcm.resize(qsizetype(buffer.length) * cvt.len_mult);
        std::memcpy(pcm.data(), buffer.data, buffer.length);
        cvt.buf = reinterpret_cast<Uint8*>(pcm.data());
        cvt.len = int(buffer.length);
        if (sdl_->SDL_ConvertAudio(&cvt) != 0) {
            reply = sdlError();
            return kFileUnusable;
        }
        pcm.resize(cvt.len_cvt);
    }
    return play(pcm, reply);
}

bool SdlSoundDevice::ensureDevice(QString& reply)
{
    if (device_ != 0 && sdl_->SDL_GetAudioDeviceStatus(device_) == SDL_AUDIO_STOPPED) closeDevice(); // unplugged
    if (device_ != 0) return true;
    SDL_AudioSpec want{};
    want.freq = 48000;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 1024;     // short buffers: the end of a sound is heard soon after it was queued
    want.callback = nullptr; // queued audio
    // The device keeps the rate and sample format the hardware prefers, and
    // every sound is converted to it, so sounds of any format share one device.
    device_ = sdl_->SDL_OpenAudioDevice(nullptr, 0, &want, &spec_,
                                        SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_FORMAT_CHANGE);
    if (device_ == 0) {
        reply = sdlError();
        return false;
    }
    sdl_->SDL_PauseAudioDevice(device_, 0);
    return true;
}

void SdlSoundDevice::closeDevice()
{
    if (device_ != 0) sdl_->SDL_CloseAudioDevice(device_);
    device_ = 0;
}

int SdlSoundDevice::play(const QByteArray& pcm, QString& reply)
{
    const int frameBytes = SDL_AUDIO_BITSIZE(spec_.format) / 8 * spec_.channels;
    const qint64 soundMs = frameBytes > 0 && spec_.freq > 0 ? qint64(pcm.size()) / frameBytes * 1000 / spec_.freq : 0;
    // After the queue drains, the last buffer is still being heard.
    const qint64 tailMs = spec_.freq > 0 ? qint64(spec_.samples) * 1000 / spec_.freq : 0;

    if (!pcm.isEmpty() && sdl_->SDL_QueueAudio(device_, pcm.constData(), Uint32(pcm.size())) != 0) {
        reply = sdlError();
        closeDevice();
        return kNoDevice;
    }
    QElapsedTimer clock;
    clock.start();
    const qint64 deadline = soundMs + tailMs + kDrainMarginMs;
    while (sdl_->SDL_GetQueuedAudioSize(device_) > 0) {
        if (sdl_->SDL_GetAudioDeviceStatus(device_) == SDL_AUDIO_STOPPED) {
            reply = sdlError();
            closeDevice();
            return kNoDevice;
        }
        if (clock.elapsed() > deadline) {
            // The device takes no data: give up rather than hang, and start
            // afresh with the next sound.
            sdl_->SDL_ClearQueuedAudio(device_);
            closeDevice();
            return kPlaybackStalled;
        }
        sdl_->SDL_Delay(5);
    }
    if (!pcm.isEmpty()) sdl_->SDL_Delay(Uint32(tailMs));
    idle_.start();
    return kOk;
}

QString SdlSoundDevice::errorText(int code)
{
    switch (code) {
    case kOk: return QStringLiteral("エラーはありません。");
    case kUnknownCommand: return QStringLiteral("音声の命令がわかりません。");
    case kFileMissing: return QStringLiteral("音声ファイルが見つかりません。");
    case kFileUnusable:
        return QStringLiteral(
            "音声ファイルを読めません（空のファイル、壊れたファイル、または対応していない形式です）。");
    case kNoDevice: return QStringLiteral("音声を出す装置が使えません。");
    case kPlaybackStalled: return QStringLiteral("音声の再生が終わりませんでした。");
    default: return QStringLiteral("不明な音声エラーです（コード %1）。").arg(code);
    }
}
