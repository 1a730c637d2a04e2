#include "app/dispatch.h"

#include "app/catalogue.h"
#include "app/stage.h"
#include "drill/main_frm.h"
#include "lobby/lobby_standin.h"
#include "results/frm_syuuryou.h"

#include <QCoreApplication>

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
