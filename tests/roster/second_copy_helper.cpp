// Starts the program on an installation as the real program does, with the
// single-instance lock, and reports what it showed:
//   second_copy_helper PROGRAM_FOLDER [child|anything]
// Prints "message <title> <icon> <text>" for each message box, then "ended <code>" when the
// program ended, or "running" while it holds the lock; then stays until its
// standard input is closed. With "child", it then starts a program that
// outlives it, as the program menu does, and prints "child <pid>".
#include "program/navigation.h"
#include "program/startup.h"
#include "support/test_services.h"

#include <QApplication>
#include <QDebug>
#include <QProcess>
#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (argc != 2 && argc != 3) return 2;
    TestServices t;
    t.dialogs.onMessage = [&t](const QString& text) {
        const bool error = t.dialogs.icons.last() == Dialogs::Icon::Error;
        std::printf("message %s %s %s\n", t.dialogs.titles.last().toUtf8().constData(), error ? "error" : "plain",
                    text.toUtf8().constData());
        std::fflush(stdout);
    };
    SharedState s;
    ProgramStage stage(s, t.services);
    InstanceLock lock;
    startUp(stage.app(), QString::fromLocal8Bit(argv[1]), &lock);
    stage.activatePending();
    if (t.end.requested()) {
        std::printf("ended %d\n", t.end.exitCode());
        std::fflush(stdout);
        return t.end.exitCode();
    }
    std::puts("running");
    qint64 child = 0;
    if (argc == 3 && argv[2] == std::string("child") &&
        QProcess::startDetached(QStringLiteral("sleep"), {QStringLiteral("30")}, {}, &child))
        std::printf("child %lld\n", child);
    std::fflush(stdout);
    char buffer[16];
    while (std::fgets(buffer, sizeof buffer, stdin)) {}
    return 0;
}
