#pragma once
#include "base/level_table.h"
#include "records/scores.h"

#include <QByteArray>
#include <array>
#include <cstddef>
#include <vector>

// Counters of one pupil at one level, recomputed from the records. One cache
// line: the loader updates nearly every field for every record.
struct alignas(64) PupilLevelStats {
    // The counts and the point totals each lie in the order recent window,
    // limit window, all, today, so that the loader adds to four at once.
    // Counts of finished runs, of at most 20 000 records.
    qint16 recentRunCount = 0;
    qint16 window2RunCount = 0;
    qint16 runCount = 0;
    qint16 todayRunCount = 0;
    // Every record, finished or not: a pupil whose runs all ran out of time
    // has runs but no best.
    qint32 recordCount = 0;
    // Finished runs only (scores below score::kFinishedBelow).
    qint32 scoreSum = 0;
    qint32 todayScoreSum = 0;
    qint32 personalBest = score::kNoBest;
    // Rounded averages of finished runs, so below score::kFinishedBelow.
    qint16 averageScore = 0;
    qint16 todayAverageScore = 0;
    qint64 recentPoints = 0;
    qint64 window2Points = 0;
    qint64 totalPoints = 0;
    qint64 todayPoints = 0;

    // Back to "no runs" before a recomputation; the averages are kept, as
    // for every pupil without a run.
    void resetCounts()
    {
        const qint16 a = averageScore, ta = todayAverageScore;
        *this = PupilLevelStats{};
        averageScore = a;
        todayAverageScore = ta;
    }
};
static_assert(sizeof(PupilLevelStats) == 64);
static_assert(offsetof(PupilLevelStats, recentRunCount) == 0 && offsetof(PupilLevelStats, todayRunCount) == 6);
static_assert(offsetof(PupilLevelStats, recentPoints) == 32 && offsetof(PupilLevelStats, todayPoints) == 56);

// The per-(level, pupil) counters, sized by what the records use: a cell for
// each (level, pupil) that appears, one cache line each, found through an
// index of one 32-bit slot per pupil and level. The index is reserved zeroed
// by the system and only the pages of pupils that appear are ever touched,
// so a home with three pupils keeps a few kilobytes of it; a table holding
// every level and pupil would be 20 MB. Cells are never given back: values
// that survive a recomputation (the averages) stay where they were.
class PupilLevelCells {
public:
    PupilLevelCells();
    PupilLevelCells(const PupilLevelCells&) = delete;
    PupilLevelCells& operator=(const PupilLevelCells&) = delete;
    PupilLevelCells(PupilLevelCells&& other) noexcept { swap(other); }
    PupilLevelCells& operator=(PupilLevelCells&& other) noexcept
    {
        swap(other);
        return *this;
    }
    ~PupilLevelCells();

    // The cell of (level, pupil), or a cell of "no runs" (best score::kNoBest) when
    // none exists. Levels 0–35, pupils 0–5000.
    const PupilLevelStats& at(int level, int pupil) const
    {
        const qint32 c = slot(level, pupil);
        return c == 0 ? empty() : cells_[std::size_t(c - 1)];
    }
    // The cell of (level, pupil), made when it does not exist yet. Making a
    // cell may move the others.
    PupilLevelStats& touch(int level, int pupil)
    {
        const qint32 c = slot(level, pupil);
        return c != 0 ? cells_[std::size_t(c - 1)] : make(level, pupil);
    }
    // Resets every cell's counts, keeping its averages.
    void resetCounts()
    {
        for (PupilLevelStats& c : cells_) c.resetCounts();
    }
    // Every cell, with its level and pupil.
    template <typename F> void forEach(F f)
    {
        for (std::size_t i = 0; i < cells_.size(); ++i) f(int(where_[i].level), int(where_[i].pupil), cells_[i]);
    }
    template <typename F> void forEach(F f) const
    {
        for (std::size_t i = 0; i < cells_.size(); ++i) f(int(where_[i].level), int(where_[i].pupil), cells_[i]);
    }
    std::size_t size() const { return cells_.size(); }

private:
    static constexpr int kLevelSlots = 64; // a power of two above the 36 levels
    struct Place {
        qint16 level, pupil;
    };
    // 0: no cell; otherwise the cell's index + 1.
    qint32 slot(int level, int pupil) const
    {
        Q_ASSERT(level >= 0 && level < kLevelCount && pupil >= 0 && pupil < kPupilCount);
        return index_[std::size_t(pupil) * kLevelSlots + std::size_t(level)];
    }
    PupilLevelStats& make(int level, int pupil);
    static const PupilLevelStats& empty();
    void swap(PupilLevelCells& other) noexcept
    {
        std::swap(index_, other.index_);
        cells_.swap(other.cells_);
        where_.swap(other.where_);
    }

    qint32* index_ = nullptr;
    std::vector<PupilLevelStats> cells_;
    std::vector<Place> where_; // parallel to cells_
};

// The record tables of the shared state.
struct RecordTables {
    int recordCount = 0; // records used by the last loading
    PupilLevelCells cells;
    std::array<qint32, kLevelCount> overallBest{};
    std::vector<quint8> hasRecords = std::vector<quint8>(kPupilCount, 0);
    // Flags of the run just stored.
    bool newPersonalBest = false;
    bool newOverallBest = false;
    // The pupil had already met the level's runs and points before this run.
    bool qualified = false;

    // A level's points by score, from 0 up to ten times its target time
    // (beyond, a run earns nothing), kept between computations while the
    // level's target and factor stay.
    struct PointsCache {
        qint32 targetTime = -1;
        PointFactor factor;
        std::vector<qint64> byScore;
    };
    std::array<PointsCache, kLevelCount> pointsCache;

    const PupilLevelStats& stats(int level, int pupil) const { return cells.at(level, pupil); }
    PupilLevelStats& touch(int level, int pupil) { return cells.touch(level, pupil); }

    RecordTables() { overallBest.fill(score::kNoBest); }
};
