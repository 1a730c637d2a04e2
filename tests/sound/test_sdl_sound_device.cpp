#include "base/folder_path.h"
#include "sound/cues.h"
#include "sound/sdl_sound_device.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <cmath>
#include <optional>

class TestSdlSoundDevice : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void parsesCommands_data();
    void parsesCommands();
    void playsAWholeClip();
    void idleDeviceIsClosedAndReopened();
    void playsFilesOfOtherFormatsOnTheSameDevice();
    void playsAQuotedPathWithASpace();
    void refusesBadInput_data();
    void refusesBadInput();
    void deviceThatCannotOpenFailsAtOnce();
    void errorTextsAreDistinct();

private:
    QTemporaryDir dir_;
};

namespace {

void putLe16(QByteArray& b, quint16 v)
{
    char c[2];
    qToLittleEndian(v, c);
    b.append(c, 2);
}
void putLe32(QByteArray& b, quint32 v)
{
    char c[4];
    qToLittleEndian(v, c);
    b.append(c, 4);
}

// A PCM WAV of a 440 Hz tone. `claimedExtra` makes the data chunk claim
// more bytes than it holds (a truncated file).
QByteArray toneWav(double seconds, int rate = 22050, int channels = 1, int bits = 16, quint32 claimedExtra = 0)
{
    const int frames = int(seconds * rate);
    const int bytesPerSample = bits / 8;
    QByteArray data;
    for (int i = 0; i < frames; ++i) {
        const double v = 0.3 * std::sin(2 * M_PI * 440 * i / rate);
        for (int c = 0; c < channels; ++c) {
            if (bits == 16) putLe16(data, quint16(qint16(v * 32767)));
            else data.append(char(quint8(128 + v * 127)));
        }
    }
    QByteArray w("RIFF");
    putLe32(w, quint32(36 + data.size() + claimedExtra));
    w.append("WAVEfmt ");
    putLe32(w, 16);
    putLe16(w, 1);
    putLe16(w, quint16(channels));
    putLe32(w, quint32(rate));
    putLe32(w, quint32(rate * channels * bytesPerSample));
    putLe16(w, quint16(channels * bytesPerSample));
    putLe16(w, quint16(bits));
    w.append("data");
    putLe32(w, quint32(data.size() + claimedExtra));
    return w + data;
}

QString writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) qFatal("cannot write %s", qPrintable(path));
    f.write(bytes);
    return path;
}

// The command the cues send for a native file path.
QString commandFor(const QString& file)
{
    return QStringLiteral("play ") + toFolderString(file) + QStringLiteral(" wait");
}

} // namespace

void TestSdlSoundDevice::initTestCase()
{
    qputenv("SDL_AUDIODRIVER", "dummy");
    QVERIFY(dir_.isValid());
}

// clang-format off
void TestSdlSoundDevice::parsesCommands_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("path"); // "-" for a command that is refused
    QTest::newRow("plain path") << "play C:\\a\\b.wav wait" << "C:\\a\\b.wav";
    QTest::newRow("quoted path with spaces") << "play \"C:\\Program Files\\b.wav\" wait" << "C:\\Program Files\\b.wav";
    QTest::newRow("unquoted path with a space is taken whole") << "play /a b/c.wav wait" << "/a b/c.wav";
    QTest::newRow("command words in any case") << "PLAY x.wav Wait" << "x.wav";
    QTest::newRow("no wait") << "play x.wav" << "-";
    QTest::newRow("another command") << "open x.wav wait" << "-";
    QTest::newRow("no path") << "play  wait" << "-";
    QTest::newRow("empty quotes") << "play \"\" wait" << "-";
    QTest::newRow("unbalanced quote") << "play \"x.wav wait" << "-";
    QTest::newRow("empty command") << "" << "-";
}
// clang-format on

void TestSdlSoundDevice::parsesCommands()
{
    QFETCH(QString, command);
    QFETCH(QString, path);
    const std::optional<QString> parsed = SdlSoundDevice::playPath(command);
    QCOMPARE(parsed.value_or(QStringLiteral("-")), path);
}

void TestSdlSoundDevice::playsAWholeClip()
{
    const QString file = writeFile(dir_.filePath(QStringLiteral("音/正解1.wav")), toneWav(0.6));
    SdlSoundDevice device;
    for (int i = 0; i < 2; ++i) { // the second time on the device kept open
        QString reply = QStringLiteral("old");
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(device.send(commandFor(file), reply), 0);
        // Returns only when the clip has been played (a lower bound only).
        QVERIFY2(timer.elapsed() >= 500, qPrintable(QString::number(timer.elapsed())));
        QVERIFY(reply.isEmpty());
    }
}

void TestSdlSoundDevice::idleDeviceIsClosedAndReopened()
{
    const QString file = writeFile(dir_.filePath(QStringLiteral("short.wav")), toneWav(0.05));
    SdlSoundDevice device(100);
    QString reply;
    for (int i = 0; i < 2; ++i) {
        QCOMPARE(device.send(commandFor(file), reply), 0);
        QVERIFY(device.deviceOpen());
        QTRY_VERIFY_WITH_TIMEOUT(!device.deviceOpen(), 2000);
    }
}

