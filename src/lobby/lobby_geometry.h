#pragma once
#include <QtGlobal>

// Where the step lobby's controls go, in twips of the 15360 × 11520 form.
namespace lobby {

constexpr double kFormWidth = 15360;
constexpr double kFormHeight = 11520;
constexpr double kMargin = 0.02 * kFormWidth; // left edge of the first column

// The level columns: below five levels they share 14592 twips; from five on
// each is 3456 wide and HScroll1 shows four at a time.
struct Columns {
    double width = 0;
    bool scrollBar = false;
    int scrollMax = 0; // HScroll1's maximum when it is shown (N − 3)
};
Columns columnsFor(int levelCount);

// Left edge of column `level` when column `scroll` is the first one shown;
// a column scrolled off to the left is put at the form's right edge.
double columnLeft(int level, int scroll, double width);
// The scroll column when the lobby is shown: 0, or one past the bar's
// maximum (another content had more levels), gives 1.
int scrollColumnOnShow(int stored, int scrollMax);
// The scroll column when the bar moves: a value past the last level gives 1.
int scrollColumnOnChange(int value, int levelCount);

struct Band {
    double top = 0, height = 0;
    double bottom() const { return top + height; }
};
// The rows of a column, top to bottom, under the heading Label5: the grid
// starts 1.05 heading heights below the heading's top.
struct ColumnRows {
    Band heading;  // Label5
    Band name;     // Label1(i), Label3(i)
    Band start;    // Command4(i), Command28(i), Text1(i)
    Band captions; // Label9(i), Label10(i)
    Band counts;   // Label14(i), Label15(i)
    Band recent;   // Label8(i)
    Band list;     // List5(i)
    Band targets;  // Label7(i)
    Band scroll;   // HScroll1
};
const ColumnRows& columnRows();

// Pixel size of the fixed-pitch font of List5(i): a line of 31 half-width
// cells (the longest a list writes) fits the column beside its scroll bar.
int listFontPixels(double columnWidth);

} // namespace lobby
