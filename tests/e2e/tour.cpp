// The screenshot tour: drives the program through every screen and state on
// a copy of the demo installation with three weeks of runs of its three
// pupils, and saves what the X server shows, one PNG per state:
//   solmea-tour OUT_FOLDER
// Needs an X server of its own (scripts/tour.sh starts one). The clock is a
// test clock (8 December 2026, 10:30), so the pictures come out the same
// every time; everything else is the real program.
#include "drill/drill_screen.h"
#include "e2e_program.h"
#include "records/record_format.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QListWidget>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>

namespace {

const QDateTime kNow(QDate(2026, 12, 8), QTime(10, 30));

// The demo installation without its records, then the runs.
bool writeInstallation(const TestInstallation& inst)
{
    const QDir demo(QStringLiteral(SOLMEA_DEMO_DIR));
    const QStringList files = {QStringLiteral("共通データ.txt"), QStringLiteral("生徒用名簿.txt"),
                               QStringLiteral("ソルメア/設定.txt"), QStringLiteral("ソルメア/タイム回数データ.txt"),
                               QStringLiteral("ソルメア/ソルメアヘルプ.txt")};
    for (const QString& f : files) {
        QFile in(demo.filePath(f));
        if (!in.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "tour: no %s (build the demo first)\n", qPrintable(in.fileName()));
            return false;
        }
        inst.writeBytes(f, in.readAll());
    }
    QDirIterator sounds(demo.filePath(QStringLiteral("音フォルダ")), QDir::Files);
    while (sounds.hasNext()) {
        QFile in(sounds.next());
        if (!in.open(QIODevice::ReadOnly)) return false;
        inst.writeBytes(QStringLiteral("音フォルダ/") + sounds.fileName(), in.readAll());
    }

    // Runs: (days ago, minutes past 9:00, pupil, level, score).
    struct Run {
        int daysAgo, minute, pupil, level, score;
    };
    std::vector<Run> runs;
    for (int d = 20; d >= 1; --d) {
        runs.push_back({d, 10, 3, 1 + d % 4, 30 + (d * 7) % 25}); // 佐藤: every day, every level in turn
        if (d % 2 == 0) runs.push_back({d, 20, 2, 1 + d % 3, 38 + (d * 5) % 30}); // 鈴木: every other day
        if (d % 3 == 0 || d <= 2) runs.push_back({d, 30, 1, 1, 30 + d});          // 山田: level 1, getting faster
    }
    runs.push_back({20, 40, 2, 1, 26});    // the best time of level 1 so far
    runs.push_back({12, 40, 1, 2, 99999}); // a run out of time
    runs.push_back({0, 5, 3, 2, 41});
    runs.push_back({0, 15, 1, 1, 33});
    runs.push_back({0, 25, 2, 1, 47});
    runs.push_back({0, 35, 3, 4, 58});
    // In the file in the order they were run.
    std::stable_sort(runs.begin(), runs.end(), [](const Run& a, const Run& b) {
        return a.daysAgo != b.daysAgo ? a.daysAgo > b.daysAgo : a.minute < b.minute;
    });
    QByteArray results, log;
    for (const Run& r : runs) {
        const QDateTime at(kNow.date().addDays(-r.daysAgo), QTime(9, 0).addSecs(r.minute * 60));
        const RecordStamp stamp = recordStamp(at);
        const ResultRecord rec{stamp.date,      stamp.time, qint16(r.pupil),
                               qint16(r.level), r.score,    QStringLiteral("12345")};
        results += encodeResultRecord(rec);
        log += encodeSharedLogRecord(SharedLogRecord::of(rec, QStringLiteral("ソルメア\\")));
    }
    inst.writeBytes(QStringLiteral("ソルメア/成績累積データ.dat"), results);
    inst.writeBytes(QStringLiteral("成績累積データ家庭用.dat"), log);
    return true;
}

class Tour {
public:
    explicit Tour(const QDir& out) : out_(out), p_(E2eProgram::Time::Test) {}
    bool run();

private:
    // What the X server shows now, as OUT/<name>.png.
    bool shoot(const QString& name);
    bool step(bool ok, const char* what);
    QWidget* topLevel(const QString& objectName);
    bool click(const QString& name);
    bool lobbyOption(const QString& name);
    // One run of ten right answers taking `seconds`; the first with a wrong
    // answer on the way when `review` names its picture.
    bool answerRun(int seconds, const QString& review, const QString& cover);

