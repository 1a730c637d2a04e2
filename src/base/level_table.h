#pragma once
#include "base/point_factor.h"

#include <QString>
#include <array>

// One row of the per-level time/count table.
struct LevelRow {
    qint32 targetTime = 0;
    qint32 secondTime = 0;
    qint32 requiredPoints = 0;
    qint16 requiredRuns = 0;
    PointFactor pointFactor;
    double window2RunMark = 0;
    double window2PointMark = 0;
    double dayWindow1 = 0;
    double dayWindow2 = 0;
    std::array<double, 3> unused{};
};

constexpr int kLevelCount = 36;   // levels 0–35
constexpr int kPupilCount = 5001; // pupils 0–5000
using LevelTable = std::array<LevelRow, kLevelCount>;
