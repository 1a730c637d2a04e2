#include "lobby/lobby_standin.h"

#include "app/dispatch.h"
#include "app/fonts.h"
#include "app/stage.h"
#include "app/text_util.h"
#include "app/twips.h"
#include "records/record_store.h"
#include "results/results_rules.h"
#include "roster/roster_reader.h"

#include <QButtonGroup>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

LobbyStandIn::LobbyStandIn(App& app) : Screen(app, QStringLiteral("seisekitime1"))
{
    SharedState& s = state();
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor::fromRgb(s.backgroundColour));
    pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(pal);
    setWindowTitle(s.contentTitle);

    auto* title = new QLabel(s.contentTitle, this);
    title->setObjectName(QStringLiteral("LblTitle"));
    title->setFont(designFont(kPGothic, 36, true));
    title->setGeometry(twRect(600, 450, 14000, 1200));

    auto* ask = new QLabel(QStringLiteral("なまえをえらんで、レベルのボタンをおしてください。"), this);
    ask->setObjectName(QStringLiteral("LblAsk"));
    ask->setFont(designFont(kPGothic, 16));
    ask->setGeometry(twRect(600, 1800, 14000, 600));

    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("LblNote"));
    note_->setFont(designFont(kPGothic, 12));
    note_->setWordWrap(true);
    note_->setGeometry(twRect(600, 10200, 14000, 1000));

    pupils_ = new QButtonGroup(this);

    for (int level = 1; level <= s.levelCount; ++level) {
        auto* b = new QPushButton(s.levelNames[level], this);
        b->setObjectName(QStringLiteral("Command1(%1)").arg(level));
        b->setFont(designFont(kPGothic, 16, true));
        b->setGeometry(twRect(600 + (level - 1) * 3600, 7200, 3300, 1800));
        connect(b, &QPushButton::clicked, this, [this, level] {
            if (state().pupilNumber == 0) return;
            state().currentLevel = qint16(level);
            startRun(this->app());
        });
    }
}

void LobbyStandIn::choosePupil(int number, const QString& name)
{
    SharedState& s = state();
    if (s.pupilNumber != number) s.nameConfirmedSeconds = qint32(services().clock.secondsSinceMidnight());
    s.pupilNumber = qint16(number);
    s.pupilName = name;
    s.designatedLevelCleared = designatedLevelCleared(s) ? 1 : 0;
}

void LobbyStandIn::formActivate()
{
    app().stage.unloadWaitScreen();
    SharedState& s = state();
    名簿ファイル処理(s);
    int row = 0;
    QRadioButton* current = nullptr;
    const RosterReadResult read = readRoster(s, services(), [&](const RosterRecord& r, const QString& gradeCode) {
        auto* b = new QRadioButton(QStringLiteral("%1　%2").arg(trimBlanks(r.name), gradeCode), this);
        b->setObjectName(QStringLiteral("OptPupil(%1)").arg(r.number));
        b->setFont(designFont(kPGothic, 20));
        b->setGeometry(twRect(900, 2700 + row++ * 1200, 9000, 1000));
        b->show();
        pupils_->addButton(b, r.number);
        const QString name = r.name;
        const int number = r.number;
        connect(b, &QRadioButton::toggled, this, [this, number, name](bool on) {
            if (on) choosePupil(number, name);
        });
        if (number == s.pupilNumber || !current) current = b;
    });
    if (services().end.requested() || !isCurrent()) return;
    note_->setText(read.missingNote);
    if (current) current->setChecked(true);
    if (!回数求(s, services())) return;
    s.designatedLevelCleared = designatedLevelCleared(s) ? 1 : 0;
}
