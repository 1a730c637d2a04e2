#include "lobby/lobby_standin.h"

#include "app/dispatch.h"
#include "app/fonts.h"
#include "app/stage.h"
#include "app/twips.h"

#include <QLabel>
#include <QPushButton>

LobbyStandIn::LobbyStandIn(App& app) : Screen(app, QStringLiteral("seisekitime1"))
{
    SharedState& s = state();
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor::fromRgb(s.backgroundColour));
    setPalette(pal);
    setWindowTitle(s.contentTitle);

    auto* title = new QLabel(s.contentTitle, this);
    title->setObjectName(QStringLiteral("LblTitle"));
    title->setFont(designFont(kPGothic, 36, true));
    title->setStyleSheet(QStringLiteral("color: white;"));
    title->setGeometry(twRect(600, 600, 14000, 1200));

    auto* who = new QLabel(this);
    who->setObjectName(QStringLiteral("LblPupil"));
    who->setFont(designFont(kPGothic, 18));
    who->setStyleSheet(QStringLiteral("color: white;"));
    who->setGeometry(twRect(600, 2000, 14000, 700));
    who->setText(QStringLiteral("%1　（番号 %2）").arg(s.pupilName.trimmed(), QString::number(s.pupilNumber)));

    for (int level = 1; level <= s.levelCount; ++level) {
        auto* b = new QPushButton(s.levelNames[level], this);
        b->setObjectName(QStringLiteral("Command1(%1)").arg(level));
        b->setFont(designFont(kPGothic, 20, true));
        b->setGeometry(twRect(600 + (level - 1) * 3600, 3600, 3300, 1800));
        connect(b, &QPushButton::clicked, this, [this, level] {
            state().currentLevel = qint16(level);
            startRun(this->app());
        });
    }
}

void LobbyStandIn::formActivate()
{
    app().stage.unloadWaitScreen();
}
