#pragma once
#include "base/clock.h"
#include "program/navigation.h"
#include "program/startup.h"
#include "sound/screen_sound_device.h"
#include "sound/sdl_sound_device.h"
#include "support/installation.h"
#include "support/test_services.h"

#include <QByteArray>
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>

class QWidget;

// The whole program as main() starts it, on a temporary installation: the
// stage, the real SDL sound device wrapped for the windows, the
// installation's lock and startUp. Only the clock may be a test clock, and
// message boxes, the program menu and the end of the program are recorded.
// The sound trace (SOLMEA_SOUND_TRACE) goes to a file of the installation.
class E2eProgram {
public:
    enum class Time { Real, Test };
    explicit E2eProgram(Time time);
    ~E2eProgram();

    // Writes the installation and its cues (short tones), or lets `write`
    // write another, starts the program and makes its window the active one
    // on the X server.
    bool start(const std::function<bool(const TestInstallation&)>& write = {});

    TestInstallation inst;
    TestClock testClock;
    SystemClock systemClock;
    SdlSoundDevice sdl;
    ScreenSoundDevice sound{sdl};
    RecordingDialogs dialogs;
    RecordingLauncher launcher;
    ProgramEnd end;
    Services services;
    SharedState s;
    ProgramStage stage{s, services};
    InstanceLock lock;

    // The screen on view (its objectName), and one of its controls.
    QString screenName() const;
    template <typename W = QWidget> W* find(const QString& name) const
    {
        return stage.current() ? stage.current()->findChild<W*>(name) : nullptr;
    }
    // The text of a label or button of the screen on view.
    QString text(const QString& name) const;
    bool shown(const QString& name) const;

    // Through the X server, as a user does: a click at the centre of `w`
    // (or at `at`, in its coordinates), keys by their X names.
    static bool click(QWidget* w, std::optional<QPoint> at = std::nullopt);
    static bool keys(const QStringList& names);

    QString tracePath() const { return inst.path(QStringLiteral("sound-trace.txt")); }
    // The lines of the sound trace, as written.
    QStringList traceLines() const;
    // The sound folder as the program writes it in its commands.
    QString soundFolderString() const;
    QByteArray resultFile() const;
    QByteArray sharedLog() const;

private:
    bool launch();
};

// The drill's equation as shown: N1 □ N2 □ N3 ＝ R, read from LblDD3(1..4).
struct ShownEquation {
    qint64 n[3] = {0, 0, 0};
    qint64 r = 0;
};
std::optional<ShownEquation> readEquation(const E2eProgram& p);

// Operators by index as the drill numbers its labels LblDD1(1..4).
inline const std::array<QString, 5> kOperatorCaptions = {QString(), QStringLiteral("＋"), QStringLiteral("－"),
                                                         QStringLiteral("×"), QStringLiteral("÷")};
// The pupil's arithmetic, done here on its own: × ÷ before ＋ －, else left to
// right, exact fractions. Nothing when a division by zero comes up.
struct Fraction {
    qint64 num = 0, den = 1;
};
std::optional<Fraction> valueOf(const ShownEquation& e, int op1, int op2);
// A pair of operator indices that makes the equation hold.
std::optional<std::pair<int, int>> rightPair(const ShownEquation& e);
// A pair that does not, taken from `candidates` first (empty: any).
std::optional<std::pair<int, int>> wrongPair(const ShownEquation& e,
                                             const std::vector<std::pair<int, int>>& candidates = {});
// floor(100 × value) ÷ 100 as the drill writes a wrong answer's value.
QString hundredths(const Fraction& f);

// Records as a record file holds them, built here field by field.
double serialDay(const QDate& d);
QByteArray expectedResultRecord(double date, double time, qint16 pupil, qint16 level, qint32 score,
                                const QByteArray& siteCode);
QByteArray expectedSharedLogRecord(const QByteArray& titleFolder, double date, double time, qint16 pupil, qint16 level,
                                   qint32 score, const QByteArray& siteCode);
// Points of a run against the level's target time, factor 1.
int runPoints(int score, int target);

// Waits until the screen `name` is on view and done with its activation (its
// wait panel gone, the drill's equation shown, the results' buttons offered).
bool waitForScreen(const E2eProgram& p, const QString& name, int ms = 10000);
// Clicks the operators of `pair`, each one seen in its blank before the next.
bool placeOperators(const E2eProgram& p, std::pair<int, int> pair);
