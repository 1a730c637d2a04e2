#include "app/dispatch.h"

#include "about/about_info.h"
#include "about/frmver.h"
#include "about/help_viewer.h"
#include "app/catalogue.h"
#include "app/folder_path.h"
#include "app/stage.h"
#include "app/text_file.h"
#include "drill/main_frm.h"
#include "lobby/lobby_screen.h"
#include "results/frm_syuuryou.h"
#include "roster/frm_name2.h"
#include "roster/name_list.h"
#include "roster/namesel.h"

#include <QCoreApplication>
#include <QDesktopServices>

void showNameSelection(App& app, bool anotherCopyRunning)
{
    app.stage.show(new namesel(app, anotherCopyRunning));
}

void showRosterEditor(App& app)
{
    app.stage.show(new FrmName2(app));
}

void showLobby(App& app)
{
    setLobbyLevels(app.state);
    showLobbyScreen(app);
}

void showLobbyScreen(App& app)
{
    app.stage.show(new LobbyScreen(app));
}

void openDrill(App& app)
{
    app.stage.show(new MainFrm(app));
}

void startRun(App& app)
{
    resetRunState(app.state);
    QCoreApplication::processEvents();
    if (app.services.end.requested()) return;
    openDrill(app);
}

void showResults(App& app)
{
    app.stage.show(new FrmSyuuryou(app));
}

void leaveProgram(App& app)
{
    // Whether or not the menu starts, the program ends.
    app.services.launcher.startDetached(nativePath(programMenuPath(app.state.programFolder)), {QStringLiteral("001")});
    app.services.end.request(0);
}

void showVersionBox(App& app)
{
    frmver box(app.state, &app.stage);
    box.Form_Activate();
    const QPoint centre((app.stage.width() - box.width()) / 2, (app.stage.height() - box.height()) / 2);
    box.move(app.stage.mapToGlobal(centre));
    box.exec();
}

void showHelp(App& app)
{
    const SharedState& s = app.state;
    const std::optional<QString> text = tryReadTextFile(nativePath(helpDocumentPath(s.programFolder, s.contentTitle)));
    if (!text) return;
    if (auto* open = app.stage.findChild<HelpViewer*>()) {
        open->raise();
        open->activateWindow();
        return;
    }
    auto* viewer = new HelpViewer(s.contentTitle + QStringLiteral(" ヘルプ"), *text, &app.stage);
    viewer->show();
}

void openMakerPage(App& app)
{
    Q_UNUSED(app);
    QDesktopServices::openUrl(makerPageUrl());
}
