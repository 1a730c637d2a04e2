#include "base/folder_path.h"
#include "sound/cues.h"
#include "sound/sdl_sound_device.h"
#include "state/settings.h"
#include "state/shared_state.h"
#include "support/test_services.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The bundled demo installation, read as the program reads it at start, plays
// every cue through the real device. The trace goes to the file named by
// SOLMEA_SOUND_TRACE, or to a temporary one.
class TestDemoCues : public QObject {
    Q_OBJECT
private slots:
    void everyCuePlays();
};

namespace {
QStringList traceLines(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts);
}
} // namespace

void TestDemoCues::everyCuePlays()
{
    QTemporaryDir dir;
    if (qEnvironmentVariableIsEmpty("SOLMEA_SOUND_TRACE"))
        qputenv("SOLMEA_SOUND_TRACE", dir.filePath(QStringLiteral("trace.txt")).toUtf8());
    const QString trace = qEnvironmentVariable("SOLMEA_SOUND_TRACE");
    const int before = int(traceLines(trace).size());

    SharedState s;
    s.programFolder = toFolderString(QStringLiteral(SOLMEA_DEMO_DIR "/ソルメア"));
    loadSettings(s);
    TestServices t;
    SdlSoundDevice device;
    Services sv{t.clock, device, t.dialogs, t.launcher, t.end};
    s.random.seed(1);
    for (auto cue : {playCorrectCue, playWrongCue, playPersonalBestCue, playFailCue, playBestCue, playPassCue}) {
        cue(s, sv);
        QVERIFY2(s.sound.lastMciResult == u"0", qPrintable(s.sound.lastMciCommand + u' ' + s.sound.lastMciResult));
    }
    QCOMPARE(int(s.sound.soundFailCount), 0);
    const QStringList lines = traceLines(trace).mid(before);
    QCOMPARE(lines.size(), 6);
    for (const QString& line : lines) {
        QVERIFY2(line.startsWith(QLatin1String("play ")) && line.endsWith(QLatin1String(".wav wait\t0")),
                 qPrintable(line));
        QVERIFY(line.contains(QStringLiteral("音フォルダ")));
    }
    QVERIFY(lines[4].contains(QStringLiteral("最高1.wav")));
    QVERIFY(lines[5].contains(QStringLiteral("合格.wav")));
}

QTEST_GUILESS_MAIN(TestDemoCues)
#include "test_demo_cues.moc"
