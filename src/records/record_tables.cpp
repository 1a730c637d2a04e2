#include "records/record_tables.h"


PupilLevelStats& PupilLevelCells::make(int level, int pupil)
{
    qint32& row = pupilRow_[std::size_t(pupil)];
    if (row < 0) {
        row = qint32(rows_.size());
        rows_.emplace_back();
        rows_.back().fill(-1);
    }
    rows_[std::size_t(row)][std::size_t(level)] = qint32(cells_.size());
    where_.push_back({qint16(level), qint16(pupil)});
    return cells_.emplace_back();
}

const PupilLevelStats& PupilLevelCells::empty()
{
    static const PupilLevelStats none;
    return none;
}