    QDir out_;
    E2eProgram p_;
    int shots_ = 0;
};

bool Tour::shoot(const QString& name)
{
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    const QPixmap screen = QGuiApplication::primaryScreen()->grabWindow(0);
    const bool ok = !screen.isNull() && screen.save(out_.filePath(name + QStringLiteral(".png")));
    std::printf("%s %s.png\n", ok ? "wrote" : "FAILED", qPrintable(name));
    shots_ += ok ? 1 : 0;
    return ok;
}

bool Tour::step(bool ok, const char* what)
{
    if (!ok) std::fprintf(stderr, "tour: %s did not work (screen %s)\n", what, qPrintable(p_.screenName()));
    return ok;
}

QWidget* Tour::topLevel(const QString& objectName)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == objectName && w->isVisible()) return w;
    return nullptr;
}

bool Tour::click(const QString& name)
{
    QWidget* w = p_.find(name);
    if (!w || !w->isVisible()) return false;
    // An option button takes clicks on its mark and caption only.
    const bool option = qobject_cast<QRadioButton*>(w) != nullptr;
    QTest::mouseClick(w, Qt::LeftButton, {}, option ? QPoint(8, w->height() / 2) : w->rect().center());
    return true;
}

bool Tour::lobbyOption(const QString& name)
{
    if (!click(name)) return false;
    // "戻る(0)" is disabled while a list is built.
    return QTest::qWaitFor([this] { return p_.find(QStringLiteral("Command1"))->isEnabled(); }, 10000);
}

bool Tour::answerRun(int seconds, const QString& review, const QString& cover)
{
    if (!waitForScreen(p_, QStringLiteral("MainFrm"))) return false;
    bool covered = cover.isEmpty();
    p_.testClock.onWait = [&] {
        if (!covered && p_.shown(QStringLiteral("sPicture2"))) covered = shoot(cover);
    };
    auto* drill = qobject_cast<DrillScreen*>(p_.stage.current());
    for (int answer = 1; answer <= 10; ++answer) {
        const auto eq = readEquation(p_);
        if (!eq) return false;
        if (answer == 1 && !review.isEmpty()) {
            if (!click(QStringLiteral("LblDD1(%1)").arg(rightPair(*eq)->first)) || !shoot(QStringLiteral("14-drill")))
                return false;
            click(QStringLiteral("LblDD5")); // クリア
            if (!placeOperators(p_, *wrongPair(*eq, {{3, 4}})) || !click(QStringLiteral("Command5")) ||
                !QTest::qWaitFor([this] { return p_.shown(QStringLiteral("Command1")); }, 10000) || !shoot(review) ||
                !click(QStringLiteral("Command1")))
                return false;
        }
        if (!placeOperators(p_, *rightPair(*eq))) return false;
        // The time the answer took, seen by the run clock.
        p_.testClock.advanceMs(seconds * 100);
        drill->runTimerTick();
        if (!click(QStringLiteral("Command5"))) return false;
        if (answer < 10 &&
            !QTest::qWaitFor([&] { return p_.text(QStringLiteral("sLabel9")) == QString::number(10 - answer); }, 10000))
            return false;
    }
    p_.testClock.onWait = nullptr;
    return covered;
}

