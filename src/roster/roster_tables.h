#pragma once
#include "app/level_table.h"

#include <QString>
#include <vector>

// The roster tables of the shared state, filled by the roster reader.
struct RosterTables {
    int schoolYear = 0;
    std::vector<QString> names = std::vector<QString>(kPupilCount);       // 20-character field
    std::vector<qint16> birthYears = std::vector<qint16>(kPupilCount, 0);
    std::vector<QString> gradeLabels = std::vector<QString>(kPupilCount);
    std::vector<int> order = std::vector<int>(kPupilCount + 1, 0);         // position 1..count → pupil number
    int count = 0;
};
