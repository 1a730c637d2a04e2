#pragma once
// The program started on a temporary installation, its first screen (the
// name selection screen) on a real stage. Controls are found by their names.
#include "program/real_services.h"
#include "ui/screen.h"
#include "program/navigation.h"
#include "program/startup.h"
#include "support/installation.h"
#include "support/test_services.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QStringList>
#include <memory>

namespace roster_test {

// Pupil 2 (小5, a name longer than its column), pupil 1 (小3), pupil 3 (幼2),
// in the list's order; the school year is 2026.
inline const QString kRoster = QStringLiteral("1,2017,0,0,\"山田　花子\",0,\"\",\"\"\n"
                                              "2,2015,0,0,\"すずき　たろう\",0,\"\",\"\"\n"
                                              "3,2021,0,0,\"ゆい\",0,\"\",\"\"\n");

struct Fixture {
    TestInstallation inst;
    TestServices t;
    DetachedLauncher realLauncher;
    Services services;
    SharedState s;
    std::unique_ptr<Stage> stage;

    // `realLauncher`: programs are really started (the program menu).
    explicit Fixture(bool useRealLauncher = false)
        : services{t.clock, t.sound, t.dialogs, useRealLauncher ? static_cast<ProgramLauncher&>(realLauncher) : t.launcher,
                   t.end}
    {
        t.clock.set(QDateTime(QDate(2026, 12, 8), QTime(10, 0, 0, 600)));
        inst.writeDefaults();
        inst.write(QStringLiteral("生徒用名簿.txt"), kRoster);
    }
    // Starts the program and runs the first screen's load and activation.
    bool start()
    {
        stage = std::make_unique<ProgramStage>(s, services);
        if (!startUp(stage->app(), inst.programFolder())) return false;
        stage->activatePending();
        return true;
    }
    QString screen() const { return stage->current() ? stage->current()->objectName() : QString(); }
    template <typename W = QWidget> W* get(const QString& name) const
    {
        W* w = stage->current() ? stage->current()->findChild<W*>(name) : nullptr;
        if (!w) qWarning("no control %s", qPrintable(name));
        return w;
    }
    QListWidget* list() const { return get<QListWidget>(QStringLiteral("List1")); }
    QStringList lines(const QString& name = QStringLiteral("List1")) const
    {
        QStringList out;
        QListWidget* l = get<QListWidget>(name);
        for (int i = 0; l && i < l->count(); ++i) out << l->item(i)->text();
        return out;
    }
    QString label(const QString& name) const { return get<QLabel>(name)->text(); }
    void menu(const QString& name) const { get<QAction>(name)->trigger(); }
    // Lets the deferred deletion of replaced screens happen.
    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
};

} // namespace roster_test
