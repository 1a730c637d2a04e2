#include "lobby/lobby_geometry.h"

#include <algorithm>
#include <cmath>

namespace lobby {

Columns columnsFor(int levelCount)
{
    Columns c;
    if (levelCount < 5) {
        c.width = 14592.0 / std::max(1, levelCount);
    } else {
        c.width = 3456;
        c.scrollBar = true;
        c.scrollMax = levelCount - 3;
    }
    return c;
}

double columnLeft(int level, int scroll, double width)
{
    const double x = kMargin + (level - scroll) * width;
    return x < 0 ? kFormWidth : x;
}

int scrollColumnOnShow(int stored, int scrollMax)
{
    if (stored == 0 || stored > scrollMax) return 1;
    return stored;
}

int scrollColumnOnChange(int value, int levelCount) { return value > levelCount ? 1 : value; }

const ColumnRows& columnRows()
{
    static const ColumnRows rows = [] {
        ColumnRows r;
        r.heading = {3700, 360};
        double top = r.heading.top + 1.05 * r.heading.height;
        auto next = [&top](double height) {
            const Band b{top, height};
            top += height;
            return b;
        };
        r.name = next(420);
        r.start = next(600);
        r.captions = next(300);
        r.counts = next(330);
        r.recent = next(300);
        r.list = next(4800);
        r.targets = next(330);
        r.scroll = {top + 20, 260};
        return r;
    }();
    return rows;
}

int listFontPixels(double columnWidth)
{
    // The list's frame and vertical scroll bar take about 21 pixels.
    const double inner = columnWidth / 15.0 - 21;
    return std::clamp(int(std::floor(inner * 2 / 31)), 9, 16);
}

} // namespace lobby