bool Tour::run()
{
    p_.testClock.set(kNow);
    if (!step(p_.start(writeInstallation), "start-up")) return false;
    p_.stage.move(0, 0);

    // The name selection screen, a name chosen.
    if (!step(waitForScreen(p_, QStringLiteral("namesel")), "the name list")) return false;
    shoot(QStringLiteral("01-names"));
    auto* names = p_.find<QListWidget>(QStringLiteral("List1"));
    if (!step(names && names->count() == 4, "the three pupils")) return false;
    names->setCurrentRow(3); // 山田 花子, the youngest
    shoot(QStringLiteral("02-names-chosen"));

    // The roster editor and back.
    p_.find<QAction>(QStringLiteral("mnuNameChange"))->trigger();
    if (!step(QTest::qWaitFor([this] { return p_.screenName() == u"FrmName2"; }, 10000), "the roster editor"))
        return false;
    shoot(QStringLiteral("03-roster-editor"));
    click(QStringLiteral("Command2"));
    if (!step(waitForScreen(p_, QStringLiteral("namesel")), "back from the roster editor")) return false;

    // The version box (modal: its picture is taken from inside) and the help.
    bool versionShot = false;
    QTimer::singleShot(300, [&] {
        if (QWidget* box = topLevel(QStringLiteral("frmver"))) {
            versionShot = shoot(QStringLiteral("04-version-box"));
            box->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
        }
    });
    p_.find<QAction>(QStringLiteral("mnuVersion"))->trigger();
    if (!step(versionShot, "the version box")) return false;
    p_.find<QAction>(QStringLiteral("mnuContents"))->trigger();
    QWidget* help = nullptr;
    if (!step(QTest::qWaitFor([&] { return (help = topLevel(QStringLiteral("HelpViewer"))) != nullptr; }, 5000),
              "the help"))
        return false;
    QTest::qWait(200);
    shoot(QStringLiteral("05-help"));
    help->close();

    // The lobby in every display.
    names = p_.find<QListWidget>(QStringLiteral("List1"));
    names->setCurrentRow(3);
    click(QStringLiteral("Command14"));
    if (!step(waitForScreen(p_, QStringLiteral("seisekitime1")), "the lobby")) return false;
    shoot(QStringLiteral("06-lobby-points-total"));
    const struct {
        const char* option;
        const char* picture;
    } displays[] = {
        {"Option1(2)", "07-lobby-points-today"}, {"Option1(3)", "08-lobby-points-all"},
        {"Option2(0)", "09-lobby-times-all"},    {"Option1(1)", "10-lobby-times-best"},
        {"Option1(2)", "11-lobby-times-today"},  {"Option2(2)", "12-lobby-personal"},
    };
    for (const auto& d : displays) {
        if (!step(lobbyOption(QString::fromLatin1(d.option)), d.option)) return false;
        shoot(QString::fromLatin1(d.picture));
    }
    if (!step(click(QStringLiteral("Command17")) && p_.shown(QStringLiteral("Picture11")), "the report")) return false;
    shoot(QStringLiteral("13-report"));
    click(QStringLiteral("Command18"));

    // A run with a wrong answer and a new best time of all.
    click(QStringLiteral("Command4(1)"));
    if (!step(answerRun(24, QStringLiteral("15-drill-review"), QStringLiteral("16-drill-cover")), "the first run"))
        return false;
    if (!step(waitForScreen(p_, QStringLiteral("FrmSyuuryou")), "the results")) return false;
    shoot(QStringLiteral("17-results-new-record"));

    // Once more: a plain finish, over the target time.
    click(QStringLiteral("Command5"));
    if (!step(answerRun(45, {}, {}), "the second run")) return false;
    if (!step(waitForScreen(p_, QStringLiteral("FrmSyuuryou")), "the results")) return false;
    shoot(QStringLiteral("18-results-plain"));

    // Once more: the time runs out (level 1: five times its second time, 60 s).
    click(QStringLiteral("Command5"));
    if (!step(waitForScreen(p_, QStringLiteral("MainFrm")), "the third run")) return false;
    bool covered = false;
    p_.testClock.onWait = [&] {
        if (!covered && p_.shown(QStringLiteral("sPicture2")))
            covered = shoot(QStringLiteral("19-drill-cover-time-up"));
    };
    p_.testClock.advanceSeconds(300);
    qobject_cast<DrillScreen*>(p_.stage.current())->runTimerTick();
    if (!step(waitForScreen(p_, QStringLiteral("FrmSyuuryou")) && covered, "the time-out")) return false;
    p_.testClock.onWait = nullptr;
    shoot(QStringLiteral("20-results-time-up"));

    click(QStringLiteral("Command4"));
    if (!step(waitForScreen(p_, QStringLiteral("seisekitime1")), "back to the lobby")) return false;
    shoot(QStringLiteral("21-lobby-after-runs"));
    return shots_ == 21 && p_.dialogs.texts.isEmpty();
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: solmea-tour OUT_FOLDER\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(out.path())) return 2;
    Tour tour(out);
    return tour.run() ? 0 : 1;
}
