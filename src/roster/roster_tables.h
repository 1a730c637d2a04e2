#pragma once
#include "base/level_table.h"
#include "roster/roster_record.h"

#include <QString>
#include <vector>

// The roster tables of the shared state, filled by the roster reader each
// time the pupil list is built. Per-pupil entries are indexed by pupil number
// (0–5000) and keep their values until a later read overwrites them.
struct RosterTables {
    int schoolYear = 0;
    std::vector<QString> names = std::vector<QString>(kPupilCount); // the 20-character name field, blanks included
    std::vector<qint16> birthYears = std::vector<qint16>(kPupilCount, 0);
    std::vector<QString> gradeLabels = std::vector<QString>(kPupilCount); // written only for grade offsets 0–10
    std::vector<int> order = std::vector<int>(kPupilCount + 1, 0);        // position 1..count → pupil number
    int count = 0;
    // The pupil numbers listed on the name selection screen, in its order
    // (sorted by cohort, then name). The lobby's rankings cover these pupils
    // in this order.
    std::vector<int> listed;
    // The records as read, by position 1..count (the last read's positions);
    // grown as positions are used, so an empty table costs nothing at start.
    std::vector<RosterRecord> entries;
};
