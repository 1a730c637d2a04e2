#pragma once
// The program started on a temporary installation, its first screen (the
// name selection screen) on a real stage. Controls are found by their names.
#include "program/real_services.h"
#include "program/startup.h"
#include "support/screen_fixture.h"

#include <QAction>
#include <QListWidget>
#include <QStringList>

namespace roster_test {

// Pupil 2 (小5, a name longer than its column), pupil 1 (小3), pupil 3 (幼2),
// in the list's order; the school year is 2026.
inline const QString kRoster = QStringLiteral("1,2017,0,0,\"山田　花子\",0,\"\",\"\"\n"
                                              "2,2015,0,0,\"すずき　たろう\",0,\"\",\"\"\n"
                                              "3,2021,0,0,\"ゆい\",0,\"\",\"\"\n");

struct Fixture : ScreenFixture {
    DetachedLauncher realLauncher;

    // `useRealLauncher`: programs are really started (the program menu).
    explicit Fixture(bool useRealLauncher = false)
    {
        if (useRealLauncher) t.launcher.passOn = &realLauncher;
        t.clock.set(QDateTime(QDate(2026, 12, 8), QTime(10, 0, 0, 600)));
        inst.write(QStringLiteral("生徒用名簿.txt"), kRoster);
    }
    // Starts the program and runs the first screen's load and activation.
    bool start()
    {
        if (!startUp(stage.app(), inst.programFolder())) return false;
        stage.activatePending();
        return true;
    }
    QListWidget* list() const { return get<QListWidget>(QStringLiteral("List1")); }
    QStringList lines(const QString& name = QStringLiteral("List1")) const
    {
        QStringList out;
        QListWidget* l = get<QListWidget>(name);
        for (int i = 0; l && i < l->count(); ++i) out << l->item(i)->text();
        return out;
    }
    QString label(const QString& name) const { return text(name); }
    void menu(const QString& name) const { get<QAction>(name)->trigger(); }
};

} // namespace roster_test
