#pragma once
#include "base/level_table.h"
#include "base/random_source.h"
#include "drill/run_state.h"
#include "records/record_tables.h"
#include "roster/roster_tables.h"
#include "sound/sound_state.h"

#include <QString>
#include <QStringList>
#include <array>

// The process-wide state every screen reads. startUp creates it, the stage
// owns it, screens receive it by reference. Never saved.
struct SharedState {
    // Installation folders, in the installation's own "\" form.
    QString programFolder;
    QString programFolderSlash;
    QString dataFolder;
    QString recordsFolder;
    QString soundFolder;
    QString programFolderName;
    double layoutFlag = 0;
    QStringList settingsOtherValues;   // values 2–10 of 設定.txt, kept as read
    QStringList commonDataOtherValues; // values 4–10 of 共通データ.txt, kept as read

    // Common data.
    int schoolYearStartMonth = 0;
    QString organisationName;
    QString siteCode; // five characters or empty
    int rosterStatusOption = 0;
    int rosterFileMode = 0;
    quint32 backgroundColour = 0; // 0xRRGGBB

    // Catalogue.
    QString contentTitle;
    bool printButtonShown = false;
    qint16 levelCount = 0;
    int finalLevel = 0;
    std::array<QString, kLevelCount> levelNames;
    std::array<qint16, kLevelCount> levelTimed{};

    LevelTable levelTable{};

    // Current pupil and run.
    qint16 pupilNumber = 0;
    QString pupilName;
    QString pupilGradeLabel; // the grade label stored when the name was confirmed
    qint32 nameConfirmedSeconds = 0;
    qint16 currentLevel = 0;
    // The lobby's: whether the run is a practice run, the first visible level column
    // (1-based, kept between showings) and the grade filter last chosen.
    bool practiceRun = false;
    int scrollColumn = 0;
    QString gradeFilterText = QStringLiteral("全学年");
    qint32 runScore = 0;
    // Whether the pupil has cleared the final level; the lobby sets it, the
    // results screen reads it.
    bool designatedLevelCleared = false;

    RunState run;
    RecordTables records;
    RosterTables roster;
    SoundState sound;
    RandomSource random;
};
