#include "records/record_tables.h"

#include <cstdlib>
#include <new>

PupilLevelCells::PupilLevelCells()
    // calloc: a block this large comes straight from the system, zeroed and
    // not yet resident; only the pages that are written take memory.
    : index_(static_cast<qint32*>(std::calloc(std::size_t(kPupilCount) * kLevelSlots, sizeof(qint32))))
{
    if (!index_) throw std::bad_alloc();
}

PupilLevelCells::~PupilLevelCells() { std::free(index_); }

PupilLevelStats& PupilLevelCells::make(int level, int pupil)
{
    where_.push_back({qint16(level), qint16(pupil)});
    cells_.emplace_back();
    index_[std::size_t(pupil) * kLevelSlots + std::size_t(level)] = qint32(cells_.size());
    return cells_.back();
}

const PupilLevelStats& PupilLevelCells::empty()
{
    static const PupilLevelStats none;
    return none;
}
