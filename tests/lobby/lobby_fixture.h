#pragma once
// The step lobby on a real stage, on a temporary installation with
// hand-made records, driven by a test clock (8 December 2026, 10:00).
#include "lobby/lobby_screen.h"
#include "program/navigation.h"
#include "records/record_file.h"
#include "records/record_format.h"
#include "roster/roster_reader.h"
#include "support/screen_fixture.h"

#include <QFile>
#include <QListView>

struct LobbyFixture : ScreenFixture {
    // The default installation: pupils 1 やまだ　はなこ (小３) and 2 すずき　たろう
    // (小５); level 1 target 40, level 2 target 45 with factor 1.5.
    explicit LobbyFixture(const QString& roster = {})
    {
        if (!roster.isEmpty()) inst.write(QStringLiteral("生徒用名簿.txt"), roster);
        s.backgroundColour = 0x008080;
        readSettings();
        readRosterTables(s, t.clock.today(), true, {});
        signIn(1);
    }

    // As confirming a name on the selection screen does, ten minutes and a
    // half ago.
    void signIn(int pupil)
    {
        s.pupilNumber = qint16(pupil);
        s.pupilName = s.roster.names[std::size_t(pupil)];
        s.pupilGradeLabel = s.roster.gradeLabels[std::size_t(pupil)];
        s.nameConfirmedSeconds = qint32(t.clock.secondsSinceMidnight()) - 630;
    }

    void addRun(int pupil, int level, int score, int daysAgo = 0, QTime at = QTime(9, 0))
    {
        ResultRecord r;
        r.date = double(daySerial(t.clock.today().addDays(-daysAgo)));
        r.time = dayFraction(at);
        r.pupilNumber = qint16(pupil);
        r.level = qint16(level);
        r.score = score;
        QFile f(resultFilePath(s));
        if (f.open(QIODevice::Append)) f.write(encodeResultRecord(r));
    }

    // Shows the lobby as the results screen does, and runs its show step.
    LobbyScreen* open()
    {
        stage.app().navigator.returnToLobby();
        stage.activatePending();
        settle();
        return qobject_cast<LobbyScreen*>(stage.current());
    }

    QString lines(int level) const
    {
        QStringList out;
        const QAbstractItemModel* m = get<QListView>(QStringLiteral("List5(%1)").arg(level))->model();
        for (int i = 0; i < m->rowCount(); ++i) out << m->index(i, 0).data().toString();
        return out.join(QStringLiteral(" | "));
    }
};
