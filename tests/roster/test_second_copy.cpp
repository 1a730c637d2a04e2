#include "app/startup.h"
#include "support/installation.h"

#include <QProcess>
#include <QTest>
#include <csignal>
#include <memory>
#include <vector>
#include <unistd.h>

// A second copy of the program on one installation, as real processes, and
// the lock file in every state a crash, another program or a user leaves it.
class TestSecondCopy : public QObject {
    Q_OBJECT
private slots:
    void nextStart_data();
    void nextStart();
};

namespace {
const QString kRefused = QStringLiteral("message 注意 error このプログラムと同じプログラムがすでに起動され、完全に終了されていません。"
                                        "同じプログラムを完全に終了させてから実行してください。");

// The helpers started by one row, ended with it.
struct Copies {
    std::vector<std::unique_ptr<QProcess>> all;
    // Starts the helper on `folder` with `runtime` as the runtime folder.
    QProcess& launch(const QString& folder, const QString& runtime, const QStringList& extra = {})
    {
        auto& p = *all.emplace_back(std::make_unique<QProcess>());
        // The copies need no window on the test's X server, where other tests drag.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(SECOND_COPY_HELPER), QStringList{folder} + extra);
        return p;
    }
    ~Copies()
    {
        for (auto& p : all) p->closeWriteChannel();
        for (auto& p : all) p->waitForFinished(10000);
    }
};

// The next line the helper reports.
QString reported(QProcess& p)
{
    while (!p.canReadLine() && p.waitForReadyRead(20000)) {
    }
    return p.canReadLine() ? QString::fromUtf8(p.readLine()).trimmed() : QStringLiteral("(nothing)");
}

// What the helper holds before the next start, and how it ends.
enum class Holder { None, KilledAfterMs, Killed, Terminated, KilledWithChild, Running, TwoAtOnce };
} // namespace

void TestSecondCopy::nextStart_data()
{
    QTest::addColumn<QString>("before");  // where the lock file goes: "<none>", "<folder>", … or its content
    QTest::addColumn<int>("holder");      // Holder
    QTest::addColumn<int>("ms");          // KilledAfterMs: how long it ran
    QTest::addColumn<bool>("guarded");    // a copy started beside the new one is refused
    const bool root = ::geteuid() == 0;   // root opens any file, so nothing is unreadable
    auto row = [](const char* name, const char* before, Holder h, bool guarded, int ms = 0) {
        QTest::newRow(name) << QString::fromUtf8(before) << int(h) << ms << guarded;
    };
    row("first start", "<none>", Holder::None, true);
    row("while another runs", "<none>", Holder::Running, true);
    row("two starts at once", "<none>", Holder::TwoAtOnce, true);
    for (int ms : {0, 15, 40, 100, 250}) {
        const QByteArray name = "killed " + QByteArray::number(ms) + " ms after its start";
        row(name.constData(), "<none>", Holder::KilledAfterMs, true, ms);
    }
    row("killed while running", "<none>", Holder::Killed, true);
    row("terminated while running", "<none>", Holder::Terminated, true);
    row("killed, its program menu still running", "<none>", Holder::KilledWithChild, true);
    const std::pair<const char*, const char*> contents[] = {
        {"empty", ""}, {"garbage", "garbage\x01\x7f"}, {"live PID", "1\nsolmea\nsomehost\n"}, {"dead PID", "999999\n"}};
    const std::pair<const char*, Holder> holders[] = {
        {"", Holder::None}, {", holder killed", Holder::Killed}, {", holder running", Holder::Running}};
    for (const auto& [what, content] : contents) {
        for (const auto& [how, h] : holders) {
            const QByteArray name = QByteArray(what) + " lock file" + how;
            row(name.constData(), content, h, true);
        }
    }
    row("read-only lock file", "<read-only>", Holder::None, true);
    row("read-only lock file, holder killed", "<read-only>", Holder::Killed, true);
    row("unreadable lock file", "<unreadable>", Holder::None, root);
    row("folder in place of the lock file", "<folder>", Holder::None, false);
    row("no runtime folder", "<no runtime folder>", Holder::None, true);
    row("a file in place of the runtime folder", "<runtime is a file>", Holder::None, true);
}