void TestSdlSoundDevice::playsFilesOfOtherFormatsOnTheSameDevice()
{
    SdlSoundDevice device;
    QString reply;
    const QString mono = writeFile(dir_.filePath(QStringLiteral("mono.wav")), toneWav(0.3));
    const QString stereo8 = writeFile(dir_.filePath(QStringLiteral("stereo8.wav")), toneWav(0.3, 44100, 2, 8));
    const QString silent = writeFile(dir_.filePath(QStringLiteral("silent.wav")), toneWav(0));
    QCOMPARE(device.send(commandFor(mono), reply), 0);
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(device.send(commandFor(stereo8), reply), 0);
    QVERIFY2(timer.elapsed() >= 250, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(device.send(commandFor(silent), reply), 0); // a clip of no samples plays nothing
}

void TestSdlSoundDevice::playsAQuotedPathWithASpace()
{
    const QString file = writeFile(dir_.filePath(QStringLiteral("Program Files/音フォルダ/合格.wav")), toneWav(0.1));
    SdlSoundDevice device;
    QString reply;
    // The command exactly as the cues build it for this folder.
    const QString command = playCommand(toFolderString(QFileInfo(file).absolutePath()) + u'\\', QStringLiteral("合格"));
    QVERIFY(command.startsWith(QLatin1String("play \"")));
    QCOMPARE(device.send(command, reply), 0);
}

void TestSdlSoundDevice::refusesBadInput_data()
{
    QTest::addColumn<QString>("name"); // file in the test folder; empty: none written
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("command"); // %1 is replaced by the file's path
    QTest::addColumn<int>("code");

    const QByteArray good = toneWav(0.2);
    QTest::newRow("missing file") << "" << QByteArray() << "play %1 wait" << int(SdlSoundDevice::kFileMissing);
    QTest::newRow("empty file") << "empty.wav" << QByteArray() << "play %1 wait" << int(SdlSoundDevice::kFileUnusable);
    QTest::newRow("not a wav") << "text.wav" << QByteArray("正解音2\r\n*\r\n") << "play %1 wait"
                               << int(SdlSoundDevice::kFileUnusable);
    QTest::newRow("header only") << "header.wav" << good.left(20) << "play %1 wait"
                                 << int(SdlSoundDevice::kFileUnusable);
    QTest::newRow("corrupt format chunk") << "corrupt.wav" << QByteArray(good).replace(20, 2, QByteArray("\x7f\x7f", 2))
                                          << "play %1 wait" << int(SdlSoundDevice::kFileUnusable);
    QTest::newRow("truncated data") << "truncated.wav" << toneWav(0.2, 22050, 1, 16, 4000) << "play %1 wait"
                                    << int(SdlSoundDevice::kFileUnusable);
    QTest::newRow("a folder") << "folder.wav/x" << good << "play %1 wait" << int(SdlSoundDevice::kFileUnusable);
    QTest::newRow("unknown command") << "good.wav" << good << "record %1 wait" << int(SdlSoundDevice::kUnknownCommand);
    QTest::newRow("without wait") << "good.wav" << good << "play %1" << int(SdlSoundDevice::kUnknownCommand);
}

void TestSdlSoundDevice::refusesBadInput()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, command);
    QFETCH(int, code);
    QString path = dir_.filePath(QStringLiteral("none.wav"));
    if (!name.isEmpty()) path = writeFile(dir_.filePath(name), bytes);
    if (name.endsWith(QLatin1String("/x"))) path = QFileInfo(path).absolutePath(); // the folder itself
    SdlSoundDevice device;
    QString reply;
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(device.send(command.arg(toFolderString(path)), reply), code);
    QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed()))); // never a hang
    QVERIFY(!device.errorText(code).isEmpty());
}

void TestSdlSoundDevice::deviceThatCannotOpenFailsAtOnce()
{
    const QString file = writeFile(dir_.filePath(QStringLiteral("ok.wav")), toneWav(0.1));
    qputenv("SDL_AUDIODRIVER", "no-such-driver");
    {
        SdlSoundDevice device;
        QString reply;
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(device.send(commandFor(file), reply), int(SdlSoundDevice::kNoDevice));
        QCOMPARE(device.send(commandFor(file), reply), int(SdlSoundDevice::kNoDevice)); // and again, not stuck
        QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
        QVERIFY(!reply.isEmpty()); // SDL's own reason, for the curious
    }
    qputenv("SDL_AUDIODRIVER", "dummy");
    SdlSoundDevice device;
    QString reply;
    QCOMPARE(device.send(commandFor(file), reply), 0);
}

void TestSdlSoundDevice::errorTextsAreDistinct()
{
    SdlSoundDevice device;
    QCOMPARE(device.errorText(SdlSoundDevice::kFileMissing), QStringLiteral("音声ファイルが見つかりません。"));
    QCOMPARE(
        device.errorText(SdlSoundDevice::kFileUnusable),
        QStringLiteral("音声ファイルを読めません（空のファイル、壊れたファイル、または対応していない形式です）。"));
    QCOMPARE(device.errorText(SdlSoundDevice::kNoDevice), QStringLiteral("音声を出す装置が使えません。"));
    QCOMPARE(device.errorText(SdlSoundDevice::kUnknownCommand), QStringLiteral("音声の命令がわかりません。"));
    QSet<QString> texts;
    for (int code = 1; code <= SdlSoundDevice::kPlaybackStalled; ++code) texts << device.errorText(code);
    QCOMPARE(texts.size(), int(SdlSoundDevice::kPlaybackStalled));
    QVERIFY(device.errorText(999).contains(u"999"));
}

QTEST_GUILESS_MAIN(TestSdlSoundDevice)
#include "test_sdl_sound_device.moc"
