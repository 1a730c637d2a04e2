#include "sound/cues.h"

#include "base/text_util.h"
#include "state/services.h"
#include "state/shared_state.h"

#include <QFile>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kSilentFailures = 3;

void trace(const QString& command, int result)
{
    const QString path = qEnvironmentVariable("SOLMEA_SOUND_TRACE");
    if (path.isEmpty()) return;
    QFile f(path);
    // Diagnostics must never stop a sound: a trace that cannot be written is skipped.
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append)) return;
    f.write((command + u'\t' + QString::number(result) + u'\n').toUtf8());
}

// Sends one play command and keeps what the device said in the shared state.
int playFile(SharedState& s, Services& sv, const QString& file)
{
    const QString command = playCommand(s.soundFolder, file);
    QString reply;
    const int result = sv.sound.send(command, reply);
    s.sound.lastMciCommand = command;
    s.sound.lastMciReply = reply.left(255);
    s.sound.lastMciResult = QString::number(result);
    trace(command, result);
    return result;
}

int playGroup(SharedState& s, Services& sv, int group)
{
    const SoundGroup& g = s.sound.groups[group];
    const int n = soundVariantFor(s.random.uniform(), g.count);
    return playFile(s, sv, g.variants[n]);
}

// The answer cues: three failures in a row pass silently, the fourth ends the
// program after telling the pupil to call the teacher.
void supervise(SharedState& s, Services& sv, int result)
{
    if (leadingNumber(s.sound.lastMciResult) == 0) {
        s.sound.soundFailCount = 0;
        return;
    }
    if (s.sound.soundFailCount < kSilentFailures) {
        ++s.sound.soundFailCount;
        return;
    }
    sv.dialogs.message(QStringLiteral("音声がでません。先生を呼びなさい。") + QStringLiteral("\r\n") +
                           sv.sound.errorText(result),
                       QStringLiteral("音声エラー"));
    sv.end.request(kSoundFailureExitCode);
}

} // namespace

int soundVariantFor(float u, int count)
{
    // In double the product is exact, so u < 1 never reaches count + 1.
    const int n = int(std::floor(double(u) * count + 1));
    return std::clamp(n, 1, std::max(count, 1));
}

QString playCommand(const QString& soundFolder, const QString& file)
{
    QString path = soundFolder + file + QStringLiteral(".wav");
    if (path.contains(u' ')) path = u'"' + path + u'"';
    return QStringLiteral("play ") + path + QStringLiteral(" wait");
}

void playCorrectCue(SharedState& s, Services& sv)
{
    if (s.sound.on) supervise(s, sv, playGroup(s, sv, 2));
}
void playWrongCue(SharedState& s, Services& sv)
{
    if (s.sound.on) supervise(s, sv, playGroup(s, sv, 4));
}
void playPersonalBestCue(SharedState& s, Services& sv)
{
    if (s.sound.on) playGroup(s, sv, 8);
}
void playFailCue(SharedState& s, Services& sv)
{
    if (s.sound.on) playGroup(s, sv, 10);
}
void playBestCue(SharedState& s, Services& sv)
{
    if (s.sound.on) playFile(s, sv, QStringLiteral("最高1"));
}
void playPassCue(SharedState& s, Services& sv)
{
    if (s.sound.on) playFile(s, sv, QStringLiteral("合格"));
}