void TestSecondCopy::nextStart()
{
    QFETCH(QString, before);
    QFETCH(int, holder);
    QFETCH(int, ms);
    QFETCH(bool, guarded);
    TestInstallation inst, other;
    inst.writeDefaults();
    other.writeDefaults();
    QTemporaryDir runtimeDir;
    QString runtime = runtimeDir.path();
    if (before == u"<no runtime folder>") runtime += QStringLiteral("/gone");
    if (before == u"<runtime is a file>") {
        runtime += QStringLiteral("/file");
        QFile(runtime).open(QIODevice::WriteOnly);
    }
    const QString lockFile = InstanceLock::pathFor(inst.programFolder(), runtimeDir.path());
    if (before == u"<folder>") {
        QVERIFY(QDir().mkpath(lockFile));
    } else if (!before.startsWith(u'<') || before == u"<read-only>" || before == u"<unreadable>") {
        QFile f(lockFile);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(before.toUtf8());
        f.setPermissions(before == u"<read-only>" ? QFile::ReadOwner : QFile::Permissions());
    }

    Copies copies;
    QProcess* first = nullptr;
    qint64 childPid = 0;
    if (holder != int(Holder::None) && holder != int(Holder::TwoAtOnce)) {
        first = &copies.launch(inst.programFolder(), runtime, holder == int(Holder::KilledWithChild) ? QStringList{"child"} : QStringList{});
        if (holder == int(Holder::KilledAfterMs)) {
            QVERIFY(first->waitForStarted(10000));
            QTest::qSleep(ms);
        } else {
            QCOMPARE(reported(*first), QStringLiteral("running"));
        }
        if (holder == int(Holder::KilledWithChild)) childPid = reported(*first).section(u' ', 1).toLongLong();
        if (holder == int(Holder::Terminated)) first->terminate();
        else if (holder != int(Holder::Running)) first->kill();
        if (holder != int(Holder::Running)) QVERIFY(first->waitForFinished(10000));
    }
    QProcess* next = &copies.launch(inst.programFolder(), runtime);
    if (holder == int(Holder::TwoAtOnce)) {
        // Exactly one of two copies started together runs.
        QProcess& twin = copies.launch(inst.programFolder(), runtime);
        QStringList seen{reported(*next), reported(twin)};
        seen.sort();
        QCOMPARE(seen, QStringList({kRefused, QStringLiteral("running")}));
    } else if (holder == int(Holder::Running)) {
        QCOMPARE(reported(*next), kRefused);
        QVERIFY(next->waitForFinished(10000));
        QCOMPARE(QString::fromUtf8(next->readAll()).trimmed(), QStringLiteral("ended 1"));
        QCOMPARE(next->exitCode(), 1);
    } else {
        QCOMPARE(reported(*next), QStringLiteral("running"));
        // The guard holds again, or is silently gone where no lock file can be had.
        QProcess& beside = copies.launch(inst.programFolder(), runtime);
        QCOMPARE(reported(beside), guarded ? kRefused : QStringLiteral("running"));
        // Another installation on the same PC is never blocked.
        QProcess& elsewhere = copies.launch(other.programFolder(), runtime);
        QCOMPARE(reported(elsewhere), QStringLiteral("running"));
    }
    if (childPid > 0) ::kill(pid_t(childPid), SIGKILL);
    // The file's content was never rewritten.
    if (!before.startsWith(u'<')) {
        QFile f(lockFile);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(f.readAll()), before);
    }
    QFile(lockFile).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
}

QTEST_MAIN(TestSecondCopy)
#include "test_second_copy.moc"
