// One writer of the concurrency test: waits for the start file, then appends
// `count` runs through the record store of the installation in FOLDER.
//   records_append_helper FOLDER WRITER COUNT STARTFILE
#include "base/folder_path.h"
#include "records/record_file.h"
#include "state/settings.h"
#include "state/shared_state.h"
#include "support/test_services.h"

#include <QCoreApplication>
#include <QFile>
#include <QThread>
#include <cstdio>
#include <memory>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5) return 2;
    const int writer = args[2].toInt();
    const int count = args[3].toInt();
    auto state = std::make_unique<SharedState>();
    SharedState& s = *state;
    s.programFolder = toFolderString(args[1]);
    loadSettings(s);
    s.siteCode = QStringLiteral("W%1").arg(writer);
    s.pupilNumber = qint16(101 + writer);
    TestServices t;
    const QDateTime start(QDate(2026, 12, 8), QTime(9, 0));

    while (!QFile::exists(args[4])) QThread::msleep(1);
    for (int i = 0; i < count; ++i) {
        t.clock.set(start.addSecs(i));
        s.currentLevel = qint16(1 + i % 35);
        s.runScore = writer * 1000 + i;
        if (!appendRunRecords(s, t.services)) {
            std::fprintf(stderr, "%s\n", qPrintable(t.dialogs.texts.join(u' ')));
            return 1;
        }
    }
    return 0;
}
