#pragma once
// What every screen test starts from: a complete installation in a temporary
// folder, the test doubles, the shared state and a real stage over them.
// Controls are found on the screen in view by their object names.
#include "base/folder_path.h"
#include "program/navigation.h"
#include "state/catalogue.h"
#include "state/settings.h"
#include "support/controls.h"
#include "support/installation.h"
#include "support/test_services.h"

#include <QCoreApplication>

struct ScreenFixture {
    TestInstallation inst;
    TestServices t;
    SharedState s;
    ProgramStage stage{s, t.services};

    // The default installation; `levelTable`, when given, replaces its own.
    explicit ScreenFixture(const QString& levelTable = {})
    {
        inst.writeDefaults();
        if (!levelTable.isEmpty()) inst.write(QStringLiteral("ソルメア/タイム回数データ.txt"), levelTable);
    }

    // The settings and the lobby's level names, as start-up and the lobby
    // read them, for a screen shown without the screens before it.
    void readSettings()
    {
        s.programFolder = toFolderString(inst.programFolder());
        loadSettings(s);
        setLobbyLevels(s);
    }

    QString screen() const { return stage.current() ? stage.current()->objectName() : QString(); }
    // Only the screen in view: a replaced one may not be deleted yet.
    template <typename W = QWidget> W* get(const QString& name) const { return control<W>(stage.current(), name); }
    QString text(const QString& name) const { return textOf(get(name), name); }
    bool shown(const QString& name) const { return !get(name)->isHidden(); }
    // Lets the deferred deletion of replaced screens happen.
    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
};
