#include "program/startup.h"
#include "support/installation.h"

#include <QProcess>
#include <QTest>
#include <csignal>
#include <unistd.h>

// A second copy of the program on one installation, as real processes, with
// the lock file in every state a crash, another program or a user leaves.
class TestSecondCopy : public QObject {
    Q_OBJECT
private slots:
    void nextStart_data();
    void nextStart();
};

namespace {
const QString kRefused = QStringLiteral(
    "message 注意 error このプログラムと同じプログラムがすでに起動され、完全に終了されていません。"
    "同じプログラムを完全に終了させてから実行してください。");

// Starts the helper on `folder` (with `more` arguments) and returns the first
// line it reports; with `read` false, nothing, at once.
QString startCopy(QProcess& p, const QString& folder, const QStringList& more = {}, bool read = true)
{
    // The copies need no window on the test's X server, where other tests drag.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(SECOND_COPY_HELPER), QStringList{folder} + more);
    if (!read) return {};
    if (!p.waitForReadyRead(20000)) return QStringLiteral("(nothing)");
    while (!p.canReadLine() && p.waitForReadyRead(5000)) {}
    return QString::fromUtf8(p.readLine()).trimmed();
}
} // namespace

// clang-format off
void TestSecondCopy::nextStart_data()
{
    QTest::addColumn<QString>("before"); // where the lock file goes: its content, or "<…>"
    QTest::addColumn<QString>("holder"); // the copy before: "" none, running, twin (started together),
                                         // kill, term, child (killed, its program menu running), or
                                         // a number: killed so many ms after its start
    QTest::addColumn<bool>("guarded");   // a copy started beside the new one is refused
    const std::pair<const char*, const char*> files[] = {{"no", "<none>"}, {"empty", ""}, {"garbage", "x\x01\x7f"},
        {"live PID", "1\nsolmea\nsomehost\n"}, {"dead PID", "999999\n"}, {"read-only", "<read-only>"}};
    for (const auto& [name, content] : files)
        for (const char* holder : {"", "kill", "running"})
            QTest::addRow("%s lock file, holder '%s'", name, holder) << content << holder << true;
    for (const char* holder : {"0", "15", "40", "100", "250", "term", "child", "twin"})
        QTest::addRow("holder '%s'", holder) << "<none>" << holder << true;
    QTest::newRow("unreadable lock file") << "<unreadable>" << "" << (::geteuid() == 0); // root reads it
    QTest::newRow("folder in place of the lock file") << "<folder>" << "" << false;
    QTest::newRow("no runtime folder") << "<no runtime folder>" << "" << true;
    QTest::newRow("a file in place of the runtime folder") << "<file runtime>" << "" << true;
}
// clang-format on

void TestSecondCopy::nextStart()
{
    QFETCH(QString, before);
    QFETCH(QString, holder);
    QFETCH(bool, guarded);
    TestInstallation one, two;
    one.writeDefaults();
    two.writeDefaults();
    QTemporaryDir dir;
    const QString lockFile = InstanceLock::pathFor(one.programFolder(), dir.path());
    QString runtime = dir.path() + (before == u"<no runtime folder>" ? "/gone" : "");
    if (before == u"<file runtime>") runtime = one.path(QStringLiteral("共通データ.txt"));
    qputenv("XDG_RUNTIME_DIR", runtime.toUtf8()); // the copies' runtime folder
    if (before == u"<folder>") QVERIFY(QDir().mkpath(lockFile));
    if (!before.startsWith(u'<') || before == u"<read-only>" || before == u"<unreadable>") {
        QFile f(lockFile);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(before.toUtf8()) >= 0);
        if (before == u"<read-only>" || before == u"<unreadable>")
            f.setPermissions(before == u"<read-only>" ? QFile::ReadOwner : QFile::Permissions());
    }
    QProcess first, next, beside, other, twin;
    qint64 child = 0;
    bool early = false;
    const int ms = holder.toInt(&early);
    if (!holder.isEmpty() && holder != u"twin") {
        const QString reported = startCopy(first, one.programFolder(), {holder}, !early);
        QTest::qSleep(ms);
        QVERIFY(early || reported == u"running");
        while (holder == u"child" && !first.canReadLine() && first.waitForReadyRead(10000)) {}
        if (holder == u"child") child = first.readLine().mid(6).trimmed().toLongLong(); // "child <pid>"
        if (holder == u"term") first.terminate();
        else if (holder != u"running") first.kill();
        QVERIFY(holder == u"running" || first.waitForFinished(10000));
    }
    if (holder == u"twin") { // exactly one of two copies started together runs
        startCopy(twin, one.programFolder(), {}, false);
        QStringList seen{startCopy(next, one.programFolder())};
        while (!twin.canReadLine() && twin.waitForReadyRead(20000)) {}
        seen << QString::fromUtf8(twin.readLine()).trimmed();
        seen.sort();
        QCOMPARE(seen, QStringList({kRefused, QStringLiteral("running")}));
    } else if (holder == u"running") {
        QCOMPARE(startCopy(next, one.programFolder()), kRefused);
        QVERIFY(next.waitForFinished(10000));
        QCOMPARE(QString::fromUtf8(next.readAll()).trimmed(), QStringLiteral("ended 1"));
        QCOMPARE(next.exitCode(), 1);
    } else {
        QCOMPARE(startCopy(next, one.programFolder()), QStringLiteral("running"));
        // The guard holds again, or is silently gone where no lock file can be had.
        QCOMPARE(startCopy(beside, one.programFolder()), guarded ? kRefused : QStringLiteral("running"));
        // Another installation on the same PC is not blocked.
        QCOMPARE(startCopy(other, two.programFolder()), QStringLiteral("running"));
    }
    if (child > 0) ::kill(pid_t(child), SIGKILL);
    QFile kept(lockFile); // the file's content is never rewritten
    QVERIFY(before.startsWith(u'<') || (kept.open(QIODevice::ReadOnly) && kept.readAll() == before.toUtf8()));
    kept.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    for (QProcess* p : {&first, &next, &beside, &other, &twin}) p->closeWriteChannel(), p->waitForFinished(10000);
}

QTEST_MAIN(TestSecondCopy)
#include "test_second_copy.moc"
