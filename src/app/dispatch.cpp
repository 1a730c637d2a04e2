#include "app/dispatch.h"

#include "app/catalogue.h"
#include "app/stage.h"
#include "drill/main_frm.h"
#include "lobby/seisekitime1.h"
#include "results/frm_syuuryou.h"
#include "roster/roster_reader.h"

#include <QCoreApplication>
#include <cmath>

void showNameSelection(App& app)
{
    // Until the name selection screen exists, the roster's first pupil is
    // taken as chosen, as confirming a name would, so the lobby opens for
    // somebody.
    SharedState& s = app.state;
    if (s.pupilNumber == 0) {
        readRoster(s, app.services, {});
        if (app.services.end.requested()) return;
        if (s.roster.count >= 1) {
            const int n = s.roster.order[1];
            s.pupilNumber = qint16(n);
            s.pupilName = s.roster.names[std::size_t(n)];
            s.pupilGradeLabel = s.roster.gradeLabels[std::size_t(n)];
            s.nameConfirmedSeconds = qint32(std::lround(app.services.clock.secondsSinceMidnight()));
        }
    }
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
    app.stage.show(new seisekitime1(app));
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
