#pragma once
#include <QString>
#include <vector>

struct RecordTables;

// The pupil list of the name selection screen: the figures of each line, the
// line itself, its order and the grade filter.

// What the two figures of a line show (the index of the option buttons).
enum class DisplayMode { RunsTodayAll = 0, PointsTodayAll = 1, TodayPointsRuns = 2, AllPointsRuns = 3 };
constexpr int kDisplayModes = 4;

// The four tallies of one pupil, summed over levels 1–35.
struct PupilFigures {
    qint64 runsToday = 0;
    qint64 runsAll = 0;
    qint64 pointsToday = 0;
    qint64 pointsAll = 0;
};
PupilFigures pupilFigures(const RecordTables& t, int pupil);

// The fixed-width texts of the figures (a figure wider than its field is
// shown whole and makes its line longer; a zero figure is blank, as wide as a
// non-zero one in a fixed-pitch font where "　" and "回" take two cells).
QString runsTodayText(qint64 runs);     // "  2回", zero "     "
QString pointsTodayText(qint64 points); // "  12", zero "  　"
QString runsAllText(qint64 runs);       // "   15回", zero "     　"
QString pointsAllText(qint64 points);   // "    340", zero "       "
// "first/second" for the mode.
QString figurePair(DisplayMode mode, const PupilFigures& f);

// W: the characters taken by the grade code, the blank, the name and its fill.
int nameColumnWidth(const QString& gradeCode, DisplayMode mode);
// The name and its fill in half columns: two for each of the W characters
// left after the code and the blank, so that a half-width name lines up
// with a full-width one.
int nameColumnHalves(const QString& gradeCode, DisplayMode mode);

// One pupil of the list.
struct PupilEntry {
    int number = 0;
    int birthYear = 0;
    // The whole line: birth year, code, blank, trimmed name, fill, figures,
    // "*", number. The list is sorted by it.
    QString line;
    // What the visible list shows: the line after the birth year, up to its
    // last "*", with a name too long for its column cut to the column.
    QString shown;
    // The line after the birth year, number included.
    QString tail;
};
// `name` as held in the roster (20 characters); it is trimmed here.
PupilEntry pupilEntry(int number, int birthYear, const QString& gradeCode, const QString& name, DisplayMode mode,
                      const PupilFigures& figures);

// Ascending text order as a sorted list box on a Japanese desktop gives it:
// the Japanese collation, ties (it holds たろう and タロウ equal) broken by
// code points.
void sortPupilEntries(std::vector<PupilEntry>& entries);

// Whether the grade filter keeps a line of grade offset `offset`. A filter
// text it does not know keeps the decision made for the previous line.
bool gradeFilterKeeps(const QString& filter, int offset, bool previousKept);

// Label1 after a click on a list entry: the grade code and the name, that is
// the entry up to the end of its name column, trimmed.
QString clickedNameLabel(const QString& entry, DisplayMode mode);
// Label1 after a double click: the entry up to its first "/", trimmed.
QString doubleClickedNameLabel(const QString& entry);

// The program menu the pupil leaves through, from the program folder.
QString programMenuPath(const QString& programFolder);
