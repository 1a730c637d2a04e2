#include "app/startup.h"
#include "support/installation.h"

#include <QProcess>
#include <QTest>

// A second copy of the program on one installation, as two real processes.
class TestSecondCopy : public QObject {
    Q_OBJECT
private slots:
    void secondCopyOfOneInstallationEnds();
    void lockThatCannotBeMadeIsNoSecondCopy();
};

namespace {
// Starts the helper on `folder` and returns the first line it reports.
QString startCopy(QProcess& p, const QString& folder)
{
    // The copies need no window on the test's X server, where other tests drag.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(SECOND_COPY_HELPER), {folder});
    if (!p.waitForReadyRead(20000)) return QStringLiteral("(nothing)");
    while (!p.canReadLine() && p.waitForReadyRead(5000)) {
    }
    return QString::fromUtf8(p.readLine()).trimmed();
}
} // namespace

void TestSecondCopy::secondCopyOfOneInstallationEnds()
{
    TestInstallation one, two;
    one.writeDefaults();
    two.writeDefaults();

    QProcess first;
    QCOMPARE(startCopy(first, one.programFolder()), QStringLiteral("running"));

    QProcess second;
    QCOMPARE(startCopy(second, one.programFolder()),
             QStringLiteral("message 注意 error このプログラムと同じプログラムがすでに起動され、完全に終了されていません。"
                            "同じプログラムを完全に終了させてから実行してください。"));
    QVERIFY(second.waitForFinished(10000));
    QCOMPARE(QString::fromUtf8(second.readAll()).trimmed(), QStringLiteral("ended 1"));
    QCOMPARE(second.exitCode(), 1);

    // Another installation on the same PC is not blocked.
    QProcess other;
    QCOMPARE(startCopy(other, two.programFolder()), QStringLiteral("running"));
    other.closeWriteChannel();
    QVERIFY(other.waitForFinished(10000));

    // A copy that was killed leaves no lock behind that blocks the next start.
    first.kill();
    QVERIFY(first.waitForFinished(10000));
    QProcess next;
    QCOMPARE(startCopy(next, one.programFolder()), QStringLiteral("running"));
    next.closeWriteChannel();
    QVERIFY(next.waitForFinished(10000));
}

void TestSecondCopy::lockThatCannotBeMadeIsNoSecondCopy()
{
    TestInstallation inst;
    inst.writeDefaults();
    inst.write(QStringLiteral("not-a-folder"), QStringLiteral("x"));
    InstanceLock lock;
    QCOMPARE(lock.acquire(inst.programFolder(), inst.path(QStringLiteral("not-a-folder"))),
             InstanceLock::Result::Unavailable);
    InstanceLock held, again;
    QCOMPARE(held.acquire(inst.programFolder(), inst.root()), InstanceLock::Result::Held);
    QCOMPARE(again.acquire(inst.programFolder(), inst.root()), InstanceLock::Result::HeldElsewhere);
}

QTEST_MAIN(TestSecondCopy)
#include "test_second_copy.moc"
