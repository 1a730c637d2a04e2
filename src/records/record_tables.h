#pragma once
#include "app/level_pupil_table.h"

#include <QByteArray>
#include <array>
#include <vector>

// One record as loaded from the result file.
struct LoadedRecord {
    double date = 0; // days since 30 December 1899
    double time = 0; // fraction of a day
    qint16 pupilNumber = 0;
    qint16 level = 0;
    qint32 score = 0;
    qint32 points = 0; // numeric value of the stored points text
};

// Counters of one pupil at one level, recomputed from the records.
struct PupilLevelStats {
    qint32 personalBest = 99999;
    qint32 runCount = 0;
    qint32 recentRunCount = 0;
    qint64 recentPoints = 0;
    qint32 window2RunCount = 0;
    qint64 window2Points = 0;
    qint64 totalPoints = 0;
    qint64 scoreSum = 0;
    qint32 todayRunCount = 0;
    qint64 todayScoreSum = 0;
    qint64 todayPoints = 0;
    qint32 averageScore = 0;
    qint32 todayAverageScore = 0;
};

// The record tables of the shared state.
struct RecordTables {
    std::vector<LoadedRecord> loaded; // loaded records, oldest first (at most 20 000)
    int recordCount = 0;
    LevelPupilTable<PupilLevelStats> stats;
    std::array<qint32, kLevelCount> overallBest{};
    std::vector<quint8> hasRecords = std::vector<quint8>(kPupilCount, 0);
    // Flags of the run just stored.
    qint16 newPersonalBest = 0;
    qint16 newOverallBest = 0;
    qint16 qualified = 0;

    // The (level, pupil) cells written since the last reset. A recomputation
    // resets only these rather than the whole 17 MB table, so opening the
    // lobby stays instant. Write cells only through touch().
    std::vector<qint32> touchedCells;
    std::vector<quint8> cellTouched = std::vector<quint8>(std::size_t(kLevelCount) * kPupilCount, 0);

    QByteArray readBuffer; // the loader's, kept between computations

    PupilLevelStats& touch(int level, int pupil)
    {
        const qint32 i = level * kPupilCount + pupil;
        if (!cellTouched[std::size_t(i)]) {
            cellTouched[std::size_t(i)] = 1;
            touchedCells.push_back(i);
        }
        return stats(level, pupil);
    }

    RecordTables() { overallBest.fill(99999); }
};
