// Clicks and keys that come in while a cue plays, through the real window
// system (xdotool on the X server) and the real sound device.
#include "drill/drill_screen.h"
#include "drill/equation.h"
#include "program/navigation.h"
#include "program/startup.h"
#include "sound/screen_sound_device.h"
#include "sound/sdl_sound_device.h"
#include "state/catalogue.h"
#include "support/answers.h"
#include "support/installation.h"
#include "support/test_services.h"
#include "ui/stage.h"
#include "wav_writer.h"

#include <QImage>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QTest>

namespace {

// The colour the X server shows at a point of the screen, read by another
// program: what the pupil sees, not what the program has drawn for itself.
QColor screenColour(QPoint global)
{
    QProcess import;
    import.start(QStringLiteral("import"),
                 {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("-crop"),
                  QStringLiteral("1x1+%1+%2").arg(global.x()).arg(global.y()), QStringLiteral("ppm:-")});
    if (!import.waitForFinished(10000)) return {};
    const QImage image = QImage::fromData(import.readAllStandardOutput(), "PPM");
    return image.isNull() ? QColor() : image.pixelColor(0, 0);
}

// The real device, with a look at the screen as each cue begins.
class WatchedDevice final : public SoundDevice {
public:
    int send(const QString& command, QString& reply) override
    {
        commands << command;
        if (atCueStart) atCueStart();
        return real.send(command, reply);
    }
    QString errorText(int code) override { return real.errorText(code); }
    SdlSoundDevice real;
    QStringList commands;
    std::function<void()> atCueStart;
};

struct Fixture {
    TestInstallation inst;
    TestClock clock;
    WatchedDevice device;
    ScreenSoundDevice sound{device};
    RecordingDialogs dialogs;
    RecordingLauncher launcher;
    ProgramEnd end;
    Services services{clock, sound, dialogs, launcher, end};
    SharedState s;
    ProgramStage stage{s, services};
    QPointer<DrillScreen> drill;

    Fixture()
    {
        inst.writeDefaults();
        // Cues of 0.4 s: long enough for a second click to come in meanwhile.
        const QByteArray tone = renderWav({{880, 0.4}});
        for (const char* name : {"seikai1", "seikai2", "machigai1"})
            inst.writeBytes(QStringLiteral("音フォルダ/%1.wav").arg(QLatin1String(name)), tone);
        if (!startUp(stage.app(), inst.programFolder())) return;
        stage.activatePending();
        setLobbyLevels(s);
        s.pupilNumber = 1;
        s.pupilName = QStringLiteral("やまだ　はなこ");
        s.currentLevel = 1;
        stage.app().navigator.startRun();
        stage.activatePending();
        drill = qobject_cast<DrillScreen*>(stage.current());
    }

    // Places the operators of a right answer.
    void placeRightAnswer() const
    {
        const auto [a, b] = operatorsFor(drill->problem());
        drill->operatorPressed(int(a));
        drill->operatorPressed(int(b));
    }
};

} // namespace

class TestCueInput : public QObject {
    Q_OBJECT
private slots:
    void secondPressDuringTheCueIsDropped_data();
    void secondPressDuringTheCueIsDropped();
};

void TestCueInput::secondPressDuringTheCueIsDropped_data()
{
    QTest::addColumn<bool>("mouse");
    QTest::newRow("double click on O.K.") << true;
    QTest::newRow("Enter twice") << false;
}

void TestCueInput::secondPressDuringTheCueIsDropped()
{
    QFETCH(bool, mouse);
    Fixture f;
    QVERIFY(f.drill);
    f.stage.show(f.drill); // on view
    f.stage.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.stage));
    f.placeRightAnswer();
    QPushButton* ok = f.drill->findChild<QPushButton*>(QStringLiteral("Command5"));
    QVERIFY(ok && ok->isVisible() && ok->hasFocus());

    // As the cue begins, the screen already shows the answer button gone.
    const QPoint global = ok->mapToGlobal(ok->rect().center());
    const QColor buttonColour = screenColour(global);
    QColor atCueStart;
    f.device.atCueStart = [&] {
        if (!atCueStart.isValid()) atCueStart = screenColour(global);
    };

    // Two presses 0.1 s apart: the second comes in while the right-answer
    // cue of the first plays.
    QProcess xdotool;
    if (mouse)
        xdotool.start(QStringLiteral("xdotool"),
                      {QStringLiteral("mousemove"), QString::number(global.x()), QString::number(global.y()),
                       QStringLiteral("click"), QStringLiteral("--repeat"), QStringLiteral("2"),
                       QStringLiteral("--delay"), QStringLiteral("100"), QStringLiteral("1")});
    else
        xdotool.start(QStringLiteral("xdotool"),
                      {QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("100"),
                       QStringLiteral("Return"), QStringLiteral("Return")});
    QVERIFY2(xdotool.waitForStarted(), "xdotool is needed (scripts/setup.sh installs it)");
    QTRY_COMPARE_WITH_TIMEOUT(xdotool.state(), QProcess::NotRunning, 5000);
    QTRY_VERIFY_WITH_TIMEOUT(!f.device.commands.isEmpty(), 5000);
    QTest::qWait(800); // the cue and whatever came in during it

    QVERIFY(f.drill);
    QCOMPARE(f.s.run.correctCount, 1);
    QCOMPARE(f.device.commands.size(), 1); // the right-answer cue only, no wrong-answer cue
    QVERIFY(f.device.commands[0].contains(QStringLiteral("seikai")));
    // The drill panel's own colour where the button was.
    QVERIFY(buttonColour != QColor(0xff, 0xfa, 0xeb));
    QCOMPARE(atCueStart, QColor(0xff, 0xfa, 0xeb));
}

QTEST_MAIN(TestCueInput)
#include "test_cue_input.moc"
