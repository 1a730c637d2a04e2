#pragma once
#include "base/level_table.h"

#include <vector>

// A per-(level, pupil) table: levels 0–35, pupils 0–5000, stored flat.
template <typename T> class LevelPupilTable {
public:
    LevelPupilTable() : cells_(std::size_t(kLevelCount) * kPupilCount) {}
    T& operator()(int level, int pupil) { return cells_[index(level, pupil)]; }
    const T& operator()(int level, int pupil) const { return cells_[index(level, pupil)]; }
    void fill(const T& v) { std::fill(cells_.begin(), cells_.end(), v); }

private:
    static std::size_t index(int level, int pupil)
    {
        Q_ASSERT(level >= 0 && level < kLevelCount && pupil >= 0 && pupil < kPupilCount);
        return std::size_t(level) * kPupilCount + std::size_t(pupil);
    }
    std::vector<T> cells_;
};
