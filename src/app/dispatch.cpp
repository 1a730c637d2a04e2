#include "app/dispatch.h"

#include "app/catalogue.h"
#include "app/stage.h"
#include "drill/main_frm.h"
#include "lobby/lobby_standin.h"
#include "results/frm_syuuryou.h"

#include <QCoreApplication>

void showNameSelection(App& app)
{
    // Until the name selection screen exists the stand-in chooses the pupil.
    showLobby(app);
}

void showRosterEditor(App& app)
{
    showNameSelection(app);
}

void showLobby(App& app)
{
    setLobbyLevels(app.state);
    showLobbyScreen(app);
}

void showLobbyScreen(App& app)
{
    app.stage.show(new LobbyStandIn(app));
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
