#include "program/navigation.h"

#include "about/about_box.h"
#include "about/about_info.h"
#include "about/help_viewer.h"
#include "base/folder_path.h"
#include "base/text_file.h"
#include "drill/drill_screen.h"
#include "lobby/lobby_screen.h"
#include "results/results_screen.h"
#include "roster/name_list.h"
#include "roster/name_selection_screen.h"
#include "roster/roster_editor.h"
#include "state/catalogue.h"

#include <QCoreApplication>
#include <QDesktopServices>

void showNameSelection(App& app, bool anotherCopyRunning)
{
    app.stage.show(new NameSelectionScreen(app, anotherCopyRunning));
}

void ProgramNavigator::showNameSelection() { ::showNameSelection(app(), false); }

void ProgramNavigator::showRosterEditor() { stage_.show(new RosterEditor(app())); }

void ProgramNavigator::openLobby()
{
    setLobbyLevels(app().state);
    returnToLobby();
}

void ProgramNavigator::returnToLobby() { stage_.show(new LobbyScreen(app())); }

void ProgramNavigator::startRun()
{
    resetRunState(app().state);
    QCoreApplication::processEvents();
    if (app().services.end.requested()) return;
    stage_.show(new DrillScreen(app()));
}

void ProgramNavigator::showResults() { stage_.show(new ResultsScreen(app())); }

void ProgramNavigator::leaveProgram()
{
    // Whether or not the menu starts, the program ends.
    App& a = app();
    a.services.launcher.startDetached(nativePath(programMenuPath(a.state.programFolder)), {QStringLiteral("001")});
    a.services.end.request(0);
}

void ProgramNavigator::showVersionBox()
{
    AboutBox box(app().state, &stage_);
    box.fillTexts();
    const QPoint centre((stage_.width() - box.width()) / 2, (stage_.height() - box.height()) / 2);
    box.move(stage_.mapToGlobal(centre));
    box.exec();
}

void ProgramNavigator::showHelp()
{
    const SharedState& s = app().state;
    const std::optional<QString> text = tryReadTextFile(nativePath(helpDocumentPath(s.programFolder, s.contentTitle)));
    if (!text) return;
    if (auto* open = stage_.findChild<HelpViewer*>()) {
        open->raise();
        open->activateWindow();
        return;
    }
    auto* viewer = new HelpViewer(s.contentTitle + QStringLiteral(" ヘルプ"), *text, &stage_);
    viewer->show();
}

void ProgramNavigator::openMakerPage() { QDesktopServices::openUrl(makerPageUrl()); }
